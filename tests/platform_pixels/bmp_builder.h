// Builds Windows bitmap files in memory for the loader and video tests.
#pragma once

#include <cstdint>
#include <vector>

namespace bmp {

struct Layout {
  int width = 0;
  int height = 0;  // positive; topDown stores the rows top first (negative height in the file)
  bool topDown = false;
  int bitsPerPixel = 8;
  uint32_t compression = 0, headerSize = 40, colorsUsed = 0;
  std::vector<uint32_t> table{};  // colour references (red in the low byte)
  uint8_t reserved = 0;         // the fourth byte of every colour-table entry
  std::vector<uint32_t> masks{};  // red, green, blue for bit fields
  // Top row first. Indexed: one index per pixel; 16/32-bit: the raw pixel value; 24-bit: a colour reference.
  std::vector<uint32_t> pixels{};
  std::vector<uint8_t> rawPixelData{};  // used instead of pixels when set (run-length data)
};

inline void Put(std::vector<uint8_t>& out, size_t at, uint32_t v, int bytes = 4) {
  for (int i = 0; i < bytes; ++i) out[at + size_t(i)] = uint8_t(v >> (8 * i));
}

inline std::vector<uint8_t> Build(const Layout& s) {
  const size_t tableOffset = 14 + s.headerSize + (s.compression == 3 && s.headerSize == 40 ? 12 : 0);
  const size_t pixelOffset = tableOffset + s.table.size() * 4;
  const size_t stride = (size_t(s.width) * size_t(s.bitsPerPixel) + 31) / 32 * 4;
  std::vector<uint8_t> data = s.rawPixelData;
  if (data.empty()) {
    data.assign(stride * size_t(s.height), 0);
    for (int row = 0; row < s.height; ++row) {
      uint8_t* out = data.data() + size_t(s.topDown ? row : s.height - 1 - row) * stride;
      for (int x = 0; x < s.width; ++x) {
        uint32_t v = s.pixels[size_t(row * s.width + x)];
        if (s.bitsPerPixel == 1) out[x / 8] |= uint8_t((v & 1) << (7 - x % 8));
        if (s.bitsPerPixel == 4) out[x / 2] |= uint8_t((v & 15) << (x % 2 == 0 ? 4 : 0));
        if (s.bitsPerPixel == 24) v = (v & 0xFF00) | (v >> 16 & 0xFF) | (v & 0xFF) << 16;  // stored blue first
        for (int i = 0; s.bitsPerPixel >= 8 && i < s.bitsPerPixel / 8; ++i) out[x * (s.bitsPerPixel / 8) + i] = uint8_t(v >> (8 * i));
      }
    }
  }
  std::vector<uint8_t> file(pixelOffset + data.size(), 0);
  file[0] = 'B', file[1] = 'M';
  Put(file, 2, uint32_t(file.size())), Put(file, 10, uint32_t(pixelOffset)), Put(file, 14, s.headerSize);
  Put(file, 18, uint32_t(s.width)), Put(file, 22, uint32_t(s.topDown ? -s.height : s.height));
  Put(file, 26, 1, 2), Put(file, 28, uint32_t(s.bitsPerPixel), 2), Put(file, 30, s.compression);
  Put(file, 34, uint32_t(data.size())), Put(file, 46, s.colorsUsed);
  for (size_t i = 0; i < s.masks.size(); ++i) Put(file, 54 + i * 4, s.masks[i]);
  for (size_t i = 0; i < s.table.size(); ++i) {  // stored blue, green, red, reserved
    const uint32_t c = s.table[i];
    Put(file, tableOffset + i * 4, (c >> 16 & 0xFF) | (c & 0xFF00) | (c & 0xFF) << 16 | uint32_t(s.reserved) << 24);
  }
  std::copy(data.begin(), data.end(), file.begin() + long(pixelOffset));
  return file;
}

}  // namespace bmp
