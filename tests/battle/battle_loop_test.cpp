// Whole fights and the battle screen: which actions cost a turn, escaping, the command cursor,
// the state dump during a fight and a fight left by a quit.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "app/state_dump.h"
#include "battle_fixture.h"
#include "core/open_screen.h"
#include "saves/save_game.h"

namespace battle_test {
namespace {

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
  EXPECT_THROW(RunBattle(Enemy(30, 15, 6), kArena, 50), QuitRequested);
  EXPECT_EQ(world(), before);
  EXPECT_STREQ(OpenScreen(), "world");
  EXPECT_EQ(BattleEnemy(), nullptr);
}

TEST_F(BattleTest, TheScreenShowsBarPortraitsFightersFiguresAndTheChosenCommand) {
  const NpcRecord enemy = Enemy(30, 10, 6);
  for (int cursor = 0; cursor < 4; ++cursor) {
    SCOPED_TRACE(cursor);
    ArenaScope arena(enemy, kArena, cursor);
    DrawBattleScreen(cursor, enemy);
    // The bar covers x 96..543, y 304..415.
    for (auto [x, y, bar] : {std::tuple{96, 304, true}, {543, 415, true}, {95, 304, false}, {544, 415, false},
                             {300, 416, false}})
      EXPECT_EQ(ScreenPixel(x, y) == kBarIndex, bar) << x << "," << y;
    // The portraits, and the fighters facing each other with their feet at 270.
    EXPECT_EQ(ScreenPixel(106 + 16, 314 + 40), HeroFrameIndex(0, 0));
    EXPECT_EQ(ScreenPixel(361 + 16, 330 + 16), NpcSheetIndex(kEnemyPicture));
    EXPECT_EQ(ScreenPixel(130 + 16, 270 - 24), HeroFrameIndex(0, 2));
    EXPECT_EQ(ScreenPixel(470 + 16, 270 - 16), NpcSheetIndex(kEnemyPicture));
    // Both blocks of figures read as four lines of black text.
    for (int line = 0; line < 4; ++line) {
      EXPECT_GT(ScreenCount(146, 319 + 20 * line, 120, 20, 0), 20) << "hero line " << line;
      EXPECT_GT(ScreenCount(401, 319 + 20 * line, 120, 20, 0), 20) << "enemy line " << line;
    }
    // Red commands on black boxes; the chosen one on a white box.
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(BoxCount(298, 314 + 24 * i, kWhiteIndex) > 200, i == cursor) << i;
      EXPECT_EQ(BoxCount(298, 314 + 24 * i, 0) > 200, i != cursor) << i;
    }
  }
}

TEST_F(BattleTest, TheCursorWrapsAndTheStateDumpShowsTheFight) {
  const auto cursorIs = [this](int cursor) {
    return Look([this, cursor] {
      const std::string dump = DumpGameState();
      EXPECT_NE(dump.find("\"screen\":\"battle\""), std::string::npos);
      EXPECT_NE(dump.find("\"battle\":{\"cursor\":" + std::to_string(cursor) +
                          ",\"enemy\":{\"nTalkId\":10001"),
                std::string::npos);
      // The highlight shows from the fight's first screen on, drawn once the colours are back.
      EXPECT_GT(BoxCount(298, 314 + 24 * cursor, kWhiteIndex), 200);
    });
  };
  EXPECT_EQ(Fight(Enemy(0, 10, 6), 50,
                  {cursorIs(0), Tap(VK_UP), Wait(5), cursorIs(3), Tap(VK_DOWN), Wait(5), cursorIs(0),
                   Tap(VK_DOWN), Tap(VK_DOWN), Wait(5), cursorIs(2), Tap(VK_UP), Tap(VK_UP),
                   Tap(VK_RETURN), Tap(VK_RETURN), Tap(VK_RETURN)}),
            kBattleWon);
  EXPECT_NE(DumpGameState().find("\"battle\":null,"), std::string::npos);
  EXPECT_STREQ(OpenScreen(), "world");
}

}  // namespace
}  // namespace battle_test
