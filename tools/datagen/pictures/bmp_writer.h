// Writes 8-bit Windows bitmaps: 14-byte file header, 40-byte info header, a full 256-entry colour
// table, then bottom-up rows padded to four bytes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "image.h"
#include "palette.h"

namespace pictures {

std::vector<std::uint8_t> EncodeBmp(const Image& img, const Palette& palette);
// Returns false when the file cannot be written.
bool WriteBmp(const std::string& path, const Image& img, const Palette& palette);

}  // namespace pictures
