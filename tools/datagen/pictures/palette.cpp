#include "palette.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <stdexcept>

namespace pictures {
namespace {

struct RampSpec {
  int shades;
  double hue;        // degrees
  double sat;        // 0..1
  double light_lo;   // lightness of the darkest shade
  double light_hi;   // lightness of the lightest shade
  double hue_shift;  // degrees the ends lean toward blue (shadows) and yellow (highlights)
  Ramp outline;      // ramp whose darkest shade outlines this material
};

// Order matches enum Ramp.
constexpr RampSpec kSpecs[] = {
    {8, 220, 0.08, 0.10, 0.80, 10, Ramp::Stone},     // Stone
    {6, 100, 0.48, 0.14, 0.58, 22, Ramp::Grass},     // Grass
    {6, 125, 0.45, 0.09, 0.50, 22, Ramp::Leaf},      // Leaf
    {5, 165, 0.38, 0.07, 0.36, 15, Ramp::Pine},      // Pine
    {6, 28, 0.42, 0.12, 0.62, 14, Ramp::Earth},      // Earth
    {5, 40, 0.48, 0.32, 0.70, 8, Ramp::Earth},       // Sand
    {6, 28, 0.48, 0.11, 0.58, 12, Ramp::Wood},       // Wood
    {5, 18, 0.30, 0.07, 0.40, 10, Ramp::Bark},       // Bark
    {6, 215, 0.22, 0.10, 0.55, 15, Ramp::RoofTile},  // RoofTile
    {5, 32, 0.20, 0.42, 0.82, 8, Ramp::Earth},       // Plaster
    {7, 205, 0.58, 0.14, 0.70, 15, Ramp::Water},     // Water
    {5, 22, 0.55, 0.30, 0.78, 10, Ramp::Earth},      // Skin
    {4, 25, 0.30, 0.06, 0.32, 6, Ramp::Hair},        // Hair
    {6, 358, 0.66, 0.14, 0.62, 14, Ramp::Red},       // Red
    {6, 220, 0.55, 0.14, 0.65, 14, Ramp::Blue},      // Blue
    {6, 140, 0.45, 0.12, 0.58, 14, Ramp::Green},     // Green
    {6, 280, 0.40, 0.13, 0.62, 14, Ramp::Purple},    // Purple
    {5, 340, 0.58, 0.38, 0.82, 10, Ramp::Red},       // Pink
    {6, 42, 0.78, 0.16, 0.68, 18, Ramp::Gold},       // Gold
    {6, 225, 0.16, 0.07, 0.60, 10, Ramp::Steel},     // Steel
    {6, 160, 0.52, 0.13, 0.62, 12, Ramp::Jade},      // Jade
    {6, 34, 0.46, 0.12, 0.70, 14, Ramp::Frame},      // Frame
    {5, 228, 0.45, 0.05, 0.26, 8, Ramp::Panel},      // Panel
    {6, 18, 0.95, 0.28, 0.72, 38, Ramp::Red},        // Fire
    {5, 110, 0.30, 0.06, 0.30, 14, Ramp::Forest},    // Forest
    {5, 30, 0.12, 0.48, 0.86, 8, Ramp::Stone},       // Marble
    {6, 356, 0.72, 0.11, 0.50, 12, Ramp::Lacquer},   // Lacquer
    {5, 95, 0.70, 0.18, 0.68, 18, Ramp::Slime},      // Slime
    {5, 215, 0.09, 0.16, 0.70, 10, Ramp::Fur},       // Fur
    {4, 240, 0.28, 0.03, 0.15, 0, Ramp::Ink},        // Ink
};
static_assert(std::size(kSpecs) == static_cast<std::size_t>(Ramp::Count));

constexpr int kFixed = 6;

Rgb FromHsl(double h, double s, double l) {
  h = std::fmod(h + 360.0, 360.0);
  const double c = (1 - std::fabs(2 * l - 1)) * s;
  const double x = c * (1 - std::fabs(std::fmod(h / 60.0, 2.0) - 1));
  const double m = l - c / 2;
  double r = 0, g = 0, b = 0;
  if (h < 60) { r = c; g = x; }
  else if (h < 120) { r = x; g = c; }
  else if (h < 180) { g = c; b = x; }
  else if (h < 240) { g = x; b = c; }
  else if (h < 300) { r = x; b = c; }
  else { r = c; b = x; }
  auto to8 = [](double v) { return static_cast<std::uint8_t>(std::clamp(std::lround(v * 255), 0L, 255L)); };
  return {to8(r + m), to8(g + m), to8(b + m)};
}

// Moves hue h toward target by at most `amount` degrees along the shorter way round.
double HueToward(double h, double target, double amount) {
  double d = std::fmod(target - h + 540.0, 360.0) - 180.0;
  if (std::fabs(d) <= amount) return target;
  return h + (d > 0 ? amount : -amount);
}

struct Tables {
  Palette game{};
  Palette title{};
  int first[static_cast<int>(Ramp::Count)]{};
  Ramp ramp_of[256]{};
  int shade_of[256]{};
  int used = 0;
};

int Distance2(Rgb a, Rgb b) {
  const int dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
  return dr * dr + dg * dg + db * db;
}

Tables Build() {
  Tables t;
  for (auto& r : t.ramp_of) r = Ramp::Count;
  t.game[kBlack] = {0, 0, 0};
  t.game[kWhite] = {255, 255, 255};
  t.game[kYellow] = {255, 255, 0};
  t.game[kRed] = {255, 0, 0};
  t.game[kDarkBlue] = {0, 0, 100};
  t.game[kKey] = {255, 238, 187};
  int next = kFixed;
  for (int r = 0; r < static_cast<int>(Ramp::Count); ++r) {
    const RampSpec& s = kSpecs[r];
    t.first[r] = next;
    for (int i = 0; i < s.shades; ++i) {
      const double k = s.shades == 1 ? 1.0 : static_cast<double>(i) / (s.shades - 1);
      const double lean = std::fabs(k - 0.5) * 2 * s.hue_shift;
      const double hue = HueToward(s.hue, k < 0.5 ? 240.0 : 60.0, lean);
      // Saturation peaks in the middle shades, as painted ramps do.
      const double sat = s.sat * (0.8 + 0.3 * (1 - std::fabs(k - 0.55) * 2));
      const double light = s.light_lo + (s.light_hi - s.light_lo) * k;
      t.game[next] = FromHsl(hue, std::min(sat, 1.0), light);
      t.ramp_of[next] = static_cast<Ramp>(r);
      t.shade_of[next] = i;
      ++next;
    }
  }
  t.used = next;
  // Spare entries repeat black: nothing paints with them and they stay far from the key.
  for (int i = next; i < 256; ++i) t.game[i] = {0, 0, 0};
  // The key colour must be the only entry anywhere near it, so nearest-colour matching is exact.
  for (int i = 0; i < 256; ++i) {
    if (i != kKey && Distance2(t.game[i], t.game[kKey]) < 40 * 40) {
      throw std::logic_error("palette entry too close to the colour key");
    }
  }
  t.title = t.game;
  for (int i = 0; i < kTitleSkyShades; ++i) {
    // Night blue at the top, through violet, to an orange glow at the horizon.
    const double k = static_cast<double>(i) / (kTitleSkyShades - 1);
    const double hue = k < 0.6 ? 235 + 60 * (k / 0.6) : 295 + 80 * ((k - 0.6) / 0.4);
    const double light = 0.06 + 0.46 * k * k;
    t.title[t.used + i] = FromHsl(hue, 0.55 + 0.3 * k, light);
  }
  return t;
}

const Tables& Get() {
  static const Tables tables = Build();
  return tables;
}

}  // namespace

std::uint8_t C(Ramp ramp, int shade) {
  const Tables& t = Get();
  const int r = static_cast<int>(ramp);
  const int n = kSpecs[r].shades;
  return static_cast<std::uint8_t>(t.first[r] + std::clamp(shade, 0, n - 1));
}

int Shades(Ramp ramp) { return kSpecs[static_cast<int>(ramp)].shades; }

Ramp RampOf(std::uint8_t index) { return Get().ramp_of[index]; }

int ShadeOf(std::uint8_t index) { return Get().shade_of[index]; }

std::uint8_t OutlineFor(std::uint8_t index) {
  const Ramp r = RampOf(index);
  if (r == Ramp::Count) return C(Ramp::Ink, 1);
  return C(kSpecs[static_cast<int>(r)].outline, 0);
}

const Palette& GamePalette() { return Get().game; }

const Palette& TitlePalette() { return Get().title; }

std::uint8_t TitleSky(int shade) {
  return static_cast<std::uint8_t>(Get().used + std::clamp(shade, 0, kTitleSkyShades - 1));
}

}  // namespace pictures
