#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "headless_fixture.h"
#include "platform/display_device.h"

using namespace platform;

namespace {

void PlayScript(const std::string& text, const std::string& shotDirectory = "") {
  headless::Options options = tamsel_test::OpenEndedOptions();
  options.script = tamsel_test::Script(text);
  options.shotDirectory = shotDirectory;
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

TEST(ScriptTap, EachTapActsOnceWhateverTheScreenPollRate) {
  // A screen that asks without pause sees each of the taps as one press.
  PlayScript("tap RETURN\ntap RETURN\nwait 20\ntap RETURN\n");
  const uint32_t first = WaitForPress(VK_RETURN), second = WaitForPress(VK_RETURN), third = WaitForPress(VK_RETURN);
  EXPECT_LT(first, second);
  EXPECT_GE(third - second, 20u);
  for (int i = 0; i < 50; ++i) EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0);  // all three consumed
  EXPECT_TRUE(headless::ScriptFinished());

  // A screen asking once every 100 ms of game time, busy in between, still gets the tap once.
  PlayScript("tap CONTROL\n");
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
  PlayScript("tap ESCAPE\nwait 1\n");
  while (GetAsyncKeyState(VK_ESCAPE) == 0) {
  }
  const uint32_t pressed = headless::Now();
  while (!headless::ScriptFinished()) GetTickCount();
  EXPECT_GE(headless::Now() - pressed, 1000u);
  EXPECT_LE(headless::Now() - pressed, 1010u);
}

TEST(ScriptHold, KeyStaysDownForTheGivenGameTime) {
  PlayScript("wait 10\nhold RIGHT 300\nwait 50\n");
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
  PlayScript("press A\nwait 100\nrelease A\nhold UP 0\n");
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
    PlayScript("shot screen\n", out.string());
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
  PlayScript("wait 5\nstate first.json\nwait 5\nstate second.json\n", out.string());
  int calls = 0;
  SetStateDumper([&calls] { return "{\"dump\": " + std::to_string(++calls) + "}"; });
  while (!headless::ScriptFinished()) GetTickCount();
  SetStateDumper(nullptr);
  EXPECT_EQ(calls, 2);
  EXPECT_EQ(ReadFile(out / "first.json"), "{\"dump\": 1}");
  EXPECT_EQ(ReadFile(out / "second.json"), "{\"dump\": 2}");
}
