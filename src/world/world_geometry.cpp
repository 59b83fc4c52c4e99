#include "world/world_geometry.h"

#include <algorithm>
#include <limits>

#include "app/game_state.h"

int64_t HeroMapX() { return int64_t(nViewCol) * kCellSize + hero.nX - nScrollX; }
int64_t HeroMapY() { return int64_t(nViewRow) * kCellSize + hero.nY - nScrollY; }

uint16_t CodeAtCell(const MapInfo& map, int64_t column, int64_t row) {
  if (column < 0 || row < 0 || column > std::numeric_limits<int>::max() ||
      row > std::numeric_limits<int>::max()) {
    return 0;
  }
  return TileAt(map, int(column), int(row));
}

uint16_t CodeAtPoint(const MapInfo& map, int64_t x, int64_t y) {
  return CodeAtCell(map, x / kCellSize, y / kCellSize);
}

int ScreenCoordinate(int64_t value) {
  constexpr int64_t kLimit = int64_t(1) << 20;
  return int(std::clamp(value, -kLimit, kLimit));
}
