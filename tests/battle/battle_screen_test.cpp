// The battle screen, the command cursor and the state dump during a fight.
#include <gtest/gtest.h>

#include <string>
#include <tuple>

#include "app/state_dump.h"
#include "battle/arena.h"
#include "battle/battle.h"
#include "core/open_screen.h"
#include "battle_fixture.h"

namespace battle_test {
namespace {

using world_test::HeroFrameIndex;
using world_test::NpcSheetIndex;

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
  using platform::VK_DOWN;
  using platform::VK_RETURN;
  using platform::VK_UP;
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
