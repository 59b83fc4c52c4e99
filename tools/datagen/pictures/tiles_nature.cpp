// Row 1 of the overlay sheet: trees, rocks, water and the other solid things outdoors.
#include <cmath>
#include <utility>

#include "tile_kit.h"

namespace pictures {
namespace {

void Trunk(Image& t, int x0, int x1, int y0, int y1) {
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      int shade = x == x0 ? 3 : x == x1 - 1 ? 1 : 2;
      if ((y + x) % 5 == 0 && x != x0) shade = 1;
      t.Set(x, y, C(Ramp::Bark, shade));
    }
  // Roots spread a little at the foot.
  t.Set(x0 - 1, y1 - 1, C(Ramp::Bark, 2));
  t.Set(x1, y1 - 1, C(Ramp::Bark, 1));
}

// A leafy crown: a lit ball with a bumpy rim and a few leaf clusters in lighter and darker shades.
void Crown(Image& t, double cx, double cy, double r, Ramp ramp, int seed) {
  Shape crown = Ellipse(cx, cy, r, r * 0.9);
  for (int k = 0; k < 9; ++k) {
    const double a = k * 2 * 3.14159265 / 9 + seed;
    crown = Union(crown, Ellipse(cx + std::cos(a) * r * 0.78, cy + std::sin(a) * r * 0.7, r * 0.36, r * 0.34));
  }
  ShadeBall(t, crown, cx, cy, r * 1.15, r * 1.05, ramp, 1, Shades(ramp) - 1);
  for (int k = 0; k < 14; ++k) {
    const std::uint32_t h = Hash(k, seed, 77);
    const int x = static_cast<int>(cx - r) + static_cast<int>(h % static_cast<std::uint32_t>(2 * r));
    const int y = static_cast<int>(cy - r) + static_cast<int>((h >> 8) % static_cast<std::uint32_t>(2 * r));
    if (t.Get(x, y) == kKey || t.Get(x + 1, y + 1) == kKey) continue;
    Nudge(t, x, y, 1);
    Nudge(t, x + 1, y + 1, -1);
  }
}

Image Tree() {
  Image t = BlankTile();
  Trunk(t, 14, 19, 20, 31);
  Crown(t, 16, 12, 11, Ramp::Leaf, 1);
  OutlineSprite(t);
  return t;
}

Image Pine() {
  Image t = BlankTile();
  Trunk(t, 14, 18, 25, 31);
  for (int tier = 0; tier < 3; ++tier) {
    const double top = 1 + tier * 7, bottom = 12 + tier * 7;
    const double half = 6 + tier * 3.5;
    const Shape s = Polygon({{16, top}, {16 + half, bottom}, {16 + half * 0.5, bottom - 1}, {16, bottom + 1},
                             {16 - half * 0.5, bottom - 1}, {16 - half, bottom}});
    ShadeBall(t, s, 16, bottom - 3, half, 8, Ramp::Pine, 0, 4);
  }
  OutlineSprite(t);
  return t;
}

Image Bush() {
  Image t = BlankTile();
  Crown(t, 16, 19, 11, Ramp::Leaf, 2);
  // A few berries.
  for (const auto& [x, y] : {std::pair{10, 18}, {19, 14}, {22, 22}, {13, 25}}) {
    t.Set(x, y, C(Ramp::Red, 4));
    t.Set(x + 1, y + 1, C(Ramp::Red, 2));
  }
  OutlineSprite(t);
  return t;
}

Image Rock() {
  Image t = BlankTile();
  const Shape s = Union(Ellipse(16, 20, 13, 10), Ellipse(12, 16, 8, 8));
  ShadeBall(t, s, 14, 17, 15, 13, Ramp::Stone, 1, 6);
  Line(t, 18, 14, 21, 19, C(Ramp::Stone, 2));
  Line(t, 21, 19, 20, 24, C(Ramp::Stone, 2));
  Line(t, 19, 14, 22, 19, C(Ramp::Stone, 5));
  // Moss on the shaded foot.
  for (int x = 8; x < 18; ++x)
    if (t.Get(x, 28) != kKey && x % 3 != 0) t.Set(x, 28, C(Ramp::Grass, 2));
  OutlineSprite(t);
  return t;
}

// Water that tiles with itself: a dithered band of deeper colour and short light ripples.
Image Water() {
  Image t(32, 32, C(Ramp::Water, 3));
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const double wave = std::sin((x + y * 0.5) * 3.14159265 / 16) + std::sin(y * 3.14159265 / 8);
      if (wave > 1.0 && (x + y) % 2 == 0) t.Set(x, y, C(Ramp::Water, 2));
      if (wave > 1.5) t.Set(x, y, C(Ramp::Water, 2));
      if (wave < -1.3 && (x + y) % 2 == 0) t.Set(x, y, C(Ramp::Water, 4));
    }
  for (int k = 0; k < 6; ++k) {
    const std::uint32_t h = Hash(k, 41, 3);
    const int x = static_cast<int>(h % 32), y = static_cast<int>((h >> 8) % 32);
    for (int i = 0; i < 4; ++i) WrapSet(t, x + i, y, C(Ramp::Water, i == 0 || i == 3 ? 5 : 6));
    WrapSet(t, x + 1, y + 1, C(Ramp::Water, 2));
    WrapSet(t, x + 2, y + 1, C(Ramp::Water, 2));
  }
  return t;
}

