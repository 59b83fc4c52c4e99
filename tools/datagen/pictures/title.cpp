// pic/title.bmp: an evening over the hills with the palace on its crag, the name in gold across
// the sky, and the dark, calm lower-left corner where the main menu is written.
#include <algorithm>
#include <array>
#include <cmath>

#include "brush.h"
#include "sheets.h"
#include "title_lettering.h"

namespace pictures {
namespace {

constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};

void Sky(Image& img) {
  // Dithered gradient from night blue at the top to a warm glow at the horizon (y 330).
  for (int y = 0; y < 480; ++y) {
    const double t = std::clamp(y / 330.0, 0.0, 1.0) * (kTitleSkyShades - 1);
    const int base = static_cast<int>(t);
    const int frac = static_cast<int>((t - base) * 16);
    for (int x = 0; x < 640; ++x) img.Set(x, y, TitleSky(base + (kBayer[y & 3][x & 3] < frac ? 1 : 0)));
  }
  // Stars, thinning toward the horizon.
  for (int k = 0; k < 140; ++k) {
    const std::uint32_t h = Hash(k, 1, 99);
    const int x = static_cast<int>(h % 640), y = static_cast<int>((h >> 10) % 200);
    if ((h >> 24) % 200 < static_cast<std::uint32_t>(y)) continue;
    img.Set(x, y, (h & 7) == 0 ? kWhite : C(Ramp::Stone, 6));
    if ((h & 31) == 1) {
      img.Set(x - 1, y, C(Ramp::Stone, 5));
      img.Set(x + 1, y, C(Ramp::Stone, 5));
      img.Set(x, y - 1, C(Ramp::Stone, 5));
      img.Set(x, y + 1, C(Ramp::Stone, 5));
    }
  }
}

void Moon(Image& img) {
  ShadeBall(img, Ellipse(588, 52, 26, 26), 579, 44, 28, 28, Ramp::Marble, 1, 4);
  for (const auto& [x, y, r] : {std::array{580.0, 46.0, 4.0}, {598.0, 62.0, 3.5}, {591.0, 42.0, 2.5}})
    FillShape(img, Ellipse(x, y, r, r * 0.8), C(Ramp::Marble, 2));
}

// A ridge line made of summed sines; everything below it gets the ramp shade.
void Ridge(Image& img, double base, double amp, double f1, double f2, double phase, Ramp ramp, int shade, int lit) {
  for (int x = 0; x < 640; ++x) {
    const double h = base - amp * (0.6 * std::sin(x * f1 + phase) + 0.4 * std::sin(x * f2 + phase * 2.3));
    const int top = static_cast<int>(h);
    const double slope = -amp * (0.6 * f1 * std::cos(x * f1 + phase) + 0.4 * f2 * std::cos(x * f2 + phase * 2.3));
    for (int y = top; y < 480; ++y) {
      // Slopes facing the glow on the left get a lit rim.
      const bool rim = y < top + 2 && slope > 0.15;
      img.Set(x, y, C(ramp, rim ? lit : shade));
    }
  }
}

void Palace(Image& img) {
  // The crag.
  const Shape crag = Polygon({{420, 480}, {455, 320}, {490, 290}, {540, 282}, {600, 292}, {630, 330}, {640, 340}, {640, 480}});
  FillShape(img, crag, C(Ramp::Ink, 2));
  // Walls and two tiers of roofs with upturned eaves, dark against the sky, lit windows.
  const std::uint8_t wall = C(Ramp::Ink, 1), roof = C(Ramp::Ink, 0);
  img.Fill(495, 239, 95, 45, wall);
  FillShape(img, Polygon({{480, 242}, {488, 232}, {505, 224}, {580, 224}, {597, 232}, {605, 242}, {585, 237}, {500, 237}}), roof);
  img.Fill(518, 194, 50, 32, wall);
  FillShape(img, Polygon({{504, 197}, {512, 188}, {528, 180}, {558, 180}, {574, 188}, {582, 197}, {565, 193}, {521, 193}}), roof);
  img.Fill(540, 170, 6, 10, roof);
  // Lit windows and the gate glow.
  for (int k = 0; k < 5; ++k) img.Fill(506 + k * 17, 252, 5, 8, C(Ramp::Gold, k % 2 == 0 ? 4 : 3));
  for (int k = 0; k < 3; ++k) img.Fill(527 + k * 13, 204, 4, 7, C(Ramp::Gold, 4));
  img.Fill(536, 269, 14, 15, C(Ramp::Fire, 2));
  img.Fill(539, 272, 8, 12, C(Ramp::Fire, 4));
  // A winding road of lights down the crag.
  for (int k = 0; k < 6; ++k) img.Set(545 - k * 9 + (k % 2) * 12, 299 + k * 14, C(Ramp::Gold, 5));
}

// A thin gold rule under the name with a diamond at its middle.
void Rule(Image& img, int x0, int x1, int y) {
  for (int x = x0; x < x1; ++x) {
    img.Set(x, y, C(Ramp::Gold, 4));
    img.Set(x, y + 1, C(Ramp::Gold, 1));
  }
  const int cx = (x0 + x1) / 2;
  for (int d = 0; d < 5; ++d) {
    img.Fill(cx - d, y - 4 + d, 2 * d + 1, 1, C(Ramp::Gold, 5));
    img.Fill(cx - d, y + 5 - d, 2 * d + 1, 1, C(Ramp::Gold, 2));
  }
}

void Pines(Image& img, int x, int ground, int height) {
  for (int tier = 0; tier < 4; ++tier) {
    const double top = ground - height + tier * height * 0.2, bottom = top + height * 0.35;
    const double half = height * (0.14 + tier * 0.07);
    FillShape(img, Polygon({{x + 0.0, top}, {x + half, bottom}, {x - half, bottom}}), C(Ramp::Ink, 0));
  }
  img.Fill(x - 2, ground - static_cast<int>(height * 0.2), 5, static_cast<int>(height * 0.2), C(Ramp::Ink, 0));
}

// A red seal stamp beside the name, its carving abstract strokes.
void Seal(Image& img, int x, int y) {
  img.Fill(x, y, 40, 40, C(Ramp::Red, 3));
  img.Fill(x + 3, y + 3, 34, 34, C(Ramp::Red, 4));
  const std::uint8_t cut = C(Ramp::Red, 1);
  img.Fill(x + 8, y + 8, 10, 3, cut);
  img.Fill(x + 12, y + 8, 3, 24, cut);
  img.Fill(x + 7, y + 18, 12, 3, cut);
  img.Fill(x + 22, y + 8, 3, 24, cut);
  img.Fill(x + 22, y + 8, 10, 3, cut);
  img.Fill(x + 29, y + 8, 3, 12, cut);
  img.Fill(x + 22, y + 19, 10, 3, cut);
  img.Fill(x + 26, y + 22, 3, 10, cut);
  img.Fill(x + 7, y + 29, 12, 3, cut);
}

}  // namespace

Image PaintTitle() {
  Image img(640, 480, kBlack);
  Sky(img);
  Moon(img);
  Ridge(img, 300, 26, 0.011, 0.027, 0.4, Ramp::RoofTile, 1, 2);
  Ridge(img, 340, 22, 0.008, 0.021, 2.1, Ramp::Pine, 0, 1);
  Palace(img);
  Ridge(img, 392, 14, 0.013, 0.031, 4.0, Ramp::Ink, 1, 2);
  // Foreground: a dark meadow and pines framing both sides; the lower left stays plain and dark.
  img.Fill(0, 420, 640, 60, C(Ramp::Ink, 0));
  for (int y = 400; y < 420; ++y)
    for (int x = 0; x < 640; ++x)
      if (img.Get(x, y) != C(Ramp::Ink, 1) || kBayer[y & 3][x & 3] < (y - 400) * 16 / 20) img.Set(x, y, C(Ramp::Ink, 0));
  Pines(img, 230, 420, 90);
  Pines(img, 262, 422, 60);
  Pines(img, 612, 430, 120);
  Pines(img, 360, 425, 50);
  PaintTitleName(img, 300, 150);
  Rule(img, 110, 490, 178);
  Seal(img, 530, 112);
  return img;
}

}  // namespace pictures
