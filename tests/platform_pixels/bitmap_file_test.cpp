#include "platform/pixels/bitmap_file.h"
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

#include "bmp_builder.h"

using platform::DecodeBitmap;
using platform::MakeColorRef;

namespace {

std::vector<uint32_t> RampTable(size_t n) {
  std::vector<uint32_t> table(n);
  for (size_t i = 0; i < n; ++i) table[i] = MakeColorRef(uint8_t(i), uint8_t(255 - i), uint8_t(i * 3));
  return table;
}

bmp::Layout EightBit(int width, int height) {
  bmp::Layout s;
  s.width = width;
  s.height = height;
  s.table = RampTable(256);
  for (int i = 0; i < width * height; ++i) s.pixels.push_back(uint32_t(i * 37 % 256));
  return s;
}

std::optional<platform::DibBitmap> Decode(const std::vector<uint8_t>& file) {
  return DecodeBitmap(file.data(), file.size());
}

void ExpectIndexes(const platform::DibBitmap& b, const bmp::Layout& s) {
  ASSERT_EQ(b.width, s.width);
  ASSERT_EQ(b.height, s.height);
  ASSERT_EQ(b.indexes.size(), s.pixels.size());
  for (size_t i = 0; i < s.pixels.size(); ++i) {
    ASSERT_EQ(b.indexes[i], s.pixels[i]) << "pixel " << i;
    ASSERT_EQ(b.colors[i], s.table[s.pixels[i]]) << "pixel " << i;
  }
}

platform::Palette PaletteOf(const std::vector<uint32_t>& table) {
  platform::Palette p{};
  for (size_t i = 0; i < table.size() && i < 256; ++i)
    p[i] = {uint8_t(table[i]), uint8_t(table[i] >> 8), uint8_t(table[i] >> 16), 0};
  return p;
}

}  // namespace

TEST(DecodeBitmap, IndexedPicturesOfEveryDepthAndRowOrder) {
  for (int bits : {1, 4, 8})
    for (bool topDown : {false, true}) {
      bmp::Layout s = EightBit(13, 5);  // 13: rows need padding at every depth
      s.bitsPerPixel = bits;
      s.topDown = topDown;
      s.table = RampTable(size_t(1) << bits);
      for (uint32_t& p : s.pixels) p %= uint32_t(1) << bits;
      const auto b = Decode(bmp::Build(s));
      ASSERT_TRUE(b) << bits << " bits, top-down " << topDown;
      EXPECT_EQ(b->bitsPerPixel, bits);
      EXPECT_EQ(b->colorTable, s.table);
      ExpectIndexes(*b, s);
    }
}

TEST(DecodeBitmap, DirectColourPictures) {
  const std::vector<uint32_t> rgb = {MakeColorRef(255, 0, 0), MakeColorRef(0, 255, 0), MakeColorRef(0, 0, 255),
                                     0xFFFFFF, 0};
  auto with = [&](uint32_t last) { auto v = rgb; v.push_back(last); return v; };
  const std::vector<uint32_t> p565 = {0xF800, 0x07E0, 0x001F, 0xFFFF, 0x0000, 0x0400}, m565 = {0xF800, 0x07E0, 0x001F};
  const struct {
    const char* what;
    int bits;
    uint32_t compression, headerSize;
    bool topDown;
    std::vector<uint32_t> masks, pixels, colors;
  } cases[] = {
      {"24 bits, odd row lengths", 24, 0, 40, false, {}, {0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0xABCDEF, 0},
       {0x0000FF, 0x00FF00, 0xFF0000, 0x123456, 0xABCDEF, 0}},
      {"16 bits, five a channel: full intensity reads 255", 16, 0, 40, false, {},
       {0x7C00, 0x03E0, 0x001F, 0x7FFF, 0x0000, 0x4210}, with(MakeColorRef(132, 132, 132))},
      {"16 bits 5-6-5, masks after a 40-byte header", 16, 3, 40, false, m565, p565, with(MakeColorRef(0, 130, 0))},
      {"16 bits 5-6-5 in a V5 header, top-down", 16, 3, 124, true, m565, p565, with(MakeColorRef(0, 130, 0))},
      {"32 bits: blue, green, red, unused", 32, 0, 40, false, {}, {0xFF112233, 0x00A0B0C0},
       {MakeColorRef(0x11, 0x22, 0x33), MakeColorRef(0xA0, 0xB0, 0xC0)}},
      {"32 bits, masks in another order", 32, 3, 40, false, {0xFF, 0xFF00, 0xFF0000}, {0xFF112233, 0x00A0B0C0},
       {MakeColorRef(0x33, 0x22, 0x11), MakeColorRef(0xC0, 0xB0, 0xA0)}},
  };
  for (const auto& c : cases) {
    const bool six = c.pixels.size() == 6;
    const auto b = Decode(bmp::Build({.width = six ? 3 : 2, .height = six ? 2 : 1, .topDown = c.topDown, .bitsPerPixel = c.bits,
                                      .compression = c.compression, .headerSize = c.headerSize, .masks = c.masks, .pixels = c.pixels}));
    ASSERT_TRUE(b) << c.what;
    EXPECT_TRUE(b->indexes.empty()) << c.what;
    EXPECT_EQ(b->colors, c.colors) << c.what;
  }
}

