#include "platform/text.h"

#include <algorithm>

#include "platform/font/font_locator.h"
#include "platform/font/game_font.h"
#include "platform/font/gbk.h"

namespace platform {

namespace {

constexpr int kDefaultLineHeight = 20;

// The part of a rectangle that lies on the surface.
struct Area {
  int left, top, right, bottom;
  bool Empty() const { return right <= left || bottom <= top; }
};

Area ClipToSurface(const Surface& surface, int64_t left, int64_t top, int64_t right,
                   int64_t bottom) {
  return Area{int(std::clamp<int64_t>(left, 0, surface.Width())),
              int(std::clamp<int64_t>(top, 0, surface.Height())),
              int(std::clamp<int64_t>(right, 0, surface.Width())),
              int(std::clamp<int64_t>(bottom, 0, surface.Height()))};
}

void FillArea(Surface& surface, const Area& area, uint8_t index) {
  for (int y = area.top; y < area.bottom; ++y) {
    std::fill_n(surface.Pixels() + size_t(y) * size_t(surface.Width()) + size_t(area.left),
                size_t(area.right - area.left), index);
  }
}

// Sets the glyph's ink pixels that fall inside the area.
void DrawGlyph(Surface& surface, const Area& area, const GlyphMask& glyph, int64_t cellLeft,
               int64_t lineTop, uint8_t index) {
  const int64_t left = cellLeft + glyph.left, top = lineTop + glyph.top;
  const int64_t x0 = std::max<int64_t>(left, area.left);
  const int64_t x1 = std::min<int64_t>(left + glyph.width, area.right);
  const int64_t y0 = std::max<int64_t>(top, area.top);
  const int64_t y1 = std::min<int64_t>(top + glyph.height, area.bottom);
  for (int64_t y = y0; y < y1; ++y) {
    const uint8_t* bits = glyph.bits.data() + size_t(y - top) * size_t(glyph.width);
    uint8_t* row = surface.Pixels() + size_t(y) * size_t(surface.Width());
    for (int64_t x = x0; x < x1; ++x) {
      if (bits[x - left] != 0) row[x] = index;
    }
  }
}

}  // namespace

std::shared_ptr<Font> OpenGameFont(int pixelHeight) {
  const std::optional<FontFile> file = FindCjkFontFile();
  if (!file) return nullptr;
  return Font::Open(file->path, file->faceIndex, pixelHeight);
}

void DrawText(Surface& surface, const Palette& palette, const Font* font, int x, int y,
              const char* text, int len, const TextStyle& style) {
  if (text == nullptr || len <= 0 || surface.IsLost()) return;
  const int lineHeight = font != nullptr ? font->LineHeight() : kDefaultLineHeight;
  const int byteWidth = lineHeight / 2;
  // Every byte takes one cell, so the text is exactly len cells wide.
  const Area area = ClipToSurface(surface, x, y, int64_t(x) + int64_t(len) * byteWidth,
                                  int64_t(y) + lineHeight);
  if (area.Empty()) return;

  const bool opaque = style.bkMode != kBkTransparent;
  if (opaque) FillArea(surface, area, NearestPaletteIndex(palette, style.bkColor));
  if (font != nullptr) {
    const uint8_t ink = NearestPaletteIndex(palette, style.textColor);
    const auto* bytes = reinterpret_cast<const uint8_t*>(text);
    for (int offset = 0; offset < len;) {
      const int64_t cellLeft = int64_t(x) + int64_t(offset) * byteWidth;
      if (cellLeft >= area.right) break;
      const gbk::Character character = gbk::NextCharacter(bytes + offset, size_t(len - offset));
      if (cellLeft + int64_t(character.bytes) * byteWidth + lineHeight > area.left) {
        if (const GlyphMask* glyph = font->Glyph(character)) {
          DrawGlyph(surface, area, *glyph, cellLeft, y, ink);
        }
      }
      offset += character.bytes;
    }
  }
  if (opaque || font != nullptr) surface.Touch();
}

std::string GbkToUtf8(const char* text, size_t len) {
  std::string out;
  if (text == nullptr) return out;
  out.reserve(len + len / 2);
  const auto* bytes = reinterpret_cast<const uint8_t*>(text);
  for (size_t offset = 0; offset < len;) {
    const gbk::Character character = gbk::NextCharacter(bytes + offset, len - offset);
    gbk::AppendUtf8(out, gbk::ToCodePoint(character).value_or(U'\uFFFD'));
    offset += size_t(character.bytes);
  }
  return out;
}

std::string GbkToUtf8(const std::string& text) { return GbkToUtf8(text.data(), text.size()); }

}  // namespace platform
