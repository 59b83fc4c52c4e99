#include "world/world_geometry.h"

#include <algorithm>
#include <limits>

#include "core/game_state.h"

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

int64_t Separation(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  const int64_t dx = x1 > x2 ? x1 - x2 : x2 - x1;
  const int64_t dy = y1 > y2 ? y1 - y2 : y2 - y1;
  return std::max(dx, dy);
}

bool MoveComesTooClose(int64_t fromX, int64_t fromY, int64_t toX, int64_t toY, int64_t otherX,
                       int64_t otherY) {
  constexpr int64_t kPersonalSpace = 24;
  const int64_t after = Separation(toX, toY, otherX, otherY);
  return after <= kPersonalSpace && after <= Separation(fromX, fromY, otherX, otherY);
}

int ScreenCoordinate(int64_t value) {
  constexpr int64_t kLimit = int64_t(1) << 20;
  return int(std::clamp(value, -kLimit, kLimit));
}
