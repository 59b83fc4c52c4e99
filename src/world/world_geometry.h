// Positions on the map shared by the world drawing, the hero's walking and the tile events.
// Arithmetic on positions is done in 64 bits: a damaged saved game may hold any values, and a
// far-off position must simply find no cell instead of overflowing.
#pragma once

#include <cstdint>

#include "core/map_types.h"

constexpr int kOverlayTilesPerRow = 20;
constexpr int kClosedChestTile = 301;

// The hero's map position: the left edge and the feet line of its frame.
int64_t HeroMapX();
int64_t HeroMapY();

// The code of a cell; 0 (plain ground) outside the grid.
uint16_t CodeAtCell(const MapInfo& map, int64_t column, int64_t row);
// The code of the cell holding a map point; cells are found by division rounding toward
// zero, so a point a few pixels above or left of the map still counts as row or column 0.
uint16_t CodeAtPoint(const MapInfo& map, int64_t x, int64_t y);

// How far apart two map points are: the larger of the two axis distances.
int64_t Separation(int64_t x1, int64_t y1, int64_t x2, int64_t y2);
// Whether a figure (the hero or a character) moving from one point to another comes too close
// to a figure standing at (otherX, otherY): the move ends within 24 pixels of it in both axes
// and does not leave the two farther apart than before. A figure already set down against
// another may step away, but never on through it.
bool MoveComesTooClose(int64_t fromX, int64_t fromY, int64_t toX, int64_t toY, int64_t otherX,
                       int64_t otherY);

// A coordinate handed to the blitter, kept within a range where its clipping cannot overflow.
int ScreenCoordinate(int64_t value);
