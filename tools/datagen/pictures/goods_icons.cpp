// pic/goods.bmp: 48 × 48 cells, 8 to a row. Cell 0 is the empty slot, cell 1 the cursor drawn over
// the chosen slot, cell k the icon of goods k (the catalogue's list).
#include <cmath>
#include <cstdlib>
#include <utility>

#include "brush.h"
#include "frame_style.h"
#include "sheets.h"

namespace pictures {
namespace {

constexpr int kCell = 48;

Image Cell() { return Image(kCell, kCell, kKey); }

Image EmptySlot() {
  Image c = Cell();
  DrawInset(c, 1, 1, 46, 46);
  c.Fill(3, 3, 42, 42, C(Ramp::Panel, 0));
  for (int k = 3; k < 45; k += 2) c.Set(k, 3, C(Ramp::Panel, 1));
  return c;
}

Image Cursor() {
  Image c = Cell();
  for (int d = 0; d < 3; ++d) {
    const std::uint8_t col = d == 1 ? C(Ramp::Gold, 5) : C(Ramp::Gold, 2);
    for (int i = d; i < kCell - d; ++i) {
      c.Set(i, d, col);
      c.Set(i, kCell - 1 - d, col);
      c.Set(d, i, col);
      c.Set(kCell - 1 - d, i, col);
    }
  }
  // Bright corner brackets.
  for (const auto& [x, y] : {std::pair{3, 3}, {37, 3}, {3, 37}, {37, 37}}) {
    const int sx = x < 20 ? 1 : -1, sy = y < 20 ? 1 : -1;
    const int ox = x < 20 ? x : x + 7, oy = y < 20 ? y : y + 7;
    for (int k = 0; k < 8; ++k) {
      c.Set(ox + sx * k, oy, kWhite);
      c.Set(ox, oy + sy * k, kWhite);
    }
  }
  return c;
}

Image Bun() {
  Image c = Cell();
  ShadeBall(c, Ellipse(24, 27, 15, 11), 20, 22, 17, 14, Ramp::Marble, 1, 4);
  // Pleats gathered at the top.
  for (int k = -2; k <= 2; ++k) Line(c, 24, 19, 24 + k * 5, 25 + std::abs(k), C(Ramp::Marble, 2));
  c.Fill(23, 18, 3, 2, C(Ramp::Marble, 4));
  c.Fill(10, 36, 28, 2, C(Ramp::Wood, 3));  // a bamboo steamer mat
  OutlineSprite(c);
  return c;
}

Image Herb() {
  Image c = Cell();
  Line(c, 24, 40, 24, 14, C(Ramp::Green, 2));
  Line(c, 25, 40, 25, 14, C(Ramp::Green, 1));
  const struct { double x, y, rx, ry; } kLeaves[] = {{17, 20, 6, 3.5}, {31, 18, 6, 3.5}, {16, 30, 7, 4},
                                                     {32, 28, 7, 4}, {24, 11, 3.5, 5}};
  for (const auto& l : kLeaves) {
    ShadeBall(c, Ellipse(l.x, l.y, l.rx, l.ry), l.x - 1.5, l.y - 1.5, l.rx + 1.5, l.ry + 1.5, Ramp::Green, 1, 5);
    Line(c, static_cast<int>(l.x - l.rx * 0.6), static_cast<int>(l.y), static_cast<int>(l.x + l.rx * 0.6), static_cast<int>(l.y), C(Ramp::Green, 2));
  }
  OutlineSprite(c);
  return c;
}

// A bottle: round belly, neck and cork, the liquid showing in `ramp`.
Image Bottle(Ramp ramp, bool gourd) {
  Image c = Cell();
  if (gourd) {
    ShadeBall(c, Ellipse(24, 32, 11, 10), 20, 28, 13, 12, ramp, 1, 5);
    ShadeBall(c, Ellipse(24, 17, 7, 6.5), 22, 15, 8, 8, ramp, 1, 5);
    c.Fill(19, 22, 10, 2, C(Ramp::Red, 3));
    c.Fill(22, 8, 4, 4, C(Ramp::Wood, 3));
    Line(c, 25, 23, 30, 30, C(Ramp::Red, 3));
  } else {
    ShadeBall(c, Ellipse(24, 31, 11, 11), 20, 27, 13, 13, Ramp::Stone, 4, 7);
    ShadeBall(c, Intersect(Ellipse(24, 32, 10, 10), Box(0, 27, 48, 48)), 20, 28, 12, 12, ramp, 1, 5);
    ShadeFlat(c, Box(21, 13, 27, 21), Ramp::Stone, 5);
    ShadeFlat(c, Box(20, 9, 28, 14), Ramp::Wood, 3);
    c.Fill(18, 26, 3, 3, kWhite);
  }
  OutlineSprite(c);
  return c;
}

// A straight sword lying diagonally: blade colours from `blade`, with guard and grip.
Image Sword(Ramp blade, int lo, int hi, Ramp grip) {
  Image c = Cell();
  for (int k = 0; k < 3; ++k) Line(c, 14 + k, 34, 37 + k - 1, 11 - (k == 1 ? 0 : 1) + (k == 2 ? 1 : 0), C(blade, k == 0 ? hi : k == 1 ? (lo + hi) / 2 + 1 : lo));
  Line(c, 38, 9, 39, 9, C(blade, hi));
  // Guard, grip and pommel.
  Line(c, 10, 30, 18, 38, C(Ramp::Gold, 4));
  Line(c, 11, 30, 19, 38, C(Ramp::Gold, 2));
  for (int k = 0; k < 2; ++k) Line(c, 13 + k, 36, 8 + k, 41, C(grip, k == 0 ? 3 : 1));
  c.Fill(6, 41, 3, 3, C(Ramp::Gold, 3));
  OutlineSprite(c);
  return c;
}

Image LeatherArmor() {
  Image c = Cell();
  const Shape vest = Polygon({{12, 10}, {19, 10}, {24, 15}, {29, 10}, {36, 10}, {38, 20}, {35, 22}, {36, 40},
                              {12, 40}, {13, 22}, {10, 20}});
  ShadeBall(c, vest, 20, 18, 20, 26, Ramp::Earth, 1, 5);
  Line(c, 24, 15, 24, 40, C(Ramp::Earth, 1));
  for (int y = 20; y < 38; y += 5) {
    c.Set(22, y, C(Ramp::Gold, 4));
    c.Set(26, y, C(Ramp::Gold, 4));
  }
  c.Fill(12, 33, 24, 2, C(Ramp::Bark, 2));
  OutlineSprite(c);
  return c;
}

Image IronArmor() {
  Image c = Cell();
  const Shape plate = Polygon({{11, 12}, {20, 10}, {24, 13}, {28, 10}, {37, 12}, {38, 24}, {33, 38}, {24, 41},
                               {15, 38}, {10, 24}});
  ShadeBall(c, plate, 19, 17, 20, 24, Ramp::Steel, 1, 5);
  Line(c, 24, 14, 24, 40, C(Ramp::Steel, 2));
  ShadeBall(c, Ellipse(17, 22, 4, 4), 16, 20, 5, 5, Ramp::Steel, 3, 5);
  ShadeBall(c, Ellipse(31, 22, 4, 4), 30, 20, 5, 5, Ramp::Steel, 2, 4);
  for (const int x : {14, 34}) c.Set(x, 13, C(Ramp::Gold, 4));
  OutlineSprite(c);
  return c;
}

Image Shield() {
  Image c = Cell();
  ShadeBall(c, Ellipse(24, 24, 17, 17), 19, 19, 20, 20, Ramp::Wood, 1, 5);
  const Shape rim = Minus(Ellipse(24, 24, 17, 17), Ellipse(24, 24, 14.5, 14.5));
  ShadeBall(c, rim, 19, 19, 20, 20, Ramp::Steel, 1, 5);
  ShadeBall(c, Ellipse(24, 24, 5, 5), 23, 23, 6, 6, Ramp::Gold, 1, 5);
  for (int a = 0; a < 8; ++a) {
    const double t = a * 3.14159265 / 4;
    c.Set(static_cast<int>(24 + std::cos(t) * 15.8), static_cast<int>(24 + std::sin(t) * 15.8), C(Ramp::Gold, 5));
  }
  OutlineSprite(c);
  return c;
}

Image Manual() {
  Image c = Cell();
  // A stitched book, cover in blue with a paper label.
  ShadeFlat(c, Box(12, 8, 36, 41), Ramp::Blue, 3);
  c.Fill(12, 38, 24, 3, C(Ramp::Marble, 3));  // page edges
  c.Fill(33, 10, 3, 28, C(Ramp::Marble, 4));
  for (int y = 11; y < 38; y += 5) c.Fill(12, y, 3, 1, C(Ramp::Plaster, 4));
  ShadeFlat(c, Box(19, 13, 27, 32), Ramp::Marble, 4);
  for (int y = 16; y < 30; y += 3) c.Fill(21, y, 4, 1, C(Ramp::Ink, 1));
  OutlineSprite(c);
  return c;
}

Image Scroll() {
  Image c = Cell();
  // Rolled paper lying across, wooden rod ends, a red tie.
  ShadeBall(c, Box(9, 17, 39, 31), 20, 18, 30, 9, Ramp::Marble, 1, 4);
  ShadeBall(c, Ellipse(9, 24, 3, 7), 8, 22, 4, 8, Ramp::Marble, 2, 4);
  c.Fill(5, 22, 3, 5, C(Ramp::Wood, 2));
  c.Fill(40, 22, 3, 5, C(Ramp::Wood, 2));
  c.Fill(38, 17, 2, 14, C(Ramp::Marble, 1));
  ShadeFlat(c, Box(22, 16, 26, 32), Ramp::Red, 3);
  Line(c, 24, 32, 21, 38, C(Ramp::Red, 3));
  Line(c, 24, 32, 27, 38, C(Ramp::Red, 2));
  OutlineSprite(c);
  return c;
}

Image Ring() {
  Image c = Cell();
  const Shape band = Minus(Ellipse(24, 28, 12, 9), Ellipse(24, 29, 8.5, 5.5));
  ShadeBall(c, band, 20, 24, 14, 12, Ramp::Gold, 1, 5);
  ShadeBall(c, Ellipse(24, 17, 5, 5), 22, 15, 6, 6, Ramp::Red, 1, 5);
  c.Fill(22, 15, 2, 2, kWhite);
  OutlineSprite(c);
  return c;
}

Image Amulet() {
  Image c = Cell();
  // The cord hanging in a V, a round jade disc with a hole.
  Line(c, 13, 6, 22, 22, C(Ramp::Red, 3));
  Line(c, 35, 6, 26, 22, C(Ramp::Red, 2));
  const Shape disc = Minus(Ellipse(24, 31, 11, 11), Ellipse(24, 31, 3.5, 3.5));
  ShadeBall(c, disc, 20, 27, 13, 13, Ramp::Jade, 1, 5);
  for (const int k : {0, 1, 2, 3}) c.Set(17 + k * 4, 37 - (k % 2) * 2, C(Ramp::Jade, 4));
  OutlineSprite(c);
  return c;
}

Image Ginseng() {
  Image c = Cell();
  // A forked root, legs and arms like a little man, with leaves on top.
  const Shape root = Union(Union(Ellipse(24, 24, 6, 9), Polygon({{20, 28}, {23, 29}, {17, 42}, {15, 41}})),
                           Union(Polygon({{25, 29}, {28, 28}, {33, 41}, {31, 42}}), Polygon({{19, 20}, {21, 22}, {11, 29}, {10, 27}})));
  ShadeBall(c, Union(root, Polygon({{27, 20}, {29, 22}, {38, 26}, {37, 28}})), 21, 20, 12, 18, Ramp::Sand, 0, 4);
  for (int y = 19; y < 32; y += 3) c.Fill(21, y, 5, 1, C(Ramp::Sand, 1));
  for (const auto& [x, y] : {std::pair{20.0, 10.0}, {28.0, 10.0}, {24.0, 7.0}}) ShadeBall(c, Ellipse(x, y, 3.5, 3), x - 1, y - 1, 4, 4, Ramp::Green, 1, 5);
  c.Fill(23, 12, 2, 4, C(Ramp::Green, 2));
  c.Set(24, 5, C(Ramp::Red, 4));
  c.Set(25, 5, C(Ramp::Red, 3));
  OutlineSprite(c);
  return c;
}

Image Tea() {
  Image c = Cell();
  // A saucer, a lidless cup with tea, steam rising.
  ShadeBall(c, Ellipse(24, 37, 16, 4), 20, 35, 18, 6, Ramp::Marble, 1, 4);
  const Shape cup = Union(Intersect(Ellipse(24, 24, 11, 13), Box(0, 24, 48, 48)), Box(13, 20, 35, 25));
  ShadeBall(c, Intersect(cup, Box(0, 0, 48, 37)), 20, 24, 13, 14, Ramp::Marble, 1, 4);
  FillShape(c, Ellipse(24, 21, 10, 2.5), C(Ramp::Earth, 4));
  FillShape(c, Ellipse(24, 21.5, 8, 1.5), C(Ramp::Earth, 3));
  for (int x = 15; x < 34; x += 3) c.Set(x, 29, C(Ramp::Blue, 3));
  for (int k = 0; k < 3; ++k) {
    const int sx = 19 + k * 5;
    for (int y = 8; y < 17; ++y) c.Set(sx + ((y / 3) % 2), y, C(Ramp::Stone, k == 1 ? 6 : 5));
  }
  OutlineSprite(c);
  return c;
}

Image Meat() {
  Image c = Cell();
  // A roasted leg: the bone sticking out at the top left.
  ShadeBall(c, Ellipse(28, 28, 12, 10), 24, 24, 14, 12, Ramp::Earth, 1, 5);
  for (int k = 0; k < 3; ++k) Line(c, 11 + k, 12, 22 + k, 23, C(Ramp::Marble, 4 - k));
  ShadeBall(c, Union(Ellipse(10, 10, 3, 3), Ellipse(13, 8, 3, 3)), 10, 8, 4, 4, Ramp::Marble, 2, 4);
  for (const auto& [x, y] : {std::pair{26, 24}, {31, 29}, {24, 32}}) {
    c.Set(x, y, C(Ramp::Earth, 5));
    c.Set(x + 1, y, C(Ramp::Gold, 4));
  }
  OutlineSprite(c);
  return c;
}

Image Pearl() {
  Image c = Cell();
  // A pearl resting in an open shell, with a sparkle.
  const Shape shell = Intersect(Ellipse(24, 30, 16, 10), Box(0, 30, 48, 48));
  ShadeBall(c, shell, 22, 30, 18, 12, Ramp::Pink, 0, 4);
  for (int k = -2; k <= 2; ++k) Line(c, 24, 38, 24 + k * 6, 31, C(Ramp::Pink, 1));
  ShadeBall(c, Ellipse(24, 25, 8, 8), 21, 22, 9, 9, Ramp::Marble, 1, 4);
  c.Fill(20, 21, 2, 2, kWhite);
  for (int k = 0; k < 4; ++k) {
    c.Set(36, 10 + k, kWhite);
    c.Set(34 + k, 12, kWhite);
  }
  OutlineSprite(c);
  return c;
}

}  // namespace

Image PaintGoodsSheet() {
  Image sheet(384, 192, kKey);
  auto put = [&](int k, const Image& cell) { sheet.Paste(cell, kCell * (k % 8), kCell * (k / 8), false); };
  put(0, EmptySlot());
  put(1, Cursor());
  put(2, Bun());
  put(3, Herb());
  put(4, Bottle(Ramp::Red, false));
  put(5, Bottle(Ramp::Gold, true));
  put(6, Sword(Ramp::Wood, 2, 5, Ramp::Bark));
  put(7, Sword(Ramp::Steel, 2, 5, Ramp::Bark));
  put(8, Sword(Ramp::Jade, 2, 5, Ramp::Red));
  put(9, LeatherArmor());
  put(10, IronArmor());
  put(11, Shield());
  put(12, Manual());
  put(13, Scroll());
  put(14, Ring());
  put(15, Amulet());
  put(16, Ginseng());
  put(17, Tea());
  put(18, Meat());
  put(19, Pearl());
  return sheet;
}

}  // namespace pictures
