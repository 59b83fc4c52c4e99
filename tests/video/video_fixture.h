// A headless display for the video tests, with a scratch data directory and small Windows
// bitmap files written on the spot.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/surface.h"

// A 256-entry colour list (red, green, blue) for writing bitmap colour tables.
using ColorList = std::vector<platform::PaletteEntry>;

struct BitmapLayout {
  int width = 4;
  int height = 4;
  int bitsPerPixel = 8;        // 8 (indexed) or 24
  ColorList colors;            // written as the colour table (8 bits only)
  uint32_t colorsUsed = 0;     // the header's colour-used count
  uint8_t reservedByte = 0;    // the fourth byte of every colour-table entry
  // Pixel value at (x, y), top row first: an index for 8 bits, a colour reference for 24.
  std::function<uint32_t(int x, int y)> pixel = [](int, int) { return 0u; };
};

std::vector<uint8_t> EncodeBitmap(const BitmapLayout& layout);

class VideoTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Headless backend with the given faults, the scratch directory as data directory.
  void UseBackend(const platform::headless::Faults& faults = {});
  // The device with its two pages and, when given, an attached palette: what drawing needs,
  // without loading any picture.
  void OpenBareDisplay(const platform::Palette* palette = nullptr);

  // Writes a file below the data directory ("pic/x.bmp").
  void WriteDataFile(const std::string& relative, const std::vector<uint8_t>& bytes);
  void WriteBitmap(const std::string& relative, const BitmapLayout& layout);

  std::filesystem::path dataDir;
};

// Colours that are all different, so each is its own nearest palette entry.
ColorList GrayRamp();
ColorList DistinctColors(uint8_t salt);
platform::Palette ToPalette(const ColorList& colors);

// Fills a surface with a pattern of non-zero indexes derived from the position.
void PaintPattern(platform::Surface& surface);
uint8_t PatternAt(int x, int y);
