// Palettes read from bitmap colour tables, the fallback colour cube, colour matching and keys.
#include <gtest/gtest.h>

#include "platform/display_device.h"
#include "platform/system.h"
#include "video/bitmap.h"
#include "video/display.h"
#include "video_fixture.h"

namespace {

using platform::PaletteEntry;

class BitmapPaletteTest : public VideoTest {
 protected:
  platform::Palette Load(const char* name) {
    if (lpDD == nullptr) lpDD = platform::OpenDisplayDevice();
    auto palette = LoadBitmapPalette(lpDD, name);
    EXPECT_NE(palette, nullptr);
    return palette ? palette->Entries() : platform::Palette{};
  }
  // Entries from `first` on are the file's bytes after the 54-byte header, as they stand.
  static void ExpectRawBytes(const platform::Palette& palette, const std::vector<uint8_t>& file,
                             int first) {
    for (int i = first; i < 256; ++i) {
      const size_t at = 54 + size_t(i) * 4;
      ASSERT_EQ(palette[i], (PaletteEntry{file[at], file[at + 1], file[at + 2], file[at + 3]}))
          << "entry " << i;
    }
  }
};

TEST_F(BitmapPaletteTest, FullColourTableComesOutRedFirstWithReservedBytesAsFlags) {
  BitmapLayout layout;
  layout.colors = DistinctColors(3);
  layout.colorsUsed = 1000;  // more than a table can hold: all 256 entries
  layout.reservedByte = 0x5A;
  WriteBitmap("pic/a.bmp", layout);

  const platform::Palette palette = Load("pic\\a.bmp");
  for (int i = 0; i < 256; ++i) {
    const PaletteEntry expected{layout.colors[i].red, layout.colors[i].green, layout.colors[i].blue,
                                0x5A};
    ASSERT_EQ(palette[i], expected) << "entry " << i;
  }
}

TEST_F(BitmapPaletteTest, SixteenColoursUsedTurnsOnlyThoseAndKeepsTheFollowingBytesRaw) {
  BitmapLayout layout;
  layout.width = 32;
  layout.height = 32;
  const ColorList all = DistinctColors(9);
  layout.colors = ColorList(all.begin(), all.begin() + 16);
  layout.colorsUsed = 16;
  layout.pixel = [](int x, int y) { return uint32_t((x * 11 + y * 13) & 0xFF); };
  const std::vector<uint8_t> file = EncodeBitmap(layout);
  WriteDataFile("pic/b.bmp", file);

  const platform::Palette palette = Load("pic\\b.bmp");
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(palette[i].red, layout.colors[i].red);
    EXPECT_EQ(palette[i].blue, layout.colors[i].blue);
  }
  ExpectRawBytes(palette, file, 16);
}

TEST_F(BitmapPaletteTest, MissingFileGivesTheColourCube) {
  const platform::Palette palette = Load("pic\\none.bmp");
  EXPECT_EQ(palette, DefaultPalette());
  EXPECT_EQ(palette[0], (PaletteEntry{0, 0, 0, 0}));
  EXPECT_EQ(palette[255], (PaletteEntry{255, 255, 255, 0}));
  EXPECT_EQ(palette[0xE0], (PaletteEntry{255, 0, 0, 0}));
  EXPECT_EQ(palette[0x1C], (PaletteEntry{0, 255, 0, 0}));
  EXPECT_EQ(palette[0x03], (PaletteEntry{0, 0, 255, 0}));
  EXPECT_EQ(palette[0x49], (PaletteEntry{72, 72, 85, 0}));  // 2/7 red, 2/7 green, 1/3 blue
}

TEST_F(BitmapPaletteTest, TrueColourFileGivesTheRawBytesAfterItsHeader) {
  BitmapLayout layout;
  layout.bitsPerPixel = 24;
  layout.width = 20;
  layout.height = 20;
  layout.pixel = [](int x, int y) { return platform::MakeColorRef(uint8_t(x * 12), uint8_t(y), 99); };
  const std::vector<uint8_t> file = EncodeBitmap(layout);
  WriteDataFile("pic/c.bmp", file);

  ExpectRawBytes(Load("pic\\c.bmp"), file, 0);
}

