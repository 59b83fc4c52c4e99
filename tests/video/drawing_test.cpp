// Drawing on the pages: the clipped blit against the screen edges, keyed sprites, clearing,
// flipping and lost surfaces; text cut into lines; the random generator and the busy waits.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <functional>
#include <string>
#include <vector>

#include "core/random.h"
#include "video/draw.h"
#include "video_fixture.h"

namespace {

using platform::Surface;
using platform::headless::Step;

class BlitTest : public VideoTest {
 protected:
  void SetUp() override {
    VideoTest::SetUp();
    OpenBareDisplay();
    PaintPattern(tile);
  }
  // Counts the pixels of the surface that are not 0.
  static int DrawnPixels(const Surface& surface) {
    return int(std::count_if(surface.Pixels(), surface.Pixels() + surface.Width() * surface.Height(),
                             [](uint8_t p) { return p != 0; }));
  }
  Surface tile{10, 10};
  const Rect whole{0, 0, 10, 10};
};

TEST_F(BlitTest, ScreenEdgesCutWhatLiesOutsideWhateverTheDestinationSize) {
  const struct {
    int dstWidth, dstHeight, srcWidth, srcHeight, x, y;
    Rect rect;
    int firstX, firstY;  // the source pixel that lands on the first drawn pixel
    int drawnWidth, drawnHeight;
  } cases[] = {
      {640, 480, 32, 48, -10, -5, {0, 0, 32, 48}, 10, 5, 22, 43},
      {640, 480, 96, 192, -8, -16, {32, 48, 64, 96}, 40, 64, 24, 32},  // a frame of a sheet
      {640, 480, 640, 100, 100, 0, {0, 0, 640, 100}, 0, 0, 540, 100},
      {800, 600, 100, 100, 600, 450, {0, 0, 100, 100}, 0, 0, 40, 30},  // larger than the screen
      {900, 700, 32, 32, 700, 10, {0, 0, 32, 32}, 0, 0, 0, 0},          // wholly off the screen
      {900, 700, 32, 32, 10, 500, {0, 0, 32, 32}, 0, 0, 0, 0},
      {900, 700, 32, 32, -40, 0, {0, 0, 32, 32}, 0, 0, 0, 0},
      {900, 700, 32, 32, INT_MIN, INT_MIN, {0, 0, 32, 32}, 0, 0, 0, 0},  // wild positions
      {900, 700, 32, 32, INT_MAX, 0, {0, 0, 32, 32}, 0, 0, 0, 0},
      {900, 700, 32, 32, 0, 0, {INT_MIN, 0, INT_MAX, 32}, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    Surface dst(c.dstWidth, c.dstHeight), src(c.srcWidth, c.srcHeight);
    PaintPattern(src);
    BlitClipped(&dst, c.x, c.y, &src, c.rect, 0);
    EXPECT_EQ(DrawnPixels(dst), c.drawnWidth * c.drawnHeight);
    if (c.drawnWidth == 0) continue;
    const int x = std::max(c.x, 0), y = std::max(c.y, 0);
    EXPECT_EQ(dst.PixelAt(x, y), PatternAt(c.firstX, c.firstY));
    EXPECT_EQ(dst.PixelAt(x + c.drawnWidth - 1, y + c.drawnHeight - 1),
              PatternAt(c.firstX + c.drawnWidth - 1, c.firstY + c.drawnHeight - 1));
  }
  BlitClipped(nullptr, 0, 0, &tile, whole, 0);
  BlitClipped(lpDDSBack, 0, 0, nullptr, whole, 0);
  EXPECT_EQ(DrawnPixels(*lpDDSBack), 0);
}

TEST_F(BlitTest, TheColourKeyIsHonouredOnlyWhenAskedFor) {
  Surface sprite(4, 1);
  const uint8_t plain[] = {7, 3, 7, 4}, keyed[] = {0, 3, 0, 4};
  std::copy(plain, plain + 4, sprite.Pixels());
  sprite.SetColorKey(7);
  BlitClipped(lpDDSBack, 0, 0, &sprite, Rect{0, 0, 4, 1}, 1);
  BlitClipped(lpDDSBack, 0, 1, &sprite, Rect{0, 0, 4, 1}, 0);
  for (int x = 0; x < 4; ++x) {
    EXPECT_EQ(lpDDSBack->PixelAt(x, 0), keyed[x]);
    EXPECT_EQ(lpDDSBack->PixelAt(x, 1), plain[x]);
  }
}

TEST_F(BlitTest, ClearingFillsBothPagesAndFlippingShowsTheBackPage) {
  ClearScreen(5);
  EXPECT_EQ(lpDDSPrimary->PixelAt(639, 479), 5);
  EXPECT_EQ(lpDDSBack->PixelAt(0, 0), 5);
  ClearScreen(0);
  BlitClipped(lpDDSBack, 20, 30, &tile, whole, 0);
  const int flipsBefore = platform::headless::GetLog().flips;
  FlipScreen();
  EXPECT_EQ(platform::headless::GetLog().flips, flipsBefore + 1);
  EXPECT_EQ(lpDDSPrimary->PixelAt(20, 30), PatternAt(0, 0));
}

TEST_F(BlitTest, LostSurfacesAreRestoredAndTheNextFrameDrawsAgain) {
  platform::headless::LoseSurfaces();
  BlitClipped(lpDDSBack, 0, 0, &tile, whole, 0);
  for (const Surface* surface : {lpDDSPrimary, lpDDSBack, static_cast<Surface*>(&tile)}) EXPECT_FALSE(surface->IsLost());
  BlitClipped(lpDDSBack, 0, 0, &tile, whole, 0);
  EXPECT_EQ(lpDDSBack->PixelAt(9, 9), PatternAt(9, 9));

  platform::headless::LoseSurfaces();
  FlipScreen();
  EXPECT_FALSE(lpDDSPrimary->IsLost());
  FlipScreen();
  EXPECT_EQ(lpDDSPrimary->PixelAt(9, 9), PatternAt(9, 9));
}


constexpr uint8_t kFill = 77;

// Pixels of rows [top, top + rows) that are no longer the fill index.
int Changed(const Surface& surface, int top, int rows = 20) {
  const uint8_t* first = surface.Pixels() + top * surface.Width();
  return int(std::count_if(first, first + rows * surface.Width(), [](uint8_t p) { return p != kFill; }));
}

class TextTest : public VideoTest {
 protected:
  void SetUp() override {
    VideoTest::SetUp();
    const platform::Palette palette = ToPalette(GrayRamp());
    OpenBareDisplay(&palette);
    CreateGameFont();
  }
  // Opaque black-on-white text at (0, 0): every byte fills its 10 × 20 cell.
  void Print(const std::string& text, int lineLength) {
    platform::FillSurface(canvas, kFill);
    PrintText(&canvas, 0, 0, text.c_str(), kBlack, platform::kBkOpaque, kWhite, lineLength);
  }
  Surface canvas{1100, 200};
};

TEST_F(TextTest, TextIsCutIntoLinesOfTheGivenByteCount) {
  const struct {
    std::string text;
    int lineLength;
    std::vector<int> widths;  // of each 20-pixel line drawn, in pixels
  } cases[] = {
      {std::string(60, 'a'), 50, {500, 100}},
      {"甲乙丙丁", 4, {40, 40}},  // cut by bytes: two double-byte characters a line
      {std::string(50, 'a'), 50, {500}},  // exactly one line: no empty second line
      {std::string(49, 'a'), 50, {490}},
      {"", 50, {}},
      {std::string(150, 'a'), 500, {990, 510}},  // at most 99 bytes on one line
      {"abc", 0, {10, 10, 10}},                  // nothing shorter than one byte
      {"abc", -7, {10, 10, 10}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text.size() << " bytes, lines of " << c.lineLength);
    Print(c.text, c.lineLength);
    int total = 0;
    for (size_t line = 0; line < c.widths.size(); ++line) {
      const int top = int(line) * 20, width = c.widths[line];
      EXPECT_EQ(Changed(canvas, top), width * 20) << line;  // the cells from the left edge on
      EXPECT_NE(canvas.PixelAt(0, top), kFill) << line;
      EXPECT_NE(canvas.PixelAt(width - 1, top + 19), kFill) << line;
      total += width * 20;
    }
    EXPECT_EQ(Changed(canvas, 0, 200), total);
  }
}

TEST_F(TextTest, EachLineShowsItsOwnBytes) {
  if (!hFont) GTEST_SKIP() << "no CJK font installed";
  // Spaces leave their cells white; the letters of the second line must put ink there.
  Print(std::string(50, ' ') + "WWWW", 50);
  auto inkIn = [&](int top) { return std::count(canvas.Pixels() + top * 1100, canvas.Pixels() + (top + 20) * 1100, 0); };
  EXPECT_EQ(inkIn(0), 0);
  EXPECT_GT(inkIn(20), 0);
}

// The seed whose next draw is r: solves state × 214013 + 2531011 = r << 16 (mod 2^32).
uint32_t SeedYielding(uint32_t r) {
  uint32_t inverse = 214013u;  // Newton's iteration for the inverse of an odd number mod 2^32
  for (int i = 0; i < 5; ++i) inverse *= 2u - 214013u * inverse;
  return ((r << 16) - 2531011u) * inverse;
}

TEST(RandomTest, KnownSeedGivesTheKnownSequence) {
  SeedRandom(1);
  const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
  for (int value : expected) EXPECT_EQ(RandomUpTo(32767), value);
}

TEST(RandomTest, DrawsScaleIntoZeroToNWithTheTopOnlyFromTheLargestDraw) {
  const struct { uint32_t draw; int n, expected; } cases[] = {
      {32767, 100, 100}, {32766, 100, 99}, {0, 100, 0}, {16384, 10, 5}, {32767, 1000000, 1000000},
  };
  for (const auto& c : cases) {
    SeedRandom(SeedYielding(c.draw));
    EXPECT_EQ(RandomUpTo(c.n), c.expected) << c.draw << " of " << c.n;
  }
  SeedRandom(12345);
  for (int i = 0; i < 5000; ++i) {
    const int value = RandomUpTo(2000000000);
    ASSERT_GE(value, 0);
    ASSERT_LE(value, 2000000000);
  }
  EXPECT_EQ(RandomUpTo(0), 0);
}

using WaitTest = VideoTest;

uint32_t MillisecondsOf(const std::function<void()>& wait) {
  const uint32_t start = platform::headless::Now();
  wait();
  return platform::headless::Now() - start;
}

TEST_F(WaitTest, AKeyMustBePressedAndReleasedOrWithTheDownFlagOnlyAHeldKeyIsWaitedFor) {
  platform::headless::AddSteps({Step{Step::Kind::Wait, 0, 50, "", 0}, Step{Step::Kind::Hold, platform::VK_RETURN, 30, "", 0}});
  EXPECT_GE(MillisecondsOf([] { WaitKey(platform::VK_RETURN, 0); }), 80u);
  EXPECT_EQ(platform::GetAsyncKeyState(platform::VK_RETURN), 0);
  // With the flag, a key that is up ends the wait at once; a held one is waited for until released.
  EXPECT_LT(MillisecondsOf([] { WaitKey(platform::VK_RETURN, 1); }), 5u);
  platform::headless::PressKey(platform::VK_CONTROL);
  platform::headless::AddSteps({Step{Step::Kind::Wait, 0, 40, "", 0}, Step{Step::Kind::Release, platform::VK_CONTROL, 0, "", 0}});
  EXPECT_GE(MillisecondsOf([] { WaitKey(platform::VK_CONTROL, 1); }), 40u);
}

TEST_F(WaitTest, DelayLastsAtLeastItsTimeWhateverMessagesWait) {
  for (int i = 0; i < 5; ++i) platform::PostMessage(platform::WM_TIMER, 1);
  const uint32_t took = MillisecondsOf([] { Delay(80); });
  EXPECT_GE(took, 80u);
  EXPECT_LT(took, 90u);
  EXPECT_LT(MillisecondsOf([] { Delay(0), Delay(-5); }), 5u);
}

}  // namespace
