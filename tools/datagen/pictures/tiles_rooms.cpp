// Row 5 of the overlay sheet: the shell of a room. The back wall shows its face; the side and
// front walls show only their tops, as rims on the cell's outer side, because a figure standing
// against a wall cell reaches a few pixels into it and must not seem to sink into the wall.
#include "tile_kit.h"

namespace pictures {
namespace {

constexpr int kRim = 22;       // width of a side rim, height of a front rim
constexpr int kFrontTop = 10;  // a front rim starts this far down its cell

// The top of a wooden wall seen from above: a beam with a lit edge toward the room's light,
// plank joints across it and a dark line where it drops to the floor.
void RimAcross(Image& t, int x0, int x1, int y0, int y1) {
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      int shade = 3;
      if (y == y0) shade = 4;
      else if (y == y1 - 1) shade = 0;
      else if (y == y1 - 2) shade = 1;
      else if (x % 16 == 15) shade = 1;
      else if ((x + 3 * y) % 11 == 0) shade = 2;
      t.Set(x, y, C(Ramp::Wood, shade));
    }
}

void RimDown(Image& t, int x0, int x1, int y0, int y1, bool lit_inside) {
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      int shade = 3;
      const bool outer = lit_inside ? x == x0 : x == x1 - 1;
      const bool inner = lit_inside ? x == x1 - 1 : x == x0;
      if (outer) shade = 1;
      else if (inner) shade = lit_inside ? 4 : 0;
      else if (x == (lit_inside ? x1 - 2 : x0 + 1)) shade = lit_inside ? 4 : 1;
      else if (y % 16 == 15) shade = 1;
      else if ((3 * x + y) % 11 == 0) shade = 2;
      t.Set(x, y, C(Ramp::Wood, shade));
    }
}

Image Void() { return Image(32, 32, kBlack); }

// A side rim; the light from the top left falls on the right wall's inner face.
Image WallSide(bool left) {
  Image t = BlankTile();
  if (left) RimDown(t, 0, kRim, 0, 32, false);
  else RimDown(t, 32 - kRim, 32, 0, 32, true);
  return t;
}

Image WallFront() {
  Image t = BlankTile();
  RimAcross(t, 0, 32, kFrontTop, 32);
  return t;
}

Image Corner(bool left) {
  Image t = WallFront();
  if (left) RimDown(t, 0, kRim, 0, kFrontTop + 1, false);
  else RimDown(t, 32 - kRim, 32, 0, kFrontTop + 1, true);
  return t;
}

Image Exit() {
  Image t = BlankTile();
  RimAcross(t, 0, 6, kFrontTop, 32);
  RimAcross(t, 26, 32, kFrontTop, 32);
  // The ends of the rim where the doorway cuts it, and a worn stone threshold between them.
  t.Fill(5, kFrontTop, 1, 32 - kFrontTop, C(Ramp::Wood, 1));
  t.Fill(26, kFrontTop, 1, 32 - kFrontTop, C(Ramp::Wood, 4));
  ShadeFlat(t, Box(6, 18, 26, 27), Ramp::Stone, 4);
  t.Fill(6, 27, 20, 5, C(Ramp::Ink, 1));
  t.Fill(10, 21, 3, 1, C(Ramp::Stone, 3));
  t.Fill(19, 23, 4, 1, C(Ramp::Stone, 3));
  return t;
}

Image StoneWall() {
  Image t = BlankTile();
  StoneBlocks(t, 0, 0, 32, 32, -1);
  // Soot along the top where the forge's smoke gathers, and a dark foot.
  for (int x = 0; x < 32; ++x) {
    const int soot = 3 + static_cast<int>(Hash(x / 3, 0, 17) % 4);
    for (int y = 0; y < soot; ++y) t.Set(x, y, C(Ramp::Ink, y < 2 ? 1 : 2));
  }
  t.Fill(0, 30, 32, 2, C(Ramp::Stone, 0));
  return t;
}

Image StoneWallTools() {
  Image t = StoneWall();
  // A peg rail with tongs, a hammer and a horseshoe.
  t.Fill(2, 8, 28, 2, C(Ramp::Wood, 2));
  t.Fill(2, 8, 28, 1, C(Ramp::Wood, 4));
  Line(t, 7, 10, 5, 24, C(Ramp::Steel, 4));
  Line(t, 8, 10, 10, 24, C(Ramp::Steel, 2));
  t.Fill(6, 9, 3, 2, C(Ramp::Steel, 1));
  t.Fill(15, 10, 2, 12, C(Ramp::Wood, 3));
  ShadeFlat(t, Box(12, 20, 20, 25), Ramp::Steel, 3);
  for (int a = 0; a < 9; ++a) {
    const int x = 22 + (a < 3 ? 0 : a < 6 ? a - 3 : 3) + (a >= 6 ? 1 : 0);
    const int y = a < 3 ? 12 + a * 2 : a < 6 ? 18 : 16 - (a - 6) * 2;
    t.Set(x, y, C(Ramp::Steel, 4));
    t.Set(x + 1, y + 1, C(Ramp::Steel, 2));
  }
  return t;
}

Image WallScroll() {
  Image t = BlankTile();
  InnerWall(t);
  // A hanging scroll: rod, cord, paper with a column of brushed characters, weighted roller.
  t.Fill(9, 4, 14, 2, C(Ramp::Wood, 1));
  t.Set(15, 2, C(Ramp::Wood, 0));
  t.Set(16, 2, C(Ramp::Wood, 0));
  t.Set(14, 3, C(Ramp::Wood, 0));
  t.Set(17, 3, C(Ramp::Wood, 0));
  ShadeFlat(t, Box(10, 6, 22, 25), Ramp::Plaster, 4);
  t.Fill(10, 6, 12, 2, C(Ramp::Jade, 2));
  for (int k = 0; k < 4; ++k) {
    const int y = 9 + k * 4;
    t.Fill(15, y, 2, 1, C(Ramp::Ink, 1));
    t.Set(14 + k % 2 * 3, y + 1, C(Ramp::Ink, 1));
    t.Set(16, y + 2, C(Ramp::Ink, 2));
  }
  t.Set(18, 22, C(Ramp::Red, 3));
  t.Fill(9, 25, 14, 2, C(Ramp::Wood, 1));
  return t;
}

}  // namespace

void PaintRoomTiles(const PutTile& put) {
  put(100, Void());
  put(101, WallSide(true));
  put(102, WallSide(false));
  put(103, WallFront());
  put(104, Corner(true));
  put(105, Corner(false));
  put(106, Exit());
  put(107, StoneWall());
  put(108, StoneWallTools());
  put(109, WallScroll());
}

}  // namespace pictures
