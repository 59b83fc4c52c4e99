// Turning an 8-bit page into the 32-bit pixels a screen texture takes.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/pixels/surface.h"

namespace platform {

// 0x00RRGGBB for each palette entry (the XRGB8888 / ARGB8888 layout with an unused top byte).
void PaletteToXrgb(const Palette& palette, uint32_t (&xrgb)[256]);

// Converts width × height palette indexes (rows srcPitch bytes apart) into XRGB pixels
// (rows dstPitch bytes apart).
void ConvertPageToXrgb(const uint8_t* src, int width, int height, size_t srcPitch,
                       const Palette& palette, void* dst, size_t dstPitch);

}  // namespace platform
