#include <gtest/gtest.h>

#include <vector>

#include "headless_fixture.h"

using namespace platform;

namespace {

std::vector<Msg> received;

// A window procedure like the game's: records what it gets, lets the platform handle the
// rest, and ends the loop when its window goes away.
intptr_t RecordingProc(int message, intptr_t wParam, intptr_t lParam) {
  received.push_back(Msg{message, wParam, lParam});
  if (message != WM_DESTROY) return DefWindowProc(message, wParam, lParam);
  PostQuitMessage(0);
  return 0;
}

class MessageLoopTest : public tamsel_test::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    received.clear();
    ASSERT_TRUE(CreateMainWindow(RecordingProc));
  }
  static int NextMessage() {
    Msg msg;
    return GetMessage(msg) ? msg.message : -1;
  }
};

// A run of the given script; limit 0 keeps the usual time limit.
void StartScript(const char* text, uint32_t limit = 0, bool quitWhenScriptEnds = true) {
  headless::Options options;
  options.script = tamsel_test::Script(text);
  if (limit != 0) options.quitAfterMilliseconds = limit;
  options.quitWhenScriptEnds = quitWhenScriptEnds;
  headless::UseHeadlessBackend(options);
}

}  // namespace

TEST_F(MessageLoopTest, TimerTicksFallDueOnTheVirtualClockAndMerge) {
  SetTimer(1, 400);
  headless::AdvanceClock(398);
  EXPECT_FALSE(PeekMessage());  // the poll moves the clock to 399
  EXPECT_TRUE(PeekMessage());   // 400
  Msg msg;
  ASSERT_TRUE(GetMessage(msg));
  EXPECT_EQ(msg.message, WM_TIMER);
  EXPECT_EQ(msg.wParam, 1);
  // Five periods pass without anyone looking: one message, not five.
  headless::AdvanceClock(2000);
  EXPECT_EQ(NextMessage(), WM_TIMER);
  EXPECT_FALSE(PeekMessage());
  // The timer keeps its rhythm: waiting lets time run to the next tick, due at 2800.
  WaitMessage();
  EXPECT_GE(headless::Now(), 2800u);
  EXPECT_LE(headless::Now(), 2801u);
  EXPECT_EQ(NextMessage(), WM_TIMER);
}

TEST_F(MessageLoopTest, PostedMessagesComeInOrderBeforeQuitAndQuitBeforeTimer) {
  SetTimer(7, 10);
  headless::AdvanceClock(50);
  PostMessage(WM_ACTIVATEAPP, 0);
  PostMessage(WM_ACTIVATEAPP, 1);
  Msg msg;
  for (int wParam : {0, 1}) {
    ASSERT_TRUE(GetMessage(msg));
    EXPECT_EQ(msg.message, WM_ACTIVATEAPP);
    EXPECT_EQ(msg.wParam, wParam);
  }
  PostQuitMessage(3);
  EXPECT_FALSE(GetMessage(msg));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(QuitExitCode(), 3);
}

TEST_F(MessageLoopTest, CloseDestroysTheOnlyWindowWhichEndsTheLoop) {
  EXPECT_FALSE(CreateMainWindow(RecordingProc));  // only one window
  SetTimer(1, 400);
  PostMessage(WM_CLOSE);
  PostMessage(WM_ACTIVATEAPP, 1);  // still queued when the window goes: dropped
  Msg msg;
  while (GetMessage(msg)) DispatchMessage(msg);
  EXPECT_EQ(QuitExitCode(), 0);
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].message, WM_CLOSE);
  EXPECT_EQ(received[1].message, WM_DESTROY);
  EXPECT_FALSE(WindowExists());
  // The window's timer went with it; a second destroy does nothing.
  headless::AdvanceClock(1000);
  DestroyWindow();
  EXPECT_FALSE(GetMessage(msg));  // only the quit message is left
  EXPECT_EQ(received.size(), 2u);

  headless::Options options = tamsel_test::OpenEndedOptions();
  options.faults.failWindow = true;
  headless::UseHeadlessBackend(options);
  EXPECT_FALSE(CreateMainWindow(RecordingProc));
  EXPECT_FALSE(WindowExists());
}

TEST(ScriptEnd, ThrowsOutOfAScreensKeyLoopOnce) {
  StartScript("tap RETURN\n");
  int polls = 0;
  auto waitForever = [&polls] {
    for (;; ++polls) GetAsyncKeyState(VK_RETURN);
  };
  EXPECT_THROW(waitForever(), QuitRequested);
  EXPECT_TRUE(headless::ScriptFinished());
  EXPECT_LT(polls, 10);
  EXPECT_NO_THROW(GetTickCount());  // caught once, the run may clean up with further polls
}

TEST(ScriptEnd, ThrowsOutOfTheMessageLoopUnlessTheGameIsAlreadyQuitting) {
  StartScript("wait 50\n");
  ASSERT_TRUE(CreateMainWindow(RecordingProc));
  auto loop = [] {
    for (Msg msg;;)
      if (PeekMessage()) {
        if (!GetMessage(msg)) return;
        DispatchMessage(msg);
      }
  };
  EXPECT_THROW(loop(), QuitRequested);
  EXPECT_GE(headless::Now(), 50u);

  StartScript("wait 50\n");
  PostQuitMessage(0);
  headless::AdvanceClock(100);
  Msg msg;
  EXPECT_FALSE(GetMessage(msg));
}

TEST(ScriptEnd, TimeLimitEndsARunWhoseScriptDoesNotEndIt) {
  // With no window, no timer and nothing posted, waiting for a message cannot hang.
  StartScript("", 1000, false);
  Msg msg;
  EXPECT_THROW(GetMessage(msg), QuitRequested);
  EXPECT_GE(headless::Now(), 1000u);
  EXPECT_LE(headless::Now(), 1001u);

  // An empty script does not end the run; one added later does.
  StartScript("");
  for (int i = 0; i < 100; ++i) EXPECT_NO_THROW(GetTickCount());
  headless::AddSteps(tamsel_test::Script("wait 10"));
  EXPECT_FALSE(headless::ScriptFinished());
  auto poll = [] {
    for (int i = 0; i < 100; ++i) GetTickCount();
  };
  EXPECT_THROW(poll(), QuitRequested);
}

TEST(ScriptEnd, ARunThatCannotPlayItsScriptThroughNamesTheLine) {
  // The time limit passes while a tap waits for a key the game never asks about.
  StartScript("wait 10\ntap A\nwait 10\n", 500);
  auto pollForever = [] {
    for (;;) GetAsyncKeyState(VK_RETURN);
  };
  EXPECT_THROW(pollForever(), QuitRequested);
  EXPECT_EQ(headless::StalledScriptLine(), 2);

  // The game ends on its own after 50 polls: waits left over and a tap it saw are played,
  // anything else is not.
  const std::pair<const char*, std::optional<int>> cases[] = {
      {"wait 5\n", std::nullopt},
      {"tap RETURN\nwait 100\n", std::nullopt},
      {"wait 10\ntap RETURN 2\n", std::nullopt},
      {"tap RETURN\nwait 100\nshot late\nwait 5\n", 3},
      {"tap A\n", 1},
      {"wait 100\nhold RETURN 5\n", 2},
  };
  for (const auto& [script, line] : cases) {
    StartScript(script, 0, false);
    for (int poll = 0; poll < 50; ++poll) GetAsyncKeyState(VK_RETURN);
    EXPECT_EQ(headless::StalledScriptLine(), line) << script;
  }
}
