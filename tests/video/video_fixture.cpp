#include "video_fixture.h"

#include <unistd.h>

#include <fstream>

#include "platform/display_device.h"
#include "platform/system.h"
#include "video/display.h"

namespace {

void Put16(std::vector<uint8_t>& out, uint32_t v) {
  out.push_back(uint8_t(v));
  out.push_back(uint8_t(v >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

}  // namespace

std::vector<uint8_t> EncodeBitmap(const BitmapSpec& spec) {
  const bool indexed = spec.bitsPerPixel <= 8;
  const uint32_t tableBytes = indexed ? uint32_t(spec.colors.size()) * 4 : 0;
  const uint32_t rowBytes = (uint32_t(spec.width) * uint32_t(spec.bitsPerPixel) / 8 + 3) & ~3u;
  const uint32_t imageBytes = rowBytes * uint32_t(spec.height);
  const uint32_t offset = 14 + 40 + tableBytes;

  std::vector<uint8_t> out;
  out.push_back('B');
  out.push_back('M');
  Put32(out, offset + imageBytes);
  Put32(out, 0);
  Put32(out, offset);
  Put32(out, 40);
  Put32(out, uint32_t(spec.width));
  Put32(out, uint32_t(spec.height));  // bottom-up rows
  Put16(out, 1);
  Put16(out, uint32_t(spec.bitsPerPixel));
  Put32(out, 0);
  Put32(out, imageBytes);
  Put32(out, 2835);
  Put32(out, 2835);
  Put32(out, spec.colorsUsed);
  Put32(out, 0);
  if (indexed) {
    for (const platform::PaletteEntry& c : spec.colors) {
      out.push_back(c.blue);
      out.push_back(c.green);
      out.push_back(c.red);
      out.push_back(spec.reservedByte);
    }
  }
  for (int row = spec.height - 1; row >= 0; --row) {
    const size_t start = out.size();
    for (int x = 0; x < spec.width; ++x) {
      const uint32_t value = spec.pixel(x, row);
      if (indexed) {
        out.push_back(uint8_t(value));
      } else {
        out.push_back(uint8_t(value >> 16));  // blue, green, red
        out.push_back(uint8_t(value >> 8));
        out.push_back(uint8_t(value));
      }
    }
    out.resize(start + rowBytes, 0);
  }
  return out;
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

void VideoTest::WriteBitmap(const std::string& relative, const BitmapSpec& spec) {
  WriteDataFile(relative, EncodeBitmap(spec));
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
