// The generated bitmaps as the checks see them: raw header fields, colour table and pixels.
#pragma once

#include <array>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

struct BitmapFile {
  std::vector<std::uint8_t> bytes;
  std::uint32_t data_offset = 0, info_size = 0, compression = 0, colours_used = 0;
  std::int32_t width = 0, height = 0;  // positive height: rows stored bottom-up
  int bits = 0;
  std::array<std::array<std::uint8_t, 3>, 256> colours{};  // red, green, blue
  std::vector<std::uint8_t> px;                             // top row first

  std::uint8_t At(int x, int y) const { return px[static_cast<std::size_t>(y) * width + x]; }
  // Index of the colour key in this picture's table, or -1.
  int KeyIndex() const {
    for (int i = 0; i < 256; ++i)
      if (colours[i] == std::array<std::uint8_t, 3>{255, 238, 187}) return i;
    return -1;
  }
  // Pixels of the rectangle that are not the key colour.
  int PaintedIn(int x, int y, int w, int h) const {
    const int key = KeyIndex();
    int n = 0;
    for (int j = y; j < y + h; ++j)
      for (int i = x; i < x + w; ++i) n += At(i, j) != key;
    return n;
  }
};

// Nothing when the file is missing, too short or its rows would run past its end.
inline std::optional<BitmapFile> LoadBitmapFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  BitmapFile bmp;
  bmp.bytes.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  const auto& b = bmp.bytes;
  if (b.size() < 54 + 1024 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
  auto le32 = [&](std::size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24; };
  bmp.data_offset = le32(10);
  bmp.info_size = le32(14);
  bmp.width = static_cast<std::int32_t>(le32(18));
  bmp.height = static_cast<std::int32_t>(le32(22));
  bmp.bits = b[28] | (b[29] << 8);
  bmp.compression = le32(30);
  bmp.colours_used = le32(46);
  // Colour table read the way the game reads it: raw bytes right after a 40-byte info header.
  for (int i = 0; i < 256; ++i) bmp.colours[i] = {b[54 + 4 * i + 2], b[54 + 4 * i + 1], b[54 + 4 * i]};
  if (bmp.bits != 8 || bmp.width <= 0 || bmp.height <= 0 || bmp.width > 4096 || bmp.height > 4096) return bmp;
  const std::size_t stride = (static_cast<std::size_t>(bmp.width) + 3) & ~std::size_t{3};
  if (bmp.data_offset + stride * static_cast<std::size_t>(bmp.height) > b.size()) return std::nullopt;
  for (int y = 0; y < bmp.height; ++y)
    for (int x = 0; x < bmp.width; ++x) bmp.px.push_back(b[bmp.data_offset + (bmp.height - 1 - y) * stride + x]);
  return bmp;
}

inline std::string PicturePath(const std::string& name) { return std::string(TAMSEL_DATA_DIR) + "/pic/" + name; }
