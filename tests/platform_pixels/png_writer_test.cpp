#include "platform/png_writer.h"
#include <unistd.h>

#include <png.h>

#include <cstdio>
#include <filesystem>
#include <vector>

#include <gtest/gtest.h>

TEST(WritePng, WritesTheSurfaceThroughThePaletteAsAnIndexedPictureAndReportsFailures) {
  platform::Surface s(37, 11);  // odd sizes: no row padding assumptions
  for (int i = 0; i < 37 * 11; ++i) s.Pixels()[i] = uint8_t(i % 37 * 7 + i / 37);
  platform::Palette palette;
  for (int i = 0; i < 256; ++i) palette[size_t(i)] = {uint8_t(i), uint8_t(255 - i), uint8_t(i / 2), 0};
  const std::string path =
      (std::filesystem::temp_directory_path() / (std::to_string(::getpid()) + "_tamsel_pixels_write_test.png")).string();
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
  for (int i = 0; i < 37 * 11; ++i) {
    const platform::PaletteEntry& e = palette[s.Pixels()[i]];
    ASSERT_EQ(std::vector<uint8_t>(&rgb[size_t(i) * 3], &rgb[size_t(i) * 3 + 3]),
              (std::vector<uint8_t>{e.red, e.green, e.blue})) << "pixel " << i;
  }
  std::remove(path.c_str());

  // Files that cannot be written are reported.
  EXPECT_FALSE(platform::WritePng("/nonexistent-folder/shot.png", s, palette));
  EXPECT_FALSE(platform::WritePng(path, platform::Surface(0, 3), palette));
  std::remove(path.c_str());
}
