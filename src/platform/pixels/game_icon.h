// The game's icon: the hero's first picture of the hero's sheet, enlarged on a transparent
// square. The window shows it and the installed desktop entry uses it.
#pragma once

#include <optional>

#include "platform/pixels/bitmap_file.h"
#include "platform/pixels/png_writer.h"

namespace platform {

// A square of 48 × scale pixels showing the figure of the hero's first 32 × 48 frame in its
// middle, every pixel scale × scale; the sheet's key colour (red 255, green 238, blue 187) is
// transparent.
// Nothing when the sheet is smaller than one frame or the scale is not 1 to 16.
std::optional<RgbaPicture> GameIcon(const DibBitmap& heroSheet, int scale);

}  // namespace platform
