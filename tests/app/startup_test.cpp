#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "app/main_loop.h"
#include "platform/backend.h"
#include "platform/system.h"

namespace {

using platform::headless::GetLog;
using Strings = std::vector<std::string>;

const std::string kNoDisplay =
    "Error|初始化DirectDraw过程中出错！请检查你是否正确的安装了DirectX。";

platform::headless::Options WithFaults(platform::headless::Faults faults) {
  platform::headless::Options options;
  options.faults = faults;
  options.script = {{platform::headless::Step::Kind::Wait, 0, 100, "", 1}};
  return options;
}

int RunWith(const platform::headless::Options& options) {
  platform::SetDataDirectory(TAMSEL_DATA_DIR);
  platform::headless::UseHeadlessBackend(options);
  bSoundOn = 1;
  bAppActive = 1;
  return WinMain();
}

}  // namespace

TEST(StartupTest, NoWindowEndsAtOnceWithoutAMessage) {
  EXPECT_EQ(RunWith(WithFaults({.failWindow = true})), 0);
  EXPECT_TRUE(GetLog().messageBoxes.empty());
  EXPECT_TRUE(GetLog().mciCommands.empty());
}

TEST(StartupTest, DisplayFailuresShowTheirMessagesAndEndTheProgram) {
  EXPECT_EQ(RunWith(WithFaults({.failDisplayDevice = true})), 0);
  EXPECT_EQ(GetLog().messageBoxes, Strings{kNoDisplay});
  EXPECT_EQ(GetLog().flips, 0);

  EXPECT_EQ(RunWith(WithFaults({.failPrimary = true})), 0);
  EXPECT_EQ(GetLog().messageBoxes, (Strings{"error|lpDDSPrimary", kNoDisplay}));
  EXPECT_FALSE(platform::WindowExists());
}

TEST(StartupTest, EndOfTheScriptClosesTheWindowAndEndsWithZero) {
  platform::headless::Options options;
  options.script = {{platform::headless::Step::Kind::Wait, 0, 2000, "", 1}};
  EXPECT_EQ(RunWith(options), 0);
  EXPECT_FALSE(platform::WindowExists());
  EXPECT_TRUE(GetLog().messageBoxes.empty());
  ASSERT_FALSE(GetLog().mciCommands.empty());
  EXPECT_EQ(GetLog().mciCommands.back(), "close all");
  // Frames ran on the way: the pacing saw the clock move.
  EXPECT_GT(nLastFrameTick, 1000);
}

TEST(StartupTest, TimerKeepsTheMusicGoingThroughTheMessageLoop) {
  // The 400 ms timer starts with the display: 150 ticks fit in 60.2 s, 151 in 60.6 s.
  for (auto [milliseconds, restarts] : {std::pair{60200, 0}, std::pair{60600, 1}}) {
    platform::headless::Options options;
    options.script = {{platform::headless::Step::Kind::Wait, 0, milliseconds, "", 1}};
    nMusicTicks = 0;
    ASSERT_EQ(RunWith(options), 0);
    const Strings& mci = GetLog().mciCommands;
    const size_t opens = size_t(std::count(mci.begin(), mci.end(), "open voc\\back.mid"));
    EXPECT_EQ(opens, size_t(restarts)) << milliseconds;
  }
}

TEST(StartupTest, InactiveApplicationRunsNoFrames) {
  platform::headless::Options options;
  options.script = {{platform::headless::Step::Kind::Wait, 0, 2000, "", 1}};
  platform::SetDataDirectory(TAMSEL_DATA_DIR);
  platform::headless::UseHeadlessBackend(options);
  platform::PostMessage(platform::WM_ACTIVATEAPP, 0, 0);
  nLastFrameTick = 0;
  nMusicTicks = 0;
  EXPECT_EQ(WinMain(), 0);
  EXPECT_EQ(nLastFrameTick, 0);
  EXPECT_GE(nMusicTicks, 4);  // the timer still ticks
  bAppActive = 1;
}
