// The slot menus, the in-game menu, the About screen and loading from the title.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "app/open_screen.h"
#include "app/save_game.h"
#include "app/save_menus.h"
#include "app/title.h"
#include "goods/about.h"
#include "goods/game_menu.h"
#include "platform/system.h"
#include "save_fixture.h"
#include "video/display.h"
#include "world/map_files.h"

namespace saves_test {
namespace {

using namespace world_test;
using platform::VK_DOWN;
using platform::VK_ESCAPE;
using platform::VK_RETURN;
using platform::VK_UP;
using platform::headless::GetLog;

struct Seen {
  std::string screen;
  int entry;
  bool operator==(const Seen&) const = default;
  friend void PrintTo(const Seen& seen, std::ostream* out) { *out << seen.screen << ':' << seen.entry; }
};

class MenuTest : public SaveTest {
 protected:
  void SetUp() override {
    SaveTest::SetUp();
    platform::SetStateDumper([this] {
      seen_.push_back({OpenScreen(), highlighted_ ? highlighted_() : -1});
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
      if (ScreenCount(x, y, 60, 20, kYellowIndex) > 200 && ScreenCount(x - 3, y, 3, 20, kYellowIndex) == 0)
        return k;
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

  std::function<int()> highlighted_;
  std::vector<Seen> seen_;
};

TEST_F(MenuTest, SlotMenusWrapAroundAndCancel) {
  for (const bool saving : {false, true}) {
    SCOPED_TRACE(saving ? "save" : "load");
    const int x = saving ? 50 : 45;  // the save menu stands 5 pixels further right
    const std::string name = saving ? "save" : "load";
    highlighted_ = [this, x] { return SlotHighlight(x); };
    seen_.clear();
    UseScript({State("s"), Tap(VK_UP), State("s"), Tap(VK_DOWN), State("s"), Tap(VK_ESCAPE)});
    EXPECT_EQ(saving ? RunSaveMenu() : RunLoadMenu(), 0);
    EXPECT_EQ(seen_, (std::vector<Seen>{{name, 0}, {name, 5}, {name, 0}}));
    UseScript({Tap(VK_UP), Tap(VK_RETURN)});
    EXPECT_EQ(saving ? RunSaveMenu() : RunLoadMenu(), 0);
  }
  EXPECT_FALSE(std::filesystem::exists(saves_));
}

TEST_F(MenuTest, TheSaveMenuWritesTheChosenSlotAndTheLoadMenuPassesEmptyOnes) {
  hero.nMoney = 321;
  UseScript({Tap(VK_DOWN), Tap(VK_DOWN), Tap(VK_RETURN)});
  EXPECT_EQ(RunSaveMenu(), 1);
  EXPECT_TRUE(std::filesystem::exists(SlotFile(2)));

  hero.nMoney = 1;
  highlighted_ = [this] { return SlotHighlight(45); };
  UseScript({Tap(VK_RETURN), State("s"), Tap(VK_DOWN), Tap(VK_DOWN), Tap(VK_RETURN)});
  EXPECT_EQ(RunLoadMenu(), 1);
  EXPECT_EQ(seen_, (std::vector<Seen>{{"load", 0}}));  // the empty slot kept the menu open
  EXPECT_EQ(hero.nMoney, 321);
}

TEST_F(MenuTest, AFailedSaveSaysSoAndIsNotFadedLikeADoneOne) {
  WriteSlot(0, "x");
  platform::SetSaveDirectory(SlotFile(0).string() + "/save");  // cannot be made
  highlighted_ = [this] { return ScreenCount(160, 310, 140, 20, kYellowIndex) > 0 ? 1 : 0; };
  UseScript({Tap(VK_DOWN), Tap(VK_DOWN), Tap(VK_DOWN), Tap(VK_RETURN), Wait(100), Tap(VK_RETURN),
             State("s"), Tap(VK_ESCAPE), Tap(VK_ESCAPE)});
  const int paletteLoads = GetLog().paletteLoads;
  RunGameMenu();
  EXPECT_EQ(seen_, (std::vector<Seen>{{"save", 1}}));  // the message stands beside the slot
  EXPECT_EQ(GetLog().paletteLoads, paletteLoads);

  platform::SetSaveDirectory(saves_.string());
  highlighted_ = [this] { return GameMenuHighlight(); };
  UseScript({Tap(VK_DOWN), Tap(VK_DOWN), Tap(VK_DOWN), Tap(VK_RETURN), Wait(100), Tap(VK_RETURN),
             State("s"), Tap(VK_ESCAPE)});
  RunGameMenu();
  EXPECT_EQ(seen_.back(), (Seen{"menu", 3}));
  EXPECT_GT(GetLog().paletteLoads, paletteLoads);  // a done save fades out and in
  EXPECT_TRUE(std::filesystem::exists(SlotFile(0)));
}

TEST_F(MenuTest, TheGameMenuWrapsAroundAndIgnoresAnEnterHeldIntoIt) {
  highlighted_ = [this] { return GameMenuHighlight(); };
  platform::headless::PressKey(VK_RETURN);
  UseScript({Wait(300), Release(VK_RETURN), Wait(100), State("s"), Tap(VK_UP), State("s"),
             Tap(VK_DOWN), State("s"), Tap(VK_ESCAPE)});
  RunGameMenu();
  EXPECT_EQ(seen_, (std::vector<Seen>{{"menu", 0}, {"menu", 6}, {"menu", 0}}));
  EXPECT_STREQ(OpenScreen(), "world");
}

TEST_F(MenuTest, StatusAndAboutStayOnScreenWithTheSelectionOnBack) {
  WriteFile("text\\gp.txt", "About");
  highlighted_ = [this] { return GameMenuHighlight(); };
  // ENTER after the status panel goes straight back to the game.
  UseScript({Wait(100), Tap(VK_RETURN), Wait(100), State("s"), Tap(VK_RETURN)});
  RunGameMenu();
  // UP from there selects quitting.
  UseScript({Wait(100), Tap(VK_RETURN), Wait(100), Tap(VK_UP), State("s"), Tap(VK_ESCAPE)});
  RunGameMenu();
  // The About page, its scrolling, and the page left standing under the menu.
  UseScript({Tap(VK_DOWN), Tap(VK_DOWN), Tap(VK_DOWN), Tap(VK_DOWN), Tap(VK_RETURN), Wait(100),
             State("s"), Tap(VK_RETURN), Wait(500), Tap(VK_RETURN), Wait(100), State("s"),
             Tap(VK_RETURN)});
  RunGameMenu();
  ASSERT_EQ(seen_.size(), 4u);
  EXPECT_EQ(seen_[0].screen, "status");
  EXPECT_EQ(seen_[1], (Seen{"menu", 5}));
  EXPECT_EQ(seen_[2].screen, "about");
  EXPECT_EQ(seen_[3].screen, "about");
  EXPECT_STREQ(OpenScreen(), "world");
}

TEST_F(MenuTest, TheAboutTextClimbsAPixelEvery50MsFrom90To1311AboveZero) {
  // Row 5 carries a mark in its first cell, row 80 in its eleventh.
  std::string text(36 * 81, ' ');
  text[36 * 5] = '#';
  text[36 * 80 + 10] = '#';
  WriteFile("text\\gp.txt", text);
  // The top of a mark in the visible window.
  auto markTop = [this](int left) {
    for (int y = 110; y < 370; ++y)
      if (ScreenCount(left, y, 10, 1, kWhiteIndex) > 0) return y;
    return -1;
  };
  std::vector<int> tops;
  platform::SetStateDumper([&] {
    tops.push_back(markTop(140));
    tops.push_back(markTop(240));
    return std::string("{}");
  });
  platform::headless::PressKey(VK_RETURN);  // held from the menu: the page still waits
  UseScript({Wait(200), Release(VK_RETURN), Wait(200), Tap(VK_RETURN), State("s"), Wait(1000),
             State("s"), Wait(75000), State("s"), Wait(5000), State("s"), Tap(VK_RETURN)});
  ShowAbout();
  ASSERT_EQ(tops.size(), 8u);
  const int first = tops[0];
  ASSERT_GT(first, 0);
  EXPECT_NEAR(tops[2], first - 20, 1);  // 1000 ms later
  EXPECT_EQ(tops[5], tops[7]);          // it has stopped for good
  // From y 90 to -1311 the text climbs 1401 pixels: row 80 then stands where row 5 stood
  // 75 rows (1500 pixels) lower, 99 pixels below the first sight of row 5 (one frame had passed).
  EXPECT_NEAR(tops[5] - first, 1500 - 1401, 1);
}

TEST_F(MenuTest, TheTitleLoadsASavedGameOrGoesBackToItsMenu) {
  static const char* const kMaps[] = {"home", "city", "wood", "f_wood", "palace", "shop01", "shop02", "shop03"};
  for (int m = 0; m < kMapCount; ++m) {
    WriteFile(std::string("maps\\") + kMaps[m] + ".map", MapFileBytes(20, 15, m, {}));
    WriteFile(std::string("maps\\") + kMaps[m] + ".npc", "xxxxxxxxxx:0;\n");
  }
  ASSERT_EQ(LoadMaps(), 1);
  LoadNpcs();
  SetTileAt(mapTable[4], 1, 1, 0xA12E);
  hero.nMoney = 4321;
  nMap = 4;
  ASSERT_EQ(SaveGame(1), 1);

  // An empty slot and ESC: back on the title menu, on its load entry.
  highlighted_ = [this] {
    for (int k = 0; k < 3; ++k)
      if (ScreenCount(16, 390 + 24 * k, 40, 20, kYellowIndex) > 100) return k;
    return -1;
  };
  UseScript({Tap(VK_DOWN), Tap(VK_RETURN), Wait(100), Tap(VK_RETURN), Tap(VK_ESCAPE), State("s"),
             Tap(VK_RETURN), Wait(100), Tap(VK_DOWN), Tap(VK_RETURN)});
  RunTitleMenu();
  EXPECT_EQ(seen_, (std::vector<Seen>{{"title", 1}}));
  EXPECT_EQ(hero.nMoney, 4321);
  EXPECT_EQ(nMap, 4);
  EXPECT_EQ(TileAt(mapTable[4], 1, 1), 0xA12E);
  EXPECT_TRUE(lpDDPal->Entries() == *lpPalGame);  // faded into the game
  ASSERT_GE(GetLog().mciCommands.size(), 1u);
  EXPECT_EQ(GetLog().mciCommands.back(), "play voc\\back.mid");
}

}  // namespace
}  // namespace saves_test
