// Copying decoded bitmaps onto 8-bit surfaces through the screen's palette.
#include <algorithm>
#include <array>
#include <unordered_map>

#include "platform/pixels/bitmap_file.h"

namespace platform {

namespace {

bool TableMatchesPalette(const DibBitmap& bitmap, const Palette& palette) {
  if (bitmap.colorTable.empty() || bitmap.colorTable.size() > palette.size()) return false;
  for (size_t i = 0; i < bitmap.colorTable.size(); ++i) {
    const PaletteEntry& e = palette[i];
    if (bitmap.colorTable[i] != MakeColorRef(e.red, e.green, e.blue)) return false;
  }
  return true;
}

// Maps the bitmap's colours to palette indexes. An indexed bitmap whose colour table is the
// palette keeps its indexes exactly as stored (duplicate colours and the colour-key index
// included); other indexed bitmaps map each table entry once; direct-colour bitmaps map each
// distinct colour once.
class ColorMapper {
 public:
  ColorMapper(const DibBitmap& bitmap, const Palette& palette)
      : bitmap_(bitmap), palette_(palette), indexed_(!bitmap.indexes.empty()) {
    if (!indexed_) return;
    const bool same = TableMatchesPalette(bitmap, palette);
    for (size_t i = 0; i < byIndex_.size(); ++i) {
      const uint32_t color = i < bitmap.colorTable.size() ? bitmap.colorTable[i] : 0;
      byIndex_[i] = same ? uint8_t(i) : NearestPaletteIndex(palette, color);
    }
  }

  uint8_t At(size_t pixel) {
    if (indexed_) return byIndex_[bitmap_.indexes[pixel]];
    const uint32_t color = bitmap_.colors[pixel];
    auto found = byColor_.find(color);
    if (found == byColor_.end()) {
      found = byColor_.emplace(color, NearestPaletteIndex(palette_, color)).first;
    }
    return found->second;
  }

 private:
  const DibBitmap& bitmap_;
  const Palette& palette_;
  const bool indexed_;
  std::array<uint8_t, 256> byIndex_{};
  std::unordered_map<uint32_t, uint8_t> byColor_;
};

}  // namespace

void StretchBitmapToSurface(const DibBitmap& bitmap, int sx, int sy, int sw, int sh,
                            Surface& surface, const Palette& palette) {
  const size_t pixelCount = size_t(std::max(bitmap.width, 0)) * size_t(std::max(bitmap.height, 0));
  if (sw <= 0 || sh <= 0 || pixelCount == 0 || bitmap.colors.size() != pixelCount) return;
  if (!bitmap.indexes.empty() && bitmap.indexes.size() != pixelCount) return;
  const int width = surface.Width(), height = surface.Height();
  if (width <= 0 || height <= 0) return;

  ColorMapper mapper(bitmap, palette);
  // Surface pixel (x, y) shows bitmap pixel (sx + x·sw/width, sy + y·sh/height); where that
  // lies outside the bitmap the surface keeps its pixel.
  for (int y = 0; y < height; ++y) {
    const int64_t from = int64_t(sy) + int64_t(y) * sh / height;
    if (from < 0 || from >= bitmap.height) continue;
    uint8_t* row = surface.Pixels() + size_t(y) * size_t(width);
    const size_t rowStart = size_t(from) * size_t(bitmap.width);
    for (int x = 0; x < width; ++x) {
      const int64_t column = int64_t(sx) + int64_t(x) * sw / width;
      if (column < 0 || column >= bitmap.width) continue;
      row[x] = mapper.At(rowStart + size_t(column));
    }
  }
  surface.Touch();
}

}  // namespace platform
