// Whole fights: which actions cost a turn, escaping, and the world as the fight leaves it.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/game_state.h"
#include "app/open_screen.h"
#include "battle/battle.h"
#include "battle/battle_rules.h"
#include "battle_fixture.h"
#include "platform/system.h"
#include "video/draw.h"

namespace battle_test {
namespace {

using platform::VK_DOWN;
using platform::VK_RETURN;
using platform::VK_UP;

TEST(Escape, SucceedsAboutHalfTheTimeAtHoldFiftyAndNeverAtAHundred) {
  int escapes50 = 0, escapes100 = 0;
  constexpr int kSeeds = 20000;
  for (uint32_t seed = 1; seed <= kSeeds; ++seed) {
    SeedRandom(seed);
    escapes50 += EscapeSucceeds(50);
    SeedRandom(seed);
    escapes100 += EscapeSucceeds(100);
  }
  // 16056 of the 32768 values of the generator give 51 to 100: 49 %.
  EXPECT_NEAR(double(escapes50) / kSeeds, 16056.0 / 32768.0, 0.015);
  EXPECT_EQ(escapes100, 0);
}

TEST_F(BattleTest, StatusCostsNoTurnAndAnEnemyAlreadyDownFallsToTheFirstAttack) {
  // The enemy would strike for 20 to 40; it never gets the chance.
  EXPECT_EQ(Fight(Enemy(0, 15, 200), 50,
                  {Tap(VK_DOWN), Tap(VK_RETURN), Tap(VK_UP), Tap(VK_RETURN), Tap(VK_RETURN),
                   Tap(VK_RETURN)}),
            kBattleWon);
  EXPECT_EQ(hero.nLife, 50);
}

TEST_F(BattleTest, AVisitToTheGoodsWindowCostsOneTurnWhenGoodsWereUsed) {
  using platform::VK_CONTROL;
  using platform::VK_ESCAPE;
  using platform::VK_RIGHT;
  struct Case {
    const char* name;
    std::vector<platform::headless::Step> windowKeys;
    int goodsUsed;
  };
  const Case cases[] = {
      {"closed at once", {Tap(VK_ESCAPE)}, 0},
      {"three used", {Tap(VK_CONTROL), Tap(VK_RIGHT), Tap(VK_CONTROL), Tap(VK_RIGHT), Tap(VK_CONTROL), Tap(VK_ESCAPE)}, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InitNewGame();
    std::memcpy(hero.szGoods, "234", 3);  // each adds 1 to the attack
    SeedRandom(9);
    const int damage = c.goodsUsed > 0 ? BlowDamage(15, hero.nDefense) : 0;
    SeedRandom(9);
    // The window first lets go of a CTRL held from before; its keys come after.
    std::vector<platform::headless::Step> steps = {Tap(VK_DOWN), Tap(VK_DOWN), Tap(VK_RETURN), Wait(10)};
    steps.insert(steps.end(), c.windowKeys.begin(), c.windowKeys.end());
    // Then away: a hold below 0 lets the escape succeed.
    steps.insert(steps.end(), {Tap(VK_DOWN), Tap(VK_RETURN)});
    EXPECT_EQ(Fight(Enemy(500, 15, 6), -1, steps), kBattleEscaped);
    EXPECT_EQ(hero.nAttack, 10 + c.goodsUsed);
    EXPECT_EQ(hero.nLife, 50 - damage);
  }
}

TEST_F(BattleTest, AHeroAlreadyDownWhoAttacksDiesWithoutAnAnswer) {
  hero.nLife = 0;
  EXPECT_EQ(Fight(Enemy(500, 100, 10), 50, {Tap(VK_RETURN), Tap(VK_RETURN)}), kBattleDead);
  EXPECT_EQ(hero.nLife, 0);  // the enemy's blow would have taken 190 or more
  // Nothing is put back after a death: the screen is black and the title takes over.
  EXPECT_EQ(nMap, kArena);
  EXPECT_EQ(hero.nX, 640);
  EXPECT_EQ(platform::headless::GetLog().paletteLoads % 256, 0);
}

TEST_F(BattleTest, AFailedEscapeBlinksAndTheEnemyStrikesOnce) {
  SeedRandom(5);
  RandomUpTo(100);
  const int damage = BlowDamage(15, hero.nDefense);
  SeedRandom(5);
  // An enemy that is already down when its answer comes counts as beaten: the fight ends.
  const auto messageShown = [this](bool shown) {
    return Look([this, shown] {
      EXPECT_EQ(ScreenCount(280, 200, 100, 20, world_test::kWhiteIndex) > 20, shown);
    });
  };
  EXPECT_EQ(Fight(Enemy(0, 15, 6), 100,
                  {Tap(VK_UP), Tap(VK_RETURN), Wait(40), messageShown(true), Wait(80),
                   messageShown(false), Wait(80), messageShown(true), Tap(VK_RETURN),
                   Tap(VK_RETURN)}),
            kBattleWon);
  EXPECT_EQ(hero.nLife, 50 - damage);
}

TEST_F(BattleTest, WonAndEscapedFightsPutTheWorldBackAndKeepWhatTheFightMade) {
  struct Case {
    const char* name;
    int32_t hold;
    std::vector<platform::headless::Step> steps;
    int32_t result;
    int arenaCount, exp, money;
    const char* goods;
  };
  const Case cases[] = {
      {"won", 50, {Tap(VK_RETURN), Tap(VK_RETURN), Tap(VK_RETURN)}, kBattleWon, 0, 25, 57,
       "3               "},
      // A hold below 0 lets every escape succeed.
      {"escaped", -1, {Tap(VK_UP), Tap(VK_RETURN)}, kBattleEscaped, 1, 0, 50, "                "},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InitNewGame();
    PlaceHeroInWorld();
    NpcRecord enemy = Enemy(0, 15, 6);
    std::memcpy(enemy.szGoods, "3", 2);
    EXPECT_EQ(Fight(enemy, c.hold, c.steps), c.result);
    EXPECT_EQ(nMap, 1);
    EXPECT_EQ(nViewCol, 7);
    EXPECT_EQ(nViewRow, 4);
    EXPECT_EQ(nScrollX, -16);
    EXPECT_EQ(nScrollY, -8);
    EXPECT_EQ(nLastViewCol, 7);
    EXPECT_EQ(nLastViewRow, 4);
    EXPECT_EQ(nLastScrollX, -16);
    EXPECT_EQ(nLastScrollY, -8);
    EXPECT_EQ(hero.nX, 300);
    EXPECT_EQ(hero.nY, 200);
    EXPECT_EQ(hero.nLastX, 300);
    EXPECT_EQ(hero.nLastY, 200);
    EXPECT_EQ(hero.nDirection, 3);
    EXPECT_EQ(hero.nFrame, 2);
    EXPECT_EQ(hero.nExp, c.exp);
    EXPECT_EQ(hero.nMoney, c.money);
    EXPECT_EQ(std::string(hero.szGoods, 16), c.goods);
    EXPECT_EQ(NpcCount(mapTable[kArena]), c.arenaCount);
    EXPECT_STREQ(OpenScreen(), "world");
    // The world is shown again: the hero's frame where it stood.
    EXPECT_EQ(ScreenPixel(300 + 16, 200 - 24), world_test::HeroFrameIndex(2, 3));
  }
}

TEST_F(BattleTest, AQuitInTheMiddleOfAFightLeavesTheWorldAsItWas) {
  PlaceHeroInWorld();
  hero.nLife = 42;
  UseScript({Tap(VK_DOWN)});  // then no key until the backend's time limit ends the program
  EXPECT_THROW(RunBattle(Enemy(30, 15, 6), kArena, 50), platform::QuitRequested);
  EXPECT_EQ(nMap, 1);
  EXPECT_EQ(nViewCol, 7);
  EXPECT_EQ(nLastScrollY, -8);
  EXPECT_EQ(hero.nX, 300);
  EXPECT_EQ(hero.nLastY, 200);
  EXPECT_EQ(hero.nDirection, 3);
  EXPECT_EQ(hero.nLife, 42);
  EXPECT_STREQ(OpenScreen(), "world");
  EXPECT_EQ(BattleEnemy(), nullptr);
}

}  // namespace
}  // namespace battle_test
