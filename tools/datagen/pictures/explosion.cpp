// pic/bomb.bmp: ten explosion frames of 54 × 50 side by side: a flash, a swelling fireball with
// sparks, then smoke that thins away.
#include <algorithm>
#include <cmath>

#include "brush.h"
#include "sheets.h"

namespace pictures {
namespace {

constexpr int kW = 54, kH = 50;

Image Frame(int f) {
  Image img(kW, kH, kKey);
  const double cx = 27, cy = 26;
  // Radius swells to frame 4 and then spreads slowly as the fire turns to smoke.
  const double r = f <= 4 ? 5 + f * 4.2 : 21.8 + (f - 4) * 0.8;
  const double heat = f <= 3 ? 1.0 : std::max(0.0, 1.0 - (f - 3) * 0.22);
  const double holes = f <= 5 ? 0.0 : (f - 5) * 0.2;  // how much of the smoke has thinned away
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) {
      // A lumpy ball: the radius wobbles with the angle.
      const double dx = x + 0.5 - cx, dy = y + 0.5 - cy;
      const double a = std::atan2(dy, dx);
      const double wob = 1 + 0.12 * std::sin(a * 5 + f) + 0.08 * std::sin(a * 9 - f * 2);
      const double d = std::sqrt(dx * dx + dy * dy) / (r * wob);
      if (d > 1) continue;
      // Smoke puffs thin out in coarse 3 × 3 clusters, not single pixels.
      if (holes > 0 && (Hash(x / 3, y / 3, f) % 1000) / 1000.0 < holes * (0.4 + d)) continue;
      // Light from the top left on the ball; heat decides fire or smoke.
      const double lit = std::clamp(0.5 - (dx + dy) / (2.5 * r), 0.0, 1.0);
      const double t = (1 - d) * heat;
      std::uint8_t c;
      if (t > 0.75) c = kWhite;
      else if (t > 0.55) c = C(Ramp::Gold, 5);
      else if (t > 0.38) c = C(Ramp::Fire, 5);
      else if (t > 0.22) c = C(Ramp::Fire, 3 + (lit > 0.5 ? 1 : 0));
      else if (t > 0.10) c = C(Ramp::Fire, 1 + (lit > 0.5 ? 1 : 0));
      else c = C(Ramp::Stone, 1 + static_cast<int>(lit * 4) + (f > 6 ? 1 : 0));
      img.Set(x, y, c);
    }
  // Sparks flying out while the fire is young.
  if (f >= 1 && f <= 6) {
    for (int k = 0; k < 10; ++k) {
      const double a = k * 0.6283 + (Hash(k, 0, 3) % 100) / 100.0;
      const double sr = r + 2 + f * 1.5 + Hash(k, f, 5) % 4;
      const int sx = static_cast<int>(cx + std::cos(a) * sr), sy = static_cast<int>(cy + std::sin(a) * sr);
      img.Set(sx, sy, f < 4 ? C(Ramp::Gold, 5) : C(Ramp::Fire, 4));
      img.Set(sx + 1, sy, C(Ramp::Fire, 3));
    }
  }
  return img;
}

}  // namespace

Image PaintExplosion() {
  Image sheet(540, 50, kKey);
  for (int f = 0; f < 10; ++f) sheet.Paste(Frame(f), kW * f, 0, false);
  return sheet;
}

}  // namespace pictures
