// The treasure chests: closed (301) and opened (302). They are meant to catch the eye: red-brown
// wood, bright gold bands and lock.
#include "tile_kit.h"

namespace pictures {
namespace {

void ChestBody(Image& t) {
  ShadeFlat(t, Box(4, 16, 28, 29), Ramp::Lacquer, 3);
  // Gold bands and corners.
  for (const int x : {8, 22}) ShadeFlat(t, Box(x, 16, x + 3, 29), Ramp::Gold, 3);
  t.Fill(4, 27, 24, 2, C(Ramp::Gold, 2));
  t.Fill(4, 16, 24, 1, C(Ramp::Gold, 4));
}

Image Closed() {
  Image t = BlankTile();
  ChestBody(t);
  // Rounded lid with the same bands.
  const Shape lid = Intersect(Ellipse(16, 16, 12, 9), Box(4, 6, 28, 16));
  ShadeBall(t, lid, 12, 11, 14, 11, Ramp::Lacquer, 2, 5);
  for (const int x : {8, 22})
    for (int y = 6; y < 16; ++y)
      if (lid(x + 0.5, y + 0.5)) t.Fill(x, y, 3, 1, C(Ramp::Gold, y < 10 ? 5 : 4));
  t.Fill(4, 15, 24, 1, C(Ramp::Lacquer, 1));
  // The lock plate with its keyhole, straddling lid and body.
  ShadeFlat(t, Box(13, 13, 19, 20), Ramp::Gold, 4);
  t.Set(16, 16, C(Ramp::Ink, 0));
  t.Set(16, 17, C(Ramp::Ink, 0));
  // A glint.
  t.Set(6, 9, C(Ramp::Gold, 5));
  t.Set(5, 8, kWhite);
  OutlineSprite(t);
  return t;
}

Image Open() {
  Image t = BlankTile();
  // The lid thrown back, showing its dark inside, then the empty hollow of the chest.
  const Shape lid = Box(4, 2, 28, 11);
  ShadeFlat(t, lid, Ramp::Lacquer, 2);
  t.Fill(6, 4, 20, 6, C(Ramp::Lacquer, 1));
  for (const int x : {8, 22}) t.Fill(x, 2, 3, 9, C(Ramp::Gold, 3));
  ChestBody(t);
  t.Fill(5, 11, 22, 5, C(Ramp::Wood, 0));
  t.Fill(5, 11, 22, 1, C(Ramp::Ink, 0));
  t.Fill(4, 16, 24, 1, C(Ramp::Gold, 5));
  ShadeFlat(t, Box(13, 17, 19, 21), Ramp::Gold, 4);
  OutlineSprite(t);
  return t;
}

}  // namespace

void PaintChestTiles(const PutTile& put) {
  put(301, Closed());
  put(302, Open());
}

}  // namespace pictures
