// The title sequence: its menu, the story typing and the start of a new game.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "platform/backend/backend.h"
#include "platform/system.h"
#include "title/title.h"
#include "video/display.h"
#include "world/talk.h"
#include "small_world_fixture.h"

namespace world_test {
namespace {

using platform::headless::GetLog;

class TitleTest : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    static const char* const kMaps[] = {"home", "city", "wood", "f_wood", "palace", "shop01", "shop02", "shop03"};
    for (int m = 0; m < kMapCount; ++m) {
      std::vector<uint16_t> tiles(20 * 15, 0);
      tiles[0] = uint16_t(0xA000 + m);
      WriteFile(std::string("maps\\") + kMaps[m] + ".map", MapFileBytes(20, 15, m, tiles));
      WriteFile(std::string("maps\\") + kMaps[m] + ".npc",
                MotherFile());
    }
    WriteFile("text\\talk.txt", "[99001] story\nABCD;\n[10000] first\n{Welcome home@;\n");
    LoadTalkText();
    platform::SetStateDumper([this] {
      highlighted_.push_back(HighlightedEntry());
      storyWhite_.push_back(ScreenCount(70, 100, 10, 20, kWhiteIndex));  // where the story's 4th byte goes
      return std::string("{}");
    });
  }
  void TearDown() override {
    platform::SetStateDumper(nullptr);
    WorldTest::TearDown();
  }

  // A character file holding the mother alone: sheet 6 at (500, 400), talk 10001.
  static std::string MotherFile() {
    const char* const values[] = {"1",   "10001", "6",   "0", "0", "0", "1", "Mother", "32",
                                  "32",  "500",   "400", "500", "400", "0", "0", "0", "0",
                                  "0",   "0",     "0",   "0", "0", "                ", "0", "0"};
    std::string text;
    for (const char* value : values) text += std::string("xxxxxxxxxx:") + value + ";\n";
    return text;
  }

  // The menu entry standing on the yellow highlight, its white text over a black shadow
  // inside the yellow; -1 when none does.
  int HighlightedEntry() const {
    int best = -1, bestCount = 0;
    for (int k = 0; k < 3; ++k) {
      const int count = ScreenCount(16, 390 + 24 * k, 60, 20, kYellowIndex);
      if (count > bestCount) best = k, bestCount = count;
    }
    const int y = 390 + 24 * best;
    if (best >= 0 && (ScreenCount(16, y, 60, 20, kWhiteIndex) == 0 || ScreenCount(16, y, 60, 20, 0) == 0)) return -1;
    return best;
  }
  static platform::headless::Step StateStep() { return State("state.json"); }

  // Whether the title asked the window to close.
  static bool CloseWasPosted() {
    for (int k = 0; k < 10 && platform::PeekMessage(); ++k) {
      platform::Msg message;
      if (!platform::GetMessage(message)) return false;
      if (message.message == platform::WM_CLOSE) return true;
    }
    return false;
  }

  std::vector<int> highlighted_;
  std::vector<int> storyWhite_;
};

TEST_F(TitleTest, TheMenuWrapsBothWaysAndQuits) {
  UseScript({Tap(platform::VK_UP), StateStep(), Tap(platform::VK_DOWN), StateStep(),
             Tap(platform::VK_DOWN), StateStep(), Tap(platform::VK_UP), Tap(platform::VK_UP),
             StateStep(), Tap(platform::VK_RETURN)});
  RunTitleMenu();
  EXPECT_EQ(highlighted_, (std::vector<int>{2, 0, 1, 2}));
  EXPECT_TRUE(CloseWasPosted());
  // The title music played; quitting fades the title out.
  const std::vector<std::string> title = {"close all", "open voc\\title.mid", "play voc\\title.mid"};
  EXPECT_EQ(GetLog().mciCommands, title);
  EXPECT_TRUE(lpDDPal->Entries() == *lpPalBlack);
}

TEST_F(TitleTest, KeysHeldIntoTheMenuActOnlyOnce) {
  // ENTER held from the screen before is not a choice; a held arrow moves the cursor once.
  platform::headless::PressKey(platform::VK_RETURN);
  UseScript({Wait(300), Release(platform::VK_RETURN), Wait(100), StateStep(),
             Hold(platform::VK_DOWN, 500), Wait(100), StateStep(), Tap(platform::VK_DOWN),
             Tap(platform::VK_RETURN)});
  RunTitleMenu();
  EXPECT_EQ(highlighted_, (std::vector<int>{0, 1}));
  EXPECT_TRUE(CloseWasPosted());
}

