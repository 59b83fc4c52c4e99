// The maps and characters of the generated data set: sizes, doors, story gates, the battle
// clearing, whether every door, chest and person can be reached, and the game's own loaders.
#include <cstdlib>
#include <map>
#include <queue>

#include "data_set.h"
#include "core/map_types.h"
#include "platform/system.h"
#include "world/map_files.h"

namespace datacheck {
namespace {

using WorldLayout = DataSet;

TEST_F(WorldLayout, MapsAreBigEnoughForTheirViewsAndHoldOnlyKnownCodes) {
  // The view is 20 × 15; doors place views at column 14 and row 11 (city, wood) and row 30
  // (palace).
  const std::pair<int, int> least[kMapCount] = {{20, 15}, {34, 26}, {34, 26}, {20, 15},
                                                {20, 45}, {20, 15}, {20, 15}, {20, 15}};
  const size_t goodsCount = LoadGoods().size();
  for (size_t m = 0; m < kMapCount; ++m) {
    const Map& map = world.maps[m];
    SCOPED_TRACE(kMapNames[m]);
    EXPECT_TRUE(map.width >= least[m].first && map.height >= least[m].second) << map.width << " × " << map.height;
    EXPECT_TRUE(map.ground >= 0 && map.ground <= 9) << map.ground;
    for (uint16_t code : map.cells) {
      SCOPED_TRACE(::testing::Message() << std::hex << code);
      if (code < 0x5000 || (code >= 0xA000 && code < 0xF000)) {
        EXPECT_LT(code % 0xA000, 960) << "no such overlay tile";
      } else if (code < 0xA000) {
        EXPECT_TRUE(IsEvent(code));
      } else if (code > 0xF000) {
        EXPECT_TRUE(code - 0xF000u >= 2 && code - 0xF000u < 2 + goodsCount) << "a chest holds no goods";
      }
    }
  }
}

TEST_F(WorldLayout, EveryDoorLandsTheHeroWithTheWayBackRightBehindHim) {
  for (const Door& door : Doors()) {
    SCOPED_TRACE(::testing::Message() << "door 0x" << std::hex << door.code);
    const Map& map = world.maps[size_t(door.map)];
    const Point arrival = door.MapPosition();
    EXPECT_TRUE(ClearGround(map, world.npcs[size_t(door.map)], arrival));
    const auto [col, row] = FeetCell(arrival);
    EXPECT_EQ(map.At(col, row - door.walk), door.back)
        << "the cell behind " << col << "," << row << " is not the way back";
    EXPECT_FALSE(IsSolid(map.At(col, row + door.walk))) << "a wall right ahead of the hero";
    // One step in any direction (stopped by walls as the game stops them) reaches no door.
    for (auto [dx, dy] : {std::pair{0, 8}, {0, -8}, {8, 0}, {-8, 0}}) {
      const Point next{arrival.x + dx, arrival.y + dy};
      const auto cell = FeetCell(next);
      EXPECT_FALSE(HeroFits(map, next) && IsEvent(map.At(cell[0], cell[1])))
          << "a step (" << dx << "," << dy << ") leaves";
    }
  }
}

TEST_F(WorldLayout, EveryMapCanBeReachedFromHomeAndLeftAgain) {
  std::map<int, std::set<int>> exits;  // map -> maps its doors lead to
  for (int m = 0; m < kMapCount; ++m)
    for (uint16_t code : world.maps[size_t(m)].cells)
      for (const Door& door : Doors())
        if (door.code == code) exits[m].insert(door.map);
  EXPECT_TRUE(exits[kArena].empty()) << "no door belongs in the battle clearing";

  auto reachable = [&](int from) {
    std::set<int> seen{from};
    for (std::queue<int> queue({from}); !queue.empty(); queue.pop())
      for (int next : exits[queue.front()])
        if (seen.insert(next).second) queue.push(next);
    return seen;
  };
  const std::set<int> fromHome = reachable(kHome);
  for (int m : {kHome, kCity, kWood, kPalace, kShop1, kShop2, kShop3}) {
    EXPECT_TRUE(fromHome.count(m)) << kMapNames[size_t(m)] << " cannot be reached";
    EXPECT_TRUE(reachable(m).count(kHome)) << "no way home from " << kMapNames[size_t(m)];
  }
}

TEST_F(WorldLayout, StoryGatesHoldTheHeroBackOntoClearGroundInFrontOfThem) {
  // A closed gate sets the hero's screen y to 450. Near the bottom of a map the view rests at
  // the map's bottom, so that is a fixed map row, which must be the one the gate is entered from.
  for (auto [m, code] : {std::pair{kCity, 0x5000}, {kWood, 0x5009}}) {
    const Map& map = world.maps[size_t(m)];
    SCOPED_TRACE(kMapNames[size_t(m)]);
    const int pushedY = (map.height - 15) * 32 + 450;
    int gates = 0;
    for (int row = 0; row < map.height; ++row)
      for (int col = 0; col < map.width; ++col) {
        if (map.At(col, row) != code) continue;
        ++gates;
        const int pushedRow = FeetCell({col * 32, pushedY})[1];
        EXPECT_EQ(std::abs(pushedRow - row), 1) << "gate at " << col << "," << row;
        auto closed = [&](int c, int r) { return IsSolid(map.At(c, r)) || map.At(c, r) == code; };
        EXPECT_TRUE(closed(col - 1, row) && closed(col + 1, row) && closed(col, 2 * row - pushedRow))
            << "the gate at " << col << "," << row << " can be entered from the side or behind";
        // The talk box covers the bottom three rows of the view: the gate's posts rise above it.
        auto postInSight = [&](int step) {
          int c = col, r = row;
          while (map.At(c, row) == code) c += step;
          while (r > 0 && IsSolid(map.At(c, r - 1))) --r;
          return IsSolid(map.At(c, row)) && r <= map.height - 4;
        };
        EXPECT_TRUE(postInSight(-1) && postInSight(1)) << "the talk box hides the gate at " << col << "," << row;
        // Wherever the hero can stand on the gate, he is pushed back onto clear ground.
        for (int x = col * 32 - 16; x < col * 32 + 16; ++x)
          EXPECT_TRUE(!HeroFits(map, {x, row * 32 + 24}) || ClearGround(map, world.npcs[size_t(m)], {x, pushedY}))
              << "pushed back at x " << x;
      }
    EXPECT_GT(gates, 0) << "the story gate is missing";
  }
}

TEST_F(WorldLayout, ANewGameAndAFightPutEveryoneOnOpenGround) {
  EXPECT_TRUE(ClearGround(world.maps[kHome], world.npcs[kHome], kNewGameStart)) << "the mother is in the way";
  Npc enemy;
  enemy.x = 470, enemy.y = 270;
  EXPECT_TRUE(HeroFits(world.maps[kArena], {130, 270}));  // the hero's spot, view at (0, 0)
  EXPECT_TRUE(NpcFits(world.maps[kArena], enemy));
  EXPECT_GE(world.npcs[kArena].size(), 1u) << "a fight writes its enemy into record 0";
}

TEST_F(WorldLayout, EveryDoorChestAndPersonCanBeReached) {
  std::map<int, std::vector<Point>> entries;
  entries[kHome].push_back(kNewGameStart);
  for (const Door& door : Doors()) entries[door.map].push_back(door.MapPosition());

  for (int m : {kHome, kCity, kWood, kPalace, kShop1, kShop2, kShop3}) {
    SCOPED_TRACE(kMapNames[size_t(m)]);
    const Map& map = world.maps[size_t(m)];
    const auto& npcs = world.npcs[size_t(m)];
    auto cellsOf = [](const std::set<std::pair<int, int>>& places) {
      std::set<std::pair<int, int>> cells;
      for (auto [x, y] : places) cells.insert({(x + 16) / 32, (y - 16) / 32});
      return cells;
    };
    const auto places = ReachablePlaces(map, npcs, entries[m]);
    const auto reach = cellsOf(places);
    // From the first way in, every other way in and every door can be reached.
    const auto fromFirst = cellsOf(ReachablePlaces(map, npcs, {entries[m][0]}));
    for (Point p : entries[m]) {
      const auto c = FeetCell(p);
      EXPECT_TRUE(fromFirst.count({c[0], c[1]})) << "a way in cut off at " << c[0] << "," << c[1];
    }
    auto besideReach = [&](int x, int y) {
      return reach.count({x + 1, y}) || reach.count({x - 1, y}) || reach.count({x, y + 1}) ||
             reach.count({x, y - 1});
    };
    for (int row = 0; row < map.height; ++row)
      for (int col = 0; col < map.width; ++col) {
        const uint16_t code = map.At(col, row);
        EXPECT_TRUE(!IsEvent(code) || fromFirst.count({col, row})) << "door at " << col << "," << row;
        EXPECT_TRUE(code < 0xF000 || besideReach(col, row)) << "chest at " << col << "," << row;
      }
    // A person is addressed within 16 pixels of the point 32 pixels ahead of the hero; one who
    // stands still must be addressable from some place the hero can walk to.
    auto addressable = [&](const Npc& npc) {
      for (auto [x, y] : places)
        for (auto [dx, dy] : {std::pair{0, 32}, {0, -32}, {32, 0}, {-32, 0}})
          if (std::abs(x + dx - npc.x) <= 16 && std::abs(y + dy - npc.y) <= 16) return true;
      return false;
    };
    for (size_t i = 0; i < npcs.size(); ++i) {
      const Npc& npc = npcs[i];
      const auto c = FeetCell({npc.x, npc.y});
      EXPECT_TRUE(NpcFits(map, npc)) << "record " << i << " stands in a wall";
      if (npc.active != 1) continue;
      EXPECT_TRUE(npc.walk <= 0 ? addressable(npc) : besideReach(c[0], c[1]))
          << "record " << i << (npc.walk <= 0 ? " cannot be talked to" : " cut off");
    }
  }
}

TEST_F(WorldLayout, TheGamesLoadersReadEveryMapAndCharacterAsTheseChecksDo) {
  platform::SetDataDirectory(DataDir());
  ASSERT_EQ(::LoadMaps(), 1);
  ASSERT_EQ(::LoadNpcs(), 1);
  for (size_t m = 0; m < kMapCount; ++m) {
    SCOPED_TRACE(kMapNames[m]);
    const MapInfo& loaded = mapTable[m];
    const Map& map = world.maps[m];
    EXPECT_EQ((std::array{loaded.nWidth, loaded.nHeight, int(loaded.nGroundTile)}),
              (std::array{map.width, map.height, map.ground}));
    EXPECT_EQ(loaded.lpTiles, map.cells);
    const std::vector<Npc>& npcs = world.npcs[m];
    ASSERT_EQ(NpcCount(loaded), int(npcs.size()));
    for (size_t i = 0; i < npcs.size(); ++i) {
      const NpcRecord& r = loaded.lpNpcs[i];
      const Npc& n = npcs[i];
      EXPECT_EQ((std::array{r.nTalkId, r.nX, r.nY, r.nLife, r.nMoney}),
                (std::array{n.talkId, n.x, n.y, n.life, n.money})) << i;
      EXPECT_EQ(std::string(r.szName) + "|" + r.szGoods, n.name + "|" + n.goods) << i;
    }
  }
}

}  // namespace
}  // namespace datacheck
