#include "bitmap_file.h"

#include <fstream>
#include <iterator>

namespace {

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

}  // namespace

int BitmapFile::KeyIndex() const {
  for (int i = 0; i < 256; ++i)
    if (colours[i] == std::array<std::uint8_t, 3>{255, 238, 187}) return i;
  return -1;
}

int BitmapFile::PaintedIn(int x, int y, int w, int h) const {
  const int key = KeyIndex();
  int n = 0;
  for (int j = y; j < y + h; ++j)
    for (int i = x; i < x + w; ++i)
      if (At(i, j) != key) ++n;
  return n;
}

std::optional<BitmapFile> LoadBitmapFile(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return std::nullopt;
  BitmapFile bmp;
  bmp.bytes.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
  const auto& b = bmp.bytes;
  if (b.size() < 54 + 1024 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
  bmp.data_offset = Le32(b, 10);
  bmp.info_size = Le32(b, 14);
  bmp.width = static_cast<std::int32_t>(Le32(b, 18));
  bmp.height = static_cast<std::int32_t>(Le32(b, 22));
  bmp.bits = b[28] | (b[29] << 8);
  bmp.compression = Le32(b, 30);
  bmp.colours_used = Le32(b, 46);
  // Colour table read the way the game reads it: raw bytes right after a 40-byte info header.
  for (int i = 0; i < 256; ++i) bmp.colours[i] = {b[54 + 4 * i + 2], b[54 + 4 * i + 1], b[54 + 4 * i]};
  if (bmp.bits != 8 || bmp.width <= 0 || bmp.height <= 0 || bmp.width > 4096 || bmp.height > 4096) return bmp;
  const std::size_t stride = (static_cast<std::size_t>(bmp.width) + 3) & ~std::size_t{3};
  if (bmp.data_offset + stride * static_cast<std::size_t>(bmp.height) > b.size()) return std::nullopt;
  bmp.px.resize(static_cast<std::size_t>(bmp.width) * bmp.height);
  for (int y = 0; y < bmp.height; ++y)
    for (int x = 0; x < bmp.width; ++x)
      bmp.px[static_cast<std::size_t>(y) * bmp.width + x] = b[bmp.data_offset + (bmp.height - 1 - y) * stride + x];
  return bmp;
}

std::string PicturePath(const std::string& name) { return std::string(TAMSEL_DATA_DIR) + "/pic/" + name; }
