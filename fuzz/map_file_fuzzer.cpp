// A map file as the first map: read by the map loader, then drawn with the hero at both
// corners the view can reach.
#include <cstdint>

#include "core/game_state.h"
#include "fuzz_world.h"
#include "world/map_files.h"
#include "world/world_view.h"

namespace {

void PlaceView(int col, int row, int scrollX, int scrollY) {
  nViewCol = nLastViewCol = col;
  nViewRow = nLastViewRow = row;
  nScrollX = nLastScrollX = scrollX;
  nScrollY = nLastScrollY = scrollY;
  hero.nX = hero.nLastX = 304;
  hero.nY = hero.nLastY = 264;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::StartWorld();
  fuzz::WriteGameFile("maps\\home.map", data, size);
  MapInfo& map = mapTable[0];
  map.nWidth = map.nHeight = 0;
  map.lpTiles.clear();
  // Only the first map file is in the scratch folder: the loader reads it and stops at the
  // second, leaving the other maps as they are.
  LoadMaps();
  fuzz::Require(map.lpTiles.size() == size_t(map.nWidth) * size_t(map.nHeight),
                "the grid holds width × height codes");
  fuzz::Require(map.nGroundTile >= 0 && map.nGroundTile <= 9, "the ground tile names a picture");

  nMap = 0;
  PlaceView(0, 0, 0, 0);
  DrawWorld();
  PlaceView(map.nWidth - 20, map.nHeight - 15, -32, -32);
  DrawWorld();
  return 0;
}
