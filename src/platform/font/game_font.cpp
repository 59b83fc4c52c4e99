#include "platform/font/game_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

namespace platform {

// The FreeType library and the one face opened from it, released together.
struct Font::Library {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
  ~Library() {
    if (face != nullptr) FT_Done_Face(face);
    if (library != nullptr) FT_Done_FreeType(library);
  }
};

std::unique_ptr<Font> Font::Open(const std::string& path, int faceIndex, int pixelHeight) {
  if (pixelHeight < 2 || pixelHeight > 256) return nullptr;
  auto library = std::make_unique<Library>();
  if (FT_Init_FreeType(&library->library) != 0) return nullptr;
  if (FT_New_Face(library->library, path.c_str(), faceIndex, &library->face) != 0) return nullptr;
  if (!FT_IS_SCALABLE(library->face)) return nullptr;
  // The em square is the line: a Chinese character fills its cell as in the game's Song face.
  if (FT_Set_Pixel_Sizes(library->face, 0, FT_UInt(pixelHeight)) != 0) return nullptr;
  return std::make_unique<Font>(OpenToken{}, std::move(library), pixelHeight);
}

Font::Font(OpenToken, std::unique_ptr<Library> library, int lineHeight)
    : library_(std::move(library)),
      lineHeight_(lineHeight),
      // Four fifths above the baseline and one fifth below hold both the ideographs and
      // the descenders of Latin letters inside the line.
      baseline_(lineHeight * 4 / 5) {}

Font::~Font() = default;

const GlyphMask* Font::Glyph(const gbk::Character& character) const {
  auto found = cache_.find(character.code);
  if (found == cache_.end()) found = cache_.emplace(character.code, Render(character)).first;
  return found->second.get();
}

std::unique_ptr<GlyphMask> Font::Render(const gbk::Character& character) const {
  const std::optional<char32_t> codePoint = gbk::ToCodePoint(character);
  if (!codePoint || *codePoint < 0x20 || *codePoint == 0x7F) return nullptr;
  FT_Face face = library_->face;
  const FT_UInt index = FT_Get_Char_Index(face, *codePoint);
  if (index == 0) return nullptr;
  if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO) != 0) return nullptr;
  if (FT_Render_Glyph(face->glyph, FT_RENDER_MODE_MONO) != 0) return nullptr;

  const FT_Bitmap& bitmap = face->glyph->bitmap;
  if (bitmap.width == 0 || bitmap.rows == 0 || bitmap.pixel_mode != FT_PIXEL_MODE_MONO) {
    return nullptr;
  }
  // Centre the glyph's advance in its cell, so narrower or wider faces still keep the cells.
  const int cellWidth = ByteWidth() * character.bytes;
  const int advance = int(face->glyph->advance.x >> 6);
  const int left = (cellWidth - advance) / 2 + face->glyph->bitmap_left;
  const int top = baseline_ - face->glyph->bitmap_top;
  // Keep only the rows inside the line.
  const int firstRow = std::max(0, -top);
  const int lastRow = std::min(int(bitmap.rows), lineHeight_ - top);
  if (lastRow <= firstRow) return nullptr;

  auto mask = std::make_unique<GlyphMask>();
  mask->left = left;
  mask->top = top + firstRow;
  mask->width = int(bitmap.width);
  mask->height = lastRow - firstRow;
  mask->bits.assign(size_t(mask->width) * size_t(mask->height), 0);
  bool ink = false;
  for (int row = firstRow; row < lastRow; ++row) {
    const unsigned char* bits = bitmap.buffer + ptrdiff_t(row) * bitmap.pitch;
    for (int x = 0; x < mask->width; ++x) {
      const uint8_t on = (bits[x >> 3] >> (7 - (x & 7))) & 1;
      mask->bits[size_t(row - firstRow) * size_t(mask->width) + size_t(x)] = on;
      ink = ink || on != 0;
    }
  }
  return ink ? std::move(mask) : nullptr;
}

}  // namespace platform
