// Row 3 of the overlay sheet: indoor walls and furniture.
#include "tile_kit.h"

namespace pictures {
namespace {

Image Wall() {
  Image t = BlankTile();
  InnerWall(t);
  return t;
}

Image WallWindow() {
  Image t = BlankTile();
  InnerWall(t);
  t.Fill(6, 6, 20, 18, C(Ramp::Wood, 1));
  for (int y = 8; y < 22; ++y)
    for (int x = 8; x < 24; ++x) {
      const bool lattice = (x - 8) % 5 == 4 || (y - 8) % 5 == 4;
      t.Set(x, y, lattice ? C(Ramp::Wood, 2) : C(Ramp::Plaster, y < 12 ? 4 : 3));
    }
  t.Fill(5, 24, 22, 1, C(Ramp::Wood, 4));
  return t;
}

// Furniture legs: a lit front leg and a shaded back one.
void Leg(Image& t, int x, int y0, int y1, int shade) { t.Fill(x, y0, 2, y1 - y0, C(Ramp::Wood, shade)); }

Image Table() {
  Image t = BlankTile();
  Leg(t, 4, 20, 30, 2);
  Leg(t, 26, 20, 30, 1);
  ShadeFlat(t, Box(2, 8, 30, 18), Ramp::Wood, 4);
  ShadeFlat(t, Box(2, 18, 30, 22), Ramp::Wood, 2);
  // A teapot and a cup on top.
  ShadeBall(t, Ellipse(12, 12, 3.5, 3), 11, 11, 4, 3.5, Ramp::Jade, 1, 5);
  t.Set(16, 12, C(Ramp::Jade, 2));
  t.Fill(20, 12, 3, 2, C(Ramp::Plaster, 4));
  t.Set(22, 13, C(Ramp::Plaster, 2));
  OutlineSprite(t);
  return t;
}

Image Stool() {
  Image t = BlankTile();
  Leg(t, 10, 20, 29, 2);
  Leg(t, 20, 20, 29, 1);
  t.Fill(11, 25, 10, 1, C(Ramp::Wood, 1));
  ShadeBall(t, Ellipse(16, 17, 8, 3.5), 14, 15, 9, 5, Ramp::Wood, 2, 5);
  t.Fill(8, 19, 16, 2, C(Ramp::Wood, 2));
  OutlineSprite(t);
  return t;
}

Image Bed() {
  Image t = BlankTile();
  // Frame seen from above and the foot board in front.
  ShadeFlat(t, Box(3, 1, 29, 29), Ramp::Wood, 3);
  ShadeFlat(t, Box(3, 26, 29, 31), Ramp::Wood, 2);
  // Pillow.
  ShadeBall(t, Box(7, 3, 25, 9), 12, 4, 14, 6, Ramp::Plaster, 2, 4);
  // Quilt with a stitched pattern, folded back at the top.
  ShadeFlat(t, Box(5, 9, 27, 26), Ramp::Blue, 3);
  t.Fill(5, 9, 22, 2, C(Ramp::Plaster, 4));
  for (int y = 13; y < 25; y += 4)
    for (int x = 8; x < 25; x += 4) t.Set(x + (y / 4) % 2 * 2, y, C(Ramp::Gold, 3));
  OutlineSprite(t);
  return t;
}

// A long counter that joins up with its neighbours on both sides.
Image Counter() {
  Image t = BlankTile();
  t.Fill(0, 8, 32, 6, C(Ramp::Wood, 4));
  t.Fill(0, 8, 32, 1, C(Ramp::Wood, 5));
  t.Fill(0, 13, 32, 1, C(Ramp::Wood, 2));
  Boards(t, 0, 14, 32, 30, 8, true, Ramp::Wood, 2, 65);
  t.Fill(0, 30, 32, 2, C(Ramp::Wood, 0));
  // An abacus on top.
  t.Fill(18, 6, 10, 5, C(Ramp::Wood, 1));
  for (int x = 19; x < 27; x += 2) {
    t.Set(x, 7, C(Ramp::Red, 3));
    t.Set(x, 9, C(Ramp::Red, 3));
  }
  t.Fill(18, 8, 10, 1, C(Ramp::Wood, 3));
  return t;
}

Image Shelf() {
  Image t = BlankTile();
  ShadeFlat(t, Box(2, 1, 30, 31), Ramp::Wood, 2);
  t.Fill(4, 3, 24, 26, C(Ramp::Wood, 0));
  for (const int y : {11, 20, 29}) {
    t.Fill(4, y, 24, 2, C(Ramp::Wood, 4));
    t.Fill(4, y + 1, 24, 1, C(Ramp::Wood, 2));
  }
  // Jars on the top shelf, bags on the middle one, a box below.
  for (const int x : {7, 14, 21}) ShadeBall(t, Ellipse(x + 2, 8, 3, 3.5), x + 1, 7, 3.5, 4, Ramp::Jade, 1, 5);
  t.Fill(8, 3, 2, 2, C(Ramp::Jade, 2));
  ShadeBall(t, Ellipse(10, 17, 4, 3.5), 9, 15, 5, 5, Ramp::Sand, 1, 4);
  ShadeBall(t, Ellipse(21, 17, 4, 3.5), 20, 15, 5, 5, Ramp::Earth, 2, 5);
  ShadeFlat(t, Box(7, 22, 17, 29), Ramp::Red, 3);
  ShadeFlat(t, Box(19, 24, 26, 29), Ramp::Blue, 3);
  OutlineSprite(t);
  return t;
}

Image Barrel() {
  Image t = BlankTile();
  const Shape body = Union(Ellipse(16, 18, 10, 11), Box(7, 9, 25, 28));
  const Shape s = Intersect(body, Box(6, 7, 26, 30));
  ShadeBall(t, s, 14, 18, 11, 60, Ramp::Wood, 1, 5);
  for (const int y : {11, 18, 25})
    for (int x = 5; x < 27; ++x)
      if (t.Get(x, y) != kKey) t.Set(x, y, C(Ramp::Steel, x < 12 ? 4 : x < 20 ? 3 : 1));
  // The lid, seen from a little above.
  FillShape(t, Ellipse(16, 8, 9, 2.5), C(Ramp::Wood, 4));
  FillShape(t, Ellipse(16, 8.5, 7, 1.5), C(Ramp::Wood, 3));
  OutlineSprite(t);
  return t;
}

Image Crate() {
  Image t = BlankTile();
  // Top face, front face with planks and a cross brace.
  ShadeFlat(t, Box(4, 5, 28, 11), Ramp::Wood, 4);
  Boards(t, 4, 11, 28, 29, 6, false, Ramp::Wood, 3, 68);
  Line(t, 6, 13, 25, 27, C(Ramp::Wood, 4));
  Line(t, 6, 14, 25, 28, C(Ramp::Wood, 1));
  t.Fill(4, 11, 2, 18, C(Ramp::Wood, 4));
  t.Fill(26, 11, 2, 18, C(Ramp::Wood, 1));
  OutlineSprite(t);
  return t;
}

Image Vase() {
  Image t = BlankTile();
  const Shape body = Union(Union(Ellipse(16, 20, 8, 9), Box(13, 4, 19, 12)), Ellipse(16, 5, 5, 2));
  ShadeBall(t, Intersect(body, Box(0, 3, 32, 30)), 14, 16, 9, 14, Ramp::Marble, 1, 4);
  // Blue painted bands.
  for (int x = 8; x < 25; ++x)
    for (const int y : {14, 23}) {
      if (t.Get(x, y) != kKey) t.Set(x, y, C(Ramp::Blue, 2));
    }
  for (int x = 10; x < 23; x += 3) t.Set(x, 18 + (x % 2), C(Ramp::Blue, 3));
  t.Fill(13, 4, 6, 1, C(Ramp::Blue, 1));
  OutlineSprite(t);
  return t;
}

Image Stove() {
  Image t = BlankTile();
  // Clay body with the fire mouth in front.
  ShadeFlat(t, Box(3, 12, 29, 30), Ramp::Earth, 3);
  ShadeFlat(t, Box(3, 9, 29, 13), Ramp::Earth, 4);
  FillShape(t, Union(Ellipse(16, 24, 5, 4), Box(11, 24, 21, 30)), C(Ramp::Ink, 1));
  t.Fill(12, 26, 8, 3, C(Ramp::Fire, 3));
  t.Fill(14, 25, 4, 2, C(Ramp::Fire, 5));
  // The black pot sitting on top.
  ShadeBall(t, Intersect(Ellipse(16, 8, 9, 6), Box(0, 3, 32, 11)), 14, 6, 10, 7, Ramp::Steel, 0, 3);
  t.Fill(8, 3, 16, 1, C(Ramp::Steel, 3));
  // Steam.
  t.Set(14, 1, C(Ramp::Stone, 6));
  t.Set(15, 0, C(Ramp::Stone, 6));
  t.Set(18, 1, C(Ramp::Stone, 5));
  OutlineSprite(t);
  return t;
}

Image Bookcase() {
  Image t = BlankTile();
  ShadeFlat(t, Box(2, 1, 30, 31), Ramp::Wood, 2);
  t.Fill(4, 3, 24, 26, C(Ramp::Wood, 0));
  const Ramp spines[] = {Ramp::Red, Ramp::Blue, Ramp::Green, Ramp::Gold, Ramp::Purple, Ramp::Earth};
  for (int shelf = 0; shelf < 3; ++shelf) {
    const int base = 11 + shelf * 9;
    int x = 4;
    for (int b = 0; x < 27; ++b) {
      const std::uint32_t h = Hash(b, shelf, 71);
      const int w = 2 + static_cast<int>(h % 2), height = 6 + static_cast<int>((h >> 4) % 2);
      const Ramp r = spines[(h >> 8) % 6];
      t.Fill(x, base - height, w, height, C(r, 3));
      t.Fill(x, base - height, 1, height, C(r, 4));
      t.Set(x, base - height + 2, C(Ramp::Gold, 4));
      x += w + (b % 4 == 3 ? 1 : 0);
    }
    t.Fill(4, base, 24, 2, C(Ramp::Wood, 4));
  }
  OutlineSprite(t);
  return t;
}

Image WeaponRack() {
  Image t = BlankTile();
  // Two uprights and two cross bars.
  t.Fill(3, 4, 3, 26, C(Ramp::Wood, 3));
  t.Fill(26, 4, 3, 26, C(Ramp::Wood, 2));
  t.Fill(3, 8, 26, 2, C(Ramp::Wood, 3));
  t.Fill(3, 24, 26, 2, C(Ramp::Wood, 2));
  // Spears with steel heads and swords standing point up.
  for (const int x : {9, 22}) {
    t.Fill(x, 4, 1, 26, C(Ramp::Wood, 4));
    t.Fill(x - 1, 1, 3, 4, C(Ramp::Steel, 4));
    t.Set(x, 0, C(Ramp::Steel, 5));
    t.Set(x + 1, 4, C(Ramp::Red, 3));
  }
  for (const int x : {14, 17}) {
    t.Fill(x, 6, 2, 16, C(Ramp::Steel, 4));
    t.Fill(x + 1, 6, 1, 16, C(Ramp::Steel, 2));
    t.Set(x, 5, C(Ramp::Steel, 5));
    t.Fill(x - 1, 22, 4, 1, C(Ramp::Gold, 3));
    t.Fill(x, 23, 2, 5, C(Ramp::Wood, 1));
  }
  OutlineSprite(t);
  return t;
}

Image Plant() {
  Image t = BlankTile();
  // Pot.
  const Shape pot = Polygon({{9, 20}, {23, 20}, {21, 30}, {11, 30}});
  ShadeBall(t, pot, 14, 22, 10, 12, Ramp::Earth, 1, 5);
  t.Fill(8, 19, 16, 2, C(Ramp::Earth, 4));
  // Leaves fanning out.
  const struct { double x, y, rx, ry; } kLeaves[] = {{10, 13, 5, 3}, {22, 13, 5, 3}, {16, 8, 3.5, 6},
                                                     {11, 6, 3, 4}, {21, 6, 3, 4}};
  for (const auto& l : kLeaves) ShadeBall(t, Ellipse(l.x, l.y, l.rx, l.ry), l.x - 1, l.y - 1, l.rx + 1, l.ry + 1, Ramp::Leaf, 1, 5);
  Line(t, 16, 19, 16, 10, C(Ramp::Leaf, 1));
  OutlineSprite(t);
  return t;
}

}  // namespace

void PaintInteriorTiles(const PutTile& put) {
  put(60, Wall());
  put(61, WallWindow());
  put(62, Table());
  put(63, Stool());
  put(64, Bed());
  put(65, Counter());
  put(66, Shelf());
  put(67, Barrel());
  put(68, Crate());
  put(69, Vase());
  put(70, Stove());
  put(71, Bookcase());
  put(72, WeaponRack());
  put(73, Plant());
}

}  // namespace pictures