Image Fence() {
  Image t = BlankTile();
  for (const int y : {13, 21}) {
    t.Fill(0, y, 32, 3, C(Ramp::Wood, 3));
    t.Fill(0, y, 32, 1, C(Ramp::Wood, 4));
    t.Fill(0, y + 2, 32, 1, C(Ramp::Wood, 1));
  }
  for (const int x : {5, 21}) {
    t.Fill(x, 8, 5, 22, C(Ramp::Wood, 3));
    t.Fill(x, 8, 1, 22, C(Ramp::Wood, 4));
    t.Fill(x + 4, 8, 1, 22, C(Ramp::Wood, 1));
    t.Fill(x + 1, 7, 3, 1, C(Ramp::Wood, 4));
    t.Set(x + 2, 16, C(Ramp::Stone, 1));
    t.Set(x + 2, 23, C(Ramp::Stone, 1));
  }
  OutlineSprite(t);
  return t;
}

Image Stump() {
  Image t = BlankTile();
  t.Fill(8, 17, 16, 11, C(Ramp::Bark, 2));
  for (int y = 17; y < 28; ++y) {
    t.Set(8, y, C(Ramp::Bark, 3));
    t.Set(9, y, C(Ramp::Bark, 3));
    t.Set(23, y, C(Ramp::Bark, 1));
    if (y % 3 == 0) t.Set(14, y, C(Ramp::Bark, 1));
    if (y % 4 == 1) t.Set(19, y, C(Ramp::Bark, 1));
  }
  t.Set(7, 27, C(Ramp::Bark, 2));
  t.Set(24, 27, C(Ramp::Bark, 1));
  // The cut face with its rings.
  for (int y = 12; y < 22; ++y)
    for (int x = 7; x < 25; ++x) {
      const double dx = (x + 0.5 - 16) / 8.5, dy = (y + 0.5 - 17) / 4.5;
      const double d = dx * dx + dy * dy;
      if (d > 1) continue;
      const int ring = static_cast<int>(std::sqrt(d) * 4);
      t.Set(x, y, C(Ramp::Wood, ring % 2 == 0 ? 5 : 4));
      if (d > 0.8) t.Set(x, y, C(Ramp::Wood, 3));
    }
  t.Set(16, 17, C(Ramp::Wood, 2));
  OutlineSprite(t);
  return t;
}

Image Well() {
  Image t = BlankTile();
  // Two posts and a little tiled roof.
  t.Fill(6, 7, 2, 16, C(Ramp::Wood, 3));
  t.Fill(24, 7, 2, 16, C(Ramp::Wood, 2));
  const Shape roof = Polygon({{2, 9}, {16, 1}, {30, 9}, {28, 11}, {4, 11}});
  ShadeFlat(t, roof, Ramp::RoofTile, 3);
  for (int x = 5; x < 28; x += 3) t.Set(x, 9, C(Ramp::RoofTile, 1));
  // Rope and bucket.
  t.Fill(8, 12, 16, 1, C(Ramp::Wood, 1));
  t.Fill(16, 12, 1, 5, C(Ramp::Sand, 2));
  t.Fill(15, 17, 3, 3, C(Ramp::Wood, 3));
  // Round stone rim.
  const Shape rim = Minus(Ellipse(16, 23, 12, 8), Ellipse(16, 21.5, 8.5, 3.5));
  ShadeBall(t, Intersect(rim, Box(0, 0, 32, 32)), 14, 20, 14, 11, Ramp::Stone, 1, 6);
  for (int y = 21; y < 31; y += 3)
    for (int x = 5; x < 28; ++x)
      if (t.Get(x, y) != kKey && (x + y) % 6 == 0) Nudge(t, x, y, -2);
  FillShape(t, Ellipse(16, 21.5, 8.5, 3.5), C(Ramp::Water, 1));
  t.Set(13, 21, C(Ramp::Water, 4));
  OutlineSprite(t);
  return t;
}

