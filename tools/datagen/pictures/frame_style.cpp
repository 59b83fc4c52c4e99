#include "frame_style.h"

#include <array>
#include <utility>

#include "palette.h"

namespace pictures {

void FillDarkInterior(Image& img, int x, int y, int w, int h) {
  static constexpr int kBayer[4][4] = {{0, 8, 2, 10}, {12, 4, 14, 6}, {3, 11, 1, 9}, {15, 7, 13, 5}};
  for (int j = 0; j < h; ++j) {
    // Shade 2 at the top fading to shade 1 at the bottom, dithered through the middle.
    const int level = 16 * (h - 1 - j) / (h > 1 ? h - 1 : 1);
    for (int i = 0; i < w; ++i) {
      const bool upper = kBayer[(y + j) & 3][(x + i) & 3] < level;
      img.Set(x + i, y + j, C(Ramp::Panel, upper ? 2 : 1));
    }
  }
}

void FillLightInterior(Image& img, int x, int y, int w, int h) {
  img.Fill(x, y, w, h, C(Ramp::Sand, 4));
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i)
      if (((x + i) * 7 + (y + j) * 13) % 97 == 0) img.Set(x + i, y + j, C(Ramp::Sand, 3));
}

void DrawFrame(Image& img, int x, int y, int w, int h) {
  const int x1 = x + w - 1, y1 = y + h - 1;
  auto ring = [&](int d, std::uint8_t light, std::uint8_t dark) {
    for (int i = x + d; i <= x1 - d; ++i) {
      img.Set(i, y + d, light);
      img.Set(i, y1 - d, dark);
    }
    for (int j = y + d; j <= y1 - d; ++j) {
      img.Set(x + d, j, light);
      img.Set(x1 - d, j, dark);
    }
  };
  ring(0, C(Ramp::Ink, 0), C(Ramp::Ink, 0));
  ring(1, C(Ramp::Frame, 5), C(Ramp::Frame, 1));
  ring(2, C(Ramp::Frame, 4), C(Ramp::Frame, 2));
  ring(3, C(Ramp::Gold, 5), C(Ramp::Gold, 3));
  ring(4, C(Ramp::Frame, 2), C(Ramp::Frame, 3));
  ring(5, C(Ramp::Ink, 0), C(Ramp::Frame, 4));
  // Small gold studs at the corners.
  for (const auto& [cx, cy] : {std::pair{x + 3, y + 3}, {x1 - 3, y + 3}, {x + 3, y1 - 3}, {x1 - 3, y1 - 3}}) {
    img.Fill(cx - 1, cy - 1, 3, 3, C(Ramp::Gold, 4));
    img.Set(cx - 1, cy - 1, C(Ramp::Gold, 5));
    img.Set(cx + 1, cy + 1, C(Ramp::Gold, 1));
  }
}

void DrawInset(Image& img, int x, int y, int w, int h) {
  const int x1 = x + w - 1, y1 = y + h - 1;
  for (int d = 0; d < 2; ++d) {
    const std::uint8_t dark = d == 0 ? C(Ramp::Frame, 1) : C(Ramp::Ink, 0);
    const std::uint8_t light = d == 0 ? C(Ramp::Frame, 5) : C(Ramp::Frame, 3);
    for (int i = x + d; i <= x1 - d; ++i) {
      img.Set(i, y + d, dark);
      img.Set(i, y1 - d, light);
    }
    for (int j = y + d; j <= y1 - d; ++j) {
      img.Set(x + d, j, dark);
      img.Set(x1 - d, j, light);
    }
  }
}

void RoundCorners(Image& img, int x, int y, int w, int h) {
  const int x1 = x + w - 1, y1 = y + h - 1;
  static constexpr int kCut[] = {3, 1, 1};  // pixels cut on rows 0, 1, 2 from each corner
  for (int r = 0; r < 3; ++r)
    for (int i = 0; i < kCut[r]; ++i) {
      img.Set(x + i, y + r, kKey);
      img.Set(x1 - i, y + r, kKey);
      img.Set(x + i, y1 - r, kKey);
      img.Set(x1 - i, y1 - r, kKey);
    }
  // The outline follows the cut.
  for (const auto& [cx, cy, sx, sy] : {std::array{x, y, 1, 1}, {x1, y, -1, 1}, {x, y1, 1, -1}, {x1, y1, -1, -1}}) {
    img.Set(cx + 3 * sx, cy, C(Ramp::Ink, 0));
    img.Set(cx + 1 * sx, cy + 1 * sy, C(Ramp::Ink, 0));
    img.Set(cx + 2 * sx, cy + 1 * sy, C(Ramp::Ink, 0));
    img.Set(cx + 1 * sx, cy + 2 * sy, C(Ramp::Ink, 0));
    img.Set(cx, cy + 3 * sy, C(Ramp::Ink, 0));
  }
}

}  // namespace pictures
