#include "platform/pixels/surface.h"
#include <png.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <filesystem>
#include <utility>

#include <gtest/gtest.h>

#include "platform/backend/backend_hooks.h"
#include "platform/pixels/png_writer.h"

using platform::BlitResult;
using platform::BltFast;
using platform::BltTiled;
using platform::Rect;
using platform::Surface;

namespace {

// A sprite whose every pixel tells where it came from: 1 + x + 16 * y (never 0).
Surface Numbered(int width, int height) {
  Surface s(width, height);
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) s.Pixels()[y * width + x] = uint8_t(1 + x + 16 * y);
  return s;
}

int CountNonZero(const Surface& s) {
  int n = 0;
  for (int i = 0; i < s.Width() * s.Height(); ++i) n += s.Pixels()[i] != 0;
  return n;
}

}  // namespace

TEST(BltFast, ClipsAtEveryEdgeAndCornerOfTheSurfaceAndTheSource) {
  const Surface sprite = Numbered(10, 10);
  const Rect full{0, 0, 10, 10};
  const struct {
    int x, y;
    Rect rect;
    int drawn;                 // pixels that land on the 20 × 20 surface
    int atX, atY, fromX, fromY;  // where a sprite pixel lands
  } cases[] = {
      {5, 5, full, 100, 5, 5, 0, 0},  // wholly inside: nothing cut
      {-4, 5, full, 60, 0, 5, 4, 0},    {15, 5, full, 50, 15, 5, 0, 0},  {5, -7, full, 30, 5, 0, 0, 7},
      {5, 12, full, 80, 5, 12, 0, 0},   {-4, -7, full, 18, 0, 0, 4, 7},  {15, -7, full, 15, 15, 0, 0, 7},
      {-4, 12, full, 48, 0, 12, 4, 0},  {15, 12, full, 40, 15, 12, 0, 0},
      // past the source's right and bottom only the part inside it is copied; before its left
      // and top the surviving pixels land where they would have unclipped
      {0, 0, {4, 4, 40, 40}, 36, 5, 5, 9, 9}, {5, 5, {-2, -3, 2, 2}, 4, 7, 8, 0, 0},
  };
  for (const auto& c : cases) {
    Surface dst(20, 20);
    ASSERT_EQ(BltFast(dst, c.x, c.y, sprite, c.rect, false), BlitResult::Ok) << c.x << "," << c.y;
    EXPECT_EQ(CountNonZero(dst), c.drawn) << c.x << "," << c.y;
    EXPECT_EQ(dst.PixelAt(c.atX, c.atY), sprite.PixelAt(c.fromX, c.fromY)) << c.x << "," << c.y;
  }
}

TEST(BltFast, EmptyInvertedAndWhollyOutsideRectanglesDrawNothing) {
  const Surface sprite = Numbered(8, 8);
  Surface dst(16, 16), empty(0, 0);
  const Rect full{0, 0, 8, 8};
  const struct { Surface* dst; int x, y; const Surface* src; Rect rect; } refused[] = {
      {&dst, 0, 0, &sprite, {3, 3, 3, 6}},  {&dst, 0, 0, &sprite, {6, 6, 2, 2}},
      {&dst, 16, 0, &sprite, full},         {&dst, 0, 16, &sprite, full},
      {&dst, -8, 0, &sprite, full},         {&dst, INT_MAX, INT_MAX, &sprite, full},
      {&dst, INT_MIN, 0, &sprite, full},    {&dst, 0, 0, &sprite, {INT_MAX, 0, INT_MIN, 8}},
      {&dst, 0, 0, &sprite, {0, 320, 32, 352}},  // a tile index far past the sheet
      // the sprite's pixel (0, 0) would land at (INT_MAX, INT_MAX): off the surface
      {&dst, 0, 0, &sprite, {INT_MIN + 1, INT_MIN + 1, INT_MAX, INT_MAX}},
      {&empty, 0, 0, &sprite, full},        {&dst, 0, 0, &empty, full}};
  for (const auto& c : refused)
    EXPECT_EQ(BltFast(*c.dst, c.x, c.y, *c.src, c.rect, false), BlitResult::InvalidRect)
        << c.x << "," << c.y << " " << c.rect.left << "," << c.rect.top << "," << c.rect.right;
  EXPECT_EQ(CountNonZero(dst), 0);
  EXPECT_EQ(BltFast(dst, -2, -2, sprite, Rect{-2, -2, INT_MAX, INT_MAX}, false), BlitResult::Ok);
  EXPECT_EQ(CountNonZero(dst), 64);  // a huge rectangle is clipped to the sprite
}

