// A saved game in slot 1, loaded against the maps of the real data set, then drawn with the
// position and the characters it gave. Each run starts again from the same game.
#include <cstdint>
#include <cstring>

#include "core/game_state.h"
#include "saves/save_game.h"
#include "fuzz_world.h"
#include "platform/backend/backend.h"
#include "world/world_view.h"

namespace {

struct Game {
  MapInfo maps[kMapCount];
  NpcRecord player;
  int32_t view[11];
};

int32_t* const kViewFields[] = {&nMap,     &nViewCol,     &nViewRow,     &nLastViewCol,
                                &nLastViewRow, &nScrollX, &nScrollY,     &nLastScrollX,
                                &nLastScrollY, &nStoryStage, &nStoryFlag};

Game Capture() {
  Game game;
  for (int m = 0; m < kMapCount; ++m) game.maps[m] = mapTable[m];
  game.player = hero;
  for (int k = 0; k < 11; ++k) game.view[k] = *kViewFields[k];
  return game;
}

void Restore(const Game& game) {
  for (int m = 0; m < kMapCount; ++m) mapTable[m] = game.maps[m];
  hero = game.player;
  for (int k = 0; k < 11; ++k) *kViewFields[k] = game.view[k];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::StartWorld();
  platform::headless::ClearLog();  // refusals are reported in the log: keep it small
  static const Game start = Capture();
  Restore(start);
  fuzz::WriteGameFile("save\\1.sav", data, size);
  if (LoadGame(0) == 0) {
    const Game after = Capture();
    fuzz::Require(std::memcmp(&after.player, &start.player, sizeof hero) == 0 &&
                      std::memcmp(after.view, start.view, sizeof after.view) == 0,
                  "a refused saved game changes nothing");
    return 0;
  }
  for (const MapInfo& map : mapTable) {
    fuzz::Require(map.lpTiles.size() == size_t(map.nWidth) * size_t(map.nHeight), "grids keep their size");
    fuzz::Require(size_t(NpcCount(map)) <= map.lpNpcs.size(), "counts name records that exist");
  }
  DrawWorld();
  return 0;
}
