// Whole fights: which actions cost a turn, escaping, and a fight left by a quit.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/state_dump.h"
#include "battle/battle.h"
#include "battle/battle_rules.h"
#include "core/game_state.h"
#include "core/open_screen.h"
#include "saves/save_game.h"
#include "battle_fixture.h"
#include "core/random.h"
#include "video/draw.h"

namespace battle_test {
namespace {

using platform::VK_CONTROL;
using platform::VK_DOWN;
using platform::VK_ESCAPE;
using platform::VK_RETURN;
using platform::VK_RIGHT;
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
  // 16056 of the 32768 values of the generator give 51 to 100.
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
  struct Case {
    const char* name;
    std::vector<Step> windowKeys;
    int goodsUsed;
  };
  const Case cases[] = {
      {"closed at once", {Tap(VK_ESCAPE)}, 0},
      {"three used",
       {Tap(VK_CONTROL), Tap(VK_RIGHT), Tap(VK_CONTROL), Tap(VK_RIGHT), Tap(VK_CONTROL), Tap(VK_ESCAPE)},
       3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InitNewGame();
    std::memcpy(hero.szGoods, "234", 3);
    SeedRandom(9);
    const int damage = c.goodsUsed > 0 ? BlowDamage(15, hero.nDefense) : 0;
    SeedRandom(9);
    // The window first lets go of a CTRL held from before; its keys come after.
    std::vector<Step> steps = {Tap(VK_DOWN), Tap(VK_DOWN), Tap(VK_RETURN), Wait(10)};
    steps.insert(steps.end(), c.windowKeys.begin(), c.windowKeys.end());
    // Then away: a hold below 0 lets every escape succeed.
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
  // Nothing is put back after a death: the screen fades to black and the title takes over.
  EXPECT_EQ(nMap, kArena);
  EXPECT_EQ(hero.nX, 640);
}

TEST_F(BattleTest, AFailedEscapeBlinksAndTheEnemyStrikesOnce) {
  SeedRandom(5);
  RandomUpTo(100);
  const int damage = BlowDamage(15, hero.nDefense);
  SeedRandom(5);
  const auto messageShown = [this](bool shown) {
    return Look([this, shown] { EXPECT_EQ(ScreenCount(280, 200, 100, 20, kWhiteIndex) > 20, shown); });
  };
  // An enemy already down when its answer comes counts as beaten: the fight ends there.
  EXPECT_EQ(Fight(Enemy(0, 15, 6), 100,
                  {Tap(VK_UP), Tap(VK_RETURN), Wait(40), messageShown(true), Wait(80),
                   messageShown(false), Wait(80), messageShown(true), Tap(VK_RETURN), Tap(VK_RETURN)}),
            kBattleWon);
  EXPECT_EQ(hero.nLife, 50 - damage);
}

// A saved game is read only when every map has as many characters as the maps in play, so the
// arena must have its own number back after a fight, won or escaped.
TEST_F(BattleTest, AGameSavedBeforeAFightStillLoadsAfterIt) {
  const int arenaCount = NpcCount(mapTable[kArena]);
  ASSERT_EQ(SaveGame(0), 1);
  EXPECT_EQ(Fight(Enemy(0, 15, 6), 50, {Tap(VK_RETURN), Tap(VK_RETURN), Tap(VK_RETURN)}),
            kBattleWon);
  EXPECT_EQ(NpcCount(mapTable[kArena]), arenaCount);
  EXPECT_EQ(LoadGame(0), 1);
  EXPECT_EQ(Fight(Enemy(30, 15, 6), -1, {Tap(VK_UP), Tap(VK_RETURN)}), kBattleEscaped);
  EXPECT_EQ(NpcCount(mapTable[kArena]), arenaCount);
  EXPECT_EQ(LoadGame(0), 1);
}

TEST_F(BattleTest, AQuitInTheMiddleOfAFightLeavesTheWorldAsItWas) {
  nMap = 1;
  nViewCol = nLastViewCol = 2;
  nScrollY = nLastScrollY = -8;
  hero.nDirection = 3;
  hero.nFrame = 2;
  // Everything before the maps: the view, the story words and the hero's whole record.
  const auto world = [] {
    const std::string dump = DumpGameState();
    return dump.substr(0, dump.find("\"maps\""));
  };
  const std::string before = world();
  UseScript({Tap(VK_DOWN)});  // then no key until the backend's time limit ends the program
  EXPECT_THROW(RunBattle(Enemy(30, 15, 6), kArena, 50), platform::QuitRequested);
  EXPECT_EQ(world(), before);
  EXPECT_STREQ(OpenScreen(), "world");
  EXPECT_EQ(BattleEnemy(), nullptr);
}

}  // namespace
}  // namespace battle_test