TEST(BltFast, ColorKeyIsHonouredOnlyWithTheFlagAndOverlappingCopiesWork) {
  // Wide rows, cut at odd places: every key pixel shows the destination, every other pixel
  // the source, whatever its place in the row. Without the flag, or with it on a source that
  // has no key, the key pixels are copied too.
  Surface sheet(53, 3), canvas(60, 5);
  for (int i = 0; i < 53 * 3; ++i) sheet.Pixels()[i] = uint8_t(i % 5 == 0 || i % 17 == 3 ? 7 : 100 + i % 100);
  for (int i = 0; i < 60 * 5; ++i) canvas.Pixels()[i] = uint8_t(i % 90);
  const Surface before = canvas;
  for (const auto& [key, flag] : {std::pair{7, true}, std::pair{7, false}, std::pair{-1, true}}) {
    sheet.SetColorKey(key < 0 ? std::nullopt : std::optional<uint8_t>(key));
    canvas = before;
    ASSERT_EQ(BltFast(canvas, 3, 1, sheet, Rect{1, 0, 52, 3}, flag), BlitResult::Ok);
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 60; ++x) {
        const bool inside = x >= 3 && x < 54 && y >= 1 && y < 4;
        const uint8_t from = inside ? sheet.PixelAt(x - 3 + 1, y - 1) : 7;
        const bool showsBefore = !inside || (key >= 0 && flag && from == 7);
        ASSERT_EQ(canvas.PixelAt(x, y), showsBefore ? before.PixelAt(x, y) : from) << x << "," << y << " flag " << flag;
      }
  }
  // Within one surface, overlapping.
  Surface s = Numbered(8, 8);
  const Surface unmoved = s;
  ASSERT_EQ(BltFast(s, 1, 1, s, Rect{0, 0, 6, 6}, false), BlitResult::Ok);
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 6; ++x) ASSERT_EQ(s.PixelAt(x + 1, y + 1), unmoved.PixelAt(x, y));
}

TEST(BltTiled, LaysTheSamePixelsAsOneBlitPerCell) {
  const Surface sheet = Numbered(16, 16);
  const struct { int x, y, columns, rows; Rect rect; } cases[] = {
      {-5, -3, 8, 6, {0, 0, 8, 8}},        // covers the surface, cut on every side
      {3, 2, 3, 2, {2, 2, 7, 6}},          // a few cells inside
      {-4, 1, 9, 5, {-2, -3, 6, 5}},       // rectangle before the sheet's corner: inset cells
      {0, 0, 6, 5, {10, 12, 20, 20}},      // past the sheet's corner: gaps between the cells
      {-1000, -7, 200, 3, {0, 0, 8, 8}},   // starting far to the left
      {0, 0, INT_MAX, INT_MAX, {3, 1, 4, 2}},  // single pixels, more cells than anything holds
      {45, 35, 3, 3, {0, 0, 8, 8}},        // one corner cell reaching in
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y << " " << c.rect.left << "," << c.rect.top);
    Surface tiled(50, 40);
    for (int i = 0; i < 50 * 40; ++i) tiled.Pixels()[i] = uint8_t(200 + i % 7);
    Surface reference = tiled;
    EXPECT_EQ(BltTiled(tiled, c.x, c.y, c.columns, c.rows, sheet, c.rect), BlitResult::Ok);
    const int width = c.rect.right - c.rect.left, height = c.rect.bottom - c.rect.top;
    // Cells past the 50 × 40 surface draw nothing: two hundred in each direction are enough.
    for (int row = 0; row < std::min(c.rows, 200); ++row)
      for (int column = 0; column < std::min(c.columns, 200); ++column)
        BltFast(reference, c.x + column * width, c.y + row * height, sheet, c.rect, false);
    for (int i = 0; i < 50 * 40; ++i)
      ASSERT_EQ(tiled.Pixels()[i], reference.Pixels()[i]) << "pixel " << i % 50 << "," << i / 50;
  }
  Surface dst(50, 40);
  const struct { int x, y, columns; Rect rect; } refused[] = {
      {0, 0, 4, {16, 0, 24, 8}}, {50, 0, 4, {0, 0, 8, 8}}, {0, 0, 0, {0, 0, 8, 8}}, {-(1 << 20), -(1 << 20), 21, {0, 0, 8, 8}}};
  for (const auto& c : refused) EXPECT_EQ(BltTiled(dst, c.x, c.y, c.columns, 16, sheet, c.rect), BlitResult::InvalidRect) << c.x;
  EXPECT_EQ(CountNonZero(dst), 0);
}

