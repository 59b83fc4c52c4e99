// The dialogue file: finding talks and entries, cutting exchanges into lines, and the talk box;
// and the title sequence: its menu, the story typing and the start of a new game.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "platform/backend/backend.h"
#include "platform/system.h"
#include "small_world_fixture.h"
#include "title/title.h"
#include "video/display.h"
#include "world/talk.h"

namespace world_test {
namespace {

using platform::headless::GetLog;
using platform::VK_CONTROL;
using platform::VK_DOWN;
using platform::VK_RETURN;
using platform::VK_UP;

const std::string kMissing = "…… ……";

using TalkTest = WorldTest;

TEST_F(TalkTest, EntriesAreFoundInBothKeyLineForms) {
  SetTalkText(
      "# people of the home\n"
      "[10001] mother\n{A0@;\n{A1@;\n"
      "[10002]\nthis line is passed over;\n{B0@;\n"
      "[10003];\n{C0@;\n{C1@;\n"
      "[10004]:\n{D0@;\n"
      "x[10005]\n{E0@;\n"
      "[10006]\n\n{F0\n}F0 goes on over a line end@;\n"
      "[10007] last\n{G0@;\n");
  const struct {
    int talkId, entry;
    std::string found;
  } cases[] = {{10001, 0, "{A0@"}, {10001, 1, "{A1@"}, {10002, 0, "{B0@"}, {10003, 0, "{C0@"}, {10003, 1, "{C1@"},
               // A token that merely contains the key does not start a talk.
               {10004, 0, kMissing}, {10005, 0, kMissing}, {10006, 0, "{F0\n}F0 goes on over a line end@"},
               {10009, 0, kMissing},
               // Past a talk's last entry the lookup reads on into whatever follows, up to the
               // next ';'; past the end of the file there is nothing to read.
               {10003, 2, "[10004]:\n{D0@"}, {10007, 1, kMissing}};
  for (const auto& c : cases) EXPECT_EQ(FindTalk(c.talkId, c.entry), c.found) << c.talkId << " entry " << c.entry;
  // The left mouse button cancels the lookup.
  platform::headless::PressKey(platform::VK_LBUTTON);
  EXPECT_EQ(FindTalk(10001, 0), kMissing);
  platform::headless::ReleaseKey(platform::VK_LBUTTON);
  FindTalk(10001, 0);  // the press has been seen; the button is up again
  EXPECT_EQ(FindTalk(10001, 0), "{A0@");
}

TEST_F(TalkTest, TheDialogueFileIsReadAsTextAndAMissingOneGivesTheFallback) {
  WriteFile("text\\talk.txt", "[10001]\r\n\r\n{Hello@;\r\n[10002] x\r\n}Bye@;\r\n");
  LoadTalkText();
  EXPECT_EQ(lpTalkText.find('\r'), std::string::npos);
  EXPECT_EQ(FindTalk(10001, 0) + FindTalk(10002, 0), "{Hello@}Bye@");

  std::filesystem::remove_all(dataDirectory_ + "/text");
  LoadTalkText();
  EXPECT_TRUE(lpTalkText.empty());
  EXPECT_EQ(FindTalk(10001, 0), kMissing);
  const int flips = GetLog().flips;
  ShowTalk(0, 10001, 0);  // returns at once, without drawing
  EXPECT_EQ(GetLog().flips, flips);
}

TEST_F(TalkTest, LongEntriesAndSegmentsAreCut) {
  const std::string words(1500, 'w');
  SetTalkText("[10001] x\n{" + words + "@;\n");
  const std::string entry = FindTalk(10001, 0);
  ASSERT_EQ(entry.size(), 1023u);
  size_t position = 0;
  EXPECT_EQ(ReadTalkSegment(entry, position), std::string(1022, 'w'));
  EXPECT_EQ(position, 1023u);

  const std::string exchange = "{Hi there}Me too{Bye@ignored";
  position = 0;
  for (const char* words : {"Hi there", "Me too", "Bye"}) EXPECT_EQ(ReadTalkSegment(exchange, position), words);
  EXPECT_EQ(exchange[position], '@');
  position = exchange.size();
  EXPECT_EQ(ReadTalkSegment(exchange, position), "");
  EXPECT_EQ(position, exchange.size());
}

TEST_F(TalkTest, EachLineWaitsForItsOwnKeyUntilTheExchangeEnds) {
  SetTalkText("[20001] x\n{One}Two{Three@;\n[20002] x\nplain words@;\n"
              "[20003] x\n{First}Second@{never@;\n");
  AddNpc(0, MakeNpc(2, 600, 400));
  int flips = GetLog().flips;
  ShowTalk(0, 20002, 0);  // the first byte is neither '{' nor '}': nothing to show
  EXPECT_EQ(GetLog().flips, flips);
  // '@' ends the exchange, whatever follows it.
  UseScript({Tap(VK_RETURN), Tap(VK_RETURN)});
  ShowTalk(0, 20003, 0);
  EXPECT_EQ(GetLog().flips - flips, 2);
  // Two presses answer two lines; the third line waits until the game gives up.
  flips = GetLog().flips;
  UseScript({Tap(VK_RETURN), Tap(VK_CONTROL)});
  EXPECT_THROW(ShowTalk(0, 20001, 0), platform::QuitRequested);
  EXPECT_EQ(GetLog().flips - flips, 3);
}

TEST_F(TalkTest, AKeyHeldFromTheLineBeforeDoesNotAnswerTheNext) {
  SetTalkText("[20001] x\n{One}Two@;\n");
  AddNpc(0, MakeNpc(2, 600, 400));
  // CTRL answers the first line and is held on; ENTER is pressed and let go while it is down.
  // The first box waits for CTRL to be let go, the second box for a press of its own.
  UseScript({Press(VK_CONTROL), Wait(200), Press(VK_RETURN), Wait(100), Release(VK_RETURN), Wait(100),
             Release(VK_CONTROL)});
  const int flips = GetLog().flips;
  EXPECT_THROW(ShowTalk(0, 20001, 0), platform::QuitRequested);
  EXPECT_EQ(GetLog().flips - flips, 2);
}

TEST_F(TalkTest, TheBoxShowsTheSpeakersPortraitAndName) {
  AddNpc(0, MakeNpc(0, 600, 400));
  AddNpc(0, MakeNpc(7, 600, 300, "Shopkeeper"));
  SetTalkText("[20001] x\n{Welcome@;\n[20002] x\n}I am the hero@;\n");
  auto yellowInNameArea = [this] { return ScreenCount(18, 450, 102, 20, kYellowIndex); };

  UseScript({Tap(VK_RETURN)});
  ShowTalk(1, 20001, 0);
  // The bar, the portrait (a character's is 32 high) and the name.
  EXPECT_EQ((std::vector<int>{ScreenPixel(5, 470), ScreenPixel(40, 410), ScreenPixel(40, 398)}),
            (std::vector<int>{kTalkBarIndex, NpcSheetIndex(7), kTalkBarIndex}));
  EXPECT_GT(yellowInNameArea(), 20);

  UseScript({Tap(VK_RETURN)});
  ShowTalk(1, 20002, 0);
  EXPECT_EQ((std::vector<int>{ScreenPixel(40, 398), ScreenPixel(40, 440)}), std::vector<int>(2, HeroFrameIndex(0, 0)));
  EXPECT_GT(yellowInNameArea(), 20);

  // An index the map does not have: the line is shown without portrait and name.
  UseScript({Tap(VK_RETURN)});
  ShowTalk(9, 20001, 0);
  EXPECT_EQ((std::vector<int>{ScreenPixel(5, 470), ScreenPixel(40, 410), yellowInNameArea()}),
            (std::vector<int>{kTalkBarIndex, kTalkBarIndex, 0}));
}

TEST_F(TalkTest, ALineLongerThanFiftyBytesWrapsOntoTheNextScreenLine) {
  auto whiteIn = [this](int top) { return ScreenCount(120, top, 500, 20, kWhiteIndex); };
  SetTalkText("[20001] x\n}" + std::string(50, 'M') + "@;\n[20002] x\n}" + std::string(51, 'M') + "@;\n");
  UseScript({Tap(VK_RETURN)});
  ShowTalk(0, 20001, 0);
  EXPECT_GT(whiteIn(400), 100);
  EXPECT_EQ(whiteIn(420), 0);

  UseScript({Tap(VK_RETURN)});
  ShowTalk(0, 20002, 0);
  EXPECT_GT(whiteIn(420), 0);
  // The second screen line holds the last 10 bytes: nothing right of x 120 + 10 × 10.
  EXPECT_EQ(ScreenCount(130, 420, 490, 20, kWhiteIndex), 0);
}

class TitleTest : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    static const char* const kMaps[] = {"home", "city", "wood", "f_wood", "palace", "shop01", "shop02", "shop03"};
    for (int m = 0; m < kMapCount; ++m) {
      std::vector<uint16_t> tiles(20 * 15, 0);
      tiles[0] = uint16_t(0xA000 + m);
      WriteFile(std::string("maps\\") + kMaps[m] + ".map", MapFileBytes(20, 15, m, tiles));
      WriteFile(std::string("maps\\") + kMaps[m] + ".npc", MotherFile());
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
    const char* const values[] = {"1", "10001", "6", "0", "0", "0", "1", "Mother", "32", "32", "500", "400", "500",
                                  "400", "0", "0", "0", "0", "0", "0", "0", "0", "0", "                ", "0", "0"};
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
  UseScript({Tap(VK_UP), StateStep(), Tap(VK_DOWN), StateStep(),
             Tap(VK_DOWN), StateStep(), Tap(VK_UP), Tap(VK_UP),
             StateStep(), Tap(VK_RETURN)});
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
  platform::headless::PressKey(VK_RETURN);
  UseScript({Wait(300), Release(VK_RETURN), Wait(100), StateStep(),
             Hold(VK_DOWN, 500), Wait(100), StateStep(), Tap(VK_DOWN),
             Tap(VK_RETURN)});
  RunTitleMenu();
  EXPECT_EQ(highlighted_, (std::vector<int>{0, 1}));
  EXPECT_TRUE(CloseWasPosted());
}

TEST_F(TitleTest, ANewGameTypesTheStoryShowsTheHomeAndPlaysTheFirstTalk) {
  UseScript({Wait(100), Tap(VK_RETURN), Wait(2000), StateStep(), Tap(VK_RETURN),
             Wait(500), Tap(VK_RETURN)});
  try {
    RunTitleMenu();
  } catch (const platform::QuitRequested&) {
    FAIL() << "stopped at " << platform::headless::Now() << " ms, flips " << GetLog().flips;
  }
  // "ABCD" typed in full before ENTER was asked for: its last letter stands at x 70.
  ASSERT_EQ(storyWhite_.size(), 1u);
  EXPECT_GT(storyWhite_[0], 0);
  // A new game's place, and the first talk still on the screen with the mother's portrait.
  EXPECT_EQ((std::vector<int>{nMap, hero.nX, hero.nY, hero.nDirection, mapTable[0].nNpcCount, ScreenPixel(5, 470),
                              ScreenPixel(40, 410)}),
            (std::vector<int>{0, 180, 164, 0, 1, kTalkBarIndex, NpcSheetIndex(6)}));
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
  UseScript({Tap(VK_UP), Tap(VK_RETURN)});
  RunTitleMenu();
  EXPECT_EQ((std::vector<int>{TileAt(mapTable[0], 0, 0), TileAt(mapTable[5], 0, 0), NpcCount(mapTable[0]), hero.nMoney,
                              nStoryStage, nMap}),
            (std::vector<int>{0xA000, 0xA005, 1, 50, 0, 0}));
  EXPECT_TRUE(GetLog().mciCommands.empty());  // sound off: not a single music command
}

TEST_F(TitleTest, MissingMapFilesEndTheProgramWithAMessage) {
  std::filesystem::remove_all(dataDirectory_ + "/maps");
  EXPECT_THROW(RunTitleMenu(), platform::QuitRequested);
  EXPECT_EQ(GetLog().messageBoxes, std::vector<std::string>{"error|地图文件出错"});
  EXPECT_EQ(lpDD, nullptr);
}

using TypeTextTest = WorldTest;

TEST_F(TypeTextTest, EnterStopsTheTypingAtOnceOrEndsTheTypedText) {
  auto WhiteInColumn = [this](int left) { return ScreenCount(left, 100, 10, 20, kWhiteIndex); };
  UseScript({Wait(400), Tap(VK_RETURN)});
  uint32_t start = platform::headless::Now();
  TypeText(std::string(40, 'A').c_str(), 0xFFFFFF);
  EXPECT_LT(platform::headless::Now() - start, 1500u);
  EXPECT_TRUE(WhiteInColumn(40) > 0 && WhiteInColumn(40 + 39 * 10) == 0);  // the last letter was never typed

  // 60 bytes: two screen lines, the second with 10 letters, typed in full before ENTER counts.
  UseScript({Wait(6000), Tap(VK_RETURN)});
  start = platform::headless::Now();
  TypeText(std::string(60, 'A').c_str(), 0xFFFFFF);
  EXPECT_GE(platform::headless::Now() - start, 60u * 80u);
  EXPECT_GT(ScreenCount(40, 120, 100, 20, kWhiteIndex), 0);

  // An empty text waits for one press of ENTER.
  UseScript({Wait(100), Tap(VK_RETURN)});
  TypeText("", 0xFFFFFF);
  EXPECT_THROW(TypeText("", 0xFFFFFF), platform::QuitRequested);  // no more presses come
}

}  // namespace
}  // namespace world_test
