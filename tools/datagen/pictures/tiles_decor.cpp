// Row 0 of the overlay sheet: things lying on the ground that the hero walks over.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <tuple>

#include "tile_kit.h"

namespace pictures {
namespace {

void Flower(Image& t, int x, int y, Ramp petal) {
  t.Set(x, y + 2, C(Ramp::Leaf, 2));
  t.Set(x, y + 3, C(Ramp::Leaf, 1));
  t.Set(x - 1, y + 3, C(Ramp::Leaf, 3));
  t.Set(x - 1, y, C(petal, 4));
  t.Set(x + 1, y, C(petal, 2));
  t.Set(x, y - 1, C(petal, 4));
  t.Set(x, y + 1, C(petal, 2));
  t.Set(x, y, C(Ramp::Gold, 5));
}

Image Flowers() {
  Image t = BlankTile();
  const struct { int x, y; Ramp r; } kSpots[] = {{6, 7, Ramp::Pink}, {20, 5, Ramp::Gold}, {13, 15, Ramp::Red},
                                                 {26, 18, Ramp::Pink}, {5, 24, Ramp::Purple}, {18, 26, Ramp::Gold},
                                                 {27, 28, Ramp::Red}};
  for (const auto& s : kSpots) Flower(t, s.x, s.y, s.r);
  return t;
}

void TallBlades(Image& t, int x, int y, int height) {
  for (int b = 0; b < 3; ++b) {
    const int bx = x + b * 2 - 2;
    const int top = y - height + (b == 1 ? 0 : 2);
    for (int yy = top; yy <= y; ++yy) {
      const int lean = (b == 0 && yy < y - 3) ? -1 : (b == 2 && yy < y - 3) ? 1 : 0;
      int shade = yy < top + 2 ? 5 : yy > y - 2 ? 1 : 3;
      t.Set(bx + lean, yy, C(Ramp::Grass, shade));
    }
  }
}

Image GrassTuft() {
  Image t = BlankTile();
  TallBlades(t, 8, 12, 7);
  TallBlades(t, 22, 9, 6);
  TallBlades(t, 15, 24, 8);
  TallBlades(t, 27, 27, 5);
  TallBlades(t, 5, 29, 5);
  return t;
}

Image DirtPath() {
  Image t(32, 32, C(Ramp::Earth, 4));
  for (int k = 0; k < 10; ++k) {
    const std::uint32_t h = Hash(k, 21, 3);
    const int x = static_cast<int>(h % 32), y = static_cast<int>((h >> 8) % 32);
    WrapSet(t, x, y, C(Ramp::Earth, 3));
    WrapSet(t, x + 1, y, C(Ramp::Earth, 3));
    if (k % 3 == 0) WrapSet(t, x, y - 1, C(Ramp::Earth, 5));
  }
  for (int k = 0; k < 3; ++k) {
    const std::uint32_t h = Hash(k, 22, 3);
    const int x = static_cast<int>(h % 32), y = static_cast<int>((h >> 8) % 32);
    WrapSet(t, x, y, C(Ramp::Stone, 4));
    WrapSet(t, x, y + 1, C(Ramp::Earth, 2));
  }
  return t;
}

Image CobblePath() {
  Image t(32, 32, C(Ramp::Earth, 2));
  // Rounded setts on a staggered 8-pixel grid.
  for (int row = 0; row < 4; ++row)
    for (int col = 0; col < 4; ++col) {
      const int ox = col * 8 + (row % 2) * 4, oy = row * 8;
      const int shade = 3 + static_cast<int>(Hash(col, row, 7) % 2);
      for (int j = 1; j < 7; ++j)
        for (int i = 1; i < 7; ++i) {
          if ((i == 1 || i == 6) && (j == 1 || j == 6)) continue;
          int c = shade;
          if (j == 1 || i == 1) c = shade + 1;
          if (j == 6 || i == 6) c = shade - 1;
          WrapSet(t, ox + i, oy + j, C(Ramp::Stone, c));
        }
    }
  return t;
}

Image Pebbles() {
  Image t = BlankTile();
  for (int k = 0; k < 9; ++k) {
    const std::uint32_t h = Hash(k, 23, 9);
    const int x = 2 + static_cast<int>(h % 27), y = 2 + static_cast<int>((h >> 8) % 27);
    t.Set(x, y, C(Ramp::Stone, 5));
    t.Set(x + 1, y, C(Ramp::Stone, 4));
    t.Set(x, y + 1, C(Ramp::Stone, 3));
    t.Set(x + 1, y + 1, C(Ramp::Stone, 2));
    t.Set(x + 2, y + 1, C(Ramp::Stone, 1));
    t.Set(x, y + 2, C(Ramp::Stone, 1));
    t.Set(x + 1, y + 2, C(Ramp::Stone, 1));
  }
  return t;
}

// A blue woven rug whose stripes repeat every 16 pixels, so rugs of several cells join up.
Image Rug() {
  Image t(32, 32, C(Ramp::Blue, 2));
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const int band = y % 16;
      if (band == 0 || band == 15) t.Set(x, y, C(Ramp::Blue, 1));
      else if (band == 2 || band == 13) t.Set(x, y, C(Ramp::Gold, 3));
      else if (band >= 6 && band <= 9 && ((x + band) % 4 == 0)) t.Set(x, y, C(Ramp::Red, 3));
      else if ((x + y) % 4 == 0) t.Set(x, y, C(Ramp::Blue, 3));
    }
  return t;
}

Image Doormat() {
  Image t = BlankTile();
  for (int y = 10; y < 24; ++y)
    for (int x = 5; x < 27; ++x) {
      int shade = ((x / 2 + y / 2) % 2 == 0) ? 3 : 2;
      if (y == 10 || x == 5) shade = 4;
      if (y == 23 || x == 26) shade = 1;
      t.Set(x, y, C(Ramp::Sand, shade));
    }
  for (int x = 7; x < 25; ++x) {
    t.Set(x, 12, C(Ramp::Red, 2));
    t.Set(x, 21, C(Ramp::Red, 2));
  }
  // Fringe at both ends.
  for (int x = 6; x < 26; x += 2) {
    t.Set(x, 9, C(Ramp::Sand, 2));
    t.Set(x, 24, C(Ramp::Sand, 1));
  }
  return t;
}

Image Bridge() {
  Image t(32, 32, kKey);
  Boards(t, 0, 0, 32, 32, 6, false, Ramp::Wood, 3, 31);
  // Nails where the boards meet the beams underneath.
  for (int y = 2; y < 32; y += 6) {
    t.Set(4, y, C(Ramp::Stone, 1));
    t.Set(27, y, C(Ramp::Stone, 1));
  }
  // Dark beam edges left and right.
  for (int y = 0; y < 32; ++y) {
    t.Set(0, y, C(Ramp::Wood, 0));
    t.Set(31, y, C(Ramp::Wood, 0));
  }
  return t;
}

// A red carpet running up and down, gold edges on both sides.
Image RedCarpet() {
  Image t(32, 32, C(Ramp::Red, 3));
  for (int y = 0; y < 32; ++y) {
    t.Set(0, y, C(Ramp::Gold, 1));
    t.Set(1, y, C(Ramp::Gold, 4));
    t.Set(2, y, C(Ramp::Gold, 3));
    t.Set(3, y, C(Ramp::Red, 1));
    t.Set(28, y, C(Ramp::Red, 1));
    t.Set(29, y, C(Ramp::Gold, 4));
    t.Set(30, y, C(Ramp::Gold, 3));
    t.Set(31, y, C(Ramp::Gold, 1));
    for (int x = 4; x < 28; ++x) {
      const int dx = std::abs(x - 16), dy = std::abs((y % 16) - 8);
      if (dx + dy == 5) t.Set(x, y, C(Ramp::Red, 4));
      else if (dx + dy < 2) t.Set(x, y, C(Ramp::Gold, 4));
      else if (x == 4) t.Set(x, y, C(Ramp::Red, 4));
      else if (x == 27) t.Set(x, y, C(Ramp::Red, 2));
    }
  }
  return t;
}

void Mushroom(Image& t, int x, int y, int size) {
  // Stem.
  for (int j = 0; j < size; ++j) {
    t.Set(x, y - j, C(Ramp::Plaster, 3));
    t.Set(x + 1, y - j, C(Ramp::Plaster, 1));
  }
  // Cap: a half dome lit from the top left, white spots.
  const Shape cap = Intersect(Ellipse(x + 1, y - size + 0.5, size + 0.5, size * 0.8 + 1), Box(0, 0, 32, y - size + 1));
  ShadeBall(t, cap, x - 0.5, y - size - 1.0, size + 1.5, size + 1.5, Ramp::Red, 1, 5);
  t.Set(x, y - size - 1, C(Ramp::Plaster, 4));
  t.Set(x + 2, y - size, C(Ramp::Plaster, 4));
}

Image Mushrooms() {
  Image t = BlankTile();
  Mushroom(t, 10, 22, 4);
  Mushroom(t, 18, 25, 3);
  Mushroom(t, 22, 18, 2);
  OutlineSprite(t);
  return t;
}

Image FallenLeaves() {
  Image t = BlankTile();
  const Ramp kinds[] = {Ramp::Gold, Ramp::Fire, Ramp::Earth, Ramp::Red};
  for (int k = 0; k < 11; ++k) {
    const std::uint32_t h = Hash(k, 24, 13);
    const int x = 2 + static_cast<int>(h % 27), y = 2 + static_cast<int>((h >> 8) % 27);
    const Ramp r = kinds[(h >> 16) % 4];
    t.Set(x, y, C(r, 4));
    t.Set(x + 1, y, C(r, 3));
    t.Set(x + 1, y + 1, C(r, 2));
    t.Set(x + 2, y + 1, C(r, 1));
    if (h & 0x1000000) t.Set(x, y + 1, C(r, 3));
  }
  return t;
}

// Paving overlays repaint some of the ground's own setts (same layout) in a rough patch inside
// the cell, so that neighbouring cells of a large square differ without outlining the cells.
bool InPatch(const Sett& s, double cx, double cy, double r) {
  const double dx = std::min(std::abs(s.x + s.width / 2.0 - cx), 32 - std::abs(s.x + s.width / 2.0 - cx));
  const double dy = s.course * 8 + 4 - cy;
  return dx * dx + dy * dy * 0.8 < r * r;
}

Image PavingWarm() {
  Image t = BlankTile();
  for (const Sett& s : PavingSetts())
    if (InPatch(s, 16, 15, 13) && Hash(s.index, s.course, 41) % 5 != 0)
      PaintSett(t, s, Ramp::Marble, Hash(s.index, s.course, 43) % 3 == 0 ? 1 : 0);
  return t;
}

Image PavingMoss() {
  Image t = BlankTile();
  // Moss creeping along the joints, and a weed pushing up between two setts.
  for (const Sett& s : PavingSetts()) {
    for (int i = 0; i < s.width; ++i)
      if (Hash(s.x + i, s.course, 47) % 4 == 0) WrapSet(t, s.x + i, s.course * 8, C(Ramp::Grass, 1));
    for (int j = 1; j < 8; ++j)
      if (Hash(s.x, s.course * 8 + j, 53) % 3 == 0) WrapSet(t, s.x, s.course * 8 + j, C(Ramp::Grass, 1 + j % 2));
  }
  for (const auto& [x, y, shade] : {std::tuple{9, 16, 2}, {10, 15, 3}, {8, 15, 2}, {10, 14, 4}, {11, 16, 2}, {7, 14, 3}})
    t.Set(x, y, C(Ramp::Grass, shade));
  return t;
}

Image PavingWorn() {
  Image t = BlankTile();
  // Setts worn darker by the traffic, two of them cracked and one chipped at its corner.
  for (const Sett& s : PavingSetts()) {
    if (!InPatch(s, 14, 17, 14)) continue;
    PaintSett(t, s, Ramp::Stone, 3 + static_cast<int>(Hash(s.index, s.course, 61) % 4 == 0));
    const int y = s.course * 8 + 3 + static_cast<int>(Hash(s.index, s.course, 67) % 2);
    if (Hash(s.index, s.course, 71) % 5 == 0)  // a crack running down across the sett
      for (int i = 2; i < s.width - 1; ++i) WrapSet(t, s.x + i, y + (i - 2) / 3, C(Ramp::Stone, 1));
    if (Hash(s.index, s.course, 73) % 7 == 0) {
      WrapSet(t, s.x + 1, s.course * 8 + 5, C(Ramp::Stone, 2));
      WrapSet(t, s.x + 2, s.course * 8 + 6, C(Ramp::Stone, 2));
    }
  }
  return t;
}

}  // namespace

void PaintDecorTiles(const PutTile& put) {
  put(1, Flowers());
  put(2, GrassTuft());
  put(3, DirtPath());
  put(4, CobblePath());
  put(5, Pebbles());
  put(6, Rug());
  put(7, Doormat());
  put(8, Bridge());
  put(9, RedCarpet());
  put(10, Mushrooms());
  put(11, FallenLeaves());
  put(12, PavingWarm());
  put(13, PavingMoss());
  put(14, PavingWorn());
}

}  // namespace pictures
