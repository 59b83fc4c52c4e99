// One whole paced frame of the world with an arrow key held.
#include <benchmark/benchmark.h>

#include "app/main_loop.h"
#include "bench_world.h"
#include "platform/backend/backend.h"
#include "platform/system.h"

namespace {

// One frame as the message loop runs it: 31 ms have passed, the right arrow is held, the
// body moves the view, composes the world, flips, and the backend presents the new page.
void BM_PacedFrameWithArrowHeld(benchmark::State& state) {
  StartBenchWorld();
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
