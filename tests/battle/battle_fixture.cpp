#include "battle_fixture.h"

#include <cstring>

#include "app/game_state.h"
#include "battle/battle.h"
#include "goods/goods.h"
#include "platform/system.h"
#include "video/display.h"
#include "video/draw.h"

namespace battle_test {

namespace {

void Paint(Surface* surface, uint8_t index) {
  std::memset(surface->Pixels(), index, size_t(surface->Width()) * size_t(surface->Height()));
  surface->Touch();
}

void SetGoods(int index, const char* name, int addAttack) {
  GoodsRecord& goods = aGoods[index];
  goods = GoodsRecord{};
  std::strncpy(goods.szName, name, sizeof goods.szName - 1);
  goods.nAddAttack = addAttack;
}

}  // namespace

void BattleTest::SetUp() {
  WorldTest::SetUp();
  Paint(lpDDSFightBar, kBarIndex);
  Paint(lpDDSBomb, kBombIndex);
  lpDDSBomb->SetColorKey(world_test::kKeyIndex);
  std::memset(aGoods, 0, sizeof aGoods);
  SetGoods(2, "馒头", 1);
  SetGoods(3, "草药", 1);
  SetGoods(4, "金创药", 1);
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
  WorldTest::TearDown();
}

NpcRecord BattleTest::Enemy(int life, int attack, int defense, int level) {
  NpcRecord enemy = world_test::MakeNpc(kEnemyPicture, 300, 200, "Enemy");
  enemy.bHostile = 1;
  enemy.nLife = enemy.nMaxLife = life;
  enemy.nAttack = attack;
  enemy.nDefense = defense;
  enemy.nLevel = level;
  enemy.nMoney = 7;
  std::memcpy(enemy.szGoods, "0", 2);
  return enemy;
}

platform::headless::Step BattleTest::Look(std::function<void()> look) {
  looks_.push_back(std::move(look));
  return world_test::State("look");
}

void BattleTest::Play(const std::vector<platform::headless::Step>& steps,
                      const std::function<void()>& run) {
  UseScript(steps);
  run();
  // The script notes a tap's release at the clock's next step.
  platform::headless::AdvanceClock(1);
  EXPECT_TRUE(platform::headless::ScriptFinished()) << "script steps left undone";
  EXPECT_TRUE(looks_.empty()) << "looks never reached";
}

int32_t BattleTest::Fight(const NpcRecord& enemy, int32_t hold,
                          std::vector<platform::headless::Step> steps) {
  // The first poll of a fight waits for an Enter held from before it to be let go; the keys
  // of the fight come after.
  steps.insert(steps.begin(), Wait(10));
  int32_t result = -1;
  Play(steps, [&] { result = RunBattle(enemy, kArena, hold); });
  return result;
}

void PlaceHeroInWorld() {
  MapInfo& map = mapTable[1];
  map.nWidth = 40;
  map.nHeight = 30;
  map.lpTiles.assign(40 * 30, 0);
  nMap = 1;
  nViewCol = nLastViewCol = 7;
  nViewRow = nLastViewRow = 4;
  nScrollX = nLastScrollX = -16;
  nScrollY = nLastScrollY = -8;
  hero.nX = hero.nLastX = 300;
  hero.nY = hero.nLastY = 200;
  hero.nDirection = 3;
  hero.nFrame = 2;
}

}  // namespace battle_test