TEST(DecodeBitmap, ColourUsedCountAndIndexesPastTheTable) {
  bmp::Layout s = EightBit(4, 1);
  s.table = RampTable(16);
  s.colorsUsed = 16;
  s.pixels = {0, 15, 16, 255};
  const auto b = Decode(bmp::Build(s));
  ASSERT_TRUE(b);
  EXPECT_EQ(b->colorTable.size(), 16u);
  EXPECT_EQ(b->indexes[2], 16);
  EXPECT_EQ(b->colors, (std::vector<uint32_t>{s.table[0], s.table[15], 0, 0}));  // no such entry: black
}

TEST(DecodeBitmap, RunLengthPictures) {
  // 8 bits, 6 × 3, stored from the bottom row: a run, a literal, end of line, a jump,
  // and end of picture before the top row is complete.
  bmp::Layout s = EightBit(6, 3);
  s.compression = 1;
  // Bottom row 7 7 7 7, literal 1 2 3 (padded to an even length), end of line (seven pixels in a
  // row of six: the last was dropped), jump 2 right 1 up, 9 9 from x = 2, end of picture, never read.
  s.rawPixelData = {4, 7, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 2, 1, 2, 9, 0, 1, 5, 5};
  auto b = Decode(bmp::Build(s));
  ASSERT_TRUE(b);
  // Top, middle (the end of line skipped it), bottom.
  EXPECT_EQ(b->indexes, (std::vector<uint8_t>{0, 0, 9, 9, 0, 0, 0, 0, 0, 0, 0, 0, 7, 7, 7, 7, 1, 2}));
  EXPECT_EQ(b->colors[2], s.table[9]);

  // 4 bits: runs alternate the two nibbles; a literal of 3 nibbles takes 2 bytes.
  s = EightBit(5, 1);
  s.bitsPerPixel = 4;
  s.compression = 2;
  s.table = RampTable(16);
  s.rawPixelData = {3, 0x12, 0, 3, 0xAB, 0xC0, 0, 1};
  b = Decode(bmp::Build(s));
  ASSERT_TRUE(b);
  EXPECT_EQ(b->indexes, (std::vector<uint8_t>{1, 2, 1, 0xA, 0xB}));

  // A literal that runs past the end of the data is a truncated file.
  s = EightBit(6, 1);
  s.compression = 1;
  s.rawPixelData = {0, 6, 1, 2, 3};
  EXPECT_FALSE(Decode(bmp::Build(s)));
  // A run-length picture stored top-down does not exist.
  s.rawPixelData = {6, 1, 0, 1};
  s.topDown = true;
  EXPECT_FALSE(Decode(bmp::Build(s)));
}

TEST(DecodeBitmap, RefusesDamagedAndHostileHeaders) {
  const std::vector<uint8_t> good = bmp::Build(EightBit(8, 4));
  ASSERT_TRUE(Decode(good));
  const struct { size_t at; uint32_t value; int bytes; const char* what; } cases[] = {
      {0, 0x4D42 + 1, 2, "not BM"}, {18, 0, 4, "no width"}, {18, uint32_t(-8), 4, "negative width"},
      {18, 16385, 4, "too wide"}, {22, 0, 4, "no height"}, {22, uint32_t(-16385), 4, "too tall, top-down"},
      {22, 0x80000000u, 4, "most negative height"}, {18, 16384, 4, "wider than the file holds"},
      {28, 7, 2, "no such depth"}, {28, 0, 2, "no depth"}, {30, 4, 4, "embedded JPEG"},
      {30, 2, 4, "4-bit runs in an 8-bit picture"}, {30, 3, 4, "bit fields in an 8-bit picture"},
      {46, 257, 4, "more than 256 colours"}, {46, 0xFFFFFFFFu, 4, "absurd colour count"},
      {14, 20, 4, "unknown header size"}, {14, 0xFFFFFFF0u, 4, "header larger than the file"},
      {10, uint32_t(good.size()), 4, "pixels past the end"}, {10, 0xFFFFFFFFu, 4, "pixels far past the end"},
      {10, 20, 4, "pixels inside the header"}};
  for (const auto& c : cases) {
    std::vector<uint8_t> file = good;
    bmp::Put(file, c.at, c.value, c.bytes);
    EXPECT_FALSE(Decode(file)) << c.what;
  }

  // A huge picture claimed by a small file is refused before its memory is taken.
  bmp::Layout huge = EightBit(1, 1);
  huge.compression = 1;
  huge.rawPixelData = {0, 1};
  std::vector<uint8_t> file = bmp::Build(huge);
  bmp::Put(file, 18, 16384), bmp::Put(file, 22, 16384);
  EXPECT_FALSE(Decode(file));
  bmp::Put(file, 30, 0);
  EXPECT_FALSE(Decode(file));

  EXPECT_FALSE(DecodeBitmap(nullptr, 100));
  EXPECT_FALSE(DecodeBitmap(good.data(), 0));
}

