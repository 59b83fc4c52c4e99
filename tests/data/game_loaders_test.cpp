// The game's own loaders read the generated maps and characters as the data check reads them.
#include <gtest/gtest.h>

#include <string>

#include "platform/system.h"
#include "world/map_files.h"
#include "world/map_types.h"
#include "world_fixture.h"

namespace datacheck {
namespace {

TEST(GameLoaders, ReadEveryMapAndCharacterAsTheDataCheckDoes) {
  const World& world = TheWorld();
  ASSERT_TRUE(world.complete);
  platform::SetDataDirectory(DataDir());
  ASSERT_EQ(::LoadMaps(), 1);
  ASSERT_EQ(::LoadNpcs(), 1);
  for (int m = 0; m < kMapCount; ++m) {
    SCOPED_TRACE(kMapNames[size_t(m)]);
    const MapInfo& loaded = mapTable[m];
    const Map& map = world.maps[size_t(m)];
    EXPECT_EQ(loaded.nWidth, map.width);
    EXPECT_EQ(loaded.nHeight, map.height);
    EXPECT_EQ(loaded.nGroundTile, map.ground);
    EXPECT_EQ(loaded.lpTiles, map.cells);
    const std::vector<Npc>& npcs = world.npcs[size_t(m)];
    ASSERT_EQ(NpcCount(loaded), int(npcs.size()));
    for (size_t i = 0; i < npcs.size(); ++i) {
      const NpcRecord& r = loaded.lpNpcs[i];
      EXPECT_EQ(r.nTalkId, npcs[i].talkId) << i;
      EXPECT_EQ(std::string(r.szName), npcs[i].name) << i;
      EXPECT_EQ(std::string(r.szGoods), npcs[i].goods) << i;
      EXPECT_EQ(r.nX, npcs[i].x) << i;
      EXPECT_EQ(r.nY, npcs[i].y) << i;
      EXPECT_EQ(r.nLife, npcs[i].life) << i;
      EXPECT_EQ(r.nMoney, npcs[i].money) << i;
    }
  }
}

}  // namespace
}  // namespace datacheck
