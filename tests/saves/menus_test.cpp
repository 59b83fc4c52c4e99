// The slot menus, the in-game menu and the About screen.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "core/open_screen.h"
#include "goods/about.h"
#include "goods/game_menu.h"
#include "saves/save_menus.h"
#include "save_fixture.h"

namespace saves_test {
namespace {

using namespace world_test;
using platform::VK_DOWN;
using platform::VK_ESCAPE;
using platform::VK_RETURN;
using platform::VK_UP;

// Each "state" step of a script notes the open screen and what `look` finds on it.
class MenuTest : public SaveTest {
 protected:
  void SetUp() override {
    SaveTest::SetUp();
    platform::SetStateDumper([this] {
      seen_ += OpenScreen() + (":" + std::to_string(look_())) + " ";
      return std::string("{}");
    });
  }
  void TearDown() override {
    platform::SetStateDumper(nullptr);
    SaveTest::TearDown();
  }
  // The slot menu's entry on the yellow highlight, whose left edge must be at x.
  int SlotHighlight(int x) const {
    for (int k = 0; k < 6; ++k) {
      const int y = 310 + 24 * k;
      if (ScreenCount(x, y, 60, 20, kYellowIndex) > 200 && ScreenCount(x - 3, y, 3, 20, kYellowIndex) == 0) return k;
    }
    return -1;
  }
  // The in-game menu's entry on the dark blue bar: the one row not standing on black.
  int GameMenuHighlight() const {
    int best = -1, fewest = 1 << 30;
    for (int i = 0; i < 7; ++i) {
      const int black = ScreenCount(34, 300 + 24 * i, 80, 20, 0);
      if (black < fewest) best = i, fewest = black;
    }
    return best;
  }