TEST_F(BitmapPaletteTest, ShortFilesReplaceOnlyWhatTheyHold) {
  // A complete header and ten colour entries, then the file ends.
  BitmapLayout layout;
  layout.colors = DistinctColors(1);
  std::vector<uint8_t> file = EncodeBitmap(layout);
  file.resize(54 + 10 * 4);
  WriteDataFile("pic/short.bmp", file);
  const platform::Palette palette = Load("pic\\short.bmp");
  for (int i = 0; i < 10; ++i) EXPECT_EQ(palette[i].red, layout.colors[i].red);
  for (int i = 10; i < 256; ++i) ASSERT_EQ(palette[i], DefaultPalette()[i]) << "entry " << i;

  // Only part of the header: nothing of the table is read.
  file.resize(30);
  WriteDataFile("pic/stub.bmp", file);
  EXPECT_EQ(Load("pic\\stub.bmp"), DefaultPalette());

  WriteDataFile("pic/empty.bmp", {});
  EXPECT_EQ(Load("pic\\empty.bmp"), DefaultPalette());
}

class ColorMatchTest : public VideoTest {
 protected:
  void SetUp() override {
    VideoTest::SetUp();
    colors = DistinctColors(0);
    colors[9] = {255, 238, 187, 0};  // the colour-key colour
    palette = ToPalette(colors);
    OpenBareDisplay(&palette);
  }
  ColorList colors;
  platform::Palette palette;
};

TEST_F(ColorMatchTest, MatchingFindsTheNearestIndexAndLeavesTheSurfaceAsItWas) {
  platform::Surface surface(8, 8);
  PaintPattern(surface);
  const std::vector<uint8_t> before(surface.Pixels(), surface.Pixels() + 64);

  EXPECT_EQ(MatchSurfaceColor(&surface, kColorKeyRef), 9u);
  const platform::PaletteEntry near = colors[200];
  EXPECT_EQ(MatchSurfaceColor(&surface, platform::MakeColorRef(near.red + 1, near.green,
                                                               near.blue - 1)),
            200u);
  EXPECT_EQ(MatchSurfaceColor(&surface, kNoColor), uint32_t(PatternAt(0, 0)));
  EXPECT_EQ(std::vector<uint8_t>(surface.Pixels(), surface.Pixels() + 64), before);
}

TEST_F(ColorMatchTest, ColourKeyIsTheMatchedIndex) {
  platform::Surface surface(8, 8);
  EXPECT_EQ(SetSurfaceColorKey(&surface, kColorKeyRef), kResultOk);
  EXPECT_EQ(surface.ColorKey(), std::optional<uint8_t>(9));
  EXPECT_EQ(MatchSurfaceColor(nullptr, kColorKeyRef), 0xFFFFFFFFu);
  EXPECT_EQ(SetSurfaceColorKey(nullptr, kColorKeyRef), kResultFail);
}

class BitmapLoadTest : public ColorMatchTest {};

TEST_F(BitmapLoadTest, PictureInTheScreenColoursKeepsItsIndexesAndIsStretchedToTheSurface) {
  BitmapLayout layout;
  layout.colors = colors;
  layout.width = 2;
  layout.height = 2;
  layout.pixel = [](int x, int y) { return uint32_t(10 + x + 2 * y); };
  WriteBitmap("pic/small.bmp", layout);

  platform::Surface surface(4, 6);
  ASSERT_EQ(ReloadBitmapSurface(&surface, "pic\\small.bmp"), kResultOk);
  EXPECT_EQ(surface.PixelAt(0, 0), 10);
  EXPECT_EQ(surface.PixelAt(3, 0), 11);
  EXPECT_EQ(surface.PixelAt(1, 5), 12);
  EXPECT_EQ(surface.PixelAt(3, 5), 13);
}

TEST_F(BitmapLoadTest, MissingOrDamagedPicturesLeaveTheSurfaceAlone) {
  platform::Surface surface(8, 8);
  PaintPattern(surface);
  platform::headless::ClearLog();

  EXPECT_EQ(ReloadBitmapSurface(&surface, "pic\\none.bmp"), kResultFail);
  EXPECT_EQ(ReloadBitmapSurface(&surface, nullptr), kResultFail);

  std::vector<uint8_t> garbage = EncodeBitmap(BitmapLayout{});
  garbage.resize(40);  // the header is cut short
  WriteDataFile("pic/cut.bmp", garbage);
  EXPECT_EQ(ReloadBitmapSurface(&surface, "pic\\cut.bmp"), kResultFail);

  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(surface.PixelAt(x, y), PatternAt(x, y));
  const auto& lines = platform::headless::GetLog().debugLines;
  ASSERT_EQ(lines.size(), 3u);
  for (const std::string& line : lines) EXPECT_EQ(line.substr(0, 14), "handle is null");

  // Noise behind a bitmap signature: whatever it decodes to, loading it must stay in bounds.
  std::vector<uint8_t> noise(3000);
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = uint8_t(i * 131 + 7);
  noise[0] = 'B';
  noise[1] = 'M';
  WriteDataFile("pic/noise.bmp", noise);
  ReloadBitmapSurface(&surface, "pic\\noise.bmp");
}

}  // namespace
