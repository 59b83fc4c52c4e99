// Row 6 of the overlay sheet: what furnishes the three shops — the smithy's forge and tools, the
// general store's sacks and baskets, the pawnshop's grilled counter and strongbox.
#include <algorithm>
#include <cstdlib>
#include <tuple>

#include "tile_kit.h"

namespace pictures {
namespace {

// Bricks of 8 × 4 in staggered courses.
void Bricks(Image& t, int x0, int y0, int x1, int y1) {
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      const int course = (y - y0) / 4, bx = (x - x0 + (course % 2) * 4) % 8;
      int shade = 2 + static_cast<int>(Hash((x - x0 + (course % 2) * 4) / 8, course, 23) % 2);
      if ((y - y0) % 4 == 3 || bx == 7) shade = 0;
      else if ((y - y0) % 4 == 0) shade += 1;
      t.Set(x, y, C(Ramp::Red, shade));
    }
}

Image Forge() {
  Image t = BlankTile();
  // Hood narrowing into the chimney, brick hearth, glowing fire bed.
  ShadeFlat(t, Polygon({{6, 0}, {26, 0}, {30, 10}, {2, 10}}), Ramp::Stone, 2);
  t.Fill(2, 10, 28, 1, C(Ramp::Ink, 1));
  Bricks(t, 2, 11, 30, 31);
  FillShape(t, Union(Ellipse(16, 20, 8, 5), Box(8, 20, 24, 27)), C(Ramp::Ink, 0));
  for (int y = 17; y < 27; ++y)
    for (int x = 9; x < 23; ++x) {
      if (t.Get(x, y) != C(Ramp::Ink, 0)) continue;
      const int heat = 5 - std::abs(x - 16) / 2 - (y < 21 ? 21 - y : 0);
      if (heat > 0 && Hash(x, y, 29) % 5 != 0) t.Set(x, y, C(Ramp::Fire, std::min(5, heat)));
    }
  t.Fill(2, 27, 28, 4, C(Ramp::Stone, 3));
  t.Fill(2, 27, 28, 1, C(Ramp::Stone, 5));
  OutlineSprite(t);
  return t;
}

Image Anvil() {
  Image t = BlankTile();
  // Stump with rings on top, the anvil's waist and its horned face.
  ShadeBall(t, Box(8, 20, 24, 31), 12, 24, 10, 12, Ramp::Bark, 1, 4);
  FillShape(t, Ellipse(16, 20, 8, 2), C(Ramp::Wood, 3));
  ShadeFlat(t, Box(12, 14, 20, 20), Ramp::Steel, 2);
  const Shape face = Polygon({{3, 9}, {8, 7}, {26, 7}, {27, 9}, {26, 14}, {9, 14}});
  ShadeFlat(t, face, Ramp::Steel, 3);
  t.Fill(8, 7, 18, 1, C(Ramp::Steel, 5));
  t.Set(4, 8, C(Ramp::Steel, 5));
  OutlineSprite(t);
  return t;
}

Image Grindstone() {
  Image t = BlankTile();
  t.Fill(5, 12, 2, 19, C(Ramp::Wood, 3));
  t.Fill(25, 12, 2, 19, C(Ramp::Wood, 1));
  t.Fill(4, 28, 24, 2, C(Ramp::Wood, 2));
  ShadeBall(t, Ellipse(16, 16, 9, 10), 13, 12, 10, 11, Ramp::Stone, 2, 6);
  for (int a = 0; a < 6; ++a) t.Set(11 + a * 2, 16 + (a % 2), C(Ramp::Stone, 3));
  t.Fill(7, 15, 18, 2, C(Ramp::Wood, 2));
  t.Fill(26, 15, 4, 2, C(Ramp::Wood, 4));  // the crank
  t.Fill(29, 13, 2, 4, C(Ramp::Wood, 3));
  OutlineSprite(t);
  return t;
}

Image ArmourStand() {
  Image t = BlankTile();
  t.Fill(15, 6, 2, 24, C(Ramp::Wood, 2));
  t.Fill(9, 29, 14, 2, C(Ramp::Wood, 2));
  // Helmet, shoulder plates, breastplate and a mail skirt.
  ShadeBall(t, Intersect(Ellipse(16, 6, 5, 5), Box(0, 0, 32, 8)), 14, 3, 6, 6, Ramp::Steel, 1, 5);
  t.Fill(11, 7, 10, 1, C(Ramp::Steel, 2));
  ShadeBall(t, Ellipse(9, 11, 3.5, 2.5), 8, 10, 4, 3, Ramp::Steel, 2, 5);
  ShadeBall(t, Ellipse(23, 11, 3.5, 2.5), 22, 10, 4, 3, Ramp::Steel, 1, 4);
  ShadeBall(t, Polygon({{10, 10}, {22, 10}, {21, 20}, {11, 20}}), 13, 12, 9, 10, Ramp::Steel, 1, 5);
  t.Fill(16, 11, 1, 9, C(Ramp::Steel, 1));
  for (int y = 20; y < 25; ++y)
    for (int x = 11; x < 21; ++x) t.Set(x, y, C(Ramp::Steel, (x + y) % 2 ? 2 : 3));
  t.Fill(11, 20, 10, 1, C(Ramp::Red, 3));
  OutlineSprite(t);
  return t;
}

// An open wooden tub: staves from its rim down to its round foot, two hoops, and the rim seen
// from a little above.
void OpenTub(Image& t, int rim, int foot, int half, Ramp hoops) {
  const Shape body = Union(Ellipse(16, foot, half, 3.5), Box(16 - half, rim, 16 + half, foot));
  ShadeBall(t, body, 13, 20, half + 2, 40, Ramp::Wood, 1, 4);
  for (const int y : {rim + 3, foot - 3})
    for (int x = 16 - half; x < 16 + half; ++x) t.Set(x, y, C(hoops, x < 16 - half / 2 ? 3 : 1));
  FillShape(t, Ellipse(16, rim, half, 3.5), C(Ramp::Wood, 4));
}

Image QuenchTub() {
  Image t = BlankTile();
  OpenTub(t, 14, 26, 11, Ramp::Steel);
  FillShape(t, Ellipse(16, 14.5, 9, 2.8), C(Ramp::Water, 2));
  t.Fill(11, 13, 4, 1, C(Ramp::Water, 5));
  t.Fill(18, 15, 3, 1, C(Ramp::Water, 4));
  OutlineSprite(t);
  return t;
}

Image CoalHeap() {
  Image t = BlankTile();
  const Shape heap = Union(Ellipse(16, 26, 13, 6), Ellipse(15, 21, 8, 7));
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      if (!heap(x + 0.5, y + 0.5)) continue;
      const std::uint32_t h = Hash(x / 2, y / 2, 31);
      int shade = static_cast<int>(h % 3);
      if (x + y < 36 && h % 4 == 0) shade = 4;  // glints where the light catches
      t.Set(x, y, C(Ramp::Steel, shade));
    }
  t.Fill(6, 30, 20, 1, C(Ramp::Ink, 0));
  OutlineSprite(t);
  return t;
}

