#include "brush.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace pictures {

Shape Ellipse(double cx, double cy, double rx, double ry) {
  return [=](double x, double y) {
    const double dx = (x - cx) / rx, dy = (y - cy) / ry;
    return dx * dx + dy * dy <= 1.0;
  };
}

Shape Box(double x0, double y0, double x1, double y1) {
  return [=](double x, double y) { return x >= x0 && x < x1 && y >= y0 && y < y1; };
}

Shape Polygon(std::vector<std::pair<double, double>> points) {
  return [pts = std::move(points)](double x, double y) {
    bool in = false;
    for (std::size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
      const auto [xi, yi] = pts[i];
      const auto [xj, yj] = pts[j];
      if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi) in = !in;
    }
    return in;
  };
}

Shape Union(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) || b(x, y); };
}

Shape Minus(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) && !b(x, y); };
}

Shape Intersect(Shape a, Shape b) {
  return [a = std::move(a), b = std::move(b)](double x, double y) { return a(x, y) && b(x, y); };
}

void FillShape(Image& img, const Shape& s, std::uint8_t c) {
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x)
      if (s(x + 0.5, y + 0.5)) img.Set(x, y, c);
}

void ShadeBall(Image& img, const Shape& s, double cx, double cy, double rx, double ry, Ramp ramp, int lo,
               int hi) {
  // Light from the top left, slightly in front.
  const double lx = -0.55, ly = -0.65, lz = 0.52;
  const double len = std::sqrt(lx * lx + ly * ly + lz * lz);
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x) {
      if (!s(x + 0.5, y + 0.5)) continue;
      const double nx = (x + 0.5 - cx) / rx, ny = (y + 0.5 - cy) / ry;
      const double d = std::min(nx * nx + ny * ny, 1.0);
      const double nz = std::sqrt(1.0 - d);
      const double v = (nx * lx + ny * ly + nz * lz) / len;  // -1 .. 1
      const double k = std::clamp((v + 0.3) / 1.25, 0.0, 1.0);
      img.Set(x, y, C(ramp, lo + static_cast<int>(std::lround(k * (hi - lo)))));
    }
}

void ShadeFlat(Image& img, const Shape& s, Ramp ramp, int base) {
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x) {
      const double px = x + 0.5, py = y + 0.5;
      if (!s(px, py)) continue;
      int shade = base;
      if (!s(px, py + 1) || !s(px + 1, py)) shade = base - 1;
      else if (!s(px, py - 1) || !s(px - 1, py)) shade = base + 1;
      img.Set(x, y, C(ramp, shade));
    }
}

void OutlineSprite(Image& img) {
  const Image src = img;
  static constexpr int kDx[] = {0, 1, -1, 0};
  static constexpr int kDy[] = {1, 0, 0, -1};
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x) {
      if (src.Get(x, y) != kKey) continue;
      for (int k = 0; k < 4; ++k) {
        const std::uint8_t n = src.Get(x + kDx[k], y + kDy[k]);
        if (n != kKey) {
          img.Set(x, y, OutlineFor(n));
          break;
        }
      }
    }
}

void Line(Image& img, int x0, int y0, int x1, int y1, std::uint8_t c) {
  const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
  const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    img.Set(x0, y0, c);
    if (x0 == x1 && y0 == y1) break;
    const int e2 = 2 * err;
    if (e2 >= dy) { err += dy; x0 += sx; }
    if (e2 <= dx) { err += dx; y0 += sy; }
  }
}

void Nudge(Image& img, int x, int y, int steps) {
  const std::uint8_t c = img.Get(x, y);
  const Ramp r = RampOf(c);
  if (!img.Inside(x, y) || r == Ramp::Count) return;
  img.Set(x, y, C(r, ShadeOf(c) + steps));
}

std::uint32_t Hash(int x, int y, int seed) {
  std::uint32_t h = static_cast<std::uint32_t>(x) * 374761393u + static_cast<std::uint32_t>(y) * 668265263u +
                    static_cast<std::uint32_t>(seed) * 2246822519u;
  h = (h ^ (h >> 13)) * 1274126177u;
  return h ^ (h >> 16);
}

}  // namespace pictures
