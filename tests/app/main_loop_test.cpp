#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "app/main_loop.h"
#include "core/game_state.h"
#include "platform/backend/backend.h"
#include "platform/system.h"
#include "sound/music.h"

namespace {

using platform::headless::GetLog;
using Strings = std::vector<std::string>;

const Strings kBackMusic = {"close all", "open voc\\back.mid", "play voc\\back.mid"};

class MainLoopTest : public ::testing::Test {
 protected:
  void SetUp() override { Start(platform::headless::Options{}); }
  void Start(platform::headless::Options options) {
    options.quitWhenScriptEnds = false;
    options.quitAfterMilliseconds = UINT32_MAX;
    platform::headless::UseHeadlessBackend(options);
    bSoundOn = 1;
    bAppActive = 1;
    nMusicTicks = 0;
    nLastFrameTick = 0;
    nFrameTick = 0;
  }
  void TearDown() override {
    bSoundOn = 1;
    bAppActive = 1;
  }
  static void Tick() { MainWndProc(platform::WM_TIMER, 1, 0); }
};

}  // namespace

TEST_F(MainLoopTest, FrameBodyRunsOnlyWhenMoreThan30MillisecondsHavePassed) {
  platform::headless::Options options;
  options.millisecondsPerPoll = 0;  // the clock moves only when the test moves it
  Start(options);
  platform::headless::AdvanceClock(1000);
  GameFrame();
  const int lastRun = nLastFrameTick;
  ASSERT_EQ(lastRun, int(platform::headless::Now()));

  platform::headless::AdvanceClock(30);
  GameFrame();
  EXPECT_EQ(nFrameTick, lastRun + 30);
  EXPECT_EQ(nLastFrameTick, lastRun);

  platform::headless::AdvanceClock(1);
  GameFrame();
  EXPECT_EQ(nLastFrameTick, lastRun + 31);

  // Pacing goes on when the millisecond count passes the top of the int range.
  platform::headless::AdvanceClock(uint32_t(INT_MAX) - platform::headless::Now() + 21);
  nLastFrameTick = INT_MAX - 10;
  GameFrame();
  EXPECT_EQ(nLastFrameTick, INT_MIN + 20);
}

TEST_F(MainLoopTest, MusicRestartsOnThe151stTimerTickWhenTheSoundIsOn) {
  for (int tick = 1; tick <= 150; ++tick) Tick();
  EXPECT_TRUE(GetLog().mciCommands.empty());
  Tick();
  EXPECT_EQ(GetLog().mciCommands, kBackMusic);
  EXPECT_EQ(nMusicTicks, 0);

  // Music started elsewhere (the title) does not reset the count.
  for (int tick = 1; tick <= 100; ++tick) Tick();
  PlayMusic("voc\\title.mid");
  for (int tick = 101; tick <= 150; ++tick) Tick();
  EXPECT_EQ(GetLog().mciCommands.size(), 6u);
  Tick();
  EXPECT_EQ(GetLog().mciCommands.size(), 9u);
  EXPECT_EQ(GetLog().mciCommands[4], "open voc\\title.mid");
  EXPECT_EQ(Strings(GetLog().mciCommands.end() - 3, GetLog().mciCommands.end()), kBackMusic);

  // With the sound off nothing is sent, but the ticks are still counted.
  bSoundOn = 0;
  for (int tick = 0; tick < 400; ++tick) Tick();
  EXPECT_EQ(nMusicTicks, 400);
  PlayMusic("voc\\back.mid");
  StopMusic();
  EXPECT_EQ(GetLog().mciCommands.size(), 9u);
}

TEST_F(MainLoopTest, DestructionFocusAndCursorMessages) {
  for (int soundOn : {0, 1}) {
    Start(platform::headless::Options{});
    bSoundOn = soundOn;
    ASSERT_TRUE(platform::CreateMainWindow(MainWndProc));
    platform::DestroyWindow();
    EXPECT_FALSE(platform::WindowExists());
    platform::Msg msg;
    EXPECT_FALSE(platform::GetMessage(msg));
    EXPECT_EQ(platform::QuitExitCode(), 0);
    EXPECT_EQ(GetLog().mciCommands, soundOn ? Strings{"close all"} : Strings{}) << soundOn;
  }
  // Losing and regaining the focus pauses and resumes the frames; the cursor stays hidden.
  MainWndProc(platform::WM_ACTIVATEAPP, 0, 0);
  EXPECT_EQ(bAppActive, 0);
  MainWndProc(platform::WM_ACTIVATEAPP, 1, 0);
  EXPECT_EQ(bAppActive, 1);
  EXPECT_EQ(MainWndProc(platform::WM_SETCURSOR, 0, 0), 1);
}