  std::function<int()> look_ = [this] { return GameMenuHighlight(); };
  std::string seen_;  // "screen:entry " at each look
};

TEST_F(MenuTest, SlotMenusWrapAroundCancelAndPassEmptySlots) {
  for (const bool saving : {false, true}) {
    const int x = saving ? 50 : 45;  // the save menu stands 5 pixels further right
    look_ = [this, x] { return SlotHighlight(x); };
    seen_.clear();
    // In the load menu ENTER on an empty slot does nothing.
    UseScript({Wait(100), Tap(saving ? VK_DOWN : VK_RETURN), State("s"), Tap(VK_UP), Tap(VK_UP), State("s"),
               Tap(VK_DOWN), State("s"), Tap(VK_ESCAPE)});
    EXPECT_EQ(saving ? RunSaveMenu() : RunLoadMenu(), 0);
    EXPECT_EQ(seen_, saving ? "save:1 save:5 save:0 " : "load:0 load:4 load:5 ");
    UseScript({Tap(VK_UP), Tap(VK_RETURN)});  // "cancel"
    EXPECT_EQ(saving ? RunSaveMenu() : RunLoadMenu(), 0);
  }
  EXPECT_FALSE(std::filesystem::exists(saves_));
}

TEST_F(MenuTest, AFailedSaveSaysSoAndIsNotFadedLikeADoneOne) {
  BlockSaveFolder();
  look_ = [this] { return ScreenCount(160, 310, 140, 20, kYellowIndex) > 0 ? 1 : 0; };  // the message
  // A pause after each ENTER that opens a screen, as a player's next press comes later.
  const std::vector<platform::headless::Step> save = {Tap(VK_DOWN), Tap(VK_DOWN), Tap(VK_DOWN), Tap(VK_RETURN),
                                                      Wait(100), Tap(VK_RETURN), State("s"), Tap(VK_ESCAPE)};
  UseScript(save);
  UseScript({Tap(VK_ESCAPE)});
  const int paletteLoads = platform::headless::GetLog().paletteLoads;
  RunGameMenu();
  EXPECT_EQ(seen_, "save:1 ");
  EXPECT_EQ(platform::headless::GetLog().paletteLoads, paletteLoads);

  platform::SetSaveDirectory(saves_.string());
  look_ = [this] { return GameMenuHighlight(); };
  UseScript(save);
  RunGameMenu();
  EXPECT_EQ(seen_, "save:1 menu:3 ");
  EXPECT_GT(platform::headless::GetLog().paletteLoads, paletteLoads);  // a done save fades out and in
  EXPECT_TRUE(std::filesystem::exists(SlotFile(0)));
}

TEST_F(MenuTest, TheGameMenuWrapsAroundAndIgnoresAnEnterHeldIntoIt) {
  platform::headless::PressKey(VK_RETURN);
  UseScript({Wait(300), Release(VK_RETURN), Wait(100), State("s"), Tap(VK_UP), State("s"), Tap(VK_DOWN),
             State("s"), Tap(VK_ESCAPE)});
  RunGameMenu();
  EXPECT_EQ(seen_, "menu:0 menu:6 menu:0 ");
  EXPECT_STREQ(OpenScreen(), "world");
}

TEST_F(MenuTest, StatusAndAboutStayOnScreenWithTheSelectionOnBack) {
  WriteFile("text\\gp.txt", "About");
  look_ = [this] { return std::string(OpenScreen()) == "menu" ? GameMenuHighlight() : 0; };
  // ENTER after the status panel goes straight back to the game; UP from there selects quitting.
  UseScript({Wait(100), Tap(VK_RETURN), Wait(100), State("s"), Tap(VK_RETURN)});
  RunGameMenu();
  UseScript({Wait(100), Tap(VK_RETURN), Wait(100), Tap(VK_UP), State("s"), Tap(VK_ESCAPE)});
  RunGameMenu();
  // The About page, its scrolling, and the page left standing over the menu.
  UseScript({Tap(VK_UP), Tap(VK_UP), Tap(VK_UP), Tap(VK_RETURN), Wait(100), State("s"), Tap(VK_RETURN),
             Wait(500), Tap(VK_RETURN), Wait(100), State("s"), Tap(VK_RETURN)});
  RunGameMenu();
  EXPECT_EQ(seen_, "status:0 menu:5 about:0 about:0 ");
  EXPECT_STREQ(OpenScreen(), "world");
}

TEST_F(MenuTest, TheAboutTextClimbsAPixelEvery50MsFrom90To1311AboveZero) {
  // Row 5 carries a mark in its first cell, row 80 in its eleventh.
  std::string text(36 * 81, ' ');
  text[36 * 5] = '#';
  text[36 * 80 + 10] = '#';
  WriteFile("text\\gp.txt", text);
  auto markTop = [this](int left) {
    for (int y = 110; y < 370; ++y)
      if (ScreenCount(left, y, 10, 1, kWhiteIndex) > 0) return y;
    return -1;
  };
  std::vector<int> row5, row80;  // the marks' tops at each look, -1 when not shown
  look_ = [&] {
    row5.push_back(markTop(140));
    row80.push_back(markTop(240));
    return 0;
  };
  platform::headless::PressKey(VK_RETURN);  // held from the menu: the page still waits
  UseScript({Wait(200), Release(VK_RETURN), Wait(200), Tap(VK_RETURN), State("s"), Wait(1000), State("s"),
             Wait(75000), State("s"), Wait(5000), State("s"), Tap(VK_RETURN)});
  ShowAbout();
  ASSERT_EQ(row5.size(), 4u);
  ASSERT_GT(row5[0], 0);
  EXPECT_NEAR(row5[1], row5[0] - 20, 1);  // 1000 ms later
  EXPECT_EQ(row5[2], row5[3]);            // stopped for good
  EXPECT_EQ(row80[2], row80[3]);
  // From y 90 to -1311 the text climbs 1401 pixels: row 80 then stands 1500 - 1401 pixels below
  // where row 5 stood at the start.
  EXPECT_NEAR(row80[2] - row5[0], 1500 - 1401, 1);
}

}  // namespace
}  // namespace saves_test
