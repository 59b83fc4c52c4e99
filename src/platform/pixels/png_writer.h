// Pictures written as PNG: 8-bit surfaces through a palette (screenshots) and RGBA pictures
// (the game's icon).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/pixels/surface.h"

namespace platform {

// Returns false (and writes nothing usable) when the file cannot be written.
bool WritePng(const std::string& hostPath, const Surface& surface, const Palette& palette);

// Red, green, blue and alpha bytes, rows top to bottom.
struct RgbaPicture {
  int width = 0;
  int height = 0;
  std::vector<uint8_t> rgba;
};
// False (and nothing usable written) when the file cannot be written or the picture's bytes
// do not match its size.
bool WriteRgbaPng(const std::string& hostPath, const RgbaPicture& picture);

}  // namespace platform