TEST(Surface, LostSurfacesRefuseBlitsUntilRestoredAndKeepTheirPixels) {
  Surface a = Numbered(4, 4);
  Surface b(4, 4);
  platform::detail::MarkAllSurfacesLost();
  EXPECT_TRUE(a.IsLost() && b.IsLost());
  EXPECT_EQ(BltFast(b, 0, 0, a, Rect{0, 0, 4, 4}, false), BlitResult::SurfaceLost);
  EXPECT_EQ(FillSurface(b, 3), BlitResult::SurfaceLost);
  EXPECT_EQ(CountNonZero(b), 0);

  EXPECT_EQ(b.Restore(), BlitResult::Ok);
  EXPECT_EQ(BltFast(b, 0, 0, a, Rect{0, 0, 4, 4}, false), BlitResult::SurfaceLost);  // source still lost
  a.Restore();
  EXPECT_EQ(a.PixelAt(3, 3), 1 + 3 + 48);
  EXPECT_EQ(BltFast(b, 0, 0, a, Rect{0, 0, 4, 4}, false), BlitResult::Ok);

  // Surfaces made after the loss, and destroyed ones, are not touched.
  { Surface gone(2, 2); }
  platform::detail::MarkAllSurfacesLost();
  Surface fresh(2, 2);
  EXPECT_FALSE(fresh.IsLost());
}

TEST(Palette, NearestIndexUsesSquaredDistanceAndTheLowestIndexOnTies) {
  platform::Palette palette{};  // all black
  palette[10] = palette[30] = {250, 0, 0, 0};
  palette[20] = {0, 0, 250, 0};
  palette[40] = {128, 128, 128, 0};
  const struct { uint32_t color; int index; } cases[] = {
      {platform::MakeColorRef(255, 0, 0), 10}, {0xFF0000, 20} /* blue in the high byte */, {0, 0},
      {platform::MakeColorRef(120, 130, 140), 40},
      {platform::MakeColorRef(100, 0, 0), 0},  // black is 100² away, entry 10 is 150²
      {platform::MakeColorRef(125, 0, 0), 0},  // 125² from black and from entry 10: the lower index
  };
  for (const auto& c : cases) EXPECT_EQ(platform::NearestPaletteIndex(palette, c.color), c.index) << std::hex << c.color;
}

TEST(WritePng, WritesTheSurfaceThroughThePaletteAsAnIndexedPictureAndReportsFailures) {
  platform::Surface s(37, 11);  // odd sizes: no row padding assumptions
  platform::Palette palette;
  for (int i = 0; i < 37 * 11; ++i) s.Pixels()[i] = uint8_t(i % 37 * 7 + i / 37);
  for (int i = 0; i < 256; ++i) palette[size_t(i)] = {uint8_t(i), uint8_t(255 - i), uint8_t(i / 2), 0};
  const std::string path =
      (std::filesystem::temp_directory_path() / (std::to_string(::getpid()) + "_tamsel_pixels_write_test.png")).string();
  ASSERT_TRUE(platform::WritePng(path, s, palette));

  png_image image{};
  image.version = PNG_IMAGE_VERSION;
  ASSERT_TRUE(png_image_begin_read_from_file(&image, path.c_str())) << image.message;
  EXPECT_TRUE(image.width == 37u && image.height == 11u && (image.format & PNG_FORMAT_FLAG_COLORMAP)) << image.width;
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
