// Start-up, presenting and fading: the whole program from its start to the title menu (a
// headless run whose script ends on the title), the data loading of start-up on its own, one
// 640 × 480 page shown through SDL's renderer on the dummy video driver, and the work of one
// fade's 256 palette passes.
#include <SDL.h>
#include <benchmark/benchmark.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "bench_world.h"
#include "platform/display_device.h"
#include "platform/sdl/sdl_screen.h"
#include "platform/system.h"
#include "video/display.h"
#include "video/draw.h"
#include "world/map_files.h"
#include "world/talk.h"

extern char** environ;

namespace {


// Runs tamsel with the given arguments once per iteration: real time per run, and the
// processor time the program used (what a busy machine leaves alone).
void RunWholeProcess(benchmark::State& state, std::vector<std::string> arguments) {
  arguments.insert(arguments.begin(), TAMSEL_PROGRAM);
  std::vector<char*> argv;
  for (std::string& argument : arguments) argv.push_back(argument.data());
  argv.push_back(nullptr);
  const double before = UsageSeconds(RUSAGE_CHILDREN);
  for (auto _ : state) {
    pid_t child = 0;
    if (posix_spawn(&child, TAMSEL_PROGRAM, nullptr, nullptr, argv.data(), environ) != 0) {
      state.SkipWithError("cannot start the game");
      break;
    }
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) state.SkipWithError("the run failed");
  }
  state.counters["process_cpu_ms"] = 1e3 * (UsageSeconds(RUSAGE_CHILDREN) - before) / double(state.iterations());
}

// tamsel --headless with a script that lets the title stand for a millisecond and ends.
void BM_StartUpToTitleWholeProcess(benchmark::State& state) {
  const std::string script = "/tmp/tamsel-bench-title-" + std::to_string(getpid()) + ".txt";
  if (std::FILE* file = std::fopen(script.c_str(), "w")) {
    std::fputs("wait 1\n", file);
    std::fclose(file);
  }
  RunWholeProcess(state, {"--headless", "--script", script, "--shots", "/tmp", "--data", TAMSEL_DATA_DIR});
  std::remove(script.c_str());
}
BENCHMARK(BM_StartUpToTitleWholeProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);

// The shipped demo, headless: the whole story from a new game to the ending and the title.
void BM_DemoWholeProcessHeadless(benchmark::State& state) {
  const std::string shots = "/tmp/tamsel-bench-demo-" + std::to_string(getpid());
  RunWholeProcess(state, {"--headless", "--demo", "--shots", shots, "--data", TAMSEL_DATA_DIR});
  std::filesystem::remove_all(shots);
}
BENCHMARK(BM_DemoWholeProcessHeadless)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(5);

// What start-up loads before the title: every picture, the dialogue, the font, maps and
// characters (the window and the device already exist).
void BM_StartUpDataLoading(benchmark::State& state) {
  StartBenchWorld();
  for (auto _ : state) {
    InitDisplay();
    LoadTalkText();
    CreateGameFont();
    LoadMaps();
    LoadNpcs();
  }
}
BENCHMARK(BM_StartUpDataLoading)->Unit(benchmark::kMillisecond);

void BM_PresentFrameSdlDummy(benchmark::State& state) {
  setenv("SDL_VIDEODRIVER", "dummy", 1);
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return state.SkipWithError("no SDL video");
  {
    platform::Settings windowed;
    windowed.fullscreen = false;
    const auto screen = platform::sdl::SdlScreen::Open(windowed);
    platform::Surface page(platform::kScreenWidth, platform::kScreenHeight);
    for (int i = 0; i < page.Width() * page.Height(); ++i) page.Pixels()[i] = uint8_t(i * 7 + i / 640);
    platform::Palette palette{};
    for (int i = 0; i < 256; ++i) palette[size_t(i)] = {uint8_t(i), uint8_t(255 - i), uint8_t(i / 2), 0};
    for (auto _ : state) {
      if (screen) screen->Present(&page, palette);
    }
    if (!screen) state.SkipWithError("no window");
  }
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
}
BENCHMARK(BM_PresentFrameSdlDummy)->Unit(benchmark::kMicrosecond);

// The passes of one fade from the game's colours to black, with their loads into the palette
// (the headless backend shows each at once and takes no time for it).
void BM_OneFadeWork(benchmark::State& state) {
  StartBenchWorld();
  for (auto _ : state) FadePalette(lpPalGame, lpPalBlack, -1);
}
BENCHMARK(BM_OneFadeWork)->Unit(benchmark::kMicrosecond);

}  // namespace
