// The headless backend: keys and the virtual clock, its log, game paths, running without a
// backend, and reading scripts.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "headless_fixture.h"
#include "platform/backend/backend_interface.h"
#include "platform/display_device.h"

using namespace platform;
using headless::ParseScript;
using headless::Step;
using tamsel_test::HeadlessTest;

using KeyStateTest = HeadlessTest;

TEST_F(KeyStateTest, KeysLatchATapBetweenPollsAndReadHeldKeysUntilReleased) {
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
  headless::PressKey(VK_DOWN);
  headless::ReleaseKey(VK_DOWN);
  headless::PressKey(VK_A);
  headless::ReleaseAllKeys();
  // Codes outside the key table read as up instead of reaching past it.
  for (int key : {VK_DOWN, VK_A, -1, 100000}) EXPECT_EQ(GetAsyncKeyState(key), 0) << key;
}

TEST(VirtualClock, MovesOnlyWithPollsByTheConfiguredStep) {
  headless::Options options = tamsel_test::OpenEndedOptions();
  options.millisecondsPerPoll = 5;
  options.seed = 1234;
  headless::UseHeadlessBackend(options);
  EXPECT_EQ(headless::Now(), 0u);
  EXPECT_EQ(GetTickCount(), 5u);
  EXPECT_EQ(GetTickCount(), 10u);
  GetAsyncKeyState(VK_LEFT);
  EXPECT_EQ(headless::Now(), 15u);
  PeekMessage();
  EXPECT_EQ(headless::Now(), 20u);
  headless::AdvanceClock(100);
  EXPECT_EQ(GetTickCount(), 125u);
  // The calendar answers the fixed seed, so random sequences repeat.
  EXPECT_EQ(CalendarTimeSeconds(), 1234u);
  EXPECT_EQ(CalendarTimeSeconds(), 1234u);
}

TEST(VirtualClock, AnObserverSeesEveryPollAndCanEndTheRun) {
  std::vector<std::pair<uint32_t, bool>> seen;  // the clock, and whether in the message loop
  headless::Options options = tamsel_test::OpenEndedOptions();
  options.observer = [&](uint32_t now, bool inMessageLoop) {
    seen.emplace_back(now, inMessageLoop);
    return now < 3;
  };
  headless::UseHeadlessBackend(options);
  GetTickCount();
  PeekMessage();
  EXPECT_EQ(seen, (std::vector<std::pair<uint32_t, bool>>{{1, false}, {2, true}}));
  EXPECT_THROW(GetAsyncKeyState(VK_UP), QuitRequested);  // the observer said no more at 3
  headless::UseHeadlessBackend(tamsel_test::OpenEndedOptions());
}

using HeadlessLogTest = HeadlessTest;

TEST_F(HeadlessLogTest, KeepsCommandsBoxesAndDebugLinesAsGiven) {
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
  // A fresh backend starts with an empty log.
  SendMciCommand("play voc\\back.mid");
  headless::UseHeadlessBackend(tamsel_test::OpenEndedOptions());
  EXPECT_TRUE(headless::GetLog().mciCommands.empty());
}

