// The headless backend: keys and the virtual clock, its log, game paths, running without a
// backend, the message loop and timers, and scripted runs: reading them, how their steps reach
// the game, what they write, and how a run ends.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/backend/backend_interface.h"
#include "platform/display_device.h"
#include "platform/system.h"
#include "program_run.h"

using namespace platform;
using headless::ParseScript;
using headless::Step;

namespace {

// A run that goes on until the test says otherwise.
headless::Options OpenEnded() {
  headless::Options options;
  options.quitWhenScriptEnds = false;
  return options;
}

std::vector<Step> Script(const std::string& text) {
  std::vector<Step> steps;
  std::string error;
  EXPECT_TRUE(ParseScript(text, steps, error)) << error;
  return steps;
}

// A run of the given script; limit 0 keeps the usual time limit.
void StartScript(const std::string& text, uint32_t limit = 0, bool quitWhenScriptEnds = true, const std::string& shots = ".") {
  headless::Options options;
  options.script = Script(text), options.shotDirectory = shots, options.quitWhenScriptEnds = quitWhenScriptEnds;
  if (limit != 0) options.quitAfterMilliseconds = limit;
  headless::UseHeadlessBackend(options);
}

std::vector<Msg> received;
// A window procedure like the game's: records what it gets, lets the platform handle the rest,
// and ends the loop when its window goes away.
intptr_t RecordingProc(int message, intptr_t wParam, intptr_t lParam) {
  received.push_back(Msg{message, wParam, lParam});
  if (message != WM_DESTROY) return DefWindowProc(message, wParam, lParam);
  PostQuitMessage(0);
  return 0;
}
int NextMessage() {
  Msg msg;
  return GetMessage(msg) ? msg.message : -1;
}

class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::UseHeadlessBackend(OpenEnded());
    received.clear();
  }
  // A scratch folder for the files a run writes.
  const std::filesystem::path out = std::filesystem::temp_directory_path() /
      ("tamsel_headless_" + std::to_string(::getpid()) + "_" + testing::UnitTest::GetInstance()->current_test_info()->name());
  void TearDown() override { std::filesystem::remove_all(out); }
};

}  // namespace

TEST_F(HeadlessTest, KeysLatchATapBetweenPollsAndReadHeldKeysUntilReleased) {
  // A tap between polls is seen once, then forgotten; each key keeps its own mark.
  for (int key : {VK_RETURN, VK_ESCAPE}) headless::PressKey(key), headless::ReleaseKey(key);
  EXPECT_EQ(GetAsyncKeyState(VK_A), 0);
  for (int key : {VK_RETURN, VK_ESCAPE}) EXPECT_NE(GetAsyncKeyState(key), 0);
  for (int key : {VK_RETURN, VK_ESCAPE}) EXPECT_EQ(GetAsyncKeyState(key), 0);
  headless::PressKey(VK_UP);
  for (int i = 0; i < 3; ++i) EXPECT_NE(GetAsyncKeyState(VK_UP), 0);
  headless::ReleaseKey(VK_UP);
  EXPECT_EQ(GetAsyncKeyState(VK_UP), 0);
  // Letting go of everything also drops a tap the game has not seen yet.
  headless::PressKey(VK_DOWN), headless::ReleaseKey(VK_DOWN), headless::PressKey(VK_A);
  headless::ReleaseAllKeys();
  // Codes outside the key table read as up instead of reaching past it.
  for (int key : {VK_DOWN, VK_A, -1, 100000}) EXPECT_EQ(GetAsyncKeyState(key), 0) << key;
}

TEST_F(HeadlessTest, TheClockMovesOnlyWithPollsAndAnObserverSeesEveryPoll) {
  headless::Options options = OpenEnded();
  options.seed = 1234, options.millisecondsPerPoll = 5;
  headless::UseHeadlessBackend(options);
  const struct { std::function<uint32_t()> poll; uint32_t now; } polls[] = {
      {[] { return headless::Now(); }, 0}, {[] { return GetTickCount(); }, 5}, {[] { return GetTickCount(); }, 10},
      {[] { return GetAsyncKeyState(VK_LEFT), headless::Now(); }, 15}, {[] { return PeekMessage(), headless::Now(); }, 20},
      {[] { return headless::AdvanceClock(100), GetTickCount(); }, 125},
      {[] { return CalendarTimeSeconds(); }, 1234}, {[] { return CalendarTimeSeconds(); }, 1234}};  // the calendar: the seed
  for (const auto& p : polls) EXPECT_EQ(p.poll(), p.now);

  std::vector<std::pair<uint32_t, bool>> seen;  // the clock, and whether in the message loop
  options = OpenEnded();
  options.observer = [&](uint32_t now, bool inMessageLoop) { return seen.emplace_back(now, inMessageLoop), now < 3; };
  headless::UseHeadlessBackend(options);
  GetTickCount();
  PeekMessage();
  EXPECT_EQ(seen, (std::vector<std::pair<uint32_t, bool>>{{1, false}, {2, true}}));
  EXPECT_THROW(GetAsyncKeyState(VK_UP), QuitRequested);  // the observer said no more at 3
  headless::UseHeadlessBackend(OpenEnded());
}

