// The game font: a FreeType face rendered without anti-aliasing, with its glyphs cached
// per GBK character and laid out in the byte cells of the text.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/font/gbk.h"

namespace platform {

// A glyph placed in its character cell: pixel (x, y) of the mask lies at
// (cell left + left + x, line top + top + y). Already cut to the height of the line.
struct GlyphMask {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::vector<uint8_t> bits;  // width × height, 1 where the glyph has ink
};

class Font {
 public:
  // nullptr when the file cannot be opened as a scalable font.
  static std::unique_ptr<Font> Open(const std::string& path, int faceIndex, int pixelHeight);

  struct Library;
  struct OpenToken {  // only Open makes fonts
   private:
    friend class Font;
    OpenToken() = default;
  };
  Font(OpenToken, std::unique_ptr<Library> library, int lineHeight);
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  // The height of a line; a byte of text takes half of it in width.
  int LineHeight() const { return lineHeight_; }
  int ByteWidth() const { return lineHeight_ / 2; }

  // The glyph of the character, or nullptr for an empty cell (no such character in code
  // page 936 or in the font, control characters, blank glyphs).
  const GlyphMask* Glyph(const gbk::Character& character) const;

 private:
  std::unique_ptr<GlyphMask> Render(const gbk::Character& character) const;

  std::unique_ptr<Library> library_;
  int lineHeight_;
  int baseline_;  // rows from the top of the line to the baseline
  mutable std::unordered_map<uint16_t, std::unique_ptr<GlyphMask>> cache_;
};

}  // namespace platform
