// Decoding Windows bitmap files and copying them onto 8-bit surfaces.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/pixels/surface.h"

namespace platform {

// A decoded device-independent bitmap: every pixel as a colour reference (red in the low byte),
// rows top to bottom, plus the file's palette indexes when it is an indexed bitmap.
struct DibBitmap {
  int width = 0;
  int height = 0;
  int bitsPerPixel = 0;
  std::vector<uint32_t> colors;   // width × height colour references
  std::vector<uint8_t> indexes;   // width × height, only for bitmaps of 8 bits or fewer
  std::vector<uint32_t> colorTable;  // the file's colour table as colour references
};

// Reads an uncompressed or RLE-compressed Windows bitmap of 1, 4, 8, 16, 24 or 32 bits per
// pixel (the 12-byte OS/2 header, the 40-byte header and the larger V4/V5 headers; 16 and
// 32 bits also with bit-field masks), stored bottom-up or top-down. Returns nothing for a
// missing, truncated, oversized (over 16384 pixels a side or 2^26 pixels in all) or otherwise
// unreadable file; never reads outside the file's bytes. Indexes past the colour table are
// kept in indexes and show black in colors.
std::optional<DibBitmap> LoadBitmapFile(const std::string& hostPath);
std::optional<DibBitmap> DecodeBitmap(const uint8_t* bytes, size_t size);

// Stretches the rectangle (sx, sy, sw, sh) of the bitmap onto the whole surface
// (nearest neighbour), mapping each colour to the nearest entry of the palette; an 8-bit
// bitmap whose colour table is the palette keeps its indexes as stored. Surface pixels that
// would show a part of the rectangle outside the bitmap are left as they are. A rectangle
// without width or height draws nothing.
void StretchBitmapToSurface(const DibBitmap& bitmap, int sx, int sy, int sw, int sh,
                            Surface& surface, const Palette& palette);

}  // namespace platform
