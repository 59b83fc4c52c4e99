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
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProc(message, wParam, lParam);
}

class MessageLoopTest : public tamsel_test::HeadlessTest {
 protected:
  void SetUp() override {
    HeadlessTest::SetUp();
    received.clear();
    ASSERT_TRUE(CreateMainWindow(RecordingProc));
  }

  // The game's loop: peek, take and dispatch; returns the exit code.
  static int RunLoop() {
    Msg msg;
    while (GetMessage(msg)) DispatchMessage(msg);
    return QuitExitCode();
  }
};

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
  ASSERT_TRUE(GetMessage(msg));
  EXPECT_EQ(msg.message, WM_TIMER);
  EXPECT_FALSE(PeekMessage());

  // The timer keeps its rhythm: the next tick is due at 2800.
  ASSERT_TRUE(GetMessage(msg));
  EXPECT_EQ(msg.message, WM_TIMER);
  EXPECT_GE(headless::Now(), 2800u);
  EXPECT_LE(headless::Now(), 2801u);
}

TEST_F(MessageLoopTest, PostedMessagesComeInOrderBeforeQuitAndQuitBeforeTimer) {
  SetTimer(7, 10);
  headless::AdvanceClock(50);
  PostMessage(WM_ACTIVATEAPP, 0);
  PostMessage(WM_ACTIVATEAPP, 1);
  Msg msg;
  ASSERT_TRUE(GetMessage(msg));
  EXPECT_EQ(msg.message, WM_ACTIVATEAPP);
  EXPECT_EQ(msg.wParam, 0);
  ASSERT_TRUE(GetMessage(msg));
  EXPECT_EQ(msg.wParam, 1);
  PostQuitMessage(3);
  EXPECT_FALSE(GetMessage(msg));
  EXPECT_EQ(msg.message, WM_QUIT);
  EXPECT_EQ(QuitExitCode(), 3);
}

TEST_F(MessageLoopTest, WaitingForAMessageLetsTimeRunToTheNextTick) {
  SetTimer(1, 400);
  WaitMessage();
  EXPECT_GE(headless::Now(), 400u);
  EXPECT_LE(headless::Now(), 401u);
  Msg msg;
  ASSERT_TRUE(GetMessage(msg));
  EXPECT_EQ(msg.message, WM_TIMER);
}

TEST_F(MessageLoopTest, CloseDestroysTheWindowWhichEndsTheLoop) {
  SetTimer(1, 400);
  PostMessage(WM_CLOSE);
  PostMessage(WM_ACTIVATEAPP, 1);  // still queued when the window goes: dropped
  EXPECT_EQ(RunLoop(), 0);
  ASSERT_EQ(received.size(), 2u);
  EXPECT_EQ(received[0].message, WM_CLOSE);
  EXPECT_EQ(received[1].message, WM_DESTROY);
  EXPECT_FALSE(WindowExists());

  // The window's timer went with it; a second destroy does nothing.
  headless::AdvanceClock(1000);
  DestroyWindow();
  Msg msg;
  EXPECT_FALSE(GetMessage(msg));  // only the quit message is left
  EXPECT_EQ(received.size(), 2u);
}

TEST_F(MessageLoopTest, OnlyOneWindowAndAnInjectedFailureMakesNone) {
  EXPECT_FALSE(CreateMainWindow(RecordingProc));
  headless::Options options = tamsel_test::OpenEndedOptions();
  options.faults.failWindow = true;
  headless::UseHeadlessBackend(options);
  EXPECT_FALSE(CreateMainWindow(RecordingProc));
  EXPECT_FALSE(WindowExists());
}

TEST(ScriptEnd, ThrowsOutOfAScreensKeyLoopOnce) {
  headless::Options options;
  options.script = tamsel_test::Script("tap RETURN\n");
  headless::UseHeadlessBackend(options);
  int polls = 0;
  auto waitForever = [&polls] {
    for (;;) {
      GetAsyncKeyState(VK_RETURN);
      ++polls;
    }
  };
  EXPECT_THROW(waitForever(), QuitRequested);
  EXPECT_TRUE(headless::ScriptFinished());
  EXPECT_LT(polls, 10);
  // Caught once, the run may clean up with further polls.
  EXPECT_NO_THROW(GetTickCount());
}

TEST(ScriptEnd, ThrowsOutOfTheMessageLoopUnlessTheGameIsAlreadyQuitting) {
  headless::Options options;
  options.script = tamsel_test::Script("wait 50\n");
  headless::UseHeadlessBackend(options);
  ASSERT_TRUE(CreateMainWindow(RecordingProc));
  auto loop = [] {
    for (;;) {
      if (PeekMessage()) {
        Msg msg;
        if (!GetMessage(msg)) return;
        DispatchMessage(msg);
      }
    }
  };
  EXPECT_THROW(loop(), QuitRequested);
  EXPECT_GE(headless::Now(), 50u);

  headless::UseHeadlessBackend(options);
  PostQuitMessage(0);
  headless::AdvanceClock(100);
  Msg msg;
  EXPECT_FALSE(GetMessage(msg));
}

TEST(ScriptEnd, TimeLimitEndsARunWhoseScriptDoesNotEndIt) {
  headless::Options options = tamsel_test::OpenEndedOptions();
  options.quitAfterMilliseconds = 1000;
  headless::UseHeadlessBackend(options);
  // With no window, no timer and nothing posted, waiting for a message cannot hang.
  Msg msg;
  EXPECT_THROW(GetMessage(msg), QuitRequested);
  EXPECT_GE(headless::Now(), 1000u);
  EXPECT_LE(headless::Now(), 1001u);
}

TEST(ScriptEnd, AnEmptyScriptDoesNotEndTheRun) {
  headless::Options options;
  headless::UseHeadlessBackend(options);
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
  headless::Options options;
  options.quitAfterMilliseconds = 500;
  options.script = tamsel_test::Script("wait 10\ntap A\nwait 10\n");
  headless::UseHeadlessBackend(options);
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
    options = tamsel_test::OpenEndedOptions();
    options.script = tamsel_test::Script(script);
    headless::UseHeadlessBackend(options);
    for (int poll = 0; poll < 50; ++poll) GetAsyncKeyState(VK_RETURN);
    EXPECT_EQ(headless::StalledScriptLine(), line) << script;
  }
}
