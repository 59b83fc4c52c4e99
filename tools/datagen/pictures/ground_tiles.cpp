// Ground tiles: one 32 × 32 tile per map, painted under every cell, so each tiles seamlessly with
// itself (all texture wraps around the tile's edges).
#include <cstdlib>

#include "brush.h"
#include "datagen/common/catalog.h"
#include "palette.h"
#include "sheets.h"
#include "tile_kit.h"

namespace pictures {
namespace {

// Sets a pixel of a 32 × 32 tile, wrapping around its edges.
void Wrap(Image& t, int x, int y, std::uint8_t c) { t.Set(((x % 32) + 32) % 32, ((y % 32) + 32) % 32, c); }

// A small blade cluster: dark root, mid blade, light tip.
void Tuft(Image& t, int x, int y, Ramp r, int base) {
  Wrap(t, x, y, C(r, base - 1));
  Wrap(t, x, y - 1, C(r, base + 1));
  Wrap(t, x + 2, y, C(r, base - 1));
  Wrap(t, x + 2, y - 1, C(r, base));
  Wrap(t, x + 2, y - 2, C(r, base + 2));
  Wrap(t, x + 1, y, C(r, base - 1));
}

// Soft patches of a neighbouring shade: a few 2 × 2 clusters.
void Patches(Image& t, int seed, int count, std::uint8_t c) {
  for (int k = 0; k < count; ++k) {
    const std::uint32_t h = Hash(k, seed, 11);
    const int x = static_cast<int>(h % 32), y = static_cast<int>((h >> 8) % 32);
    Wrap(t, x, y, c);
    Wrap(t, x + 1, y, c);
    Wrap(t, x, y + 1, c);
    if (h & 0x10000) Wrap(t, x + 1, y + 1, c);
    if (h & 0x20000) Wrap(t, x + 2, y, c);
  }
}

void Pebble(Image& t, int x, int y) {
  Wrap(t, x, y, C(Ramp::Stone, 5));
  Wrap(t, x + 1, y, C(Ramp::Stone, 4));
  Wrap(t, x, y + 1, C(Ramp::Stone, 3));
  Wrap(t, x + 1, y + 1, C(Ramp::Stone, 2));
  Wrap(t, x, y + 2, C(Ramp::Earth, 1));
  Wrap(t, x + 1, y + 2, C(Ramp::Earth, 1));
}

Image Grass() {
  Image t(32, 32, C(Ramp::Grass, 3));
  Patches(t, 1, 9, C(Ramp::Grass, 2));
  Patches(t, 2, 5, C(Ramp::Grass, 4));
  for (int k = 0; k < 7; ++k) {
    const std::uint32_t h = Hash(k, 3, 5);
    Tuft(t, static_cast<int>(h % 32), static_cast<int>((h >> 8) % 32), Ramp::Grass, 3);
  }
  return t;
}

Image Dirt() {
  Image t(32, 32, C(Ramp::Earth, 3));
  Patches(t, 4, 8, C(Ramp::Earth, 2));
  Patches(t, 5, 6, C(Ramp::Earth, 4));
  for (int k = 0; k < 4; ++k) {
    const std::uint32_t h = Hash(k, 6, 7);
    Pebble(t, static_cast<int>(h % 32), static_cast<int>((h >> 8) % 32));
  }
  return t;
}

// Laid setts in courses of 8 pixels, joints staggered, in calm greys: the paving overlays
// bring the warmer, worn and mossy patches that keep a square from looking like wallpaper.
Image Cobble() {
  Image t(32, 32, C(Ramp::Stone, 2));
  // One light and one dark sett in each course, never in line with the course above.
  constexpr int kShades[4][4] = {{4, 5, 3, 4}, {3, 4, 4, 5}, {4, 4, 5, 3}, {5, 3, 4, 4}};
  for (const Sett& s : PavingSetts()) PaintSett(t, s, Ramp::Stone, kShades[s.course][s.index]);
  return t;
}

Image WoodFloor() {
  Image t(32, 32, C(Ramp::Wood, 3));
  for (int plank = 0; plank < 4; ++plank) {
    const int y0 = plank * 8;
    for (int x = 0; x < 32; ++x) {
      Wrap(t, x, y0, C(Ramp::Wood, 1));      // the gap between planks
      Wrap(t, x, y0 + 1, C(Ramp::Wood, 4));  // lit upper edge
    }
    const int seam = static_cast<int>(Hash(plank, 1, 13) % 32);
    for (int j = 1; j < 8; ++j) {
      Wrap(t, seam, y0 + j, C(Ramp::Wood, 1));
      Wrap(t, seam + 1, y0 + j, C(Ramp::Wood, 4));
    }
    // Grain: two short darker streaks per plank.
    for (int g = 0; g < 2; ++g) {
      const std::uint32_t h = Hash(plank, g, 17);
      const int gx = static_cast<int>(h % 32), gy = y0 + 3 + static_cast<int>((h >> 8) % 3);
      for (int i = 0; i < 6; ++i) Wrap(t, gx + i, gy, C(Ramp::Wood, 2));
    }
  }
  return t;
}

Image ForestFloor() {
  Image t(32, 32, C(Ramp::Forest, 2));
  Patches(t, 7, 10, C(Ramp::Forest, 1));
  Patches(t, 8, 6, C(Ramp::Forest, 3));
  for (int k = 0; k < 5; ++k) {
    const std::uint32_t h = Hash(k, 9, 19);
    Tuft(t, static_cast<int>(h % 32), static_cast<int>((h >> 8) % 32), Ramp::Forest, 2);
  }
  // A few fallen needles in the earth's colour.
  for (int k = 0; k < 6; ++k) {
    const std::uint32_t h = Hash(k, 10, 23);
    const int x = static_cast<int>(h % 32), y = static_cast<int>((h >> 8) % 32);
    Wrap(t, x, y, C(Ramp::Earth, 2));
    Wrap(t, x + 1, y + 1, C(Ramp::Earth, 2));
  }
  return t;
}

// Polished slabs of 16 × 16 with thin joints and a few veins.
Image Marble() {
  Image t(32, 32, C(Ramp::Marble, 3));
  for (int sy = 0; sy < 2; ++sy)
    for (int sx = 0; sx < 2; ++sx) {
      const int shade = (sx + sy) % 2 == 0 ? 3 : 2;
      for (int j = 0; j < 16; ++j)
        for (int i = 0; i < 16; ++i) {
          int c = shade;
          if (i == 0 || j == 0) c = 1;
          else if (i == 1 || j == 1) c = shade + 1;
          t.Set(sx * 16 + i, sy * 16 + j, C(Ramp::Marble, c));
        }
      // A vein crossing the slab.
      int vx = 3 + static_cast<int>(Hash(sx, sy, 29) % 6);
      for (int j = 3; j < 14; ++j) {
        if (Hash(j, sx + 2 * sy, 31) % 3 == 0) ++vx;
        if (vx < 15) t.Set(sx * 16 + vx, sy * 16 + j, C(Ramp::Marble, shade - 1));
      }
    }
  return t;
}

Image Sand() {
  Image t(32, 32, C(Ramp::Sand, 2));
  // Wind ripples: shallow light and dark arcs.
  for (int r = 0; r < 4; ++r) {
    const int y0 = r * 8 + 3;
    for (int x = 0; x < 32; ++x) {
      const int dy = (x % 16) < 8 ? (x % 8) / 3 : 2 - (x % 8) / 3;
      Wrap(t, x, y0 + dy, C(Ramp::Sand, 3));
      Wrap(t, x, y0 + dy + 1, C(Ramp::Sand, 1));
    }
  }
  for (int k = 0; k < 6; ++k) {
    const std::uint32_t h = Hash(k, 12, 37);
    Wrap(t, static_cast<int>(h % 32), static_cast<int>((h >> 8) % 32), C(Ramp::Sand, 0));
  }
  return t;
}

// The battle clearing: trodden earth, soft light and dark patches and a little grass, with no
// single dark specks that would show the tile's repeat across the wide open field.
Image Arena() {
  Image t(32, 32, C(Ramp::Earth, 4));
  Patches(t, 13, 6, C(Ramp::Earth, 3));
  Patches(t, 15, 4, C(Ramp::Earth, 5));
  Patches(t, 14, 2, C(Ramp::Grass, 4));
  return t;
}

// A woven red carpet with a gold lozenge pattern repeating every 16 pixels.
Image Carpet() {
  Image t(32, 32, C(Ramp::Red, 2));
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const int dx = std::abs((x % 16) - 8), dy = std::abs((y % 16) - 8);
      const int d = dx + dy;
      if (d == 6) t.Set(x, y, C(Ramp::Gold, 3));
      else if (d == 5) t.Set(x, y, C(Ramp::Red, 1));
      else if (d < 2) t.Set(x, y, C(Ramp::Gold, 4));
      else if (d < 4) t.Set(x, y, C(Ramp::Red, 3));
      else if ((x + y) % 2 == 0 && d > 6) t.Set(x, y, C(Ramp::Red, 2));
    }
  return t;
}

// Square flagstones, 16 × 16, bevelled.
Image StoneFloor() {
  Image t(32, 32, C(Ramp::Stone, 3));
  for (int sy = 0; sy < 2; ++sy)
    for (int sx = 0; sx < 2; ++sx) {
      const int shade = 3 + static_cast<int>(Hash(sx, sy, 43) % 2);
      for (int j = 0; j < 16; ++j)
        for (int i = 0; i < 16; ++i) {
          int c = shade;
          if (i == 0 || j == 0) c = 1;
          else if (i == 15 || j == 15) c = shade - 1;
          else if (i == 1 || j == 1) c = shade + 1;
          t.Set(sx * 16 + i, sy * 16 + j, C(Ramp::Stone, c));
        }
      const std::uint32_t h = Hash(sx, sy, 47);
      const int cx = sx * 16 + 4 + static_cast<int>(h % 7), cy = sy * 16 + 4 + static_cast<int>((h >> 8) % 7);
      t.Set(cx, cy, C(Ramp::Stone, shade - 1));
      t.Set(cx + 1, cy, C(Ramp::Stone, shade - 1));
      t.Set(cx + 1, cy + 1, C(Ramp::Stone, shade + 1));
    }
  return t;
}

}  // namespace

Image PaintGroundSheet() {
  using namespace datagen;
  Image sheet(32, 320, kBlack);
  auto put = [&](GroundTile g, const Image& tile) { sheet.Paste(tile, 0, 32 * g, false); };
  put(kGroundGrass, Grass());
  put(kGroundDirt, Dirt());
  put(kGroundCobble, Cobble());
  put(kGroundWoodFloor, WoodFloor());
  put(kGroundForest, ForestFloor());
  put(kGroundMarble, Marble());
  put(kGroundSand, Sand());
  put(kGroundArena, Arena());
  put(kGroundCarpet, Carpet());
  put(kGroundStoneFloor, StoneFloor());
  return sheet;
}

}  // namespace pictures
