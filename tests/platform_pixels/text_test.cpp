// Drawing GBK text with the game font: cells of ten pixels a byte, clipping, invalid bytes,
// and the conversion to UTF-8.
#include "platform/text.h"

#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstring>

using platform::DrawText;
using platform::Surface;
using platform::TextStyle;

namespace {

constexpr uint8_t kPaper = 7, kWhite = 1, kBlue = 2;  // kPaper: what the surface holds before the text

const char kNiHao[] = "\xC4\xE3\xBA\xC3";  // 你好 in GBK

platform::Palette TestPalette() {
  platform::Palette p{};  // entry 0 black
  p[kWhite] = {255, 255, 255, 0}, p[kBlue] = {0, 0, 100, 0}, p[kPaper] = {0, 128, 0, 0};
  return p;
}

const platform::Font* GameFont() {
  static const std::shared_ptr<platform::Font> font = platform::OpenGameFont(20);
  return font.get();
}

Surface Paper(int width, int height) {
  Surface s(width, height);
  platform::FillSurface(s, kPaper);
  return s;
}

void Draw(Surface& s, const platform::Font* font, int x, int y, const char* text, int bkMode = platform::kBkTransparent) {
  DrawText(s, TestPalette(), font, x, y, text, int(std::strlen(text)), TextStyle{0xFFFFFF, bkMode, 0x640000});
}

// The bounding box (left, top, right, bottom) of the pixels that differ from the paper;
// empty (right <= left) if none.
std::array<int, 4> Changed(const Surface& s) {
  std::array<int, 4> box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
  for (int y = 0; y < s.Height(); ++y)
    for (int x = 0; x < s.Width(); ++x)
      if (s.PixelAt(x, y) != kPaper) box = {std::min(box[0], x), std::min(box[1], y), std::max(box[2], x + 1), std::max(box[3], y + 1)};
  return box;
}

int Count(const Surface& s, uint8_t index, int left = 0, int right = INT_MAX) {
  int n = 0;
  for (int y = 0; y < s.Height(); ++y)
    for (int x = std::max(left, 0); x < std::min(right, s.Width()); ++x) n += s.PixelAt(x, y) == index;
  return n;
}

#define REQUIRE_FONT() \
  if (GameFont() == nullptr) GTEST_SKIP() << "no Chinese font installed"

}  // namespace

TEST(Text, OpaqueTextFillsTenPixelsPerByteAndTwentyRows) {
  // Without a font only the background is drawn, with the same cells.
  for (const platform::Font* font : {GameFont(), static_cast<const platform::Font*>(nullptr)}) {
    Surface s = Paper(700, 60);
    const std::string sixty(60, 'x');
    Draw(s, font, 20, 10, sixty.c_str(), platform::kBkOpaque);
    EXPECT_EQ(Changed(s), (std::array{20, 10, 620, 30}));
    EXPECT_EQ(Count(s, kBlue) + Count(s, kWhite), 600 * 20);

    Surface gbk = Paper(100, 40);
    Draw(gbk, font, 0, 0, kNiHao, 5);  // any mode but 1 is opaque
    EXPECT_EQ(Changed(gbk)[2], 40);
  }
  Surface none = Paper(100, 40);
  Draw(none, nullptr, 0, 0, kNiHao, platform::kBkTransparent);
  EXPECT_EQ(Count(none, kPaper), 100 * 40);
}

TEST(Text, EveryCharacterKeepsItsInkInItsOwnCellsOnOneLine) {
  REQUIRE_FONT();
  // Transparent text: only ink and paper, each 20-pixel cell of 你好 with a good deal of ink.
  Surface s = Paper(100, 40);
  Draw(s, GameFont(), 10, 10, kNiHao);
  EXPECT_GT(Count(s, kWhite, 10, 30), 40);
  EXPECT_GT(Count(s, kWhite, 30, 50), 40);
  EXPECT_EQ(Count(s, kWhite) + Count(s, kPaper), 100 * 40);
  // Each character drawn alone keeps its ink inside its cell and the line, so texts laid out
  // by byte counts line up.
  for (const char* sample : {"A", "g", "W", "|", "@", "\xC4\xE3", "\xA1\xA3" /* 。 */, "\xD2\xBB" /* 一 */, kNiHao}) {
    Surface one = Paper(80, 40);
    Draw(one, GameFont(), 20, 10, sample);
    const auto [left, top, right, bottom] = Changed(one);
    ASSERT_LT(left, right) << sample;
    EXPECT_TRUE(left >= 20 && right <= 20 + 10 * int(std::strlen(sample)) && top >= 10 && bottom <= 30)
        << sample << ": " << left << "," << top << " to " << right << "," << bottom;
  }
  // Latin capitals and Chinese characters stand on the same baseline area.
  Surface h = Paper(60, 40), ni = Paper(60, 40);
  Draw(h, GameFont(), 0, 0, "H");
  Draw(ni, GameFont(), 0, 0, "\xC4\xE3");
  EXPECT_NEAR(Changed(h)[3], Changed(ni)[3], 4);
}

