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
  uint32_t compression = 0;
  uint32_t headerSize = 40;
  uint32_t colorsUsed = 0;
  std::vector<uint32_t> table;     // colour references (red in the low byte)
  uint8_t reserved = 0;            // the fourth byte of every colour-table entry
  std::vector<uint32_t> masks;     // red, green, blue for bit fields
  // Top row first. Indexed: one index per pixel; 16/32-bit: the raw pixel value;
  // 24-bit: a colour reference.
  std::vector<uint32_t> pixels;
  std::vector<uint8_t> rawPixelData;  // used instead of pixels when set (run-length data)
};

inline void Put16(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  out[at] = uint8_t(v);
  out[at + 1] = uint8_t(v >> 8);
}
inline void Put32(std::vector<uint8_t>& out, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) out[at + size_t(i)] = uint8_t(v >> (8 * i));
}

inline std::vector<uint8_t> Build(const Layout& s) {
  const size_t masksAfterHeader = (s.compression == 3 && s.headerSize == 40) ? 12 : 0;
  const size_t tableOffset = 14 + s.headerSize + masksAfterHeader;
  const size_t pixelOffset = tableOffset + s.table.size() * 4;
  const size_t stride = (size_t(s.width) * size_t(s.bitsPerPixel) + 31) / 32 * 4;
  std::vector<uint8_t> data = s.rawPixelData;
  if (data.empty()) {
    data.assign(stride * size_t(s.height), 0);
    for (int row = 0; row < s.height; ++row) {
      const int fileRow = s.topDown ? row : s.height - 1 - row;
      uint8_t* out = data.data() + size_t(fileRow) * stride;
      for (int x = 0; x < s.width; ++x) {
        const uint32_t v = s.pixels[size_t(row * s.width + x)];
        switch (s.bitsPerPixel) {
          case 1: out[x / 8] |= uint8_t((v & 1) << (7 - x % 8)); break;
          case 4: out[x / 2] |= uint8_t((v & 15) << (x % 2 == 0 ? 4 : 0)); break;
          case 8: out[x] = uint8_t(v); break;
          case 16: out[x * 2] = uint8_t(v); out[x * 2 + 1] = uint8_t(v >> 8); break;
          case 24:
            out[x * 3] = uint8_t(v >> 16);
            out[x * 3 + 1] = uint8_t(v >> 8);
            out[x * 3 + 2] = uint8_t(v);
            break;
          case 32:
            for (int i = 0; i < 4; ++i) out[x * 4 + i] = uint8_t(v >> (8 * i));
            break;
        }
      }
    }
  }
  std::vector<uint8_t> file(pixelOffset + data.size(), 0);
  file[0] = 'B';
  file[1] = 'M';
  Put32(file, 2, uint32_t(file.size()));
  Put32(file, 10, uint32_t(pixelOffset));
  Put32(file, 14, s.headerSize);
  Put32(file, 18, uint32_t(s.width));
  Put32(file, 22, uint32_t(s.topDown ? -s.height : s.height));
  Put16(file, 26, 1);
  Put16(file, 28, uint32_t(s.bitsPerPixel));
  Put32(file, 30, s.compression);
  Put32(file, 34, uint32_t(data.size()));
  Put32(file, 46, s.colorsUsed);
  for (size_t i = 0; i < s.masks.size(); ++i) Put32(file, 54 + i * 4, s.masks[i]);
  for (size_t i = 0; i < s.table.size(); ++i) {
    const uint32_t c = s.table[i];  // stored blue, green, red, reserved
    file[tableOffset + i * 4] = uint8_t(c >> 16);
    file[tableOffset + i * 4 + 1] = uint8_t(c >> 8);
    file[tableOffset + i * 4 + 2] = uint8_t(c);
    file[tableOffset + i * 4 + 3] = s.reserved;
  }
  std::copy(data.begin(), data.end(), file.begin() + long(pixelOffset));
  return file;
}

}  // namespace bmp
