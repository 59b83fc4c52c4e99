// Text cut into lines of a fixed number of bytes, 20 pixels apart.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "video/display.h"
#include "video/draw.h"
#include "video_fixture.h"

namespace {

using platform::Surface;

constexpr uint8_t kFill = 77;

// The rectangle covered by pixels that are no longer the fill index (empty: all zero).
struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
  bool operator==(const Box&) const = default;
};

// Changed area of the rows [top, top + rows) (all rows by default), relative to the band.
Box ChangedBox(const Surface& surface, int top = 0, int rows = -1) {
  if (rows < 0) rows = surface.Height();
  Box box{surface.Width(), rows, 0, 0};
  bool any = false;
  for (int y = 0; y < rows; ++y)
    for (int x = 0; x < surface.Width(); ++x)
      if (surface.PixelAt(x, top + y) != kFill) {
        any = true;
        box.left = std::min(box.left, x);
        box.top = std::min(box.top, y);
        box.right = std::max(box.right, x + 1);
        box.bottom = std::max(box.bottom, y + 1);
      }
  return any ? box : Box{};
}

class TextTest : public VideoTest {
 protected:
  void SetUp() override {
    VideoTest::SetUp();
    palette = ToPalette(GrayRamp());
    OpenBareDisplay(&palette);
    CreateGameFont();
    canvas = std::make_unique<Surface>(1100, 200);
    platform::FillSurface(*canvas, kFill);
  }
  // Opaque black-on-white text at (0, 0): every byte fills its 10 × 20 cell.
  void Print(const std::string& text, int lineLength) {
    PrintText(canvas.get(), 0, 0, text.c_str(), kBlack, platform::kBkOpaque, kWhite, lineLength);
  }
  platform::Palette palette;
  std::unique_ptr<Surface> canvas;
};

TEST_F(TextTest, TextIsCutIntoLinesOfTheGivenByteCount) {
  struct Case {
    std::string text;
    int lineLength;
    std::vector<int> widths;  // of each 20-pixel line drawn, in pixels
  };
  const Case cases[] = {
      {std::string(60, 'a'), 50, {500, 100}},
      {"甲乙丙丁", 4, {40, 40}},  // cut by bytes: two double-byte characters a line
      {std::string(50, 'a'), 50, {500}},  // exactly one line: no empty second line
      {std::string(49, 'a'), 50, {490}},
      {"", 50, {}},
      {std::string(150, 'a'), 500, {990, 510}},  // at most 99 bytes on one line
      {"abc", 0, {10, 10, 10}},                  // nothing shorter than one byte
      {"abc", -7, {10, 10, 10}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.size());
    SCOPED_TRACE(c.lineLength);
    platform::FillSurface(*canvas, kFill);
    Print(c.text, c.lineLength);
    for (size_t line = 0; line < c.widths.size(); ++line)
      EXPECT_EQ(ChangedBox(*canvas, int(line) * 20, 20), (Box{0, 0, c.widths[line], 20})) << line;
    EXPECT_EQ(ChangedBox(*canvas).bottom, int(c.widths.size()) * 20);
  }
}

TEST_F(TextTest, EachLineShowsItsOwnBytes) {
  if (!hFont) GTEST_SKIP() << "no CJK font installed";
  // Spaces leave their cells white; the letters of the second line must put ink there.
  Print(std::string(50, ' ') + "WWWW", 50);
  auto inkIn = [&](int top) {
    for (int y = top; y < top + 20; ++y)
      for (int x = 0; x < 500; ++x)
        if (canvas->PixelAt(x, y) == 0) return true;
    return false;
  };
  EXPECT_FALSE(inkIn(0));
  EXPECT_TRUE(inkIn(20));
}

}  // namespace
