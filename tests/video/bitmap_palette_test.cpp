// Palettes read from bitmap colour tables, the fallback colour cube, colour matching and keys.
#include <gtest/gtest.h>

#include "video/bitmap.h"
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
  // Writes the file and loads its palette.
  platform::Palette Load(const std::vector<uint8_t>& file) {
    WriteDataFile("pic/a.bmp", file);
    return Load("pic\\a.bmp");
  }
  // Entries from `first` on are the file's bytes after the 54-byte header, as they stand.
  static void ExpectRawBytes(const platform::Palette& palette, const std::vector<uint8_t>& file, int first) {
    for (int i = first; i < 256; ++i) {
      const size_t at = 54 + size_t(i) * 4;
      ASSERT_EQ(palette[i], (PaletteEntry{file[at], file[at + 1], file[at + 2], file[at + 3]})) << "entry " << i;
    }
  }
};

TEST_F(BitmapPaletteTest, ColourTablesComeOutRedFirstAndOnlyTheColoursUsed) {
  // More colours used than a table holds: all 256 entries, reserved bytes as flags.
  BitmapLayout layout;
  layout.colors = DistinctColors(3);
  layout.colorsUsed = 1000;
  layout.reservedByte = 0x5A;
  platform::Palette palette = Load(EncodeBitmap(layout));
  for (int i = 0; i < 256; ++i) {
    const PaletteEntry& c = layout.colors[i];
    ASSERT_EQ(palette[i], (PaletteEntry{c.red, c.green, c.blue, 0x5A})) << "entry " << i;
  }
  // Sixteen colours used turns only those; the following bytes are taken raw.
  layout.width = layout.height = 32;
  layout.colors.resize(16);
  layout.colorsUsed = 16;
  layout.reservedByte = 0;
  layout.pixel = [](int x, int y) { return uint32_t((x * 11 + y * 13) & 0xFF); };
  std::vector<uint8_t> file = EncodeBitmap(layout);
  palette = Load(file);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(palette[i], layout.colors[i]) << "entry " << i;
  ExpectRawBytes(palette, file, 16);
  // A true-colour file has no table: the raw bytes after its header.
  layout.bitsPerPixel = 24;
  layout.pixel = [](int x, int y) { return platform::MakeColorRef(uint8_t(x * 12), uint8_t(y), 99); };
  file = EncodeBitmap(layout);
  ExpectRawBytes(Load(file), file, 0);
}

TEST_F(BitmapPaletteTest, MissingFileGivesTheColourCubeAndShortFilesReplaceOnlyWhatTheyHold) {
  const platform::Palette palette = Load("pic\\none.bmp");
  EXPECT_EQ(palette, DefaultPalette());
  const std::pair<int, PaletteEntry> cube[] = {
      {0, {0, 0, 0, 0}}, {255, {255, 255, 255, 0}}, {0xE0, {255, 0, 0, 0}}, {0x1C, {0, 255, 0, 0}},
      {0x03, {0, 0, 255, 0}}, {0x49, {72, 72, 85, 0}} /* 2/7 red, 2/7 green, 1/3 blue */};
  for (const auto& [index, entry] : cube) EXPECT_EQ(palette[index], entry) << index;

  // A complete header and ten colour entries, then the file ends.
  BitmapLayout layout;
  layout.colors = DistinctColors(1);
  std::vector<uint8_t> file = EncodeBitmap(layout);
  file.resize(54 + 10 * 4);
  const platform::Palette cut = Load(file);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(cut[i].red, layout.colors[i].red);
  for (int i = 10; i < 256; ++i) ASSERT_EQ(cut[i], DefaultPalette()[i]) << "entry " << i;
  // Only part of the header, or nothing: nothing of the table is read.
  file.resize(30);
  EXPECT_EQ(Load(file), DefaultPalette());
  EXPECT_EQ(Load(std::vector<uint8_t>{}), DefaultPalette());
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

TEST_F(ColorMatchTest, MatchingFindsTheNearestIndexLeavesTheSurfaceAndKeysByIt) {
  platform::Surface surface(8, 8);
  PaintPattern(surface);
  const std::vector<uint8_t> before(surface.Pixels(), surface.Pixels() + 64);
  EXPECT_EQ(MatchSurfaceColor(&surface, kColorKeyRef), 9u);
  const PaletteEntry near = colors[200];
  EXPECT_EQ(MatchSurfaceColor(&surface, platform::MakeColorRef(near.red + 1, near.green, near.blue - 1)), 200u);
  EXPECT_EQ(MatchSurfaceColor(&surface, kNoColor), uint32_t(PatternAt(0, 0)));
  EXPECT_EQ(std::vector<uint8_t>(surface.Pixels(), surface.Pixels() + 64), before);

  EXPECT_EQ(SetSurfaceColorKey(&surface, kColorKeyRef), kResultOk);
  EXPECT_EQ(surface.ColorKey(), std::optional<uint8_t>(9));
  EXPECT_EQ(MatchSurfaceColor(nullptr, kColorKeyRef), 0xFFFFFFFFu);
  EXPECT_EQ(SetSurfaceColorKey(nullptr, kColorKeyRef), kResultFail);
}

TEST_F(ColorMatchTest, MissingOrDamagedPicturesLeaveTheSurfaceAlone) {
  platform::Surface surface(8, 8);
  PaintPattern(surface);
  platform::headless::ClearLog();
  std::vector<uint8_t> cut = EncodeBitmap(BitmapLayout{});
  cut.resize(40);  // the header is cut short
  WriteDataFile("pic/cut.bmp", cut);
  for (const char* name : {"pic\\none.bmp", static_cast<const char*>(nullptr), "pic\\cut.bmp"})
    EXPECT_EQ(ReloadBitmapSurface(&surface, name), kResultFail) << (name ? name : "no name");
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
