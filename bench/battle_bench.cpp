// How long the battle screen takes to draw, and what one blow costs per frame it shows: the
// tree demon in the arena of the real data set, on a fresh headless backend.
#include <benchmark/benchmark.h>

#include <cstring>

#include "core/game_state.h"
#include "bench_world.h"
#include "battle/arena.h"
#include "battle/battle.h"
#include "goods/goods.h"
#include "platform/backend/backend.h"
#include "platform/system.h"
#include "video/display.h"
#include "video/draw.h"
#include "world/map_files.h"

namespace {

constexpr int kArena = 3;
// A blow shows ten explosion frames, ten shake steps and the screen with the lowered life.
constexpr int kFramesPerBlow = 21;

// The real data set and a foe from the wood (any character when the wood has none to offer).
NpcRecord StartBattleWorld() {
  StartBenchWorld();
  LoadGoods();
  NpcRecord foe{};
  foe.nLife = foe.nAttack = foe.nDefense = foe.nLevel = 1000;  // four-place figures
  for (const NpcRecord& npc : mapTable[2].lpNpcs) {
    if (npc.bHostile) foe = npc;
  }
  if (mapTable[kArena].lpNpcs.empty()) mapTable[kArena].lpNpcs.resize(1);
  return foe;
}

void BM_DrawBattleScreen(benchmark::State& state) {
  const NpcRecord foe = StartBattleWorld();
  const int32_t cursor = 2;
  ArenaScope arena(foe, kArena, cursor);
  for (auto _ : state) {
    DrawBattleScreen(cursor, foe);
    benchmark::ClobberMemory();
  }
}
BENCHMARK(BM_DrawBattleScreen)->Unit(benchmark::kMicrosecond)->Repetitions(9)->ReportAggregatesOnly(true);

// A whole hero's blow on the virtual clock, whose waits cost only their polls; the counter
// gives the drawing time of one of its frames.
void BM_HeroBlow(benchmark::State& state) {
  const NpcRecord foe = StartBattleWorld();
  const int32_t cursor = 0;
  ArenaScope arena(foe, kArena, cursor);
  hero.nAttack = 30;
  for (auto _ : state) {
    benchmark::DoNotOptimize(HeroAttack(foe).nLife);
  }
  state.counters["per_frame"] = benchmark::Counter(
      double(kFramesPerBlow), benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_HeroBlow)->Unit(benchmark::kMillisecond)->Repetitions(9)->ReportAggregatesOnly(true);

}  // namespace
