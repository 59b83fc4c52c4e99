// The dialogue file: finding talks and entries, cutting exchanges into lines, and the talk box.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/game_state.h"
#include "platform/backend/backend.h"
#include "platform/system.h"
#include "video/display.h"
#include "world/talk.h"
#include "small_world_fixture.h"

namespace world_test {
namespace {

using platform::headless::GetLog;

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
  EXPECT_EQ(FindTalk(10001, 0), "{A0@");
  EXPECT_EQ(FindTalk(10001, 1), "{A1@");
  EXPECT_EQ(FindTalk(10002, 0), "{B0@");
  EXPECT_EQ(FindTalk(10003, 0), "{C0@");
  EXPECT_EQ(FindTalk(10003, 1), "{C1@");
  // A token that merely contains the key does not start a talk.
  EXPECT_EQ(FindTalk(10004, 0), kMissing);
  EXPECT_EQ(FindTalk(10005, 0), kMissing);
  EXPECT_EQ(FindTalk(10006, 0), "{F0\n}F0 goes on over a line end@");
  EXPECT_EQ(FindTalk(10009, 0), kMissing);
  // Past a talk's last entry the lookup reads on into whatever follows, up to the next ';'.
  EXPECT_EQ(FindTalk(10003, 2), "[10004]:\n{D0@");
  // Past the end of the file there is nothing to read.
  EXPECT_EQ(FindTalk(10007, 1), kMissing);
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
  EXPECT_EQ(FindTalk(10001, 0), "{Hello@");
  EXPECT_EQ(FindTalk(10002, 0), "}Bye@");

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
  EXPECT_EQ(position, entry.size());

  const std::string exchange = "{Hi there}Me too{Bye@ignored";
  position = 0;
  EXPECT_EQ(ReadTalkSegment(exchange, position), "Hi there");
  EXPECT_EQ(exchange[position], '}');
  EXPECT_EQ(ReadTalkSegment(exchange, position), "Me too");
  EXPECT_EQ(ReadTalkSegment(exchange, position), "Bye");
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
  UseScript({Tap(platform::VK_RETURN), Tap(platform::VK_RETURN)});
  ShowTalk(0, 20003, 0);
  EXPECT_EQ(GetLog().flips - flips, 2);
  // Two presses answer two lines; the third line waits until the game gives up.
  flips = GetLog().flips;
  UseScript({Tap(platform::VK_RETURN), Tap(platform::VK_CONTROL)});
  EXPECT_THROW(ShowTalk(0, 20001, 0), platform::QuitRequested);
  EXPECT_EQ(GetLog().flips - flips, 3);
}

TEST_F(TalkTest, AKeyHeldFromTheLineBeforeDoesNotAnswerTheNext) {
  SetTalkText("[20001] x\n{One}Two@;\n");
  AddNpc(0, MakeNpc(2, 600, 400));
  // CTRL answers the first line and is held on; ENTER is pressed and let go while it is down.
  // The first box waits for CTRL to be let go, the second box for a press of its own.
  UseScript({Press(platform::VK_CONTROL), Wait(200), Press(platform::VK_RETURN), Wait(100),
             Release(platform::VK_RETURN), Wait(100), Release(platform::VK_CONTROL)});
  const int flips = GetLog().flips;
  EXPECT_THROW(ShowTalk(0, 20001, 0), platform::QuitRequested);
  EXPECT_EQ(GetLog().flips - flips, 2);
}

TEST_F(TalkTest, TheBoxShowsTheSpeakersPortraitAndName) {
  AddNpc(0, MakeNpc(0, 600, 400));
  AddNpc(0, MakeNpc(7, 600, 300, "Shopkeeper"));
  SetTalkText("[20001] x\n{Welcome@;\n[20002] x\n}I am the hero@;\n");
  auto yellowInNameArea = [this] { return ScreenCount(18, 450, 102, 20, kYellowIndex); };

  UseScript({Tap(platform::VK_RETURN)});
  ShowTalk(1, 20001, 0);
  EXPECT_EQ(ScreenPixel(5, 470), kTalkBarIndex);
  EXPECT_EQ(ScreenPixel(40, 410), NpcSheetIndex(7));
  EXPECT_EQ(ScreenPixel(40, 398), kTalkBarIndex);  // a character portrait is 32 high
  EXPECT_GT(yellowInNameArea(), 20);

  UseScript({Tap(platform::VK_RETURN)});
  ShowTalk(1, 20002, 0);
  EXPECT_EQ(ScreenPixel(40, 398), HeroFrameIndex(0, 0));
  EXPECT_EQ(ScreenPixel(40, 440), HeroFrameIndex(0, 0));
  EXPECT_GT(yellowInNameArea(), 20);

  // An index the map does not have: the line is shown without portrait and name.
  UseScript({Tap(platform::VK_RETURN)});
  ShowTalk(9, 20001, 0);
  EXPECT_EQ(ScreenPixel(5, 470), kTalkBarIndex);
  EXPECT_EQ(ScreenPixel(40, 410), kTalkBarIndex);
  EXPECT_EQ(yellowInNameArea(), 0);
}

TEST_F(TalkTest, ALineLongerThanFiftyBytesWrapsOntoTheNextScreenLine) {
  auto whiteIn = [this](int top) { return ScreenCount(120, top, 500, 20, kWhiteIndex); };
  SetTalkText("[20001] x\n}" + std::string(50, 'M') + "@;\n[20002] x\n}" + std::string(60, 'M') +
              "@;\n");
  UseScript({Tap(platform::VK_RETURN)});
  ShowTalk(0, 20001, 0);
  EXPECT_GT(whiteIn(400), 100);
  EXPECT_EQ(whiteIn(420), 0);

  UseScript({Tap(platform::VK_RETURN)});
  ShowTalk(0, 20002, 0);
  EXPECT_GT(whiteIn(420), 20);
  // The second screen line holds the last 10 bytes: nothing right of x 120 + 10 × 10.
  EXPECT_EQ(ScreenCount(230, 420, 390, 20, kWhiteIndex), 0);
}

}  // namespace
}  // namespace world_test
