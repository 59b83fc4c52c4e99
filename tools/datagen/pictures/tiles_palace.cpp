// Row 4 of the overlay sheet: the palace's walls, pillars and furnishings.
#include <utility>

#include "tile_kit.h"

namespace pictures {
namespace {

Image Wall() {
  Image t = BlankTile();
  PalaceWall(t);
  return t;
}

Image Pillar() {
  Image t = BlankTile();
  // A round red column, gold bands at the capital and base, on a stone plinth.
  ShadeBall(t, Box(9, 4, 23, 28), 13, 16, 8, 400, Ramp::Lacquer, 1, 5);
  ShadeBall(t, Box(7, 1, 25, 5), 13, 3, 10, 400, Ramp::Gold, 1, 5);
  ShadeBall(t, Box(8, 9, 24, 11), 13, 10, 10, 400, Ramp::Gold, 1, 5);
  ShadeBall(t, Box(8, 25, 24, 27), 13, 26, 10, 400, Ramp::Gold, 1, 5);
  ShadeFlat(t, Box(6, 27, 26, 31), Ramp::Stone, 4);
  OutlineSprite(t);
  return t;
}

Image Throne() {
  Image t = BlankTile();
  // High gold back with a red panel, arms, a red cushioned seat and a front apron.
  const Shape back = Union(Box(6, 3, 26, 18), Ellipse(16, 4, 10, 3));
  ShadeFlat(t, back, Ramp::Gold, 3);
  ShadeFlat(t, Box(9, 5, 23, 16), Ramp::Red, 3);
  t.Fill(15, 7, 2, 6, C(Ramp::Gold, 4));
  t.Fill(13, 9, 6, 2, C(Ramp::Gold, 4));
  ShadeFlat(t, Box(3, 13, 8, 25), Ramp::Gold, 3);
  ShadeFlat(t, Box(24, 13, 29, 25), Ramp::Gold, 2);
  ShadeFlat(t, Box(8, 17, 24, 22), Ramp::Red, 4);
  ShadeFlat(t, Box(6, 22, 26, 30), Ramp::Gold, 2);
  for (int x = 9; x < 24; x += 4) t.Set(x, 26, C(Ramp::Red, 2));
  OutlineSprite(t);
  return t;
}

Image Brazier() {
  Image t = BlankTile();
  // Tripod legs.
  Line(t, 10, 30, 13, 20, C(Ramp::Steel, 2));
  Line(t, 22, 30, 19, 20, C(Ramp::Steel, 1));
  t.Fill(15, 21, 2, 9, C(Ramp::Steel, 3));
  // The bowl.
  const Shape bowl = Intersect(Ellipse(16, 14, 10, 8), Box(0, 14, 32, 23));
  ShadeBall(t, bowl, 13, 14, 11, 9, Ramp::Gold, 0, 4);
  t.Fill(6, 14, 20, 1, C(Ramp::Gold, 5));
  // Flames: tongues of fire, yellow at the heart.
  const Shape flame = Union(Union(Ellipse(16, 9, 6, 5), Ellipse(12, 8, 3, 5)),
                            Union(Ellipse(20, 8, 3, 5), Polygon({{13, 6}, {16, 0}, {19, 6}})));
  FillShape(t, Intersect(flame, Box(0, 0, 32, 14)), C(Ramp::Fire, 2));
  FillShape(t, Intersect(Union(Ellipse(16, 10, 4, 4), Polygon({{14, 8}, {16, 3}, {18, 8}})), Box(0, 0, 32, 14)),
            C(Ramp::Fire, 4));
  FillShape(t, Ellipse(16, 11, 2, 2.5), C(Ramp::Gold, 5));
  OutlineSprite(t);
  return t;
}

Image Statue() {
  Image t = BlankTile();
  // A stone guardian lion sitting on a plinth: mane, face, paws.
  ShadeFlat(t, Box(5, 24, 27, 31), Ramp::Stone, 4);
  ShadeBall(t, Ellipse(16, 18, 8, 7), 14, 16, 9, 8, Ramp::Stone, 2, 6);
  ShadeBall(t, Ellipse(16, 10, 8, 7.5), 14, 8, 9, 9, Ramp::Stone, 2, 6);
  ShadeBall(t, Ellipse(16, 12, 4.5, 4), 15, 11, 5, 5, Ramp::Stone, 3, 7);
  t.Set(14, 10, C(Ramp::Ink, 0));
  t.Set(18, 10, C(Ramp::Ink, 0));
  t.Fill(15, 13, 3, 1, C(Ramp::Stone, 1));
  for (const int x : {10, 20}) ShadeFlat(t, Box(x, 21, x + 3, 24), Ramp::Stone, 5);
  // Curls of the mane.
  for (const auto& [x, y] : {std::pair{10, 6}, {21, 6}, {9, 11}, {22, 11}, {12, 3}, {19, 3}}) t.Set(x, y, C(Ramp::Stone, 1));
  OutlineSprite(t);
  return t;
}

Image BannerWall() {
  Image t = BlankTile();
  PalaceWall(t);
  // A gold banner on a rod with a red sun emblem and a pointed foot.
  t.Fill(6, 6, 20, 1, C(Ramp::Wood, 1));
  const Shape banner = Polygon({{8, 7}, {24, 7}, {24, 25}, {16, 29}, {8, 25}});
  ShadeFlat(t, banner, Ramp::Gold, 3);
  ShadeBall(t, Ellipse(16, 15, 4, 4), 15, 14, 5, 5, Ramp::Red, 2, 5);
  for (int y = 21; y < 26; ++y) t.Set(16, y, C(Ramp::Red, 3));
  t.Fill(9, 9, 14, 1, C(Ramp::Gold, 1));
  return t;
}

Image Stairs() {
  Image t(32, 32, kKey);
  // Wide treads, each with a lit nose and a shaded riser.
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const int k = y % 8;
      int shade = k < 5 ? 3 : k == 5 ? 4 : 1;
      if (k == 7) shade = 0;
      if (k < 5 && (x + y) % 11 == 0) shade = 2;
      t.Set(x, y, C(Ramp::Marble, shade));
    }
  return t;
}

}  // namespace

void PaintPalaceTiles(const PutTile& put) {
  put(80, Wall());
  put(81, Pillar());
  put(82, Throne());
  put(83, Brazier());
  put(84, Statue());
  put(85, BannerWall());
  put(86, Stairs());
}

}  // namespace pictures
