#include "indexed_bitmap.h"

#include <fstream>
#include <iterator>

namespace contactsheet {
namespace {

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

}  // namespace

std::optional<IndexedBitmap> ReadIndexedBitmap(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  if (!f) return std::nullopt;
  const std::vector<std::uint8_t> b((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
  if (b.size() < 54 + 1024 || b[0] != 'B' || b[1] != 'M') return std::nullopt;
  const std::uint32_t offset = Le32(b, 10), header = Le32(b, 14);
  const auto w = static_cast<std::int32_t>(Le32(b, 18)), h = static_cast<std::int32_t>(Le32(b, 22));
  const int bits = b[28] | (b[29] << 8);
  if (header != 40 || bits != 8 || Le32(b, 30) != 0 || w <= 0 || h <= 0 || w > 4096 || h > 4096) return std::nullopt;
  const std::size_t stride = (static_cast<std::size_t>(w) + 3) & ~std::size_t{3};
  if (offset + stride * static_cast<std::size_t>(h) > b.size()) return std::nullopt;
  IndexedBitmap out;
  out.w = w;
  out.h = h;
  for (int i = 0; i < 256; ++i) out.colours[i] = {b[54 + 4 * i + 2], b[54 + 4 * i + 1], b[54 + 4 * i]};
  out.px.resize(static_cast<std::size_t>(w) * h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) out.px[static_cast<std::size_t>(y) * w + x] = b[offset + (h - 1 - y) * stride + x];
  return out;
}

}  // namespace contactsheet
