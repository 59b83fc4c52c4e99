// A character file as the first map's: read by the character loader, drawn on the real first
// map, and walked for a few character ticks.
#include <cstdint>
#include <cstring>

#include "core/game_state.h"
#include "core/random.h"
#include "fuzz_world.h"
#include "video/draw.h"
#include "world/map_files.h"
#include "world/npc_tick.h"
#include "world/world_view.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::StartWorld();
  fuzz::WriteGameFile("maps\\home.npc", data, size);
  // Only the first character file is in the scratch folder; the other maps get none.
  LoadNpcs();
  const MapInfo& map = mapTable[0];
  fuzz::Require(map.nNpcCount >= 0 && size_t(map.nNpcCount) <= map.lpNpcs.size(),
                "the count names records that exist");
  for (const NpcRecord& npc : map.lpNpcs) {
    fuzz::Require(strnlen(npc.szName, sizeof npc.szName) < sizeof npc.szName, "a name ends");
    fuzz::Require(strnlen(npc.szGoods, sizeof npc.szGoods) < sizeof npc.szGoods, "goods end");
  }

  InitNewGame();
  nMap = 0;
  DrawWorld();
  // No one hostile: a character that reached the hero would talk and fight, and both wait for
  // keys. The same random numbers every run, so a run can be repeated.
  for (NpcRecord& npc : mapTable[0].lpNpcs) npc.bHostile = 0;
  SeedRandom(1);
  for (int tick = 0; tick < 3; ++tick) MoveNpcs();
  return 0;
}
