#include "image.h"

namespace pictures {

void Image::Fill(int x, int y, int width, int height, std::uint8_t c) {
  for (int j = y; j < y + height; ++j)
    for (int i = x; i < x + width; ++i) Set(i, j, c);
}

void Image::Paste(const Image& src, int x, int y, bool keyed) {
  for (int j = 0; j < src.h; ++j)
    for (int i = 0; i < src.w; ++i) {
      const std::uint8_t c = src.Get(i, j);
      if (!keyed || c != kKey) Set(x + i, y + j, c);
    }
}

Image Image::Crop(int x, int y, int width, int height) const {
  Image out(width, height, kKey);
  for (int j = 0; j < height; ++j)
    for (int i = 0; i < width; ++i) out.Set(i, j, Get(x + i, y + j));
  return out;
}

Image Image::Mirrored() const {
  Image out(w, h, kKey);
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) out.Set(w - 1 - i, j, Get(i, j));
  return out;
}

}  // namespace pictures
