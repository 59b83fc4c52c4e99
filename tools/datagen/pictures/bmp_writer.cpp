#include "bmp_writer.h"

#include <fstream>

namespace pictures {
namespace {

void Put16(std::vector<std::uint8_t>& out, std::uint32_t v) {
  out.push_back(static_cast<std::uint8_t>(v));
  out.push_back(static_cast<std::uint8_t>(v >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

std::vector<std::uint8_t> EncodeBmp(const Image& img, const Palette& palette) {
  const std::uint32_t stride = (static_cast<std::uint32_t>(img.w) + 3) & ~3u;
  const std::uint32_t image_size = stride * static_cast<std::uint32_t>(img.h);
  const std::uint32_t offset = 14 + 40 + 256 * 4;
  std::vector<std::uint8_t> out;
  out.reserve(offset + image_size);
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + image_size);
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(img.w));
  Put32(out, static_cast<std::uint32_t>(img.h));  // positive: bottom-up rows
  Put16(out, 1);                                   // planes
  Put16(out, 8);                                   // bits per pixel
  Put32(out, 0);                                   // BI_RGB
  Put32(out, image_size);
  Put32(out, 2835);  // 72 dpi
  Put32(out, 2835);
  Put32(out, 256);  // colours used
  Put32(out, 0);    // all important
  for (const Rgb& c : palette) {
    out.push_back(c.b);
    out.push_back(c.g);
    out.push_back(c.r);
    out.push_back(0);
  }
  for (int y = img.h - 1; y >= 0; --y) {
    for (int x = 0; x < img.w; ++x) out.push_back(img.Get(x, y));
    for (std::uint32_t pad = static_cast<std::uint32_t>(img.w); pad < stride; ++pad) out.push_back(0);
  }
  return out;
}

bool WriteBmp(const std::string& path, const Image& img, const Palette& palette) {
  const std::vector<std::uint8_t> bytes = EncodeBmp(img, palette);
  std::ofstream f(path, std::ios::binary);
  if (!f) return false;
  f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  return static_cast<bool>(f);
}

}  // namespace pictures
