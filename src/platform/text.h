// The game's one font and GBK text output onto 8-bit surfaces.
// Monospaced by bytes: a single-byte character fills a 10-pixel cell, a double-byte GBK
// character a 20-pixel cell; a line is 20 pixels high. Rendered without anti-aliasing.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/pixels/surface.h"

namespace platform {

class Font;  // a CJK font found through fontconfig, rendered with FreeType

// Finds and opens the game font at the given pixel height. nullptr when no usable CJK font
// is installed (text then draws only its opaque background).
std::shared_ptr<Font> OpenGameFont(int pixelHeight);

// Background modes as the game passes them.
constexpr int kBkTransparent = 1;
constexpr int kBkOpaque = 2;  // any value but 1 is opaque

struct TextStyle {
  uint32_t textColor = 0;  // colour reference (red in the low byte)
  int bkMode = kBkOpaque;
  uint32_t bkColor = 0xFFFFFF;
};

// Draws len bytes of GBK text at (x, y) (top-left of the 20-pixel line) on the surface,
// colours mapped to their nearest entries of the palette. Clipped to the surface.
// Invalid or lone lead bytes draw as an empty 10-pixel cell.
void DrawText(Surface& surface, const Palette& palette, const Font* font, int x, int y,
              const char* text, int len, const TextStyle& style);

// Converts GBK bytes to UTF-8 (for message boxes, the terminal and tests); invalid bytes
// become U+FFFD.
std::string GbkToUtf8(const char* text, size_t len);
std::string GbkToUtf8(const std::string& text);

}  // namespace platform