TEST_F(HeadlessTest, TheLogKeepsCommandsBoxesAndDebugLinesAndCountsOnlyChangedScreens) {
  SendMciCommand("close all");
  SendMciCommand("open voc\\title.mid");
  MessageBox("error open file", "voc\\ao_00.wav");
  OutputDebugString("handle is null\n");
  using Lines = std::vector<std::string>;
  EXPECT_EQ(headless::GetLog().mciCommands, (Lines{"close all", "open voc\\title.mid"}));
  EXPECT_EQ(headless::GetLog().messageBoxes, (Lines{"voc\\ao_00.wav|error open file"}));
  EXPECT_EQ(headless::GetLog().debugLines, (Lines{"handle is null\n"}));
  headless::ClearLog();
  EXPECT_TRUE(headless::GetLog().mciCommands.empty());
  SendMciCommand("play voc\\back.mid");
  headless::UseHeadlessBackend(OpenEnded());  // a fresh backend starts with an empty log
  EXPECT_TRUE(headless::GetLog().mciCommands.empty());

  DisplayDevice* device = OpenDisplayDevice();
  Surface* primary = device ? device->CreatePrimaryWithBackBuffer() : nullptr;
  ASSERT_NE(primary, nullptr);
  auto attached = device->CreatePalette(Palette{});
  device->AttachPalette(attached);
  GetTickCount();
  headless::ClearLog();
  const struct { std::function<void()> change; int presents; } steps[] = {
      {[&] { attached->SetEntries(Palette{}); }, 1},  // a palette load is shown at once
      {[] { GetTickCount(); }, 1},                   // nothing changed since: nothing shown
      {[&] { FillSurface(*primary, 9), GetAsyncKeyState(VK_UP); }, 2},  // drawn onto the visible page
      {[&] { device->Flip(), PeekMessage(); }, 3}};
  for (const auto& step : steps) {
    step.change();
    EXPECT_EQ(headless::GetLog().presents, step.presents);
  }
  CloseDisplayDevice();
}

TEST_F(HeadlessTest, GamePathsMapEitherSeparatorIntoTheDataDirectory) {
  const std::pair<const char*, const char*> cases[] = {{".", "pic/title.bmp"}, {"/srv/tamsel/data", "/srv/tamsel/data/pic/title.bmp"},
                                                       {"build/data/", "build/data/pic/title.bmp"}};
  for (const auto& [directory, path] : cases) {
    SetDataDirectory(directory);
    EXPECT_EQ(HostPath("pic\\title.bmp"), path);
  }
  EXPECT_EQ(HostPath("text/goods.dat"), "build/data/text/goods.dat");
  EXPECT_EQ(DataDirectory(), "build/data/");
  SetDataDirectory("");
  EXPECT_EQ(DataDirectory(), ".");
  std::filesystem::create_directories(out / "text");
  std::ofstream(out / "text" / "gp.txt") << "about";
  SetDataDirectory(out.string());
  std::FILE* file = OpenGameFile("text\\gp.txt", "rb");
  ASSERT_NE(file, nullptr);
  char bytes[6] = {};
  EXPECT_EQ(std::fread(bytes, 1, 6, file), 5u);
  std::fclose(file);
  EXPECT_STREQ(bytes, "about");
  EXPECT_TRUE(OpenGameFile("text\\missing.txt", "rb") == nullptr && OpenGameFile(nullptr, "rb") == nullptr);
  SetDataDirectory(".");
}

