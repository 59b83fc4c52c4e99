#include "platform/png_writer.h"
#include <unistd.h>

#include <png.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

namespace {

std::string TempPath(const char* name) {
  return (std::filesystem::temp_directory_path() / (std::to_string(::getpid()) + "_" + name)).string();
}

}  // namespace

TEST(WritePng, WritesTheSurfaceThroughThePaletteAsAnIndexedPicture) {
  platform::Surface s(37, 11);  // odd sizes: no row padding assumptions
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 37; ++x) s.Pixels()[y * 37 + x] = uint8_t(x * 7 + y);
  platform::Palette palette;
  for (int i = 0; i < 256; ++i) palette[size_t(i)] = {uint8_t(i), uint8_t(255 - i), uint8_t(i / 2), 0};
  const std::string path = TempPath("tamsel_pixels_write_test.png");
  ASSERT_TRUE(platform::WritePng(path, s, palette));

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str())) << image.message;
  EXPECT_EQ(image.width, 37u);
  EXPECT_EQ(image.height, 11u);
  EXPECT_TRUE(image.format & PNG_FORMAT_FLAG_COLORMAP);
  image.format = PNG_FORMAT_RGB;
  std::vector<uint8_t> rgb(PNG_IMAGE_SIZE(image));
  ASSERT_TRUE(png_image_finish_read(&image, nullptr, rgb.data(), 0, nullptr)) << image.message;
  for (int y = 0; y < 11; ++y)
    for (int x = 0; x < 37; ++x) {
      const platform::PaletteEntry& e = palette[s.PixelAt(x, y)];
      const uint8_t* p = &rgb[size_t(y * 37 + x) * 3];
      ASSERT_EQ(p[0], e.red);
      ASSERT_EQ(p[1], e.green);
      ASSERT_EQ(p[2], e.blue);
    }
  std::remove(path.c_str());
}

TEST(WritePng, ReportsFilesThatCannotBeWritten) {
  platform::Surface s(4, 4);
  const platform::Palette palette{};
  EXPECT_FALSE(platform::WritePng("/nonexistent-folder/shot.png", s, palette));
  EXPECT_FALSE(platform::WritePng(TempPath("tamsel_pixels_empty.png"), platform::Surface(0, 3), palette));
}
