// Processor use of the real game on the real clock: on the title menu, standing in the world,
// walking, in the in-game menu, in a fight, through a door's two fades, during blows and while
// the story is typed; and how long closing the window takes in the middle of a fade. Each
// measures a few seconds of real time with getrusage (every thread of the process, SDL's
// included) and reports the share of one core as cpu_percent. With window:0 the game runs on
// SDL's dummy video driver, which shows nothing; with window:1 in a real 1280 x 960 window on
// a private X server (Xvfb) through SDL's software renderer, as on a machine without a GPU,
// and xvfb_percent adds what the server spent showing it.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <atomic>
#include <cstdlib>
#include <functional>
#include <string>

#include "app/main_loop.h"
#include "core/game_state.h"
#include "title/title.h"
#include "bench_world.h"
#include "battle/arena.h"
#include "battle/battle.h"
#include "goods/game_menu.h"
#include "goods/goods.h"
#include "platform/backend/backend.h"
#include "platform/system.h"
#include "sound/sound.h"
#include "video/display.h"
#include "video/draw.h"
#include "world/map_files.h"
#include "world/talk.h"
#include "world/world_view.h"
#include "xvfb_display.h"

namespace {


// Processor time and real time from the start of a stretch.
struct Stretch {
  double cpu = UsageSeconds(RUSAGE_SELF);
  double server = XvfbSeconds();
  uint64_t start = SDL_GetPerformanceCounter();
  double WallSeconds() const {
    return double(SDL_GetPerformanceCounter() - start) / double(SDL_GetPerformanceFrequency());
  }
  void Report(benchmark::State& state) const {
    const double wall = WallSeconds();
    state.counters["cpu_percent"] = 100.0 * (UsageSeconds(RUSAGE_SELF) - cpu) / wall;
    if (server > 0) state.counters["xvfb_percent"] = 100.0 * (XvfbSeconds() - server) / wall;
    state.counters["wall_ms"] = wall * 1e3;
  }
};

// The game on the SDL backend, started as the program starts it: on the dummy video driver,
// or (window) in a window of the default size on the private X server with the software
// renderer. The sound goes to SDL's dummy audio driver either way.
bool StartSdlGame(bool window = false) {
  if (window && !UseXvfbDisplay()) return false;
  setenv("SDL_VIDEODRIVER", window ? "x11" : "dummy", 1);
  if (window) setenv("SDL_RENDER_DRIVER", "software", 1);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  platform::SdlOptions options;
  options.windowed = true;
  if (!platform::UseSdlBackend(options)) return false;
  platform::SetDataDirectory(TAMSEL_DATA_DIR);
  if (!platform::CreateMainWindow(MainWndProc)) return false;
  InitSound();
  LoadSounds();
  if (InitDisplay() == 0) return false;
  LoadTalkText();
  LoadGoods();
  CreateGameFont();
  if (LoadMaps() == 0) return false;
  LoadNpcs();
  InitNewGame();
  return true;
}

void EnterHome() {
  InitNewGame();
  nMap = 0;
  DrawWorld();
  FlipScreen();
  if (lpDDPal) lpDDPal->SetEntries(*lpPalGame);
  nLastFrameTick = int(platform::GetTickCount());  // SDL's clock starts again with each start
}

void PushKey(SDL_Keycode key, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  event.key.keysym.sym = key;
  event.key.keysym.scancode = SDL_GetScancodeFromKey(key);
  SDL_PushEvent(&event);
}

// The message loop of the program, for a while; every `turn` ms the held arrow changes side.
void RunWorld(uint32_t milliseconds, bool walk) {
  const uint32_t end = SDL_GetTicks() + milliseconds;
  constexpr uint32_t kTurn = 600;
  uint32_t nextTurn = SDL_GetTicks();
  bool right = false;
  while (int32_t(end - SDL_GetTicks()) > 0) {
    if (walk && int32_t(SDL_GetTicks() - nextTurn) >= 0) {
      PushKey(right ? SDLK_RIGHT : SDLK_LEFT, false);
      right = !right;
      PushKey(right ? SDLK_RIGHT : SDLK_LEFT, true);
      nextTurn += kTurn;
    }
    if (platform::PeekMessage()) {
      platform::Msg msg;
      if (!platform::GetMessage(msg)) break;
      platform::DispatchMessage(msg);
    } else {
      GameFrame();
    }
  }
  if (walk) PushKey(right ? SDLK_RIGHT : SDLK_LEFT, false);
}

bool StartSdlGame(const benchmark::State& state) { return StartSdlGame(state.range(0) != 0); }
constexpr const char* kNoGame = "no SDL display (dummy driver or Xvfb) or no data set";

void BM_CpuStandingInWorld(benchmark::State& state) {
  if (!StartSdlGame(state)) return state.SkipWithError(kNoGame);
  EnterHome();
  for (auto _ : state) {
    RunWorld(500, false);  // settle
    const Stretch stretch;
    RunWorld(3000, false);
    stretch.Report(state);
  }
}
BENCHMARK(BM_CpuStandingInWorld)->ArgName("window")->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_CpuWalking(benchmark::State& state) {
  if (!StartSdlGame(state)) return state.SkipWithError(kNoGame);
  EnterHome();
  for (auto _ : state) {
    const Stretch stretch;
    RunWorld(3000, true);
    stretch.Report(state);
    state.counters["hero_x"] = hero.nX;
  }
}
BENCHMARK(BM_CpuWalking)->ArgName("window")->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

// A door: fade out, the new place drawn in the dark, fade in; three times.
void BM_CpuDoorFades(benchmark::State& state) {
  if (!StartSdlGame(state)) return state.SkipWithError(kNoGame);
  EnterHome();
  for (auto _ : state) {
    const Stretch stretch;
    for (int k = 0; k < 3; ++k) {
      FadePalette(lpPalGame, lpPalBlack, -1);
      DrawWorld();
      FlipScreen();
      FadePalette(lpPalBlack, lpPalGame, +1);
    }
    stretch.Report(state);
    state.counters["fade_ms"] = state.counters["wall_ms"] / 6;
  }
}
BENCHMARK(BM_CpuDoorFades)->ArgName("window")->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

// Blows in a fight, one after the other: the explosion's frames, then the shaking with the
// rising damage figure. Neither side can fall.
void BM_CpuBlows(benchmark::State& state) {
  if (!StartSdlGame(state)) return state.SkipWithError(kNoGame);
  EnterHome();
  NpcRecord enemy{};
  for (const NpcRecord& npc : mapTable[2].lpNpcs)
    if (npc.bHostile == 1) enemy = npc;
  enemy.nLife = hero.nLife = 1 << 30;
  const int32_t cursor = 0;
  ArenaScope arena(enemy, 3, cursor);
  DrawBattleScreen(cursor, enemy);
  for (auto _ : state) {
    const Stretch stretch;
    for (int k = 0; k < 2; ++k) {
      enemy = HeroAttack(enemy);
      enemy = EnemyAttack(enemy);
    }
    stretch.Report(state);
  }
  arena.LeaveAsItIs();
}
BENCHMARK(BM_CpuBlows)->ArgName("window")->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

// SDL timer callbacks: a sample of the processor clock, and the player closing the window.
std::atomic<double> gSampleCpu{0};
std::atomic<uint64_t> gSampleCounter{0};
std::atomic<uint64_t> gCloseCounter{0};

Uint32 TakeSample(Uint32, void*) {
  gSampleCpu = UsageSeconds(RUSAGE_SELF);
  gSampleCounter = SDL_GetPerformanceCounter();
  return 0;
}

Uint32 CloseWindow(Uint32, void*) {
  gCloseCounter = SDL_GetPerformanceCounter();
  SDL_Event event{};
  event.type = SDL_QUIT;
  SDL_PushEvent(&event);
  return 0;
}

// A screen that waits for keys, measured for three seconds from `from` ms after it opens; then
// the window is closed, which ends the screen.
void MeasureScreen(benchmark::State& state, Uint32 from, const std::function<void()>& screen) {
  for (auto _ : state) {
    SDL_AddTimer(from, TakeSample, nullptr);
    SDL_AddTimer(from + 3000, CloseWindow, nullptr);
    try {
      screen();
    } catch (const platform::QuitRequested&) {
    }
    const double wall = double(SDL_GetPerformanceCounter() - gSampleCounter) / double(SDL_GetPerformanceFrequency());
    state.counters["cpu_percent"] = 100.0 * (UsageSeconds(RUSAGE_SELF) - gSampleCpu) / wall;
    state.counters["wall_ms"] = wall * 1e3;
  }
}

// The title screen and its menu: without sound from one second after it opens; with its
// music from nine seconds, once the music has been decoded and plays.
void BM_CpuTitleMenu(benchmark::State& state) {
  if (!StartSdlGame()) return state.SkipWithError(kNoGame);
  const bool music = state.range(0) != 0;
  bSoundOn = music ? 1 : 0;
  MeasureScreen(state, music ? 9000 : 1000, RunTitleMenu);
  bSoundOn = 1;
}
BENCHMARK(BM_CpuTitleMenu)->ArgName("music")->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_CpuGameMenu(benchmark::State& state) {
  if (!StartSdlGame()) return state.SkipWithError(kNoGame);
  EnterHome();
  MeasureScreen(state, 1000, RunGameMenu);
}
BENCHMARK(BM_CpuGameMenu)->Iterations(1)->Unit(benchmark::kMillisecond);

// A fight with the first hostile character of the wood, waiting for a command.
void BM_CpuFight(benchmark::State& state) {
  if (!StartSdlGame(state)) return state.SkipWithError(kNoGame);
  EnterHome();
  NpcRecord enemy{};
  for (const NpcRecord& npc : mapTable[2].lpNpcs)
    if (npc.bHostile == 1) enemy = npc;
  MeasureScreen(state, 1500, [&enemy] { RunBattle(enemy, 3, 0); });
}
BENCHMARK(BM_CpuFight)->ArgName("window")->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

constexpr int kOpeningStory = 99001;  // the talk the title types when a new game begins

// The opening story typed on the black screen, a character every 80 ms.
void BM_CpuTypingStory(benchmark::State& state) {
  if (!StartSdlGame(state)) return state.SkipWithError(kNoGame);
  EnterHome();
  ClearScreen(0);
  const std::string story = FindTalk(kOpeningStory, 0);
  MeasureScreen(state, 1000, [&story] { TypeText(story.c_str(), kWhite); });
}
BENCHMARK(BM_CpuTypingStory)->ArgName("window")->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

// The window closed a fifth of a second into a door's fade: how long until the game has
// left the fade and is ending.
void BM_CloseDuringFade(benchmark::State& state) {
  if (!StartSdlGame()) return state.SkipWithError(kNoGame);
  EnterHome();
  for (auto _ : state) {
    SDL_AddTimer(200, CloseWindow, nullptr);
    try {
      FadePalette(lpPalGame, lpPalBlack, -1);
      FadePalette(lpPalBlack, lpPalGame, +1);
    } catch (const platform::QuitRequested&) {
    }
    state.counters["close_ms"] =
        1e3 * double(SDL_GetPerformanceCounter() - gCloseCounter) / double(SDL_GetPerformanceFrequency());
  }
}
BENCHMARK(BM_CloseDuringFade)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