TEST(NoBackend, CallsAnswerInertlyInsteadOfCrashing) {
  detail::InstallBackend(nullptr);
  EXPECT_FALSE(CreateMainWindow(nullptr));
  EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0);
  const uint32_t start = GetTickCount();
  EXPECT_GE(GetTickCount(), start);
  Msg msg;
  EXPECT_FALSE(GetMessage(msg));  // nothing can ever arrive: the loop ends
  SendMciCommand("close all");
  EXPECT_EQ(headless::GetLog().mciCommands.size(), 0u);
  headless::PressKey(VK_UP);  // headless controls do nothing with another backend
  EXPECT_EQ(GetAsyncKeyState(VK_UP), 0);
}

TEST(ScriptParser, ReadsEveryStepFormWithCommentsBlankLinesAndCrLf) {
  const std::string text = "# a walk to the shop\nwait 500\r\n\ntap RETURN   # confirm\npress up\nrelease UP\n"
                           "  hold RIGHT 250\nshot title_1\nstate after-walk.json\ntap LBUTTON\ntap control\ntap down 3\n";
  std::vector<Step> steps;
  std::string error;
  ASSERT_TRUE(ParseScript(text, steps, error)) << error;
  const Step expected[] = {
      {Step::Kind::Wait, 0, 500, "", 2},         {Step::Kind::Tap, VK_RETURN, 0, "", 4},
      {Step::Kind::Press, VK_UP, 0, "", 5},      {Step::Kind::Release, VK_UP, 0, "", 6},
      {Step::Kind::Hold, VK_RIGHT, 250, "", 7},  {Step::Kind::Shot, 0, 0, "title_1", 8},
      {Step::Kind::State, 0, 0, "after-walk.json", 9}, {Step::Kind::Tap, VK_LBUTTON, 0, "", 10},
      {Step::Kind::Tap, VK_CONTROL, 0, "", 11}, {Step::Kind::Tap, VK_DOWN, 0, "", 12},
      {Step::Kind::Tap, VK_DOWN, 0, "", 12},     {Step::Kind::Tap, VK_DOWN, 0, "", 12}};
  auto describe = [](const Step& s) {
    return std::to_string(int(s.kind)) + " key " + std::to_string(s.key) + " ms " + std::to_string(s.milliseconds) +
           " name " + s.name + " line " + std::to_string(s.line);
  };
  ASSERT_EQ(steps.size(), std::size(expected));
  for (size_t i = 0; i < steps.size(); ++i) EXPECT_EQ(describe(steps[i]), describe(expected[i])) << "step " << i;
  EXPECT_TRUE(error.empty());
  // A script may take ten minutes of game time beyond its own waits and holds; a sum that would
  // overflow 32 bits saturates instead of wrapping round.
  EXPECT_EQ(headless::ScriptTimeLimit(steps), 600000u + 500 + 250);
  EXPECT_EQ(headless::ScriptTimeLimit(std::vector<Step>(60, Step{Step::Kind::Wait, 0, 86400000, "", 1})), UINT32_MAX);
}

TEST(ScriptParser, NamesTheLineOfEachMalformedForm) {
  const std::pair<std::string, std::string> cases[] = {
      {"jump 3\n", "line 1: unknown step 'jump'"}, {"wait 1\n\nwait\n", "line 3: expected 'wait MS'"},
      {"wait 10 20\n", "line 1: expected 'wait MS'"}, {"wait -5\n", "line 1: bad milliseconds '-5'"},
      {"wait 1.5\n", "line 1: bad milliseconds '1.5'"}, {"wait 99999999999\n", "line 1: bad milliseconds"},
      {"tap SPACE\n", "line 1: unknown key 'SPACE'"}, {"tap\n", "line 1: expected 'tap KEY [N]'"},
      {"press UP DOWN\n", "line 1: expected 'press KEY'"}, {"hold UP\n", "line 1: expected 'hold KEY MS'"},
      {"hold 100 UP\n", "line 1: unknown key '100'"}, {"# fine\nshot ../../etc/x\n", "line 2: bad name '../../etc/x'"},
      {"shot\n", "line 1: expected 'shot NAME'"}, {"state /tmp/x.json\n", "line 1: bad name '/tmp/x.json'"},
      {"state .hidden\n", "line 1: bad name '.hidden'"}, {"WAIT 10\n", "line 1: unknown step 'WAIT'"},
      {"tap UP 0\n", "line 1: bad count '0'"}, {"tap UP 10001\n", "line 1: bad count '10001'"},
      {"tap UP two\n", "line 1: bad count 'two'"}, {"tap UP 2 2\n", "line 1: expected 'tap KEY [N]'"},
      {"hold UP 5 2\n", "line 1: expected 'hold KEY MS'"}};
  for (const auto& [text, expectedStart] : cases) {
    std::vector<Step> steps = {Step{}};
    std::string error;
    EXPECT_FALSE(ParseScript(text, steps, error)) << text;
    EXPECT_EQ(error.rfind(expectedStart, 0), 0u) << text << " gave: " << error;
    EXPECT_EQ(steps.size(), 1u) << "steps must be left alone on failure";
  }
}

