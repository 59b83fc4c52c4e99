#include "core/map_types.h"

#include <cstddef>

MapInfo mapTable[kMapCount];

uint16_t TileAt(const MapInfo& map, int column, int row) {
  if (column < 0 || row < 0 || column >= map.nWidth || row >= map.nHeight) return 0;
  const size_t index = size_t(row) * size_t(map.nWidth) + size_t(column);
  return index < map.lpTiles.size() ? map.lpTiles[index] : 0;
}

void SetTileAt(MapInfo& map, int column, int row, uint16_t code) {
  if (column < 0 || row < 0 || column >= map.nWidth || row >= map.nHeight) return;
  const size_t index = size_t(row) * size_t(map.nWidth) + size_t(column);
  if (index < map.lpTiles.size()) map.lpTiles[index] = code;
}

int NpcCount(const MapInfo& map) {
  if (map.nNpcCount <= 0) return 0;
  const size_t held = map.lpNpcs.size();
  return size_t(map.nNpcCount) < held ? map.nNpcCount : int(held);
}