TEST_F(TitleTest, ANewGameTypesTheStoryShowsTheHomeAndPlaysTheFirstTalk) {
  UseScript({Wait(100), Tap(platform::VK_RETURN), Wait(2000), StateStep(), Tap(platform::VK_RETURN),
             Wait(500), Tap(platform::VK_RETURN)});
  try {
    RunTitleMenu();
  } catch (const platform::QuitRequested&) {
    FAIL() << "stopped at " << platform::headless::Now() << " ms, flips " << GetLog().flips;
  }
  // "ABCD" typed in full before ENTER was asked for: its last letter stands at x 70.
  ASSERT_EQ(storyWhite_.size(), 1u);
  EXPECT_GT(storyWhite_[0], 0);

  EXPECT_EQ(nMap, 0);
  EXPECT_EQ(hero.nX, 180);
  EXPECT_EQ(hero.nY, 164);
  EXPECT_EQ(hero.nDirection, 0);
  EXPECT_EQ(mapTable[0].nNpcCount, 1);
  // The first talk is still on the screen, with the mother's portrait.
  EXPECT_EQ(ScreenPixel(5, 470), kTalkBarIndex);
  EXPECT_EQ(ScreenPixel(40, 410), NpcSheetIndex(6));
  EXPECT_TRUE(lpDDPal->Entries() == *lpPalGame);
  const std::vector<std::string> music = {"close all", "open voc\\title.mid", "play voc\\title.mid",
                                          "close all", "open voc\\back.mid",  "play voc\\back.mid"};
  EXPECT_EQ(GetLog().mciCommands, music);
}

TEST_F(TitleTest, TheTitleStartsOverFromTheFiles) {
  SetTileAt(mapTable[0], 0, 0, 0);
  mapTable[0].lpNpcs.clear();
  hero.nMoney = 999;
  nStoryStage = 2;
  nMap = 4;
  bSoundOn = 0;
  UseScript({Tap(platform::VK_UP), Tap(platform::VK_RETURN)});
  RunTitleMenu();
  EXPECT_EQ(TileAt(mapTable[0], 0, 0), 0xA000);
  EXPECT_EQ(TileAt(mapTable[5], 0, 0), 0xA005);
  EXPECT_EQ(NpcCount(mapTable[0]), 1);
  EXPECT_EQ(hero.nMoney, 50);
  EXPECT_EQ(nStoryStage, 0);
  EXPECT_EQ(nMap, 0);
  EXPECT_TRUE(GetLog().mciCommands.empty());  // sound off: not a single music command
}

TEST_F(TitleTest, MissingMapFilesEndTheProgramWithAMessage) {
  std::filesystem::remove_all(dataDirectory_ + "/maps");
  EXPECT_THROW(RunTitleMenu(), platform::QuitRequested);
  ASSERT_EQ(GetLog().messageBoxes.size(), 1u);
  EXPECT_EQ(GetLog().messageBoxes[0], "error|地图文件出错");
  EXPECT_EQ(lpDD, nullptr);
}

class TypeTextTest : public WorldTest {
 protected:
  int WhiteInColumn(int left) const { return ScreenCount(left, 100, 10, 20, kWhiteIndex); }
};

TEST_F(TypeTextTest, EnterStopsTheTypingAtOnceOrEndsTheTypedText) {
  UseScript({Wait(400), Tap(platform::VK_RETURN)});
  uint32_t start = platform::headless::Now();
  TypeText(std::string(40, 'A').c_str(), 0xFFFFFF);
  EXPECT_LT(platform::headless::Now() - start, 1500u);
  EXPECT_GT(WhiteInColumn(40), 0);
  EXPECT_EQ(WhiteInColumn(40 + 39 * 10), 0);  // the last letter was never typed

  // 60 bytes: two screen lines, the second with 10 letters, typed in full before ENTER counts.
  UseScript({Wait(6000), Tap(platform::VK_RETURN)});
  start = platform::headless::Now();
  TypeText(std::string(60, 'A').c_str(), 0xFFFFFF);
  EXPECT_GE(platform::headless::Now() - start, 60u * 80u);
  EXPECT_GT(ScreenCount(40, 120, 100, 20, kWhiteIndex), 0);

  // An empty text waits for one press of ENTER.
  UseScript({Wait(100), Tap(platform::VK_RETURN)});
  TypeText("", 0xFFFFFF);
  EXPECT_THROW(TypeText("", 0xFFFFFF), platform::QuitRequested);  // no more presses come
}

}  // namespace
}  // namespace world_test
