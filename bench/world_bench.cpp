// How long the world takes to draw: DrawWorld on the city map against a plain copy of the
// bytes it writes, and one whole paced frame with an arrow key held.
#include <benchmark/benchmark.h>

#include <time.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "app/game_state.h"
#include "app/main_loop.h"
#include "platform/backend.h"
#include "platform/system.h"
#include "video/display.h"
#include "video/draw.h"
#include "world/map_files.h"
#include "world/world_view.h"

namespace {

intptr_t BenchWindowProc(int message, intptr_t wParam, intptr_t lParam) {
  return platform::DefWindowProc(message, wParam, lParam);
}

// The real data set on a fresh headless backend (other benchmarks of this program install
// their own); the city map with the view in its middle.
void StartWorld() {
  platform::headless::Options options;
  options.quitWhenScriptEnds = false;
  options.quitAfterMilliseconds = 0xFFFFFFFFu;
  platform::headless::UseHeadlessBackend(options);
  platform::SetDataDirectory(TAMSEL_DATA_DIR);
  if (!platform::WindowExists()) platform::CreateMainWindow(BenchWindowProc);
  InitDisplay();
  CreateGameFont();
  if (LoadMaps() == 0) {
    // No data set: a 40 × 40 map of scattered walls and decorations stands in for the city.
    MapInfo& map = mapTable[1];
    map.nWidth = map.nHeight = 40;
    map.lpTiles.assign(40 * 40, 0);
    for (size_t k = 0; k < map.lpTiles.size(); ++k)
      map.lpTiles[k] = k % 3 == 0 ? uint16_t(0xA000 + 20 + k % 40) : uint16_t(k % 7);
  } else {
    LoadNpcs();
  }
  InitNewGame();
  nMap = 1;
  nLastFrameTick = int(platform::GetTickCount());  // the fresh backend's clock starts again
}

void PlaceInCity() {
  const MapInfo& map = CurrentMap();
  nViewCol = nLastViewCol = std::max(0, (map.nWidth - 20) / 2);
  nViewRow = nLastViewRow = std::max(0, (map.nHeight - 15) / 2);
  nScrollX = nLastScrollX = 0;
  nScrollY = nLastScrollY = 0;
  hero.nX = hero.nLastX = 304;
  hero.nY = hero.nLastY = 264;
}

// What DrawWorld writes: the 21 × 16 ground cells and the overlays (both clipped to the
// canvas), the characters, the canvas copied to the back buffer, and the hero.
size_t BytesDrawWorldWrites() {
  const MapInfo& map = CurrentMap();
  size_t overlays = 0;
  for (int row = 0; row <= 15; ++row)
    for (int column = 0; column <= 20; ++column) {
      const uint16_t code = TileAt(map, nViewCol + column, nViewRow + row);
      if (code != 0 && !(code >= 0x5000 && code < 0xA000)) ++overlays;
    }
  const size_t screen = 640 * 480;
  return screen + overlays * 32 * 32 + size_t(NpcCount(map)) * 32 * 32 + screen + 32 * 48;
}

double Seconds() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

void BM_DrawWorldCity(benchmark::State& state) {
  StartWorld();
  PlaceInCity();
  for (auto _ : state) {
    DrawWorld();
    benchmark::ClobberMemory();
  }
  // The same number of bytes moved by memcpy, for scale.
  const size_t bytes = BytesDrawWorldWrites();
  std::vector<uint8_t> from(bytes, 1), to(bytes);
  constexpr int kCopies = 2000;
  const double start = Seconds();
  for (int k = 0; k < kCopies; ++k) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  const double copySeconds = (Seconds() - start) / kCopies;
  state.counters["bytes"] = double(bytes);
  state.counters["memcpy_us"] = copySeconds * 1e6;
  // Time per DrawWorld divided by the time of the copy.
  state.counters["ratio_to_memcpy"] = benchmark::Counter(
      copySeconds * double(state.iterations()), benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_DrawWorldCity)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

// One frame as the message loop runs it: 31 ms have passed, the right arrow is held, the
// body moves the view, composes the world, flips, and the backend presents the new page.
void BM_PacedFrameWithArrowHeld(benchmark::State& state) {
  StartWorld();
  platform::headless::PressKey(platform::VK_RIGHT);
  for (auto _ : state) {
    PlaceInCity();
    platform::headless::AdvanceClock(31);
    GameFrame();
    platform::PeekMessage();  // a poll: the backend presents the flipped page
  }
  platform::headless::ReleaseKey(platform::VK_RIGHT);
  state.counters["presents"] = double(platform::headless::GetLog().presents);
}
BENCHMARK(BM_PacedFrameWithArrowHeld)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
