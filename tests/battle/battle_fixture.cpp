#include "battle_fixture.h"

#include <cstring>

#include "battle/battle.h"
#include "core/game_state.h"
#include "core/random.h"
#include "goods/goods.h"
#include "video/display.h"
#include "video/draw.h"

namespace battle_test {

void BattleTest::SetUp() {
  WorldTest::SetUp();
  for (Surface* surface : {lpDDSFightBar, lpDDSBomb}) {
    std::memset(surface->Pixels(), surface == lpDDSBomb ? kBombIndex : kBarIndex,
                size_t(surface->Width()) * size_t(surface->Height()));
    surface->Touch();
  }
  lpDDSBomb->SetColorKey(world_test::kKeyIndex);
  std::memset(aGoods, 0, sizeof aGoods);
  const char* const names[] = {"馒头", "草药", "金创药"};
  for (int k = 0; k < 3; ++k) {
    std::strcpy(aGoods[2 + k].szName, names[k]);
    aGoods[2 + k].nAddAttack = 1;
  }
  nGoodsRead = 3;
  // The arena holds one inactive stand-in, as the data set's does.
  NpcRecord standIn = world_test::MakeNpc(0, 448, 256);
  standIn.bActive = 0;
  AddNpc(kArena, standIn);
  SeedRandom(1);
  platform::SetStateDumper([this] {
    if (!looks_.empty()) {
      const std::function<void()> look = looks_.front();
      looks_.pop_front();
      look();
    }
    return std::string();
  });
}

void BattleTest::TearDown() {
  platform::SetStateDumper(nullptr);
  std::memset(aGoods, 0, sizeof aGoods);
  nGoodsRead = 0;
  WorldTest::TearDown();
}

NpcRecord BattleTest::Enemy(int life, int attack, int defense, int level) {
  NpcRecord enemy = world_test::MakeNpc(kEnemyPicture, 300, 200, "Enemy");
  enemy.nLife = enemy.nMaxLife = life;
  enemy.nAttack = attack;
  enemy.nDefense = defense;
  enemy.nLevel = level;
  enemy.nMoney = 7;
  std::memcpy(enemy.szGoods, "0", 2);
  return enemy;
}

void BattleTest::Play(const std::vector<Step>& steps, const std::function<void()>& run) {
  UseScript(steps);
  run();
  platform::headless::AdvanceClock(1);  // the script notes a tap's release at the next step
  EXPECT_TRUE(platform::headless::ScriptFinished()) << "script steps left undone";
  EXPECT_TRUE(looks_.empty()) << "looks never reached";
}

int32_t BattleTest::Fight(const NpcRecord& enemy, int32_t hold, std::vector<Step> steps) {
  // The fight's first poll lets go of an Enter held from before; its keys come after.
  steps.insert(steps.begin(), Wait(10));
  int32_t result = -1;
  Play(steps, [&] { result = RunBattle(enemy, kArena, hold); });
  return result;
}

}  // namespace battle_test
