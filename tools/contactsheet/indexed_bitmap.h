// Reads the game's 8-bit bitmaps back for review: size, colour table and pixel indexes.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace contactsheet {

struct IndexedBitmap {
  int w = 0;
  int h = 0;
  std::array<std::array<std::uint8_t, 3>, 256> colours{};  // red, green, blue
  std::vector<std::uint8_t> px;                             // top row first

  std::uint8_t At(int x, int y) const { return px[static_cast<std::size_t>(y) * w + x]; }
};

// Nothing when the file is missing or not an uncompressed 8-bit bitmap.
std::optional<IndexedBitmap> ReadIndexedBitmap(const std::string& path);

}  // namespace contactsheet
