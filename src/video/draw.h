// The drawing primitives every screen uses: rectangles, clipped blits, the page flip,
// clearing, the font and text output, waiting for keys and time.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>

#include "platform/pixels/surface.h"
#include "platform/system.h"
#include "platform/text.h"

using platform::Rect;

// Text colours the screens use (colour references, red in the low byte).
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kYellow = 0x00FFFF;
constexpr uint32_t kRed = 0x0000FF;
constexpr uint32_t kDarkBlue = 0x640000;

extern std::shared_ptr<platform::Font> hFont;

Rect& MakeRect(Rect& rect, int left, int top, int right, int bottom);
void BlitClipped(platform::Surface* dst, int x, int y, platform::Surface* src, Rect srcRect,
                 int useColorKey);
void FlipScreen();
void ClearScreen(int index);
void CreateGameFont();
void PrintText(platform::Surface* surface, int x, int y, const char* text, uint32_t textColor,
               int bkMode, uint32_t bkColor, int lineLength);
// Transparent text over a black copy of itself shadowOffset pixels right and down, so it reads
// on any picture. kThinShadow keeps thin strokes crisp on a light, even ground.
constexpr int kThinShadow = 1;
void PrintShadowedText(platform::Surface* surface, int x, int y, const char* text, uint32_t textColor,
                       int lineLength, int shadowOffset = 2);
void WaitKey(int virtualKey, int alreadyDown);
// DOWN and UP in a vertical menu of count entries: each moves the cursor one entry, wrapping
// round, once the key is let go, and draws the menu again.
void MoveMenuCursor(int& cursor, int count, const std::function<void()>& redraw);
// A vertical menu of count entries 24 pixels apart from (x, y + 10) over the title picture, the
// cursor's entry on a ground of highlightColor; then the page is flipped.
void DrawMenu(int x, int y, int cursor, const char* const* entries, int count,
              uint32_t textColor, uint32_t highlightColor);
void Delay(int milliseconds);
