// The program's frame: startup and its failures, the main loop's pacing, the music timer, the
// window's messages, and the new game's state.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
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

TEST(GameStateTest, NewGameSetsHeroAndPositionButLeavesTheMaps) {
  std::memset(&hero, 0x5A, sizeof hero);
  int32_t* const words[] = {&nMap,     &nViewCol,     &nViewRow,     &nLastViewCol,
                            &nLastViewRow, &nScrollX, &nScrollY,     &nLastScrollX,
                            &nLastScrollY, &nStoryStage, &nStoryFlag};
  for (int32_t* word : words) *word = 7;
  mapTable[0].nWidth = 33;
  mapTable[0].lpTiles.assign(4, 0xA001);

  InitNewGame();

  const NpcRecord& h = hero;
  // Every number of the record, in record order.
  const std::vector<int32_t> numbers = {
      h.nTalkId, h.nPicture, h.bHostile, h.nTalkState, h.nWalk,  h.bActive,   h.nFrameWidth,
      h.nFrameHeight, h.nX, h.nY, h.nLastX, h.nLastY, h.nDirection, h.nFrame, h.nLevel, h.nExp,
      h.nLife, h.nMaxLife, h.nAttack, h.nDefense, h.nSpeed, h.nMoney};
  EXPECT_EQ(numbers, (std::vector<int32_t>{999, 999, 0, 0, 1, 1, 32, 48, 180, 164, 180, 164, 0,
                                           0, 1, 0, 50, 50, 10, 10, 8, 50}));
  // "小飞刀" in GBK, padded with zero bytes.
  const char name[32] = "\xD0\xA1\xB7\xC9\xB5\xB6";
  EXPECT_EQ(std::memcmp(hero.szName, name, sizeof name), 0);
  EXPECT_EQ(std::string(hero.szGoods, 20), std::string(16, ' ') + std::string(4, '\0'));
  EXPECT_EQ(hero.lpSurface, kHeroSheet);

  for (int32_t* word : words) EXPECT_EQ(*word, 0);
  EXPECT_EQ(mapTable[0].nWidth, 33);
  EXPECT_EQ(mapTable[0].lpTiles.size(), 4u);
  mapTable[0] = MapInfo{};
}

TEST(GameStateTest, MapIndexAndCharacterCountStayInsideTheirTables) {
  for (auto [index, expected] : {std::pair{4, 4}, {-3, 0}, {8, 7}}) {
    nMap = index;
    EXPECT_EQ(&CurrentMap(), &mapTable[expected]) << index;
  }
  nMap = 0;

  MapInfo map;
  map.lpNpcs.resize(2);
  for (auto [count, expected] : {std::pair{5, 2}, {-1, 0}, {1, 1}}) {
    map.nNpcCount = count;
    EXPECT_EQ(NpcCount(map), expected) << count;
  }
}
