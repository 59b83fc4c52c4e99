// An 8-bit picture in palette indexes, top row first, and the few whole-picture operations.
#pragma once

#include <cstdint>
#include <vector>

#include "palette.h"

namespace pictures {

struct Image {
  int w = 0;
  int h = 0;
  std::vector<std::uint8_t> px;

  Image() = default;
  Image(int width, int height, std::uint8_t fill) : w(width), h(height), px(static_cast<std::size_t>(width) * height, fill) {}

  bool Inside(int x, int y) const { return x >= 0 && y >= 0 && x < w && y < h; }
  // Reads outside the picture give the key colour, writes outside are dropped.
  std::uint8_t Get(int x, int y) const { return Inside(x, y) ? px[static_cast<std::size_t>(y) * w + x] : kKey; }
  void Set(int x, int y, std::uint8_t c) {
    if (Inside(x, y)) px[static_cast<std::size_t>(y) * w + x] = c;
  }
  void Fill(int x, int y, int width, int height, std::uint8_t c);
  // Copies src with its top left at (x, y); with `keyed`, key pixels of src are skipped.
  void Paste(const Image& src, int x, int y, bool keyed = true);
  Image Crop(int x, int y, int width, int height) const;
  Image Mirrored() const;
};

}  // namespace pictures
