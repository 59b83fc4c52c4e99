// The battle screen and the state dump during a fight.
#include <gtest/gtest.h>

#include <string>

#include "app/game_state.h"
#include "app/open_screen.h"
#include "app/state_dump.h"
#include "battle/arena.h"
#include "battle/battle.h"
#include "battle_fixture.h"

namespace battle_test {
namespace {

using world_test::HeroFrameIndex;
using world_test::kWhiteIndex;
using world_test::NpcSheetIndex;

TEST_F(BattleTest, TheScreenShowsBarPortraitsFightersFiguresAndTheChosenCommand) {
  const NpcRecord enemy = Enemy(30, 10, 6);
  for (int cursor = 0; cursor < 4; ++cursor) {
    SCOPED_TRACE(cursor);
    ArenaScope arena(enemy, kArena, cursor);
    DrawBattleScreen(cursor, enemy);
    // The bar covers x 96..543, y 304..415.
    EXPECT_EQ(ScreenPixel(96, 304), kBarIndex);
    EXPECT_EQ(ScreenPixel(543, 415), kBarIndex);
    EXPECT_NE(ScreenPixel(95, 304), kBarIndex);
    EXPECT_NE(ScreenPixel(544, 415), kBarIndex);
    EXPECT_NE(ScreenPixel(300, 416), kBarIndex);
    // Portraits: the hero's first frame, the enemy's first frame.
    EXPECT_EQ(ScreenPixel(106 + 16, 314 + 40), HeroFrameIndex(0, 0));
    EXPECT_EQ(ScreenPixel(361 + 16, 330 + 16), NpcSheetIndex(kEnemyPicture));
    // The fighters: the hero facing right at 130, the enemy at 470, both with feet at 270.
    EXPECT_EQ(ScreenPixel(130 + 16, 270 - 24), HeroFrameIndex(0, 2));
    EXPECT_EQ(ScreenPixel(470 + 16, 270 - 16), NpcSheetIndex(kEnemyPicture));
    // Both blocks of figures read as four lines of black text.
    for (int line = 0; line < 4; ++line) {
      EXPECT_GT(ScreenCount(146, 319 + 20 * line, 120, 20, 0), 20) << "hero line " << line;
      EXPECT_GT(ScreenCount(401, 319 + 20 * line, 120, 20, 0), 20) << "enemy line " << line;
    }
    // Red commands on black boxes; the chosen one on a white box.
    for (int i = 0; i < 4; ++i) {
      const int white = ScreenCount(298, 314 + 24 * i, 40, 20, kWhiteIndex);
      const int black = ScreenCount(298, 314 + 24 * i, 40, 20, 0);
      if (i == cursor) {
        EXPECT_GT(white, 200) << i;
        EXPECT_EQ(black, 0) << i;
      } else {
        EXPECT_EQ(white, 0) << i;
        EXPECT_GT(black, 200) << i;
      }
    }
  }
}

bool Contains(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

TEST_F(BattleTest, TheCursorWrapsAndTheStateDumpShowsTheFight) {
  PlaceHeroInWorld();
  const NpcRecord enemy = Enemy(0, 10, 6);
  const auto cursorIs = [this](int cursor) {
    return Look([this, cursor] {
      const std::string dump = DumpGameState();
      EXPECT_TRUE(Contains(dump, "\"screen\":\"battle\"")) << dump;
      EXPECT_TRUE(Contains(dump, "\"battle\":{\"cursor\":" + std::to_string(cursor) +
                                     ",\"enemy\":{\"nTalkId\":10001"))
          << dump;
      // The highlight shows from the fight's first screen on, drawn once the colours are back.
      EXPECT_GT(ScreenCount(298, 314 + 24 * cursor, 40, 20, kWhiteIndex), 200);
    });
  };
  EXPECT_EQ(Fight(enemy, 50,
                  {cursorIs(0), Tap(platform::VK_UP), Wait(5), cursorIs(3),
                   Tap(platform::VK_DOWN), Wait(5), cursorIs(0), Tap(platform::VK_DOWN),
                   Tap(platform::VK_DOWN), Wait(5), cursorIs(2), Tap(platform::VK_UP),
                   Tap(platform::VK_UP), Tap(platform::VK_RETURN), Tap(platform::VK_RETURN),
                   Tap(platform::VK_RETURN)}),
            kBattleWon);
  EXPECT_TRUE(Contains(DumpGameState(), "\"battle\":null,"));
  EXPECT_STREQ(OpenScreen(), "world");
}

}  // namespace
}  // namespace battle_test
