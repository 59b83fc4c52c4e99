#include "bench_world.h"

#include <sys/resource.h>
#include <time.h>

#include "app/main_loop.h"
#include "core/game_state.h"
#include "platform/backend/backend.h"
#include "platform/system.h"
#include "video/display.h"
#include "video/draw.h"
#include "world/map_files.h"

namespace {

intptr_t BenchWindowProc(int message, intptr_t wParam, intptr_t lParam) {
  return platform::DefWindowProc(message, wParam, lParam);
}

}  // namespace

void StartBenchWorld() {
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

double ThreadSeconds() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

double UsageSeconds(int who) {
  rusage usage{};
  getrusage(who, &usage);
  return double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) +
         double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) * 1e-6;
}