// A tied burlap sack standing at (cx, bottom).
void Sack(Image& t, double cx, int bottom, double r, int lo) {
  const Shape body = Union(Ellipse(cx, bottom - r, r, r), Box(cx - r * 0.5, bottom - 2 * r - 3, cx + r * 0.5, bottom - r));
  ShadeBall(t, body, cx - 2, bottom - r - 2, r + 2, r + 3, Ramp::Sand, lo, 4);
  t.Fill(static_cast<int>(cx - r * 0.5), static_cast<int>(bottom - 2 * r), static_cast<int>(r), 1, C(Ramp::Earth, 1));
  t.Set(static_cast<int>(cx) - 1, static_cast<int>(bottom - 2 * r - 3), C(Ramp::Sand, 4));
}

Image Sacks() {
  Image t = BlankTile();
  Sack(t, 10, 30, 7, 1);
  Sack(t, 23, 31, 6.5, 0);
  Sack(t, 17, 21, 6, 1);
  // A red stamp on the front sack.
  t.Fill(8, 22, 4, 3, C(Ramp::Red, 3));
  OutlineSprite(t);
  return t;
}

Image RiceBarrel() {
  Image t = BlankTile();
  OpenTub(t, 12, 27, 10, Ramp::Bark);
  // A mound of white rice and a wooden scoop stuck in it.
  ShadeBall(t, Ellipse(16, 11, 8, 3.5), 13, 9, 9, 5, Ramp::Marble, 2, 4);
  Line(t, 19, 10, 25, 3, C(Ramp::Wood, 4));
  Line(t, 20, 10, 26, 3, C(Ramp::Wood, 2));
  OutlineSprite(t);
  return t;
}