TEST(Text, ClippedTextMatchesTheUnclippedDrawing) {
  REQUIRE_FONT();
  const char text[] = "Ab\xC4\xE3\xBA\xC3yz";
  Surface reference = Paper(200, 60);
  Draw(reference, GameFont(), 50, 20, text, platform::kBkOpaque);
  // The same text drawn half off each edge of a small surface shows the same pixels.
  const struct { int x, y; } places[] = {{-15, 5}, {30, -7}, {40, 12}, {-25, -9}};
  for (const auto& place : places) {
    Surface s = Paper(60, 25);
    Draw(s, GameFont(), place.x, place.y, text, platform::kBkOpaque);
    for (int y = 0; y < s.Height(); ++y)
      for (int x = 0; x < s.Width(); ++x) {
        const int rx = x - place.x + 50, ry = y - place.y + 20;
        ASSERT_EQ(s.PixelAt(x, y), reference.PixelAt(rx, ry))
            << "at " << x << "," << y << " drawn from " << place.x << "," << place.y;
      }
  }
  // Far away or with a bad length, nothing is drawn and nothing breaks.
  Surface s = Paper(60, 25);
  const struct { int x, y; const char* text; int length; } wild[] = {
      {INT_MAX - 5, INT_MAX - 5, text, 8}, {INT_MIN, 0, text, 8}, {0, 0, text, -3}, {0, 0, nullptr, 8}};
  for (const auto& w : wild) DrawText(s, TestPalette(), GameFont(), w.x, w.y, w.text, w.length, TextStyle{});
  EXPECT_EQ(Count(s, kPaper), 60 * 25);
}

TEST(Text, InvalidBytesAreBlankTenPixelCells) {
  REQUIRE_FONT();
  // A lead byte before a byte that cannot trail, a lone lead byte at the end, and 0xFF:
  // each is one blank cell and the characters after them keep their byte positions.
  Surface s = Paper(120, 20);
  Draw(s, GameFont(), 0, 0, "\xC4\x7F" "A\xFF" "B\xC4");
  const struct { int left, right; bool ink; } cells[] = {  // 0xC4 0x7F, A, 0xFF, B, a lone 0xC4
      {0, 20, false}, {20, 30, true}, {30, 40, false}, {40, 50, true}, {50, 120, false}};
  for (const auto& c : cells) {
    const int ink = Count(s, kWhite, c.left, c.right);
    EXPECT_TRUE(c.ink ? ink > 5 : ink == 0) << c.left << ": " << ink;
  }
  // A well-formed pair that code page 936 does not map is one blank 20-pixel cell.
  Surface pair = Paper(60, 20);
  Draw(pair, GameFont(), 0, 0, "\xA1\x40Z", platform::kBkOpaque);
  EXPECT_EQ(Count(pair, kWhite, 0, 20), 0);
  EXPECT_GT(Count(pair, kWhite, 20, 30), 5);
  EXPECT_EQ(Changed(pair)[2], 30);
}

TEST(Text, GbkConvertsToUtf8WithReplacementForInvalidBytes) {
  auto utf8 = [](const char8_t* s) { return std::string(reinterpret_cast<const char*>(s)); };
  const std::pair<std::string, std::string> cases[] = {
      {kNiHao, utf8(u8"你好")}, {"HP: 12/30", "HP: 12/30"}, {"a\xC4", utf8(u8"a\uFFFD")},
      {"\xC4\x7F" "b", utf8(u8"\uFFFD\x7F" "b")}, {"\xFF\xA1\x40.", utf8(u8"\uFFFD\uFFFD.")}};
  for (const auto& [gbk, expected] : cases) EXPECT_EQ(platform::GbkToUtf8(gbk), expected) << gbk;
  EXPECT_EQ(platform::GbkToUtf8("\xC4\xE3\xBA", 2), utf8(u8"你"));
  EXPECT_EQ(platform::GbkToUtf8(nullptr, 4), "");
}
