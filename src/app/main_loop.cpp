#include "app/main_loop.h"

#include <cstdint>

#include "core/game_state.h"
#include "goods/goods.h"
#include "platform/system.h"
#include "sound/music.h"
#include "sound/sound.h"
#include "title/title.h"
#include "video/display.h"
#include "video/draw.h"
#include "world/movement.h"
#include "world/npc_tick.h"
#include "world/talk.h"

int nLastFrameTick;
int nFrameTick;
int nMusicTicks;

namespace {

// The frame body runs only when more than this many milliseconds have passed.
constexpr int kFrameMilliseconds = 30;
// The background music is started again once this many timer ticks have gone by.
constexpr int kMusicRestartTicks = 150;

// Keeps the background music going: it is played once, so it is restarted every 151 ticks
// of the 400 ms timer, about once a minute, whether it has ended or not.
void CheckMusic() {
  nMusicTicks += 1;
  if (bSoundOn == 1 && nMusicTicks > kMusicRestartTicks) {
    PlayMusic("voc\\back.mid");
    nMusicTicks = 0;
  }
}

int RunMessageLoop() {
  for (;;) {
    if (platform::PeekMessage()) {
      platform::Msg msg;
      if (!platform::GetMessage(msg)) break;
      platform::DispatchMessage(msg);
    } else if (bAppActive) {
      GameFrame();
    } else {
      platform::WaitMessage();
    }
  }
  return platform::QuitExitCode();
}

int StartAndRun() {
  if (!platform::CreateMainWindow(MainWndProc)) return 0;
  InitSound();  // without a device: one message, and the game runs silent
  LoadSounds();
  if (!InitDisplay()) {
    platform::MessageBox("初始化DirectDraw过程中出错！请检查你是否正确的安装了DirectX。", "Error");
    ReleaseDisplay();
    return 0;
  }
  LoadTalkText();
  LoadGoods();
  CreateGameFont();
  platform::HideCursor();
  RunTitleMenu();
  return RunMessageLoop();
}

}  // namespace

int WinMain() {
  try {
    return StartAndRun();
  } catch (const platform::QuitRequested&) {
    // The window was closed (or the script ended) inside some screen's own loop: clean up
    // as the window's destruction does and end normally.
    if (platform::WindowExists()) platform::DestroyWindow();
    return 0;
  }
}

void GameFrame() {
  nFrameTick = int(platform::GetTickCount());
  // The difference is taken in 32 bits so that pacing goes on when the tick count wraps.
  const int32_t elapsed = int32_t(uint32_t(nFrameTick) - uint32_t(nLastFrameTick));
  if (elapsed <= kFrameMilliseconds) return;
  nLastFrameTick = nFrameTick;
  GameFrameBody();
}

intptr_t MainWndProc(int message, intptr_t wParam, intptr_t lParam) {
  switch (message) {
    case platform::WM_ACTIVATEAPP:
      bAppActive = wParam != 0;
      break;
    case platform::WM_SETCURSOR:
      platform::HideCursor();
      return 1;
    case platform::WM_TIMER:
      MoveNpcs();
      CheckMusic();
      break;
    case platform::WM_DESTROY:
      ReleaseSound();
      if (bSoundOn == 1) StopMusic();
      ReleaseDisplay();
      platform::PostQuitMessage(0);
      break;
    default:
      break;
  }
  return platform::DefWindowProc(message, wParam, lParam);
}
