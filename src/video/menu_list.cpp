// The vertical menu lists of the title and the slot menus: the entries on black over the title
// picture, the highlighted one on its coloured ground.
#include "video/display.h"
#include "video/draw.h"

void DrawMenu(int x, int y, int cursor, const char* const* entries, int count,
              uint32_t textColor, uint32_t highlightColor) {
  Rect whole;
  BlitClipped(lpDDSBack, 0, 0, lpDDSTitle, MakeRect(whole, 0, 0, 640, 480), 0);
  for (int k = 0; k < count; ++k) {
    const int entryY = y + 10 + 24 * k;
    if (k != cursor) {
      // Mode 0 is not transparent: the other entries stand on black.
      PrintText(lpDDSBack, x, entryY, entries[k], textColor, 0, 0, 50);
      continue;
    }
    // The highlighted entry's ground, then its text over a one-pixel dark shadow, so that the
    // white stays readable on the light ground.
    PrintText(lpDDSBack, x, entryY, entries[k], highlightColor, platform::kBkOpaque, highlightColor, 50);
    PrintShadowedText(lpDDSBack, x, entryY, entries[k], textColor, 50, kThinShadow);
  }
  FlipScreen();
}
