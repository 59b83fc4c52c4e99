#include "platform/pixels/game_icon.h"

#include <algorithm>

namespace platform {

namespace {

constexpr int kFrameWidth = 32;
constexpr int kFrameHeight = 48;
constexpr uint32_t kKeyColor = 0xBBEEFF;  // colour reference: red in the low byte

}  // namespace

std::optional<RgbaPicture> GameIcon(const DibBitmap& heroSheet, int scale) {
  if (scale < 1 || scale > 16 || heroSheet.width < kFrameWidth || heroSheet.height < kFrameHeight ||
      heroSheet.colors.size() != size_t(heroSheet.width) * size_t(heroSheet.height)) {
    return std::nullopt;
  }
  const auto colorAt = [&](int x, int y) { return heroSheet.colors[size_t(y) * size_t(heroSheet.width) + size_t(x)]; };
  // The figure's own box inside the frame, so that it stands in the middle of the icon.
  int left = kFrameWidth, top = kFrameHeight, right = 0, bottom = 0;
  for (int y = 0; y < kFrameHeight; ++y) {
    for (int x = 0; x < kFrameWidth; ++x) {
      if (colorAt(x, y) == kKeyColor) continue;
      left = std::min(left, x);
      top = std::min(top, y);
      right = std::max(right, x + 1);
      bottom = std::max(bottom, y + 1);
    }
  }
  RgbaPicture icon;
  icon.width = icon.height = kFrameHeight * scale;
  icon.rgba.assign(size_t(icon.width) * size_t(icon.height) * 4, 0);
  const int offsetX = (kFrameHeight - (right - left)) / 2 - left;
  const int offsetY = (kFrameHeight - (bottom - top)) / 2 - top;
  for (int y = top; y < bottom; ++y) {
    for (int x = left; x < right; ++x) {
      const uint32_t color = colorAt(x, y);
      if (color == kKeyColor) continue;
      for (int dy = 0; dy < scale; ++dy) {
        uint8_t* pixel = &icon.rgba[(size_t((y + offsetY) * scale + dy) * size_t(icon.width) +
                                     size_t((x + offsetX) * scale)) * 4];
        for (int dx = 0; dx < scale; ++dx, pixel += 4) {
          pixel[0] = uint8_t(color);
          pixel[1] = uint8_t(color >> 8);
          pixel[2] = uint8_t(color >> 16);
          pixel[3] = 255;
        }
      }
    }
  }
  return icon;
}

}  // namespace platform
