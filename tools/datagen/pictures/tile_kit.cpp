#include "tile_kit.h"

namespace pictures {

void Boards(Image& t, int x0, int y0, int x1, int y1, int board, bool vertical, Ramp ramp, int base, int seed) {
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      const int along = vertical ? x - x0 : y - y0;
      const int k = along % board;
      const int index = along / board;
      int shade = base + static_cast<int>(Hash(index, seed, 3) % 2) - (index % 2 == 1 ? 0 : 0);
      if (k == board - 1) shade = base - 2;       // the gap
      else if (k == 0) shade = base + 1;          // lit edge
      const int grain_at = static_cast<int>(Hash(index, seed, 5) % 7);
      const int across = vertical ? y - y0 : x - x0;
      if (k > 1 && k < board - 2 && k == 1 + grain_at % (board - 3) && (across / 3) % 3 != 0) shade = base - 1;
      t.Set(x, y, C(ramp, shade));
    }
}

// Big stone blocks in courses of 8, joints staggered.
void StoneBlocks(Image& t, int x0, int y0, int x1, int y1, int lift) {
  for (int y = y0; y < y1; ++y)
    for (int x = x0; x < x1; ++x) {
      const int course = y / 8, k = y % 8;
      const int bx = (x + (course % 2) * 8) % 16;
      const int block = (x + (course % 2) * 8) / 16 + course * 3;
      int shade = 3 + lift + static_cast<int>(Hash(block, 0, 61) % 2);
      if (k == 7 || bx == 15) shade = 1;
      else if (k == 0 || bx == 0) shade += 1;
      else if (k == 6 || bx == 14) shade -= 1;
      t.Set(x, y, C(Ramp::Stone, shade));
    }
}

const std::vector<Sett>& PavingSetts() {
  static const std::vector<Sett> setts = [] {
    std::vector<Sett> out;
    constexpr int kOffsets[] = {0, 5, 2, 7};
    constexpr int kWidths[4][4] = {{9, 7, 8, 8}, {8, 9, 7, 8}, {7, 8, 9, 8}, {8, 8, 7, 9}};
    for (int course = 0; course < 4; ++course) {
      int x = kOffsets[course];
      for (int k = 0; k < 4; ++k) {
        out.push_back({course, k, x, kWidths[course][k]});
        x += kWidths[course][k];
      }
    }
    return out;
  }();
  return setts;
}

void PaintSett(Image& t, const Sett& s, Ramp ramp, int shade) {
  for (int j = 1; j < 7; ++j)
    for (int i = 1; i < s.width; ++i) {
      if ((j == 1 || j == 6) && (i == 1 || i == s.width - 1)) continue;  // rounded corners
      int c = shade;
      if (j == 1 || i == 1) c = shade + 1;
      if (j == 6 || i == s.width - 1) c = shade - 1;
      WrapSet(t, s.x + i, s.course * 8 + j, C(ramp, c));
    }
}

void HouseWall(Image& t) {
  // Eave shadow under the roof and the beam below it.
  t.Fill(0, 0, 32, 2, C(Ramp::Ink, 1));
  t.Fill(0, 2, 32, 2, C(Ramp::Wood, 1));
  t.Fill(0, 4, 32, 2, C(Ramp::Wood, 3));
  t.Fill(0, 6, 32, 1, C(Ramp::Wood, 1));
  // Plaster face, a little darker near the top where the eave shades it.
  for (int y = 7; y < 26; ++y)
    for (int x = 0; x < 32; ++x) {
      int shade = y < 10 ? 2 : 3;
      if (y >= 10 && y < 12 && (x + y) % 2 == 0) shade = 2;  // soft edge of the shadow
      t.Set(x, y, C(Ramp::Plaster, shade));
    }
  // A few weathering marks.
  t.Set(5, 15, C(Ramp::Plaster, 2));
  t.Set(6, 15, C(Ramp::Plaster, 2));
  t.Set(23, 20, C(Ramp::Plaster, 2));
  t.Set(27, 12, C(Ramp::Plaster, 4));
  // Stone plinth.
  t.Fill(0, 26, 32, 6, C(Ramp::Stone, 3));
  t.Fill(0, 26, 32, 1, C(Ramp::Stone, 5));
  t.Fill(0, 31, 32, 1, C(Ramp::Stone, 1));
  for (const int x : {3, 15, 27}) t.Fill(x, 27, 1, 4, C(Ramp::Stone, 1));
  t.Fill(9, 29, 1, 2, C(Ramp::Stone, 2));
  t.Fill(21, 28, 1, 3, C(Ramp::Stone, 2));
}

void InnerWall(Image& t) {
  t.Fill(0, 0, 32, 3, C(Ramp::Wood, 1));
  t.Fill(0, 3, 32, 1, C(Ramp::Wood, 3));
  Boards(t, 0, 4, 32, 27, 8, true, Ramp::Wood, 3, 71);
  t.Fill(0, 27, 32, 1, C(Ramp::Wood, 4));
  t.Fill(0, 28, 32, 3, C(Ramp::Wood, 2));
  t.Fill(0, 31, 32, 1, C(Ramp::Wood, 0));
}

void PalaceWall(Image& t) {
  t.Fill(0, 0, 32, 32, C(Ramp::Lacquer, 3));
  for (int y = 7; y < 26; ++y)
    for (int x = 0; x < 32; ++x)
      if ((x % 16 == 0) || (x % 16 == 15)) t.Set(x, y, C(Ramp::Lacquer, x % 16 == 0 ? 4 : 2));
  // Gold trim band at the top with a row of studs, and a darker dado below.
  t.Fill(0, 0, 32, 1, C(Ramp::Gold, 1));
  t.Fill(0, 1, 32, 1, C(Ramp::Gold, 5));
  t.Fill(0, 2, 32, 3, C(Ramp::Gold, 3));
  t.Fill(0, 5, 32, 1, C(Ramp::Gold, 1));
  for (int x = 2; x < 32; x += 4) t.Set(x, 3, C(Ramp::Gold, 5));
  t.Fill(0, 24, 32, 1, C(Ramp::Gold, 4));
  t.Fill(0, 25, 32, 5, C(Ramp::Lacquer, 1));
  t.Fill(0, 30, 32, 2, C(Ramp::Stone, 2));
}

}  // namespace pictures
