// The clipped blit against the screen edges, keyed sprites, clearing, flipping and lost
// surfaces.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>

#include "platform/backend.h"
#include "video/display.h"
#include "video/draw.h"
#include "video_fixture.h"

namespace {

using platform::Surface;

class BlitTest : public VideoTest {
 protected:
  void SetUp() override {
    VideoTest::SetUp();
    OpenBareDisplay();
  }
  // Counts the pixels of the surface that are not 0.
  static int DrawnPixels(const Surface& surface) {
    int count = 0;
    for (int i = 0; i < surface.Width() * surface.Height(); ++i) count += surface.Pixels()[i] != 0;
    return count;
  }
};

TEST_F(BlitTest, ScreenEdgesCutWhatLiesOutsideWhateverTheDestinationSize) {
  struct Case {
    int dstWidth, dstHeight, srcWidth, srcHeight, x, y;
    Rect rect;
    int firstX, firstY;  // the source pixel that lands on the first drawn pixel
    int drawnWidth, drawnHeight;
  };
  const Case cases[] = {
      {640, 480, 32, 48, -10, -5, {0, 0, 32, 48}, 10, 5, 22, 43},
      {640, 480, 96, 192, -8, -16, {32, 48, 64, 96}, 40, 64, 24, 32},  // a frame of a sheet
      {640, 480, 640, 100, 100, 0, {0, 0, 640, 100}, 0, 0, 540, 100},
      {800, 600, 100, 100, 600, 450, {0, 0, 100, 100}, 0, 0, 40, 30},  // larger than the screen
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    Surface dst(c.dstWidth, c.dstHeight), src(c.srcWidth, c.srcHeight);
    PaintPattern(src);
    BlitClipped(&dst, c.x, c.y, &src, c.rect, 0);
    const int x = std::max(c.x, 0), y = std::max(c.y, 0);
    EXPECT_EQ(dst.PixelAt(x, y), PatternAt(c.firstX, c.firstY));
    EXPECT_EQ(dst.PixelAt(x + c.drawnWidth - 1, y + c.drawnHeight - 1),
              PatternAt(c.firstX + c.drawnWidth - 1, c.firstY + c.drawnHeight - 1));
    EXPECT_EQ(DrawnPixels(dst), c.drawnWidth * c.drawnHeight);
  }
}

TEST_F(BlitTest, WhollyOffScreenOrWildPositionsDrawNothing) {
  Surface large(900, 700);
  Surface tile(32, 32);
  PaintPattern(tile);
  Rect rect;
  MakeRect(rect, 0, 0, 32, 32);
  BlitClipped(&large, 700, 10, &tile, rect, 0);
  BlitClipped(&large, 10, 500, &tile, rect, 0);
  BlitClipped(&large, INT_MIN, INT_MIN, &tile, rect, 0);
  BlitClipped(&large, INT_MAX, 0, &tile, rect, 0);
  BlitClipped(&large, -40, 0, &tile, rect, 0);
  BlitClipped(&large, 0, 0, &tile, MakeRect(rect, INT_MIN, 0, INT_MAX, 32), 0);
  EXPECT_EQ(DrawnPixels(large), 0);

  BlitClipped(nullptr, 0, 0, &tile, rect, 0);
  BlitClipped(&large, 0, 0, nullptr, rect, 0);
}

TEST_F(BlitTest, TheColourKeyIsHonouredOnlyWhenAskedFor) {
  Surface sprite(4, 1);
  const uint8_t plain[] = {7, 3, 7, 4};
  std::copy(plain, plain + 4, sprite.Pixels());
  sprite.SetColorKey(7);
  Rect rect;
  BlitClipped(lpDDSBack, 0, 0, &sprite, MakeRect(rect, 0, 0, 4, 1), 1);
  BlitClipped(lpDDSBack, 0, 1, &sprite, rect, 0);
  const uint8_t keyed[] = {0, 3, 0, 4};
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
  Surface tile(10, 10);
  PaintPattern(tile);
  Rect rect;
  BlitClipped(lpDDSBack, 20, 30, &tile, MakeRect(rect, 0, 0, 10, 10), 0);
  const int flipsBefore = platform::headless::GetLog().flips;
  FlipScreen();
  EXPECT_EQ(platform::headless::GetLog().flips, flipsBefore + 1);
  EXPECT_EQ(lpDDSPrimary->PixelAt(20, 30), PatternAt(0, 0));
}

TEST_F(BlitTest, LostSurfacesAreRestoredAndTheNextFrameDrawsAgain) {
  Surface tile(10, 10);
  PaintPattern(tile);
  Rect rect;
  MakeRect(rect, 0, 0, 10, 10);

  platform::headless::LoseSurfaces();
  BlitClipped(lpDDSBack, 0, 0, &tile, rect, 0);
  EXPECT_FALSE(lpDDSPrimary->IsLost());
  EXPECT_FALSE(lpDDSBack->IsLost());
  EXPECT_FALSE(tile.IsLost());
  BlitClipped(lpDDSBack, 0, 0, &tile, rect, 0);
  EXPECT_EQ(lpDDSBack->PixelAt(9, 9), PatternAt(9, 9));

  platform::headless::LoseSurfaces();
  FlipScreen();
  EXPECT_FALSE(lpDDSPrimary->IsLost());
  FlipScreen();
  EXPECT_EQ(lpDDSPrimary->PixelAt(9, 9), PatternAt(9, 9));
}

}  // namespace
