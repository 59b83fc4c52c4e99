// The clipped blit against the screen edges, keyed sprites, clearing, flipping and lost
// surfaces.
#include <gtest/gtest.h>

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

TEST_F(BlitTest, LeftAndTopEdgesCutOffWhatLiesOutside) {
  Surface sprite(32, 48);
  PaintPattern(sprite);
  Rect rect;
  BlitClipped(lpDDSBack, -10, -5, &sprite, MakeRect(rect, 0, 0, 32, 48), 0);
  EXPECT_EQ(lpDDSBack->PixelAt(0, 0), PatternAt(10, 5));
  EXPECT_EQ(lpDDSBack->PixelAt(21, 42), PatternAt(31, 47));
  EXPECT_EQ(DrawnPixels(*lpDDSBack), 22 * 43);

  // A frame from the middle of a sheet keeps its own part of the sheet.
  Surface sheet(96, 192);
  PaintPattern(sheet);
  platform::FillSurface(*lpDDSBack, 0);
  BlitClipped(lpDDSBack, -8, -16, &sheet, MakeRect(rect, 32, 48, 64, 96), 0);
  EXPECT_EQ(lpDDSBack->PixelAt(0, 0), PatternAt(40, 64));
  EXPECT_EQ(lpDDSBack->PixelAt(23, 31), PatternAt(63, 95));
  EXPECT_EQ(DrawnPixels(*lpDDSBack), 24 * 32);
}

TEST_F(BlitTest, RightAndBottomEdgesOfTheScreenCutEvenALargerDestination) {
  Surface picture(640, 100);
  PaintPattern(picture);
  Rect rect;
  BlitClipped(lpDDSBack, 100, 0, &picture, MakeRect(rect, 0, 0, 640, 100), 0);
  EXPECT_EQ(lpDDSBack->PixelAt(100, 0), PatternAt(0, 0));
  EXPECT_EQ(lpDDSBack->PixelAt(639, 99), PatternAt(539, 99));
  EXPECT_EQ(DrawnPixels(*lpDDSBack), 540 * 100);

  // The screen bounds the blit whatever the destination's size.
  Surface large(800, 600);
  Surface tile(100, 100);
  PaintPattern(tile);
  BlitClipped(&large, 600, 450, &tile, MakeRect(rect, 0, 0, 100, 100), 0);
  EXPECT_EQ(large.PixelAt(639, 479), PatternAt(39, 29));
  EXPECT_EQ(DrawnPixels(large), 40 * 30);
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
  sprite.Pixels()[0] = 7;
  sprite.Pixels()[1] = 3;
  sprite.Pixels()[2] = 7;
  sprite.Pixels()[3] = 4;
  sprite.SetColorKey(7);
  Rect rect;
  BlitClipped(lpDDSBack, 0, 0, &sprite, MakeRect(rect, 0, 0, 4, 1), 1);
  BlitClipped(lpDDSBack, 0, 1, &sprite, rect, 0);
  const uint8_t keyed[] = {0, 3, 0, 4};
  const uint8_t plain[] = {7, 3, 7, 4};
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