TEST_F(HeadlessLogTest, PresentsOnlyChangedScreens) {
  DisplayDevice* device = OpenDisplayDevice();
  ASSERT_NE(device, nullptr);
  Surface* primary = device->CreatePrimaryWithBackBuffer();
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

TEST(GamePaths, MapEitherSeparatorIntoTheDataDirectory) {
  SetDataDirectory(".");
  EXPECT_EQ(HostPath("pic\\title.bmp"), "pic/title.bmp");
  SetDataDirectory("/srv/tamsel/data");
  EXPECT_EQ(HostPath("pic\\title.bmp"), "/srv/tamsel/data/pic/title.bmp");
  EXPECT_EQ(HostPath("text/goods.dat"), "/srv/tamsel/data/text/goods.dat");
  SetDataDirectory("build/data/");
  EXPECT_EQ(HostPath("save\\1.sav"), "build/data/save/1.sav");
  EXPECT_EQ(DataDirectory(), "build/data/");
  SetDataDirectory("");
  EXPECT_EQ(DataDirectory(), ".");

  const std::filesystem::path dir = std::filesystem::temp_directory_path() / ("tamsel_paths_test_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir / "text");
  std::ofstream(dir / "text" / "gp.txt") << "about";
  SetDataDirectory(dir.string());
  std::FILE* file = OpenGameFile("text\\gp.txt", "rb");
  ASSERT_NE(file, nullptr);
  char bytes[6] = {};
  EXPECT_EQ(std::fread(bytes, 1, 6, file), 5u);
  std::fclose(file);
  EXPECT_STREQ(bytes, "about");
  EXPECT_EQ(OpenGameFile("text\\missing.txt", "rb"), nullptr);
  EXPECT_EQ(OpenGameFile(nullptr, "rb"), nullptr);
  SetDataDirectory(".");
  std::filesystem::remove_all(dir);
}

TEST(NoBackend, CallsAnswerInertlyInsteadOfCrashing) {
  detail::InstallBackend(nullptr);
  EXPECT_FALSE(CreateMainWindow(nullptr));
  EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0);
  const uint32_t start = GetTickCount();
  EXPECT_GE(GetTickCount(), start);
  Msg msg;
  EXPECT_FALSE(GetMessage(msg));  // nothing can ever arrive: the loop ends
  EXPECT_EQ(headless::GetLog().mciCommands.size(), 0u);
  SendMciCommand("close all");
  headless::PressKey(VK_UP);  // headless controls do nothing with another backend
  EXPECT_EQ(GetAsyncKeyState(VK_UP), 0);
}

TEST(ScriptParser, ReadsEveryStepFormWithCommentsBlankLinesAndCrLf) {
  const std::string text =
      "# a walk to the shop\n"
      "wait 500\r\n"
      "\n"
      "tap RETURN   # confirm\n"
      "press up\n"
      "release UP\n"
      "  hold RIGHT 250\n"
      "shot title_1\n"
      "state after-walk.json\n"
      "tap LBUTTON\n"
      "tap control\n"
      "tap down 3\n";
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
  // A script may take ten minutes of game time beyond its own waits and holds.
  EXPECT_EQ(headless::ScriptTimeLimit(steps), 600000u + 500 + 250);
  // Long enough to overflow a 32-bit sum: the limit saturates instead of wrapping round.
  const std::vector<Step> days(60, Step{Step::Kind::Wait, 0, 86400000, "", 1});
  EXPECT_EQ(headless::ScriptTimeLimit(days), UINT32_MAX);
}

TEST(ScriptParser, NamesTheLineOfEachMalformedForm) {
  const std::pair<std::string, std::string> cases[] = {
      {"jump 3\n", "line 1: unknown step 'jump'"}, {"wait 1\n\nwait\n", "line 3: expected 'wait MS'"},
      {"wait 10 20\n", "line 1: expected 'wait MS'"}, {"wait -5\n", "line 1: bad milliseconds '-5'"},
      {"wait 1.5\n", "line 1: bad milliseconds '1.5'"}, {"wait 99999999999\n", "line 1: bad milliseconds"},
      {"tap SPACE\n", "line 1: unknown key 'SPACE'"}, {"tap\n", "line 1: expected 'tap KEY [N]'"},
      {"press UP DOWN\n", "line 1: expected 'press KEY'"}, {"hold UP\n", "line 1: expected 'hold KEY MS'"},
      {"hold 100 UP\n", "line 1: unknown key '100'"},
      {"# fine\nshot ../../etc/x\n", "line 2: bad name '../../etc/x'"},
      {"shot\n", "line 1: expected 'shot NAME'"}, {"state /tmp/x.json\n", "line 1: bad name '/tmp/x.json'"},
      {"state .hidden\n", "line 1: bad name '.hidden'"}, {"WAIT 10\n", "line 1: unknown step 'WAIT'"},
      {"tap UP 0\n", "line 1: bad count '0'"}, {"tap UP 10001\n", "line 1: bad count '10001'"},
      {"tap UP two\n", "line 1: bad count 'two'"}, {"tap UP 2 2\n", "line 1: expected 'tap KEY [N]'"},
      {"hold UP 5 2\n", "line 1: expected 'hold KEY MS'"},
  };
  for (const auto& [text, expectedStart] : cases) {
    std::vector<Step> steps = {Step{}};
    std::string error;
    EXPECT_FALSE(ParseScript(text, steps, error)) << text;
    EXPECT_EQ(error.rfind(expectedStart, 0), 0u) << text << " gave: " << error;
    EXPECT_EQ(steps.size(), 1u) << "steps must be left alone on failure";
  }
}
