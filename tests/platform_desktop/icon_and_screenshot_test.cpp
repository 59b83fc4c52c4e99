// The game's icon and screenshots.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/game_icon.h"
#include "platform/screenshot.h"

using namespace platform;
namespace fs = std::filesystem;

TEST(GameIconTest, TheFigureStandsInTheMiddleOnATransparentSquare) {
  // A sheet of key colour with a 2 × 4 figure in the top-left corner of the first frame and
  // a pixel in the second frame, which the icon must not show.
  DibBitmap sheet;
  sheet.width = 96;
  sheet.height = 48;
  sheet.colors.assign(96 * 48, 0xBBEEFF);
  for (int y = 0; y < 4; ++y) sheet.colors[size_t(y) * 96] = sheet.colors[size_t(y) * 96 + 1] = 0x00332211;
  sheet.colors[40] = 0x00FFFFFF;

  const auto icon = GameIcon(sheet, 3);
  ASSERT_TRUE(icon);
  ASSERT_EQ(icon->width, 144);
  ASSERT_EQ(icon->height, 144);
  size_t opaque = 0;
  int minX = 999, minY = 999;
  for (int y = 0; y < 144; ++y)
    for (int x = 0; x < 144; ++x) {
      const uint8_t* p = &icon->rgba[(size_t(y) * 144 + size_t(x)) * 4];
      if (p[3] == 0) continue;
      ++opaque;
      minX = std::min(minX, x);
      minY = std::min(minY, y);
      EXPECT_EQ(p[0] * 0x10000 + p[1] * 0x100 + p[2], 0x112233) << x << "," << y;
    }
  EXPECT_EQ(opaque, 2u * 4u * 9u);  // every pixel 3 × 3, nothing of the second frame
  EXPECT_EQ(minX, (48 - 2) / 2 * 3);
  EXPECT_EQ(minY, (48 - 4) / 2 * 3);

  // A sheet smaller than a frame, or with missing pixels, or a silly scale gives no icon.
  DibBitmap small = sheet, torn = sheet;
  small.width = 31;
  torn.colors.resize(10);
  EXPECT_FALSE(GameIcon(small, 1));
  EXPECT_FALSE(GameIcon(torn, 1));
  EXPECT_FALSE(GameIcon(sheet, 0));
  EXPECT_FALSE(GameIcon(sheet, 17));
}

TEST(ScreenshotTest, NamedByTimeNeverOverwritingAndTheFolderIsMade) {
  const fs::path folder = fs::temp_directory_path() / ("tamsel_shots_" + std::to_string(::getpid())) / "Pictures";
  fs::remove_all(folder.parent_path());
  Surface page(640, 480);
  Palette palette{};
  const std::time_t when = 1780000000;
  const std::string first = SaveScreenshot(page, palette, folder.string(), when);
  const std::string second = SaveScreenshot(page, palette, folder.string(), when);
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(fs::path(first).parent_path(), folder);
  EXPECT_EQ(fs::path(first).filename().string().rfind("tamsel-20", 0), 0u) << first;
  EXPECT_EQ(second, first.substr(0, first.size() - 4) + "-2.png");
  EXPECT_GT(fs::file_size(first), 100u);
  EXPECT_GT(fs::file_size(second), 100u);

  // No folder can be made under a plain file: nothing written, no crash.
  std::ofstream(folder / "file") << "x";
  EXPECT_EQ(SaveScreenshot(page, palette, (folder / "file" / "sub").string(), when), "");
  fs::remove_all(folder.parent_path());
}
