// Row 2 of the overlay sheet: houses, shops and the city wall seen from above and in front.
#include "tile_kit.h"

namespace pictures {
namespace {

// A roof fills only the lower part of its cell: a figure walking down towards a building
// stops with its feet about this far into the roof's cell, right at the ridge.
constexpr int kRidge = 10;

// The ridge cap along the top, then rows of round roof tiles, 8 pixels a course.
void RoofCourses(Image& t, int x0, int x1) {
  for (int y = kRidge; y < 32; ++y)
    for (int x = x0; x < x1; ++x) {
      const int course = (y - kRidge - 3) % 8, col = (x + ((y - kRidge - 3) / 8 % 2) * 3) % 6;
      int shade;
      if (y < kRidge + 3) shade = y == kRidge ? 5 : y == kRidge + 1 ? 3 : 0;  // the ridge cap
      else if (course == 7) shade = 0;               // shadow under the tile row above
      else if (course == 6) shade = 1;
      else if (col == 0) shade = 1;                  // the gap between rolls
      else if (col == 1) shade = 4;                  // lit side of a roll
      else if (col == 2) shade = 3;
      else if (col == 5) shade = 2;
      else shade = course < 2 ? 4 : 3;
      t.Set(x, y, C(Ramp::RoofTile, shade));
    }
}

Image Roof() {
  Image t = BlankTile();
  RoofCourses(t, 0, 32);
  return t;
}

// The end of a roof: a raised verge roll along the gable and an upturned eave corner.
Image RoofEnd(bool left) {
  Image t = BlankTile();
  RoofCourses(t, 4, 32);
  for (int y = kRidge; y < 32; ++y) {
    t.Set(2, y, C(Ramp::RoofTile, 4));
    t.Set(3, y, C(Ramp::RoofTile, 3));
    t.Set(4, y, C(Ramp::RoofTile, 2));
    t.Set(5, y, C(Ramp::RoofTile, 0));
  }
  // Upturned tips at the ridge and at the foot of the verge.
  t.Fill(0, kRidge - 2, 3, 3, C(Ramp::RoofTile, 4));
  t.Fill(0, 27, 3, 3, C(Ramp::RoofTile, 3));
  t.Set(0, 26, C(Ramp::RoofTile, 4));
  t.Fill(0, 30, 3, 1, C(Ramp::RoofTile, 1));
  OutlineSprite(t);
  return left ? t : t.Mirrored();
}

Image Wall() {
  Image t = BlankTile();
  HouseWall(t);
  return t;
}

Image Window() {
  Image t = BlankTile();
  HouseWall(t);
  // Frame, then warm lit panes with a wooden lattice.
  t.Fill(8, 9, 16, 15, C(Ramp::Wood, 2));
  t.Fill(8, 9, 16, 1, C(Ramp::Wood, 4));
  t.Fill(8, 23, 16, 1, C(Ramp::Wood, 1));
  for (int y = 11; y < 22; ++y)
    for (int x = 10; x < 22; ++x) {
      const bool lattice = (x == 15 || x == 16 || y == 16);
      t.Set(x, y, lattice ? C(Ramp::Wood, 1) : C(Ramp::Gold, y < 13 ? 4 : 5));
    }
  t.Fill(7, 24, 18, 1, C(Ramp::Wood, 3));  // sill
  return t;
}

Image Door() {
  Image t = BlankTile();
  HouseWall(t);
  // Lintel and door posts.
  t.Fill(6, 7, 20, 2, C(Ramp::Wood, 1));
  t.Fill(6, 9, 2, 23, C(Ramp::Wood, 2));
  t.Fill(24, 9, 2, 23, C(Ramp::Wood, 1));
  // Two leaves of vertical boards.
  Boards(t, 8, 9, 24, 32, 4, true, Ramp::Wood, 3, 45);
  t.Fill(15, 9, 2, 23, C(Ramp::Wood, 1));
  // Ring handles.
  t.Set(13, 20, C(Ramp::Gold, 4));
  t.Set(18, 20, C(Ramp::Gold, 4));
  t.Set(13, 21, C(Ramp::Gold, 2));
  t.Set(18, 21, C(Ramp::Gold, 2));
  return t;
}

// A hanging shop sign on the wall; `icon` paints its picture inside the board.
template <typename Icon>
void HangingSign(Image& t, Icon icon) {
  t.Fill(7, 8, 1, 3, C(Ramp::Stone, 1));
  t.Fill(24, 8, 1, 3, C(Ramp::Stone, 1));
  const Shape board = Box(4, 11, 28, 25);
  ShadeFlat(t, board, Ramp::Wood, 3);
  t.Fill(6, 13, 20, 10, C(Ramp::Sand, 3));
  t.Fill(6, 13, 20, 1, C(Ramp::Sand, 2));
  icon(t);
}

Image ShopDoor() {
  Image t = BlankTile();
  HouseWall(t);
  // The doorway is open: the dark shop inside with a glimpse of warm floor.
  t.Fill(5, 8, 22, 24, C(Ramp::Wood, 0));
  t.Fill(7, 10, 18, 22, C(Ramp::Ink, 1));
  t.Fill(7, 27, 18, 5, C(Ramp::Wood, 2));
  t.Fill(7, 26, 18, 1, C(Ramp::Wood, 1));
  // A folded door leaf on the left.
  Boards(t, 7, 10, 11, 32, 2, true, Ramp::Wood, 3, 46);
  // Cloth banner hanging from the lintel.
  t.Fill(4, 7, 24, 2, C(Ramp::Wood, 2));
  for (int x = 12; x < 26; ++x)
    for (int y = 9; y < 15 + (x % 4 == 0 ? 1 : 0); ++y) t.Set(x, y, C(Ramp::Blue, x < 14 ? 4 : y == 9 ? 4 : 3));
  t.Fill(16, 11, 6, 1, C(Ramp::Plaster, 4));
  t.Fill(18, 10, 2, 4, C(Ramp::Plaster, 4));
  return t;
}

Image SignGoods() {
  Image t = BlankTile();
  HouseWall(t);
  HangingSign(t, [](Image& s) {
    // A tied sack.
    const Shape sack = Union(Ellipse(16, 19, 5, 3.5), Box(14, 14, 18, 17));
    ShadeBall(s, sack, 15, 17, 6, 6, Ramp::Earth, 2, 5);
    s.Fill(14, 16, 4, 1, C(Ramp::Red, 2));
    s.Set(13, 14, C(Ramp::Earth, 4));
    s.Set(18, 14, C(Ramp::Earth, 3));
  });
  return t;
}

Image SignArms() {
  Image t = BlankTile();
  HouseWall(t);
  HangingSign(t, [](Image& s) {
    // A sword lying across the board.
    Line(s, 9, 21, 21, 15, C(Ramp::Steel, 5));
    Line(s, 10, 21, 22, 15, C(Ramp::Steel, 3));
    Line(s, 20, 14, 22, 16, C(Ramp::Steel, 5));
    Line(s, 7, 20, 10, 23, C(Ramp::Gold, 3));
    s.Set(7, 22, C(Ramp::Wood, 1));
    s.Set(6, 23, C(Ramp::Wood, 1));
  });
  return t;
}

Image SignTrade() {
  Image t = BlankTile();
  HouseWall(t);
  HangingSign(t, [](Image& s) {
    // A round coin with a square hole.
    ShadeBall(s, Ellipse(16, 18, 4.5, 4.5), 16, 18, 4.5, 4.5, Ramp::Gold, 1, 5);
    s.Fill(15, 17, 2, 2, C(Ramp::Sand, 3));
    s.Set(14, 17, C(Ramp::Gold, 1));
    s.Set(14, 18, C(Ramp::Gold, 1));
  });
  return t;
}

Image CityWall() {
  Image t = BlankTile();
  StoneBlocks(t, 0, 0, 32, 32);
  // A few mossy and cracked spots.
  t.Set(5, 6, C(Ramp::Grass, 2));
  t.Set(6, 6, C(Ramp::Grass, 3));
  t.Set(22, 22, C(Ramp::Stone, 1));
  t.Set(23, 21, C(Ramp::Stone, 1));
  return t;
}

// A tower of the south gatehouse: stacked on either side of the open way out, heavier than the
// wall, with dressed corner stones, an arrow slit and an iron lamp bracket, so that the ground
// between two of them reads as the gateway.
Image CityGate() {
  Image t = BlankTile();
  StoneBlocks(t, 0, 0, 32, 32, 1);
  // Dressed corner stones down both edges, alternately long and short, lit on the left.
  for (int y = 0; y < 32; ++y) {
    const bool longStone = y % 16 < 8;
    const int width = longStone ? 6 : 4;
    for (int x = 0; x < width; ++x) {
      const int shade = y % 8 == 7 ? 1 : x == 0 ? 5 : 4;
      t.Set(x, y, C(Ramp::Stone, shade));
      t.Set(31 - x, y, C(Ramp::Stone, y % 8 == 7 ? 0 : x == 0 ? 1 : 2));
    }
  }
  // The arrow slit with its stone frame, dark inside.
  ShadeFlat(t, Box(13, 5, 19, 23), Ramp::Stone, 5);
  t.Fill(15, 7, 2, 14, C(Ramp::Stone, 0));
  t.Fill(14, 12, 4, 2, C(Ramp::Stone, 0));
  // A red gate banner stripe under the slit.
  t.Fill(12, 25, 8, 5, C(Ramp::Lacquer, 3));
  t.Fill(12, 25, 8, 1, C(Ramp::Gold, 4));
  t.Fill(12, 29, 8, 1, C(Ramp::Lacquer, 1));
  return t;
}

Image Lantern() {
  Image t = BlankTile();
  // Base, post, fire box with a glowing opening, and a flared cap.
  ShadeFlat(t, Box(9, 27, 23, 31), Ramp::Stone, 3);
  ShadeFlat(t, Box(13, 18, 19, 27), Ramp::Stone, 4);
  ShadeFlat(t, Box(10, 15, 22, 18), Ramp::Stone, 4);
  ShadeFlat(t, Box(11, 8, 21, 15), Ramp::Stone, 4);
  t.Fill(13, 10, 6, 4, C(Ramp::Fire, 4));
  t.Fill(14, 11, 4, 2, C(Ramp::Gold, 5));
  const Shape cap = Polygon({{6, 8}, {16, 2}, {26, 8}, {22, 8}});
  ShadeFlat(t, cap, Ramp::Stone, 4);
  t.Fill(15, 0, 2, 2, C(Ramp::Stone, 5));
  OutlineSprite(t);
  return t;
}

Image PalaceGate() {
  Image t(32, 32, C(Ramp::Lacquer, 3));
  // Gold frame, two red leaves with rows of gold studs and lion-head rings.
  t.Fill(0, 0, 32, 3, C(Ramp::Gold, 3));
  t.Fill(0, 0, 32, 1, C(Ramp::Gold, 5));
  t.Fill(0, 2, 32, 1, C(Ramp::Gold, 1));
  for (int y = 3; y < 32; ++y) {
    t.Set(0, y, C(Ramp::Gold, 4));
    t.Set(1, y, C(Ramp::Gold, 2));
    t.Set(30, y, C(Ramp::Gold, 2));
    t.Set(31, y, C(Ramp::Gold, 1));
    t.Set(15, y, C(Ramp::Lacquer, 0));
    t.Set(16, y, C(Ramp::Lacquer, 1));
    t.Set(2, y, C(Ramp::Lacquer, 4));
    t.Set(17, y, C(Ramp::Lacquer, 4));
  }
  for (int y = 6; y < 31; y += 5)
    for (int x = 4; x < 30; x += 4) {
      if (x == 16) continue;
      t.Set(x, y, C(Ramp::Gold, 5));
      t.Set(x + 1, y + 1, C(Ramp::Gold, 2));
    }
  for (const int cx : {12, 20}) {
    t.Fill(cx - 1, 17, 3, 3, C(Ramp::Gold, 3));
    t.Set(cx - 1, 17, C(Ramp::Gold, 5));
    t.Set(cx, 20, C(Ramp::Gold, 1));
  }
  return t;
}

}  // namespace

void PaintBuildingTiles(const PutTile& put) {
  put(40, RoofEnd(true));
  put(41, Roof());
  put(42, RoofEnd(false));
  put(43, Wall());
  put(44, Window());
  put(45, Door());
  put(46, ShopDoor());
  put(47, CityWall());
  put(48, CityGate());
  put(49, Lantern());
  put(50, SignGoods());
  put(51, SignArms());
  put(52, SignTrade());
  put(53, PalaceGate());
}

}  // namespace pictures