Image DeadTree() {
  Image t = BlankTile();
  const std::uint8_t dark = C(Ramp::Bark, 1), mid = C(Ramp::Bark, 2), light = C(Ramp::Bark, 3);
  t.Fill(14, 16, 4, 15, mid);
  t.Fill(14, 16, 1, 15, light);
  t.Fill(17, 16, 1, 15, dark);
  auto branch = [&](int x0, int y0, int x1, int y1) {
    Line(t, x0, y0, x1, y1, mid);
    Line(t, x0, y0 + 1, x1, y1 + 1, dark);
  };
  branch(15, 17, 7, 9);
  branch(7, 9, 4, 3);
  branch(7, 9, 10, 4);
  branch(16, 18, 16, 4);
  branch(16, 10, 21, 5);
  branch(17, 16, 26, 10);
  branch(26, 10, 29, 4);
  branch(26, 10, 28, 13);
  t.Set(13, 30, dark);
  t.Set(18, 30, dark);
  OutlineSprite(t);
  return t;
}

Image Flowerbed() {
  Image t = BlankTile();
  // Stone border, lit on top and left.
  t.Fill(3, 10, 26, 19, C(Ramp::Stone, 4));
  t.Fill(3, 10, 26, 1, C(Ramp::Stone, 6));
  t.Fill(3, 24, 26, 5, C(Ramp::Stone, 3));
  t.Fill(3, 28, 26, 1, C(Ramp::Stone, 1));
  for (const int x : {9, 16, 23}) t.Fill(x, 25, 1, 3, C(Ramp::Stone, 1));
  // Leafy planting with bright flower heads.
  for (int y = 12; y < 24; ++y)
    for (int x = 5; x < 27; ++x) t.Set(x, y, C(Ramp::Leaf, ((x / 2 + y / 3) % 3 == 0) ? 2 : 3));
  t.Fill(5, 23, 22, 1, C(Ramp::Earth, 1));
  const Ramp petals[] = {Ramp::Red, Ramp::Gold, Ramp::Pink, Ramp::Marble};
  const int spots[][2] = {{8, 14}, {14, 13}, {20, 15}, {24, 13}, {10, 19}, {17, 19}, {23, 20}};
  for (int k = 0; k < 7; ++k) {
    const int x = spots[k][0], y = spots[k][1];
    const Ramp r = petals[k % 4];
    t.Set(x, y - 1, C(r, 4));
    t.Set(x - 1, y, C(r, 4));
    t.Set(x + 1, y, C(r, 2));
    t.Set(x, y + 1, C(r, 2));
    t.Set(x, y, C(Ramp::Gold, 5));
  }
  OutlineSprite(t);
  return t;
}

Image Signpost() {
  Image t = BlankTile();
  t.Fill(15, 8, 3, 22, C(Ramp::Wood, 2));
  t.Fill(15, 8, 1, 22, C(Ramp::Wood, 4));
  // The board, pointing right.
  const Shape board = Polygon({{5, 7}, {24, 7}, {28, 11.5}, {24, 16}, {5, 16}});
  ShadeFlat(t, board, Ramp::Wood, 4);
  for (int x = 8; x < 23; x += 3) t.Fill(x, 10, 2, 1, C(Ramp::Wood, 1));
  for (int x = 9; x < 21; x += 4) t.Fill(x, 13, 2, 1, C(Ramp::Wood, 1));
  OutlineSprite(t);
  return t;
}

Image Haystack() {
  Image t = BlankTile();
  const Shape s = Union(Ellipse(16, 22, 13, 9), Ellipse(16, 13, 9, 9));
  ShadeBall(t, s, 14, 15, 14, 15, Ramp::Gold, 1, 5);
  for (int k = 0; k < 30; ++k) {
    const std::uint32_t h = Hash(k, 51, 5);
    const int x = static_cast<int>(h % 32), y = static_cast<int>((h >> 8) % 32);
    if (t.Get(x, y) == kKey || t.Get(x + 1, y) == kKey) continue;
    Nudge(t, x, y, -1);
    Nudge(t, x + 1, y, -1);
  }
  OutlineSprite(t);
  return t;
}

}  // namespace

void PaintNatureTiles(const PutTile& put) {
  put(20, Tree());
  put(21, Pine());
  put(22, Bush());
  put(23, Rock());
  put(24, Water());
  put(25, Fence());
  put(26, Stump());
  put(27, Well());
  put(28, DeadTree());
  put(29, Flowerbed());
  put(30, Signpost());
  put(31, Haystack());
}

}  // namespace pictures