Image Baskets() {
  Image t = BlankTile();
  // A low stand, a basket of greens and a basket of buns.
  ShadeFlat(t, Box(1, 22, 31, 26), Ramp::Wood, 3);
  t.Fill(3, 26, 2, 5, C(Ramp::Wood, 2));
  t.Fill(27, 26, 2, 5, C(Ramp::Wood, 1));
  for (const int cx : {9, 23}) {
    const Shape basket = Intersect(Ellipse(cx, 16, 7, 7), Box(0, 16, 32, 24));
    ShadeBall(t, basket, cx - 2, 17, 8, 8, Ramp::Sand, 1, 4);
    for (int x = cx - 6; x <= cx + 6; x += 2) t.Set(x, 19 + (x % 4 == 0), C(Ramp::Earth, 2));
  }
  for (int k = 0; k < 5; ++k) ShadeBall(t, Ellipse(5 + k * 2, 14 - (k % 2) * 2, 3, 2.5), 4 + k * 2, 12, 3, 3, Ramp::Leaf, 1, 5);
  for (int k = 0; k < 3; ++k) ShadeBall(t, Ellipse(19.5 + k * 3.5, 14 - (k == 1 ? 2 : 0), 2.5, 2.2), 19 + k * 3.5, 12, 3, 3, Ramp::Plaster, 2, 4);
  OutlineSprite(t);
  return t;
}

Image Jars() {
  Image t = BlankTile();
  for (const auto& [cx, bottom, r] : {std::tuple{9.0, 30, 7.0}, {23.0, 30, 6.5}}) {
    const Shape jar = Union(Ellipse(cx, bottom - r - 1, r, r + 1), Box(cx - r * 0.45, bottom - 2 * r - 4, cx + r * 0.45, bottom - r));
    ShadeBall(t, jar, cx - 2, bottom - r - 3, r + 2, r + 3, Ramp::Earth, 0, 4);
    t.Fill(static_cast<int>(cx - r * 0.6), static_cast<int>(bottom - 2 * r - 5), static_cast<int>(r * 1.2) + 1, 2, C(Ramp::Earth, 2));
    // A red paper label with a black character.
    const int lx = static_cast<int>(cx) - 2, ly = bottom - static_cast<int>(r) - 3;
    t.Fill(lx, ly, 5, 5, C(Ramp::Red, 4));
    t.Fill(lx + 2, ly + 1, 1, 3, C(Ramp::Ink, 1));
    t.Fill(lx + 1, ly + 2, 3, 1, C(Ramp::Ink, 1));
  }
  OutlineSprite(t);
  return t;
}

Image PawnCounter() {
  Image t = BlankTile();
  // The counter below, a top rail and lattice bars rising above it to the beam.
  Boards(t, 0, 18, 32, 30, 8, true, Ramp::Wood, 2, 83);
  t.Fill(0, 15, 32, 3, C(Ramp::Wood, 4));
  t.Fill(0, 15, 32, 1, C(Ramp::Wood, 5));
  t.Fill(0, 30, 32, 2, C(Ramp::Wood, 0));
  t.Fill(0, 0, 32, 3, C(Ramp::Wood, 1));
  t.Fill(0, 0, 32, 1, C(Ramp::Wood, 3));
  for (int x = 2; x < 32; x += 5) {
    t.Fill(x, 3, 2, 12, C(Ramp::Wood, 3));
    t.Set(x + 1, 3, C(Ramp::Wood, 1));
    t.Fill(x + 1, 4, 1, 11, C(Ramp::Wood, 1));
  }
  return t;
}

Image Strongbox() {
  Image t = BlankTile();
  ShadeFlat(t, Box(4, 10, 28, 15), Ramp::Wood, 3);
  ShadeFlat(t, Box(4, 15, 28, 30), Ramp::Wood, 2);
  for (const int x : {4, 13, 18, 26}) t.Fill(x, 10, 2, 20, C(Ramp::Steel, x < 16 ? 4 : 2));
  t.Fill(4, 15, 24, 1, C(Ramp::Steel, 3));
  ShadeFlat(t, Box(14, 17, 18, 22), Ramp::Gold, 3);
  t.Set(15, 19, C(Ramp::Ink, 0));
  t.Set(15, 20, C(Ramp::Ink, 0));
  OutlineSprite(t);
  return t;
}

