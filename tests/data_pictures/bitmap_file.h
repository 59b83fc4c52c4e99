// The generated bitmaps as the checks see them: raw header fields, colour table and pixels.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct BitmapFile {
  std::vector<std::uint8_t> bytes;
  std::uint32_t data_offset = 0;
  std::uint32_t info_size = 0;
  std::int32_t width = 0;
  std::int32_t height = 0;  // positive: rows stored bottom-up
  int bits = 0;
  std::uint32_t compression = 0;
  std::uint32_t colours_used = 0;
  std::array<std::array<std::uint8_t, 3>, 256> colours{};  // red, green, blue
  std::vector<std::uint8_t> px;                             // top row first

  std::uint8_t At(int x, int y) const { return px[static_cast<std::size_t>(y) * width + x]; }
  // Index of the colour key in this picture's table, or -1.
  int KeyIndex() const;
  // Pixels of the rectangle that are not the key colour.
  int PaintedIn(int x, int y, int w, int h) const;
};

// Nothing when the file is missing, too short or its rows would run past its end.
std::optional<BitmapFile> LoadBitmapFile(const std::string& path);

std::string PicturePath(const std::string& name);