TEST_F(HeadlessTest, TimerTicksFallDueOnTheVirtualClockAndMergeAndPostedMessagesComeInOrder) {
  ASSERT_TRUE(CreateMainWindow(RecordingProc));
  SetTimer(1, 400);
  headless::AdvanceClock(398);
  EXPECT_FALSE(PeekMessage());  // the poll moves the clock to 399
  EXPECT_TRUE(PeekMessage());   // 400
  Msg msg;
  ASSERT_TRUE(GetMessage(msg));
  EXPECT_TRUE(msg.message == WM_TIMER && msg.wParam == 1);
  headless::AdvanceClock(2000);  // five periods pass without anyone looking: one message, not five
  EXPECT_EQ(NextMessage(), WM_TIMER);
  EXPECT_FALSE(PeekMessage());
  WaitMessage();  // the timer keeps its rhythm: waiting lets time run to the next tick, due at 2800
  EXPECT_TRUE(headless::Now() >= 2800u && headless::Now() <= 2801u) << headless::Now();
  EXPECT_EQ(NextMessage(), WM_TIMER);
  // Posted messages come in order, before the quit message, and that before the timer.
  SetTimer(7, 10);
  headless::AdvanceClock(50);
  PostMessage(WM_ACTIVATEAPP, 0);
  PostMessage(WM_ACTIVATEAPP, 1);
  for (int wParam : {0, 1}) {
    ASSERT_TRUE(GetMessage(msg));
    EXPECT_TRUE(msg.message == WM_ACTIVATEAPP && msg.wParam == wParam) << wParam;
  }
  PostQuitMessage(3);
  EXPECT_FALSE(GetMessage(msg));
  EXPECT_TRUE(msg.message == WM_QUIT && QuitExitCode() == 3) << QuitExitCode();
}

TEST_F(HeadlessTest, CloseDestroysTheOnlyWindowWhichEndsTheLoop) {
  ASSERT_TRUE(CreateMainWindow(RecordingProc));
  EXPECT_FALSE(CreateMainWindow(RecordingProc));  // only one window
  SetTimer(1, 400);
  PostMessage(WM_CLOSE);
  PostMessage(WM_ACTIVATEAPP, 1);  // still queued when the window goes: dropped
  Msg msg;
  while (GetMessage(msg)) DispatchMessage(msg);
  EXPECT_EQ(QuitExitCode(), 0);
  ASSERT_EQ(received.size(), 2u);
  EXPECT_TRUE(received[0].message == WM_CLOSE && received[1].message == WM_DESTROY && !WindowExists());
  // The window's timer went with it; a second destroy does nothing.
  headless::AdvanceClock(1000);
  DestroyWindow();
  EXPECT_FALSE(GetMessage(msg));  // only the quit message is left
  EXPECT_EQ(received.size(), 2u);
  headless::Options options = OpenEnded();
  options.faults.failWindow = true;
  headless::UseHeadlessBackend(options);
  EXPECT_FALSE(CreateMainWindow(RecordingProc));
  EXPECT_FALSE(WindowExists());
}