Image LedgerDesk() {
  Image t = BlankTile();
  t.Fill(4, 20, 2, 10, C(Ramp::Wood, 2));
  t.Fill(26, 20, 2, 10, C(Ramp::Wood, 1));
  ShadeFlat(t, Box(1, 10, 31, 18), Ramp::Wood, 3);
  ShadeFlat(t, Box(1, 18, 31, 21), Ramp::Wood, 1);
  // An open ledger with ruled columns, an inkstone and a brush.
  t.Fill(5, 9, 14, 6, C(Ramp::Plaster, 4));
  t.Fill(11, 9, 1, 6, C(Ramp::Plaster, 2));
  for (int x = 6; x < 18; x += 2)
    if (x != 10 && x != 12) t.Fill(x, 10, 1, 4, C(Ramp::Ink, 2));
  t.Fill(22, 11, 5, 4, C(Ramp::Ink, 1));
  t.Fill(23, 12, 3, 2, C(Ramp::Ink, 0));
  Line(t, 20, 8, 27, 10, C(Ramp::Wood, 4));
  t.Set(19, 8, C(Ramp::Ink, 0));
  OutlineSprite(t);
  return t;
}

Image CurioShelf() {
  Image t = BlankTile();
  ShadeFlat(t, Box(1, 1, 31, 31), Ramp::Wood, 1);
  t.Fill(3, 3, 26, 26, C(Ramp::Ink, 2));
  for (const int y : {15, 28}) {
    t.Fill(3, y, 26, 2, C(Ramp::Wood, 3));
    t.Fill(3, y + 1, 26, 1, C(Ramp::Wood, 1));
  }
  // Top: a blue vase and a wrapped bundle; bottom: a little clock case and a jade disc.
  ShadeBall(t, Union(Ellipse(9, 11, 4, 4), Box(8, 4, 11, 8)), 8, 9, 5, 6, Ramp::Marble, 1, 4);
  t.Fill(6, 11, 7, 1, C(Ramp::Blue, 2));
  ShadeBall(t, Box(16, 9, 26, 15), 19, 10, 8, 6, Ramp::Purple, 1, 4);
  t.Fill(20, 8, 2, 2, C(Ramp::Purple, 4));
  ShadeFlat(t, Box(6, 19, 14, 28), Ramp::Wood, 4);
  FillShape(t, Ellipse(10, 23, 2.5, 2.5), C(Ramp::Plaster, 4));
  t.Set(10, 22, C(Ramp::Ink, 0));
  t.Set(11, 23, C(Ramp::Ink, 0));
  ShadeBall(t, Minus(Ellipse(22, 24, 4, 4), Ellipse(22, 24, 1.5, 1.5)), 21, 23, 5, 5, Ramp::Jade, 1, 5);
  OutlineSprite(t);
  return t;
}

Image Workbench() {
  Image t = BlankTile();
  // A heavy bench top that joins its neighbours, legs, and tools lying on it.
  t.Fill(0, 10, 32, 6, C(Ramp::Bark, 3));
  t.Fill(0, 10, 32, 1, C(Ramp::Bark, 4));
  t.Fill(0, 15, 32, 1, C(Ramp::Bark, 1));
  t.Fill(0, 16, 32, 3, C(Ramp::Bark, 2));
  t.Fill(3, 19, 3, 12, C(Ramp::Bark, 2));
  t.Fill(26, 19, 3, 12, C(Ramp::Bark, 1));
  t.Fill(3, 24, 26, 2, C(Ramp::Bark, 1));
  t.Fill(6, 9, 9, 2, C(Ramp::Wood, 3));
  ShadeFlat(t, Box(14, 7, 19, 12), Ramp::Steel, 3);
  Line(t, 20, 13, 28, 8, C(Ramp::Steel, 4));
  Line(t, 21, 13, 29, 9, C(Ramp::Steel, 2));
  return t;
}

}  // namespace

void PaintShopTiles(const PutTile& put) {
  put(120, Forge());
  put(121, Anvil());
  put(122, Grindstone());
  put(123, ArmourStand());
  put(124, QuenchTub());
  put(125, CoalHeap());
  put(126, Sacks());
  put(127, RiceBarrel());
  put(128, Baskets());
  put(129, Jars());
  put(130, PawnCounter());
  put(131, Strongbox());
  put(132, LedgerDesk());
  put(133, CurioShelf());
  put(134, Workbench());
}

}  // namespace pictures
