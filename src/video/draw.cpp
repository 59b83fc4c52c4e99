// Rectangles, the clipped blit every sprite and picture goes through, the page flip and
// clearing the screen.
#include "video/draw.h"

#include <cstdint>
#include <limits>

#include "platform/display_device.h"
#include "video/display.h"

Rect& MakeRect(Rect& rect, int left, int top, int right, int bottom) {
  rect.left = left;
  rect.top = top;
  rect.right = right;
  rect.bottom = bottom;
  return rect;
}

namespace {

bool FitsInt(int64_t value) {
  return value >= std::numeric_limits<int>::min() && value <= std::numeric_limits<int>::max();
}

}  // namespace

void BlitClipped(platform::Surface* dst, int x, int y, platform::Surface* src, Rect srcRect,
                 int useColorKey) {
  if (dst == nullptr || src == nullptr) return;
  // Clip against the screen, whatever the destination: cut off what lies left of or above
  // it, and shorten what runs past its right or bottom edge. Worked in 64 bits so that wild
  // positions cannot overflow.
  int64_t left = srcRect.left, top = srcRect.top, right = srcRect.right,
          bottom = srcRect.bottom;
  int64_t dx = x, dy = y;
  if (dx < 0) {
    left -= dx;
    dx = 0;
  }
  if (dy < 0) {
    top -= dy;
    dy = 0;
  }
  if ((right - left) + dx > platform::kScreenWidth) right = left - dx + platform::kScreenWidth;
  if ((bottom - top) + dy > platform::kScreenHeight) bottom = top - dy + platform::kScreenHeight;
  if (!FitsInt(left) || !FitsInt(top) || !FitsInt(right) || !FitsInt(bottom)) return;
  const Rect clipped{int(left), int(top), int(right), int(bottom)};

  for (;;) {
    const platform::BlitResult result =
        platform::BltFast(*dst, int(dx), int(dy), *src, clipped, useColorKey != 0);
    if (result == platform::BlitResult::WasStillDrawing) continue;
    if (result == platform::BlitResult::SurfaceLost) {
      // The frame in progress is left incomplete; the next one redraws it.
      RestoreSurfaces();
      dst->Restore();
      src->Restore();
    }
    return;
  }
}

void FlipScreen() {
  if (lpDD == nullptr || lpDDSPrimary == nullptr) return;
  for (;;) {
    const platform::BlitResult result = lpDD->Flip();
    if (result == platform::BlitResult::WasStillDrawing) continue;
    if (result == platform::BlitResult::SurfaceLost) RestoreSurfaces();
    return;
  }
}

void ClearScreen(int index) {
  const auto fill = static_cast<uint8_t>(index);
  if (lpDDSPrimary != nullptr) platform::FillSurface(*lpDDSPrimary, fill);
  if (lpDDSBack != nullptr) platform::FillSurface(*lpDDSBack, fill);
}
