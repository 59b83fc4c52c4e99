#include "title_lettering.h"

#include <utility>
#include <vector>

#include "brush.h"
#include "palette.h"

namespace pictures {
namespace {

constexpr double kStroke = 18;   // stroke width
constexpr double kCap = 110;     // height of the capital
constexpr double kXTop = 38;     // top of the small letters, measured down from the cap line

struct Glyph {
  Shape shape;  // in glyph coordinates: x from 0, y from 0 (cap line) to kCap (baseline)
  double width;
};

Shape Ring(double cx, double cy, double rx, double ry) {
  return Minus(Ellipse(cx, cy, rx, ry), Ellipse(cx, cy, rx - kStroke, ry - kStroke * 0.9));
}

Glyph LetterT() {
  return {Union(Box(0, 0, 84, kStroke), Box(33, 0, 33 + kStroke + 1, kCap)), 84};
}

Glyph LetterA() {
  const double cy = (kXTop + kCap) / 2, ry = (kCap - kXTop) / 2;
  return {Union(Ring(30, cy, 30, ry), Box(42, kXTop + 2, 42 + kStroke, kCap)), 60};
}

Glyph LetterM() {
  const double ry = 26;
  const double top = kXTop + ry;
  Shape s = Box(0, kXTop, kStroke, kCap);
  s = Union(s, Box(36, top - 2, 36 + kStroke, kCap));
  s = Union(s, Box(72, top - 2, 72 + kStroke, kCap));
  s = Union(s, Intersect(Ring(27, top, 27, ry), Box(0, 0, 200, top)));
  s = Union(s, Intersect(Ring(63, top, 27, ry), Box(36, 0, 200, top)));
  return {s, 90};
}

Glyph LetterS() {
  const double h = kCap - kXTop;
  const double cy1 = kXTop + h * 0.27, cy2 = kXTop + h * 0.73;
  const double rx = 28, ry = h * 0.27 + kStroke * 0.45;
  const Shape upper = Intersect(Ring(28, cy1, rx, ry), [=](double x, double y) { return y < cy1 - 4 ? x < 50 : x < 28; });
  const Shape lower = Intersect(Ring(28, cy2, rx, ry), [=](double x, double y) { return y > cy2 + 4 ? x > 6 : x > 28; });
  const Shape middle = Box(14, (cy1 + cy2) / 2 - kStroke / 2, 42, (cy1 + cy2) / 2 + kStroke / 2);
  return {Union(Union(upper, lower), middle), 56};
}

Glyph LetterE() {
  const double cy = (kXTop + kCap) / 2, ry = (kCap - kXTop) / 2;
  const Shape ring = Minus(Ring(30, cy, 30, ry), Box(30, cy + 4, 61, cy + 18));
  return {Union(ring, Box(2, cy - 5, 58, cy + 9)), 60};
}

Glyph LetterL() { return {Box(0, 0, kStroke + 1, kCap), kStroke + 1}; }

}  // namespace

void PaintTitleName(Image& img, int centre, int baseline) {
  const std::vector<Glyph> glyphs = {LetterT(), LetterA(), LetterM(), LetterS(), LetterE(), LetterL()};
  constexpr double kGap = 12;
  double total = 0;
  for (const Glyph& g : glyphs) total += g.width + kGap;
  total -= kGap;
  std::vector<std::pair<double, const Glyph*>> placed;
  double x = centre - total / 2;
  for (const Glyph& g : glyphs) {
    placed.emplace_back(x, &g);
    x += g.width + kGap;
  }
  const double top = baseline - kCap;
  auto inside = [&](double px, double py) {
    for (const auto& [gx, g] : placed)
      if (px >= gx - 1 && px < gx + g->width + 1 && g->shape(px - gx, py - top)) return true;
    return false;
  };
  const int x0 = static_cast<int>(centre - total / 2) - 12, x1 = static_cast<int>(centre + total / 2) + 12;
  const int y0 = static_cast<int>(top) - 12, y1 = baseline + 12;
  // Drop shadow, then a thick dark outline, then the gold faces.
  for (int y = y0; y < y1; ++y)
    for (int xx = x0; xx < x1; ++xx)
      if (inside(xx + 0.5 - 6, y + 0.5 - 6)) img.Set(xx, y, C(Ramp::Ink, 0));
  for (int y = y0; y < y1; ++y)
    for (int xx = x0; xx < x1; ++xx) {
      bool near = false;
      for (int dy = -3; dy <= 3 && !near; ++dy)
        for (int dx = -3; dx <= 3 && !near; ++dx)
          if (dx * dx + dy * dy <= 10 && inside(xx + dx + 0.5, y + dy + 0.5)) near = true;
      if (near) img.Set(xx, y, C(Ramp::Frame, 0));
    }
  for (int y = y0; y < y1; ++y)
    for (int xx = x0; xx < x1; ++xx) {
      const double px = xx + 0.5, py = y + 0.5;
      if (!inside(px, py)) continue;
      // Vertical sheen: light at the top, a bright band at two thirds, deeper at the foot.
      const double t = (py - top) / kCap;
      int shade = t < 0.25 ? 5 : t < 0.55 ? 4 : t < 0.62 ? 5 : t < 0.85 ? 3 : 2;
      // Bevel: lit where the letter's edge faces up or left, shaded where it faces down or right.
      if (!inside(px - 3, py - 3) || !inside(px, py - 3) || !inside(px - 3, py)) shade = 5;
      if (!inside(px + 3, py + 3) || !inside(px, py + 3) || !inside(px + 3, py)) shade = 1;
      img.Set(xx, y, C(Ramp::Gold, shade));
    }
  // A few glints on the upper left of the capital.
  const int gx = static_cast<int>(placed[0].first) + 6, gy = static_cast<int>(top) + 5;
  for (int k = -3; k <= 3; ++k) {
    img.Set(gx + k, gy, kWhite);
    img.Set(gx, gy + k, kWhite);
  }
}

}  // namespace pictures