TEST(DecodeBitmap, EveryTruncationIsRefused) {
  for (int bits : {1, 8, 24}) {
    bmp::Layout s = EightBit(5, 3);
    s.bitsPerPixel = bits;
    s.table = RampTable(bits == 24 ? 0 : bits == 1 ? 2 : 256);
    for (uint32_t& p : s.pixels) p &= bits == 1 ? 1 : 255;
    const std::vector<uint8_t> file = bmp::Build(s);
    const size_t lastRow = (size_t(5 * bits) + 7) / 8;
    const size_t padding = (size_t(5 * bits) + 31) / 32 * 4 - lastRow;
    for (size_t length = 0; length + padding < file.size(); ++length) {
      const std::vector<uint8_t> part(file.begin(), file.begin() + long(length));
      ASSERT_FALSE(DecodeBitmap(part.data(), part.size())) << bits << " bits, " << length << " bytes";
    }
    // The final row's padding may be missing.
    EXPECT_TRUE(DecodeBitmap(file.data(), file.size() - padding)) << bits;
  }
}

TEST(LoadBitmapFile, ReadsFilesAndRefusesMissingOnes) {
  const bmp::Layout s = EightBit(7, 3);
  const std::vector<uint8_t> bytes = bmp::Build(s);
  const auto dir = std::filesystem::temp_directory_path();
  const std::string path = (dir / ("tamsel_load_test_" + std::to_string(::getpid()) + ".bmp")).string();
  std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  const auto b = platform::LoadBitmapFile(path);
  ASSERT_TRUE(b);
  ExpectIndexes(*b, s);
  std::remove(path.c_str());
  EXPECT_FALSE(platform::LoadBitmapFile(path) || platform::LoadBitmapFile(dir.string()));
}

TEST(StretchBitmapToSurface, PicturesInThePaletteKeepTheirIndexes) {
  // Entries 5 and 9 have the same colour; a colour-key index must survive as stored.
  std::vector<uint32_t> table = RampTable(256);
  table[9] = table[5];
  bmp::Layout s = EightBit(3, 2);
  s.table = table;
  s.pixels = {9, 5, 200, 0, 255, 9};
  const auto b = Decode(bmp::Build(s));
  ASSERT_TRUE(b);
  platform::Surface surface(3, 2);
  platform::StretchBitmapToSurface(*b, 0, 0, 3, 2, surface, PaletteOf(table));
  for (int i = 0; i < 6; ++i) EXPECT_EQ(surface.Pixels()[i], s.pixels[size_t(i)]) << i;

  // Through another palette every colour goes to its nearest entry (the first of equals).
  platform::Palette other = PaletteOf({0, table[9], table[9], MakeColorRef(255, 0, 255)});
  platform::StretchBitmapToSurface(*b, 0, 0, 3, 2, surface, other);
  EXPECT_EQ(surface.PixelAt(0, 0) * 100 + surface.PixelAt(1, 0) * 10 + surface.PixelAt(1, 1), 113) << "entry 255 = (255, 0, 253): 3";
}

TEST(StretchBitmapToSurface, ScalesTheRectangleAndLeavesPixelsOutsideTheBitmap) {
  const auto b = Decode(bmp::Build({.width = 2, .height = 2, .bitsPerPixel = 24, .pixels = {MakeColorRef(255, 0, 0),
                                    MakeColorRef(0, 255, 0), MakeColorRef(0, 0, 255), MakeColorRef(255, 255, 255)}}));
  ASSERT_TRUE(b);
  const platform::Palette palette = PaletteOf({0, MakeColorRef(250, 0, 0), MakeColorRef(0, 250, 0),
                                               MakeColorRef(0, 0, 250), MakeColorRef(250, 250, 250)});
  const struct { int sx, sy, sw, sh, size; std::vector<uint8_t> expected; } cases[] = {
      {0, 0, 2, 2, 4, {1, 1, 2, 2, 1, 1, 2, 2, 3, 3, 4, 4, 3, 3, 4, 4}},  // doubled
      {1, 0, 1, 2, 2, {2, 2, 4, 4}},                                      // the right column alone
      {-1, 0, 2, 2, 4, {9, 9, 1, 1, 9, 9, 1, 1, 9, 9, 3, 3, 9, 9, 3, 3}},  // half outside: kept
      {0, 0, 2, 2, 1, {1}},                                               // shrunk: every other pixel
      {1, 1, 0, 1, 1, {9}},                                               // empty rectangles draw nothing
      {1, 1, 1, -1, 1, {9}},
  };
  for (const auto& c : cases) {
    platform::Surface surface(c.size, c.size);
    platform::FillSurface(surface, 9);
    platform::StretchBitmapToSurface(*b, c.sx, c.sy, c.sw, c.sh, surface, palette);
    EXPECT_EQ(std::vector<uint8_t>(surface.Pixels(), surface.Pixels() + c.size * c.size), c.expected)
        << c.sx << "," << c.sy << " " << c.sw << "x" << c.sh;
  }
}
