// The message loop and timers, and scripted runs: how their steps reach the game, what they
// write, and how a run ends.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "headless_fixture.h"
#include "platform/display_device.h"

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
void StartScript(const std::string& text, uint32_t limit = 0, bool quitWhenScriptEnds = true,
                 const std::string& shotDirectory = ".") {
  headless::Options options;
  options.script = tamsel_test::Script(text);
  options.shotDirectory = shotDirectory;
  if (limit != 0) options.quitAfterMilliseconds = limit;
  options.quitWhenScriptEnds = quitWhenScriptEnds;
  headless::UseHeadlessBackend(options);
}

// A screen's own loop: waits for the key to go down, then up (one press acts once).
// Returns the clock when the press was seen.
uint32_t WaitForPress(int key) {
  while (GetAsyncKeyState(key) == 0) {
  }
  const uint32_t seen = headless::Now();
  while (GetAsyncKeyState(key) != 0) {
  }
  return seen;
}

std::string ReadFile(const std::filesystem::path& path) {
  std::ostringstream bytes;
  bytes << std::ifstream(path, std::ios::binary).rdbuf();
  return bytes.str();
}

// A scratch folder for the files a script writes.
struct OutputTest : ::testing::Test {
  const std::filesystem::path out = std::filesystem::temp_directory_path() /
      ("tamsel_script_" + std::to_string(::getpid()) + "_" + testing::UnitTest::GetInstance()->current_test_info()->name());
  void SetUp() override { std::filesystem::create_directories(out); }
  void TearDown() override { std::filesystem::remove_all(out); }
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

TEST(ScriptTap, EachTapActsOnceWhateverTheScreenPollRate) {
  // A screen that asks without pause sees each of the taps as one press.
  StartScript("tap RETURN\ntap RETURN\nwait 20\ntap RETURN\n", 0, false);
  const uint32_t first = WaitForPress(VK_RETURN), second = WaitForPress(VK_RETURN), third = WaitForPress(VK_RETURN);
  EXPECT_LT(first, second);
  EXPECT_GE(third - second, 20u);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0);  // all three consumed
  EXPECT_TRUE(headless::ScriptFinished());

  // A screen asking once every 100 ms of game time, busy in between, still gets the tap once.
  StartScript("tap CONTROL\n", 0, false);
  int seen = 0;
  for (int frame = 0; frame < 10; ++frame) {
    const uint32_t start = GetTickCount();
    while (GetTickCount() - start < 100) {
    }
    seen += GetAsyncKeyState(VK_CONTROL) != 0;
  }
  EXPECT_EQ(seen, 1);
  EXPECT_TRUE(headless::ScriptFinished());

  // A screen that never asks again does not stall the script: the release waits one second.
  StartScript("tap ESCAPE\nwait 1\n", 0, false);
  while (GetAsyncKeyState(VK_ESCAPE) == 0) {
  }
  const uint32_t pressed = headless::Now();
  while (!headless::ScriptFinished()) GetTickCount();
  EXPECT_GE(headless::Now() - pressed, 1000u);
  EXPECT_LE(headless::Now() - pressed, 1010u);
}

TEST(ScriptHold, KeyStaysDownForTheGivenGameTime) {
  StartScript("wait 10\nhold RIGHT 300\nwait 50\n", 0, false);
  uint32_t firstDown = 0, lastDown = 0;
  for (int downPolls = 0; !headless::ScriptFinished();)
    if (GetAsyncKeyState(VK_RIGHT) != 0) {
      if (downPolls++ == 0) firstDown = headless::Now();
      lastDown = headless::Now();
    }
  EXPECT_GE(firstDown, 10u);
  EXPECT_LE(firstDown, 12u);
  EXPECT_GE(lastDown - firstDown, 298u);
  EXPECT_LE(lastDown - firstDown, 301u);

  // Press and release are separate steps; a zero hold is still one press.
  StartScript("press A\nwait 100\nrelease A\nhold UP 0\n", 0, false);
  int aDown = 0, upDown = 0;
  while (!headless::ScriptFinished()) {
    aDown += GetAsyncKeyState(VK_A) != 0;
    upDown += GetAsyncKeyState(VK_UP) != 0;
  }
  GetAsyncKeyState(VK_A);
  upDown += GetAsyncKeyState(VK_UP) != 0;
  EXPECT_GE(aDown, 45);  // a round of two polls takes 2 ms, over 100 ms
  EXPECT_EQ(upDown, 1);
}

TEST_F(OutputTest, ShotWritesTheVisiblePageThroughThePaletteTheSameEachRun) {
  auto shoot = [&] {
    StartScript("shot screen\n", 0, false, out.string());
    DisplayDevice* device = OpenDisplayDevice();
    Surface* primary = device ? device->CreatePrimaryWithBackBuffer() : nullptr;
    if (primary == nullptr) return std::string("no screen");
    FillSurface(*primary, 3);
    Palette palette{};
    palette[3] = PaletteEntry{200, 10, 20, 0};
    device->AttachPalette(device->CreatePalette(palette));
    GetTickCount();
    CloseDisplayDevice();
    return ReadFile(out / "screen.png");
  };
  const std::string png = shoot();
  ASSERT_GE(png.size(), 24u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  EXPECT_EQ(png.substr(16, 8), std::string("\0\0\x02\x80\0\0\x01\xE0", 8));  // IHDR: 640 × 480
  EXPECT_EQ(shoot(), png);
}

TEST_F(OutputTest, StateStepWritesWhatTheGamesDumperReturns) {
  StartScript("wait 5\nstate first.json\nwait 5\nstate second.json\n", 0, false, out.string());
  int calls = 0;
  SetStateDumper([&calls] { return "{\"dump\": " + std::to_string(++calls) + "}"; });
  while (!headless::ScriptFinished()) GetTickCount();
  SetStateDumper(nullptr);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(ReadFile(out / "first.json"), "{\"dump\": 1}");
  EXPECT_EQ(ReadFile(out / "second.json"), "{\"dump\": 2}");
}
