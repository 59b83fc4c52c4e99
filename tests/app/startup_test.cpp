#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/main_loop.h"
#include "core/game_state.h"
#include "platform/backend/backend.h"
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

// After choosing a new game, ENTER is read this many times before the world's frames start: the
// story cut short and closed, and the lines of the first talk.
constexpr int kTitleStoryAndTalkTaps = 7;

// The title comes first: a new game is chosen, its story cut short with ENTER and the lines of
// the first talk answered (ENTER taps beyond the talk are read by the world's frames); then
// the game waits in the world for the given time.
std::vector<platform::headless::Step> PastTheTitle(int milliseconds, int taps = 12) {
  using Step = platform::headless::Step;
  std::vector<Step> steps = {{Step::Kind::Wait, 0, 100, "", 1},
                             {Step::Kind::Tap, platform::VK_RETURN, 0, "", 1},
                             {Step::Kind::Wait, 0, 300, "", 1}};
  for (int k = 0; k < taps; ++k) steps.push_back({Step::Kind::Tap, platform::VK_RETURN, 0, "", 2});
  steps.push_back({Step::Kind::Wait, 0, milliseconds, "", 3});
  return steps;
}

int RunWith(const platform::headless::Options& options) {
  platform::SetDataDirectory(TAMSEL_DATA_DIR);
  platform::headless::UseHeadlessBackend(options);
  bSoundOn = 1;
  bAppActive = 1;
  const int exitCode = WinMain();
  EXPECT_EQ(platform::headless::StalledScriptLine(), std::nullopt)
      << "the script was not played through";
  return exitCode;
}

}  // namespace

TEST(StartupTest, WindowDisplayAndSoundFailuresShowTheirMessages) {
  const struct {
    const char* what;
    platform::headless::Faults faults;
    Strings boxes, mci;
    bool plays;  // the game goes on, silent
  } cases[] = {{"no window: nothing to show a message on", {.failWindow = true}, {}, {}, false},
               {"no display device", {.failDisplayDevice = true}, {kNoDisplay}, {}, false},
               {"no primary surface", {.failPrimary = true}, {"error|lpDDSPrimary", kNoDisplay}, {"close all"}, false},
               {"no sound device", {.failSoundDevice = true}, {"error|error on Create\nThe game goes on without sound."}, {}, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(RunWith(WithFaults(c.faults)), 0);
    EXPECT_EQ(GetLog().messageBoxes, c.boxes);
    EXPECT_EQ(GetLog().mciCommands, c.mci);
    EXPECT_EQ(GetLog().flips + GetLog().paletteLoads > 0, c.plays);  // the title shown all the same
    // Only a failed display device leaves the window for the process's end to close.
    EXPECT_EQ(platform::WindowExists(), c.faults.failDisplayDevice);
  }
}

TEST(StartupTest, TheTimerKeepsTheMusicGoingAndTheScriptsEndClosesTheWindow) {
  // The new game starts the music once; the 400 ms timer restarts it at its 151st tick, about
  // 60 s into play: in 64 s of play it is restarted exactly once.
  platform::headless::Options options;
  options.script = PastTheTitle(64000);
  nMusicTicks = 0;
  ASSERT_EQ(RunWith(options), 0);
  const Strings& mci = GetLog().mciCommands;
  EXPECT_EQ(std::count(mci.begin(), mci.end(), "open voc\\back.mid"), 2);
  EXPECT_EQ(mci.back(), "close all");
  EXPECT_FALSE(platform::WindowExists());
  EXPECT_TRUE(GetLog().messageBoxes.empty());
  EXPECT_GT(nLastFrameTick, 60000);  // frames ran on the way: the pacing saw the clock move
}

TEST(StartupTest, InactiveApplicationRunsNoFrames) {
  platform::headless::Options options;
  options.script = PastTheTitle(2000, kTitleStoryAndTalkTaps);
  platform::SetDataDirectory(TAMSEL_DATA_DIR);
  platform::headless::UseHeadlessBackend(options);
  platform::PostMessage(platform::WM_ACTIVATEAPP, 0, 0);
  nLastFrameTick = 0;
  nMusicTicks = 0;
  EXPECT_EQ(WinMain(), 0);
  EXPECT_EQ(platform::headless::StalledScriptLine(), std::nullopt);  // no tap left unseen
  EXPECT_EQ(nLastFrameTick, 0);
  EXPECT_GE(nMusicTicks, 4);  // the timer still ticks
  bAppActive = 1;
}