TEST(ScriptEnd, ThrowsOutOfAScreensKeyLoopOnceAndOutOfTheMessageLoopUnlessTheGameIsQuitting) {
  StartScript("tap RETURN\n");
  int polls = 0;
  auto waitForever = [&polls] {
    for (;; ++polls) GetAsyncKeyState(VK_RETURN);
  };
  EXPECT_THROW(waitForever(), QuitRequested);
  EXPECT_TRUE(headless::ScriptFinished());
  EXPECT_LT(polls, 10);
  EXPECT_NO_THROW(GetTickCount());  // caught once, the run may clean up with further polls

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

TEST(ScriptEnd, TimeLimitEndsARunWhoseScriptDoesNotEndItAndAStalledRunNamesTheLine) {
  // With no window, no timer and nothing posted, waiting for a message cannot hang.
  StartScript("", 1000, false);
  Msg msg;
  EXPECT_THROW(GetMessage(msg), QuitRequested);
  EXPECT_TRUE(headless::Now() >= 1000u && headless::Now() <= 1001u) << headless::Now();
  // An empty script does not end the run; one added later does.
  StartScript("");
  for (int i = 0; i < 100; ++i) EXPECT_NO_THROW(GetTickCount());
  headless::AddSteps(Script("wait 10"));
  EXPECT_FALSE(headless::ScriptFinished());
  EXPECT_THROW(for (int i = 0; i < 100; ++i) GetTickCount(), QuitRequested);

  // The time limit passes while a tap waits for a key the game never asks about.
  StartScript("wait 10\ntap A\nwait 10\n", 500);
  EXPECT_THROW(for (;;) GetAsyncKeyState(VK_RETURN), QuitRequested);
  EXPECT_EQ(headless::StalledScriptLine(), 2);
  // The game ends on its own after 50 polls: waits left over and a tap it saw are played,
  // anything else is not.
  const std::pair<const char*, std::optional<int>> cases[] = {
      {"wait 5\n", std::nullopt}, {"tap RETURN\nwait 100\n", std::nullopt}, {"wait 10\ntap RETURN 2\n", std::nullopt},
      {"tap RETURN\nwait 100\nshot late\nwait 5\n", 3}, {"tap A\n", 1}, {"wait 100\nhold RETURN 5\n", 2}};
  for (const auto& [script, line] : cases) {
    StartScript(script, 0, false);
    for (int poll = 0; poll < 50; ++poll) GetAsyncKeyState(VK_RETURN);
    EXPECT_EQ(headless::StalledScriptLine(), line) << script;
  }
}

TEST(ScriptKeys, EachTapActsOnceWhateverTheScreenPollRate) {
  // A screen that asks without pause sees each of the taps as one press: it waits for the key
  // to go down, then up. Returns the clock when the press was seen.
  auto waitForPress = [](int key) {
    while (GetAsyncKeyState(key) == 0) {
    }
    const uint32_t seen = headless::Now();
    while (GetAsyncKeyState(key) != 0) {
    }
    return seen;
  };
  StartScript("tap RETURN\ntap RETURN\nwait 20\ntap RETURN\n", 0, false);
  const uint32_t first = waitForPress(VK_RETURN), second = waitForPress(VK_RETURN), third = waitForPress(VK_RETURN);
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
  EXPECT_TRUE(headless::Now() - pressed >= 1000u && headless::Now() - pressed <= 1010u) << headless::Now() - pressed;
}

TEST(ScriptKeys, AHeldKeyStaysDownForTheGivenGameTime) {
  StartScript("wait 10\nhold RIGHT 300\nwait 50\n", 0, false);
  uint32_t firstDown = 0, lastDown = 0;
  for (int downPolls = 0; !headless::ScriptFinished();)
    if (GetAsyncKeyState(VK_RIGHT) != 0) {
      if (downPolls++ == 0) firstDown = headless::Now();
      lastDown = headless::Now();
    }
  EXPECT_TRUE(firstDown >= 10u && firstDown <= 12u) << firstDown;
  EXPECT_TRUE(lastDown - firstDown >= 298u && lastDown - firstDown <= 301u) << lastDown - firstDown;
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

TEST_F(HeadlessTest, ShotsWriteTheVisiblePageTheSameEachRunAndStatesWhatTheDumperReturns) {
  std::filesystem::create_directories(out);
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
    return tamsel_test::ReadFile(out / "screen.png");
  };
  const std::string png = shoot();
  ASSERT_GE(png.size(), 24u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  EXPECT_EQ(png.substr(16, 8), std::string("\0\0\x02\x80\0\0\x01\xE0", 8));  // IHDR: 640 × 480
  EXPECT_EQ(shoot(), png);

  StartScript("wait 5\nstate first.json\nwait 5\nstate second.json\n", 0, false, out.string());
  int calls = 0;
  SetStateDumper([&calls] { return "{\"dump\": " + std::to_string(++calls) + "}"; });
  while (!headless::ScriptFinished()) GetTickCount();
  SetStateDumper(nullptr);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(tamsel_test::ReadFile(out / "first.json"), "{\"dump\": 1}");
  EXPECT_EQ(tamsel_test::ReadFile(out / "second.json"), "{\"dump\": 2}");
}
