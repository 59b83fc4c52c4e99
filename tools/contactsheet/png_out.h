// RGB pictures for people to look at, written as PNG.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace contactsheet {

struct RgbPicture {
  int w = 0;
  int h = 0;
  std::vector<std::uint8_t> rgb;  // 3 bytes a pixel, top row first

  RgbPicture(int width, int height) : w(width), h(height), rgb(static_cast<std::size_t>(width) * height * 3, 40) {}
  void Set(int x, int y, std::uint8_t r, std::uint8_t g, std::uint8_t b) {
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    std::uint8_t* p = &rgb[(static_cast<std::size_t>(y) * w + x) * 3];
    p[0] = r;
    p[1] = g;
    p[2] = b;
  }
};

// Writes the picture enlarged `scale` times; false when the file cannot be written.
bool WritePng(const std::string& path, const RgbPicture& pic, int scale);

}  // namespace contactsheet
