// A headless display for the video tests, with a scratch data directory and small Windows
// bitmap files written on the spot.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "../platform_pixels/bmp_builder.h"
#include "platform/backend/backend.h"
#include "platform/display_device.h"
#include "platform/pixels/surface.h"
#include "platform/system.h"
#include "video/display.h"

// A 256-entry colour list (red, green, blue) for writing bitmap colour tables.
using ColorList = std::vector<platform::PaletteEntry>;

struct BitmapLayout {
  int width = 4, height = 4;
  int bitsPerPixel = 8;        // 8 (indexed) or 24
  ColorList colors;            // written as the colour table (8 bits only)
  uint32_t colorsUsed = 0;     // the header's colour-used count
  uint8_t reservedByte = 0;    // the fourth byte of every colour-table entry
  // Pixel value at (x, y), top row first: an index for 8 bits, a colour reference for 24.
  std::function<uint32_t(int x, int y)> pixel = [](int, int) { return 0u; };
};

inline std::vector<uint8_t> EncodeBitmap(const BitmapLayout& layout) {
  bmp::Layout s;
  s.width = layout.width;
  s.height = layout.height;
  s.bitsPerPixel = layout.bitsPerPixel;
  s.colorsUsed = layout.colorsUsed;
  s.reserved = layout.reservedByte;
  if (layout.bitsPerPixel <= 8)
    for (const platform::PaletteEntry& c : layout.colors) s.table.push_back(platform::MakeColorRef(c.red, c.green, c.blue));
  for (int y = 0; y < layout.height; ++y)
    for (int x = 0; x < layout.width; ++x) s.pixels.push_back(layout.pixel(x, y));
  return bmp::Build(s);
}

// Colours that are all different, so each is its own nearest palette entry.
inline ColorList DistinctColors(uint8_t salt) {
  ColorList colors(256);
  for (int i = 0; i < 256; ++i) colors[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7 + salt), 0};
  return colors;
}
inline ColorList GrayRamp() {
  ColorList colors(256);
  for (int i = 0; i < 256; ++i) colors[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
  return colors;
}
inline platform::Palette ToPalette(const ColorList& colors) {
  platform::Palette palette{};
  for (size_t i = 0; i < colors.size() && i < palette.size(); ++i) palette[i] = colors[i];
  return palette;
}

// A pattern of non-zero indexes derived from the position.
inline uint8_t PatternAt(int x, int y) { return uint8_t(1 + (x * 3 + y * 5) % 250); }
inline void PaintPattern(platform::Surface& surface) {
  for (int y = 0; y < surface.Height(); ++y)
    for (int x = 0; x < surface.Width(); ++x) surface.Pixels()[y * surface.Width() + x] = PatternAt(x, y);
}

class VideoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    static int counter = 0;
    dataDir = std::filesystem::temp_directory_path() /
              ("tamsel_video_" + std::to_string(getpid()) + "_" + std::to_string(++counter));
    std::filesystem::create_directories(dataDir / "pic");
    UseBackend();
  }
  void TearDown() override {
    ReleaseDisplay();
    std::error_code ignored;
    std::filesystem::remove_all(dataDir, ignored);
  }

  // Headless backend with the given faults, the scratch directory as data directory.
  void UseBackend(const platform::headless::Faults& faults = {}) {
    ReleaseDisplay();
    platform::headless::Options options;
    options.quitWhenScriptEnds = false;
    options.faults = faults;
    platform::headless::UseHeadlessBackend(options);
    platform::SetDataDirectory(dataDir.string());
  }
  // The device with its two pages and, when given, an attached palette: what drawing needs,
  // without loading any picture.
  void OpenBareDisplay(const platform::Palette* palette = nullptr) {
    lpDD = platform::OpenDisplayDevice();
    ASSERT_NE(lpDD, nullptr);
    lpDDSPrimary = lpDD->CreatePrimaryWithBackBuffer();
    lpDDSBack = lpDD->BackBuffer();
    ASSERT_NE(lpDDSBack, nullptr);
    if (palette == nullptr) return;
    lpDDPal = lpDD->CreatePalette(*palette);
    lpDD->AttachPalette(lpDDPal);
  }

  // Writes a file below the data directory ("pic/x.bmp").
  void WriteDataFile(const std::string& relative, const std::vector<uint8_t>& bytes) {
    std::filesystem::create_directories((dataDir / relative).parent_path());
    std::ofstream(dataDir / relative, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  void WriteBitmap(const std::string& relative, const BitmapLayout& layout) { WriteDataFile(relative, EncodeBitmap(layout)); }

  std::filesystem::path dataDir;
};
