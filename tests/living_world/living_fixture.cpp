#include "living_fixture.h"

#include <algorithm>
#include <cstring>

#include "core/game_state.h"
#include "video/display.h"

namespace world_test {

void LivingWorldTest::SetUp() {
  WorldTest::SetUp();
  std::memset(aGoods, 0, sizeof aGoods);
  nGoodsRead = 0;
  AddNpc(3, MakeNpc(0, 0, 0));  // the arena's slot for the enemy
}

void LivingWorldTest::TearDown() {
  platform::SetStateDumper(nullptr);
  std::memset(aGoods, 0, sizeof aGoods);
  nGoodsRead = 0;
  WorldTest::TearDown();
}

void LivingWorldTest::SetGoods(int k, const char* name, int value) {
  std::strncpy(aGoods[k].szName, name, sizeof aGoods[k].szName - 1);
  aGoods[k].nValue = value;
  nGoodsRead = std::max(nGoodsRead, k - 1);
}

NpcRecord LivingWorldTest::Fighter(int talkId, int x, int y, bool beaten) {
  NpcRecord npc = MakeNpc(7, x, y, "Foe");
  npc.nTalkId = talkId;
  npc.bHostile = 1;
  npc.nWalk = 1;
  npc.nSpeed = 0;
  npc.nLevel = 0;  // no experience, so no level-up message to wait for
  npc.szGoods[0] = '0';  // no loot
  npc.nLife = beaten ? 0 : 100000;
  npc.nAttack = beaten ? 0 : 10000;
  if (!beaten) hero.nLife = 1;
  return npc;
}

void LivingWorldTest::WriteWorldFiles() {
  static const char* const kMaps[] = {"home", "city", "wood", "f_wood", "palace", "shop01", "shop02", "shop03"};
  // Two records: a fixed one, then one that walks with speed 8.
  auto field = [](const std::string& value) { return "xxxxxxxxxx:" + value + ";\n"; };
  auto record = [&](const char* x, const char* walk) {
    const std::string values[] = {"10001", "1", "0", "0", walk, "1", "Someone", "32", "32", x, "300",
                                  x, "300", "0", "0", "1", "0", "10", "10", "1", "1", "8",
                                  "                ", "0", "0"};
    std::string text;
    for (const std::string& value : values) text += field(value);
    return text;
  };
  const std::string npcs = field("2") + record("100", "0") + record("400", "1");
  for (int m = 0; m < kMapCount; ++m) {
    WriteFile(std::string("maps\\") + kMaps[m] + ".map",
              MapFileBytes(20, 15, m, std::vector<uint16_t>(20 * 15, 0)));
    WriteFile(std::string("maps\\") + kMaps[m] + ".npc", npcs);
  }
}

}  // namespace world_test
