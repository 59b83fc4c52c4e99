// Processor use of the real game on the real clock, with SDL's dummy video and audio drivers:
// on the title menu, standing in the world, walking, in the in-game menu, in a fight, and
// through a door's two fades; and how long closing the window takes in the middle of a fade. Each measures a few seconds of real
// time with getrusage (every thread of the process, SDL's included) and reports the share of
// one core as cpu_percent.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <atomic>
#include <cstdlib>
#include <functional>

#include "app/game_state.h"
#include "app/main_loop.h"
#include "app/title.h"
#include "bench_world.h"
#include "battle/battle.h"
#include "goods/game_menu.h"
#include "goods/goods.h"
#include "platform/backend.h"
#include "platform/system.h"
#include "sound/sound.h"
#include "video/display.h"
#include "video/draw.h"
#include "world/map_files.h"
#include "world/talk.h"
#include "world/world_view.h"

namespace {


// Processor time and real time from the start of a stretch.
struct Stretch {
  double cpu = UsageSeconds(RUSAGE_SELF);
  uint64_t start = SDL_GetPerformanceCounter();
  double WallSeconds() const {
    return double(SDL_GetPerformanceCounter() - start) / double(SDL_GetPerformanceFrequency());
  }
  void Report(benchmark::State& state) const {
    const double wall = WallSeconds();
    state.counters["cpu_percent"] = 100.0 * (UsageSeconds(RUSAGE_SELF) - cpu) / wall;
    state.counters["wall_ms"] = wall * 1e3;
  }
};

// The game on the SDL backend with the dummy drivers, started as the program starts it,
// then set down in the home with the game's colours.
bool StartSdlGame() {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
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

void BM_CpuStandingInWorld(benchmark::State& state) {
  if (!StartSdlGame()) return state.SkipWithError("no SDL dummy display or no data set");
  EnterHome();
  for (auto _ : state) {
    RunWorld(500, false);  // settle
    const Stretch stretch;
    RunWorld(3000, false);
    stretch.Report(state);
  }
}
BENCHMARK(BM_CpuStandingInWorld)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_CpuWalking(benchmark::State& state) {
  if (!StartSdlGame()) return state.SkipWithError("no SDL dummy display or no data set");
  EnterHome();
  for (auto _ : state) {
    const Stretch stretch;
    RunWorld(3000, true);
    stretch.Report(state);
    state.counters["hero_x"] = hero.nX;
  }
}
BENCHMARK(BM_CpuWalking)->Iterations(1)->Unit(benchmark::kMillisecond);

// A door: fade out, the new place drawn in the dark, fade in; three times.
void BM_CpuDoorFades(benchmark::State& state) {
  if (!StartSdlGame()) return state.SkipWithError("no SDL dummy display or no data set");
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
BENCHMARK(BM_CpuDoorFades)->Iterations(1)->Unit(benchmark::kMillisecond);

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
  if (!StartSdlGame()) return state.SkipWithError("no SDL dummy display or no data set");
  const bool music = state.range(0) != 0;
  bSoundOn = music ? 1 : 0;
  MeasureScreen(state, music ? 9000 : 1000, RunTitleMenu);
  bSoundOn = 1;
}
BENCHMARK(BM_CpuTitleMenu)->ArgName("music")->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_CpuGameMenu(benchmark::State& state) {
  if (!StartSdlGame()) return state.SkipWithError("no SDL dummy display or no data set");
  EnterHome();
  MeasureScreen(state, 1000, RunGameMenu);
}
BENCHMARK(BM_CpuGameMenu)->Iterations(1)->Unit(benchmark::kMillisecond);

// A fight with the first hostile character of the wood, waiting for a command.
void BM_CpuFight(benchmark::State& state) {
  if (!StartSdlGame()) return state.SkipWithError("no SDL dummy display or no data set");
  EnterHome();
  NpcRecord enemy{};
  for (const NpcRecord& npc : mapTable[2].lpNpcs)
    if (npc.bHostile == 1) enemy = npc;
  MeasureScreen(state, 1500, [&enemy] { RunBattle(enemy, 3, 0); });
}
BENCHMARK(BM_CpuFight)->Iterations(1)->Unit(benchmark::kMillisecond);

// The window closed a fifth of a second into a door's fade: how long until the game has
// left the fade and is ending.
void BM_CloseDuringFade(benchmark::State& state) {
  if (!StartSdlGame()) return state.SkipWithError("no SDL dummy display or no data set");
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
