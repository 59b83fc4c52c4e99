#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "headless_fixture.h"
#include "platform/display_device.h"

using namespace platform;
using tamsel_test::Script;

namespace {

headless::Options RunScript(const std::string& text) {
  headless::Options options = tamsel_test::OpenEndedOptions();
  options.script = Script(text);
  return options;
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
  std::ifstream file(path, std::ios::binary);
  std::ostringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

class OutputDirectory {
 public:
  OutputDirectory() : path_(std::filesystem::temp_directory_path() /
                            ("tamsel_script_" + std::to_string(::getpid()) +
                             "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name())) {
    std::filesystem::create_directories(path_);
  }
  ~OutputDirectory() { std::filesystem::remove_all(path_); }
  const std::filesystem::path& Path() const { return path_; }

 private:
  std::filesystem::path path_;
};

}  // namespace

TEST(ScriptTap, EachTapActsOnceWhateverTheScreenPollRate) {
  headless::UseHeadlessBackend(RunScript("tap RETURN\ntap RETURN\nwait 20\ntap RETURN\n"));
  // A screen that asks without pause sees each of the taps as one press.
  const uint32_t first = WaitForPress(VK_RETURN);
  const uint32_t second = WaitForPress(VK_RETURN);
  const uint32_t third = WaitForPress(VK_RETURN);
  EXPECT_LT(first, second);
  EXPECT_GE(third - second, 20u);
  // All three were consumed: nothing is left down.
  for (int i = 0; i < 50; ++i) EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0);
  EXPECT_TRUE(headless::ScriptFinished());
}

TEST(ScriptTap, ASlowScreenStillGetsTheTap) {
  headless::UseHeadlessBackend(RunScript("tap CONTROL\n"));
  // Asks once every 100 ms of game time, busy with other work in between.
  int seen = 0;
  for (int frame = 0; frame < 10; ++frame) {
    const uint32_t start = GetTickCount();
    while (GetTickCount() - start < 100) {
    }
    if (GetAsyncKeyState(VK_CONTROL) != 0) ++seen;
  }
  EXPECT_EQ(seen, 1);
  EXPECT_TRUE(headless::ScriptFinished());
}

TEST(ScriptTap, AScreenThatNeverAsksAgainDoesNotStallTheScript) {
  headless::UseHeadlessBackend(RunScript("tap ESCAPE\nwait 1\n"));
  while (GetAsyncKeyState(VK_ESCAPE) == 0) {
  }
  const uint32_t seen = headless::Now();
  while (!headless::ScriptFinished()) GetTickCount();
  EXPECT_GE(headless::Now() - seen, 1000u);
  EXPECT_LE(headless::Now() - seen, 1010u);
}

TEST(ScriptHold, KeyStaysDownForTheGivenGameTime) {
  headless::UseHeadlessBackend(RunScript("wait 10\nhold RIGHT 300\nwait 50\n"));
  uint32_t firstDown = 0;
  uint32_t lastDown = 0;
  int downPolls = 0;
  while (!headless::ScriptFinished()) {
    if (GetAsyncKeyState(VK_RIGHT) != 0) {
      if (downPolls++ == 0) firstDown = headless::Now();
      lastDown = headless::Now();
    }
  }
  EXPECT_GE(firstDown, 10u);
  EXPECT_LE(firstDown, 12u);
  EXPECT_GE(lastDown - firstDown, 298u);
  EXPECT_LE(lastDown - firstDown, 301u);

  // Press and release are separate steps; a zero hold is still one press.
  headless::UseHeadlessBackend(RunScript("press A\nwait 100\nrelease A\nhold UP 0\n"));
  int aDown = 0;
  int upDown = 0;
  while (!headless::ScriptFinished()) {
    if (GetAsyncKeyState(VK_A) != 0) ++aDown;
    if (GetAsyncKeyState(VK_UP) != 0) ++upDown;
  }
  GetAsyncKeyState(VK_A);
  if (GetAsyncKeyState(VK_UP) != 0) ++upDown;
  EXPECT_GE(aDown, 45);  // a round of two polls takes 2 ms, over 100 ms
  EXPECT_EQ(upDown, 1);
}

TEST(ScriptOutput, ShotWritesTheVisiblePageThroughThePalette) {
  OutputDirectory out;
  headless::Options options = RunScript("shot screen\n");
  options.shotDirectory = out.Path().string();
  headless::UseHeadlessBackend(options);

  Palette palette{};
  palette[3] = PaletteEntry{200, 10, 20, 0};
  auto showScreen = [&palette] {
    DisplayDevice* device = OpenDisplayDevice();
    ASSERT_NE(device, nullptr);
    Surface* primary = device->CreatePrimaryWithBackBuffer();
    ASSERT_NE(primary, nullptr);
    FillSurface(*primary, 3);
    device->AttachPalette(device->CreatePalette(palette));
    GetTickCount();
  };
  showScreen();
  const std::string png = ReadFile(out.Path() / "screen.png");
  ASSERT_GE(png.size(), 24u);
  EXPECT_EQ(png.substr(1, 3), "PNG");
  // IHDR: width and height, big-endian, at bytes 16 and 20.
  auto be32 = [&png](size_t at) {
    return (uint32_t(uint8_t(png[at])) << 24) | (uint32_t(uint8_t(png[at + 1])) << 16) |
           (uint32_t(uint8_t(png[at + 2])) << 8) | uint32_t(uint8_t(png[at + 3]));
  };
  EXPECT_EQ(be32(16), 640u);
  EXPECT_EQ(be32(20), 480u);
  CloseDisplayDevice();

  // The same script gives the same picture.
  headless::UseHeadlessBackend(options);
  showScreen();
  EXPECT_EQ(ReadFile(out.Path() / "screen.png"), png);
  CloseDisplayDevice();
}

TEST(ScriptOutput, StateStepWritesWhatTheGamesDumperReturns) {
  OutputDirectory out;
  headless::Options options = RunScript("wait 5\nstate first.json\nwait 5\nstate second.json\n");
  options.shotDirectory = out.Path().string();
  headless::UseHeadlessBackend(options);
  int calls = 0;
  SetStateDumper([&calls] { return "{\"dump\": " + std::to_string(++calls) + "}"; });
  while (!headless::ScriptFinished()) GetTickCount();
  SetStateDumper(nullptr);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(ReadFile(out.Path() / "first.json"), "{\"dump\": 1}");
  EXPECT_EQ(ReadFile(out.Path() / "second.json"), "{\"dump\": 2}");
}
