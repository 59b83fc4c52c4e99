#include "video_fixture.h"

#include <unistd.h>

#include <fstream>

#include "../platform_pixels/bmp_builder.h"
#include "platform/display_device.h"
#include "platform/system.h"
#include "video/display.h"

std::vector<uint8_t> EncodeBitmap(const BitmapLayout& layout) {
  bmp::Layout s;
  s.width = layout.width;
  s.height = layout.height;
  s.bitsPerPixel = layout.bitsPerPixel;
  s.colorsUsed = layout.colorsUsed;
  s.reserved = layout.reservedByte;
  if (layout.bitsPerPixel <= 8)
    for (const platform::PaletteEntry& c : layout.colors)
      s.table.push_back(platform::MakeColorRef(c.red, c.green, c.blue));
  for (int y = 0; y < layout.height; ++y)
    for (int x = 0; x < layout.width; ++x) s.pixels.push_back(layout.pixel(x, y));
  return bmp::Build(s);
}

void VideoTest::SetUp() {
  static int counter = 0;
  dataDir = std::filesystem::temp_directory_path() /
            ("tamsel_video_" + std::to_string(getpid()) + "_" + std::to_string(++counter));
  std::filesystem::create_directories(dataDir / "pic");
  UseBackend();
}

void VideoTest::TearDown() {
  ReleaseDisplay();
  std::error_code ignored;
  std::filesystem::remove_all(dataDir, ignored);
}

void VideoTest::UseBackend(const platform::headless::Faults& faults) {
  ReleaseDisplay();
  platform::headless::Options options;
  options.quitWhenScriptEnds = false;
  options.faults = faults;
  platform::headless::UseHeadlessBackend(options);
  platform::SetDataDirectory(dataDir.string());
}

void VideoTest::OpenBareDisplay(const platform::Palette* palette) {
  lpDD = platform::OpenDisplayDevice();
  ASSERT_NE(lpDD, nullptr);
  lpDDSPrimary = lpDD->CreatePrimaryWithBackBuffer();
  lpDDSBack = lpDD->BackBuffer();
  ASSERT_NE(lpDDSBack, nullptr);
  if (palette != nullptr) {
    lpDDPal = lpDD->CreatePalette(*palette);
    lpDD->AttachPalette(lpDDPal);
  }
}

void VideoTest::WriteDataFile(const std::string& relative, const std::vector<uint8_t>& bytes) {
  const std::filesystem::path path = dataDir / relative;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream file(path, std::ios::binary);
  file.write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

void VideoTest::WriteBitmap(const std::string& relative, const BitmapLayout& layout) {
  WriteDataFile(relative, EncodeBitmap(layout));
}

ColorList GrayRamp() {
  ColorList colors(256);
  for (int i = 0; i < 256; ++i) colors[i] = {uint8_t(i), uint8_t(i), uint8_t(i), 0};
  return colors;
}

ColorList DistinctColors(uint8_t salt) {
  ColorList colors(256);
  for (int i = 0; i < 256; ++i)
    colors[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i * 7 + salt), 0};
  return colors;
}

platform::Palette ToPalette(const ColorList& colors) {
  platform::Palette palette{};
  for (size_t i = 0; i < colors.size() && i < palette.size(); ++i) palette[i] = colors[i];
  return palette;
}

uint8_t PatternAt(int x, int y) { return uint8_t(1 + (x * 3 + y * 5) % 250); }

void PaintPattern(platform::Surface& surface) {
  for (int y = 0; y < surface.Height(); ++y)
    for (int x = 0; x < surface.Width(); ++x)
      surface.Pixels()[y * surface.Width() + x] = PatternAt(x, y);
}
