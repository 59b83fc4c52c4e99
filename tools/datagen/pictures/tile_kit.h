// Pieces shared by the overlay tile painters.
#pragma once

#include <functional>
#include <vector>

#include "brush.h"
#include "image.h"
#include "palette.h"

namespace pictures {

// Each group of overlay tiles hands its tiles to the sheet through this.
using PutTile = std::function<void(int number, const Image& tile)>;

void PaintDecorTiles(const PutTile& put);     // row 0: ground decorations
void PaintNatureTiles(const PutTile& put);    // row 1
void PaintBuildingTiles(const PutTile& put);  // row 2
void PaintInteriorTiles(const PutTile& put);  // row 3
void PaintPalaceTiles(const PutTile& put);    // row 4
void PaintRoomTiles(const PutTile& put);      // row 5: walls and rims of rooms
void PaintShopTiles(const PutTile& put);      // row 6: the shops' furniture
void PaintChestTiles(const PutTile& put);     // the closed and opened chest

inline Image BlankTile() { return Image(32, 32, kKey); }

// Sets a pixel wrapping around the edges of a 32 × 32 tile (for tiles that repeat).
inline void WrapSet(Image& t, int x, int y, std::uint8_t c) { t.Set(((x % 32) + 32) % 32, ((y % 32) + 32) % 32, c); }

// Boards side by side within [x0, x1) × [y0, y1): vertical boards `board` wide, or horizontal ones
// `board` high, each with a lit edge, a dark gap and a little grain.
void Boards(Image& t, int x0, int y0, int x1, int y1, int board, bool vertical, Ramp ramp, int base, int seed);

// The city's paving: setts in four courses of 8 pixels with staggered joints. The ground tile
// and the paving overlays share this layout, so an overlay's setts sit exactly on the ground's.
struct Sett {
  int course, index, x, width;  // x may run past the tile's right edge: it wraps round
};
const std::vector<Sett>& PavingSetts();
// Paints one sett (rounded corners, lit top and left) in `ramp` at `shade`.
void PaintSett(Image& t, const Sett& s, Ramp ramp, int shade);

// Big stone blocks in courses of 8, joints staggered; `lift` brightens (+) or darkens (-) them.
void StoneBlocks(Image& t, int x0, int y0, int x1, int y1, int lift = 0);

// A plaster house wall filling the tile: eave shadow at the top, beam, plaster face, stone plinth.
void HouseWall(Image& t);
// A wooden panelled indoor wall filling the tile.
void InnerWall(Image& t);
// A red lacquered palace wall with gold trim filling the tile.
void PalaceWall(Image& t);

}  // namespace pictures
