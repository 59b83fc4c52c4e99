#include "platform/pixels/page_to_rgb.h"

#include <cstring>

namespace platform {

void PaletteToXrgb(const Palette& palette, uint32_t (&xrgb)[256]) {
  for (size_t i = 0; i < palette.size(); ++i) {
    const PaletteEntry& entry = palette[i];
    xrgb[i] = (uint32_t(entry.red) << 16) | (uint32_t(entry.green) << 8) | uint32_t(entry.blue);
  }
}

void ConvertPageToXrgb(const uint8_t* src, int width, int height, size_t srcPitch,
                       const Palette& palette, void* dst, size_t dstPitch) {
  uint32_t xrgb[256];
  PaletteToXrgb(palette, xrgb);
  auto* dstBytes = static_cast<uint8_t*>(dst);
  for (int y = 0; y < height; ++y) {
    const uint8_t* in = src + size_t(y) * srcPitch;
    auto* out = reinterpret_cast<uint32_t*>(dstBytes + size_t(y) * dstPitch);
    for (int x = 0; x < width; ++x) out[x] = xrgb[in[x]];
  }
}

}  // namespace platform
