#include "platform/pixels/surface.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <utility>

#include "platform/backend/backend_hooks.h"

namespace platform {

namespace {

// Head of the list of live surfaces. A plain pointer, so surfaces that outlive static
// destruction can still unlink themselves safely.
Surface* gFirstSurface = nullptr;

size_t PixelCount(int width, int height) { return size_t(width) * size_t(height); }

}  // namespace

Surface::Surface(int width, int height)
    : width_(std::max(width, 0)),
      height_(std::max(height, 0)),
      pixels_(PixelCount(width_, height_), 0) {
  Link();
}

Surface::Surface(const Surface& other)
    : width_(other.width_),
      height_(other.height_),
      pixels_(other.pixels_),
      colorKey_(other.colorKey_),
      lost_(other.lost_),
      version_(other.version_) {
  Link();
}

Surface& Surface::operator=(const Surface& other) {
  if (this != &other) {
    width_ = other.width_;
    height_ = other.height_;
    pixels_ = other.pixels_;
    colorKey_ = other.colorKey_;
    lost_ = other.lost_;
    Touch();
  }
  return *this;
}

Surface::~Surface() { Unlink(); }

void Surface::Link() {
  next_ = gFirstSurface;
  if (next_ != nullptr) next_->previous_ = this;
  gFirstSurface = this;
}

void Surface::Unlink() {
  if (previous_ != nullptr) previous_->next_ = next_;
  else gFirstSurface = next_;
  if (next_ != nullptr) next_->previous_ = previous_;
  previous_ = next_ = nullptr;
}

uint8_t Surface::PixelAt(int x, int y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return 0;
  return pixels_[size_t(y) * size_t(width_) + size_t(x)];
}

BlitResult Surface::Restore() {
  lost_ = false;
  return BlitResult::Ok;
}

void Surface::SwapPixels(Surface& other) {
  if (&other == this || other.width_ != width_ || other.height_ != height_) return;
  pixels_.swap(other.pixels_);
  Touch();
  other.Touch();
}

namespace detail {

void MarkAllSurfacesLost() {
  for (Surface* surface = gFirstSurface; surface != nullptr; surface = surface->next_) {
    surface->MarkLost();
  }
}

}  // namespace detail

namespace {

// The part of a blit that survives clipping: a source rectangle of positive size and the
// destination point of its top-left pixel.
struct ClippedBlit {
  int srcLeft, srcTop, width, height, dstX, dstY;
};

// Clips the source rectangle to the source surface and the destination area to the
// destination surface, keeping every surviving pixel where it would have landed unclipped.
// 64-bit arithmetic, so no rectangle or position can overflow.
std::optional<ClippedBlit> ClipBlit(const Surface& dst, int x, int y, const Surface& src,
                                    const Rect& rect) {
  int64_t left = rect.left, top = rect.top, right = rect.right, bottom = rect.bottom;
  if (right <= left || bottom <= top) return std::nullopt;
  int64_t dx = x, dy = y;
  if (left < 0) { dx -= left; left = 0; }
  if (top < 0) { dy -= top; top = 0; }
  right = std::min<int64_t>(right, src.Width());
  bottom = std::min<int64_t>(bottom, src.Height());
  if (dx < 0) { left -= dx; dx = 0; }
  if (dy < 0) { top -= dy; dy = 0; }
  right = std::min<int64_t>(right, left + (dst.Width() - dx));
  bottom = std::min<int64_t>(bottom, top + (dst.Height() - dy));
  if (right <= left || bottom <= top) return std::nullopt;
  return ClippedBlit{int(left), int(top), int(right - left), int(bottom - top), int(dx), int(dy)};
}

// Sixteen pixels at a time. A row of 16 or more ends with one more group of sixteen that
// overlaps the group before it, which writes the same pixels again and so changes nothing.
using Pixels16 = uint8_t __attribute__((vector_size(16)));

Pixels16 Load16(const uint8_t* p) {
  Pixels16 v;
  std::memcpy(&v, p, sizeof v);
  return v;
}

void Store16(uint8_t* p, Pixels16 v) { std::memcpy(p, &v, sizeof v); }

// Tiles and sprites are short rows: inline vector moves instead of a library call per row.
void CopyRow(uint8_t* __restrict d, const uint8_t* __restrict s, int count) {
  if (count < 16 || count > 256) {
    std::memcpy(d, s, size_t(count));
    return;
  }
  for (int i = 0; i + 16 < count; i += 16) Store16(d + i, Load16(s + i));
  Store16(d + count - 16, Load16(s + count - 16));
}

// Every pixel but the key colour replaces the destination's.
Pixels16 Keyed16(Pixels16 from, Pixels16 to, Pixels16 keys) {
  const Pixels16 transparent = (Pixels16)(from == keys);
  return (to & transparent) | (from & ~transparent);
}

void CopyRowKeyed(uint8_t* __restrict d, const uint8_t* __restrict s, int count, uint8_t key) {
  if (count < 16) {
    for (int i = 0; i < count; ++i) {
      if (s[i] != key) d[i] = s[i];
    }
    return;
  }
  const Pixels16 keys = Pixels16{} + key;
  for (int i = 0; i + 16 < count; i += 16) Store16(d + i, Keyed16(Load16(s + i), Load16(d + i), keys));
  const int last = count - 16;
  Store16(d + last, Keyed16(Load16(s + last), Load16(d + last), keys));
}

}  // namespace

BlitResult BltFast(Surface& dst, int x, int y, const Surface& src, Rect srcRect, bool useColorKey) {
  if (dst.IsLost() || src.IsLost()) return BlitResult::SurfaceLost;
  const std::optional<ClippedBlit> clip = ClipBlit(dst, x, y, src, srcRect);
  if (!clip) return BlitResult::InvalidRect;

  const size_t srcPitch = size_t(src.Width());
  const size_t dstPitch = size_t(dst.Width());
  const uint8_t* from = src.Pixels() + size_t(clip->srcTop) * srcPitch + size_t(clip->srcLeft);
  uint8_t* to = dst.Pixels() + size_t(clip->dstY) * dstPitch + size_t(clip->dstX);
  const std::optional<uint8_t> key = useColorKey ? src.ColorKey() : std::nullopt;

  // A blit within one surface may overlap itself: work from a copy of the source area.
  std::vector<uint8_t> staging;
  if (&dst == &src) {
    staging.resize(size_t(clip->width) * size_t(clip->height));
    for (int row = 0; row < clip->height; ++row) {
      std::memcpy(&staging[size_t(row) * size_t(clip->width)], from + size_t(row) * srcPitch,
                  size_t(clip->width));
    }
    from = staging.data();
  }
  const size_t fromPitch = staging.empty() ? srcPitch : size_t(clip->width);

  const bool wholeRows = size_t(clip->width) == fromPitch && fromPitch == dstPitch;
  if (!key && wholeRows) {
    std::memcpy(to, from, fromPitch * size_t(clip->height));  // one block, as a page copy is
  } else {
    for (int row = 0; row < clip->height; ++row) {
      const uint8_t* s = from + size_t(row) * fromPitch;
      uint8_t* d = to + size_t(row) * dstPitch;
      if (key) CopyRowKeyed(d, s, clip->width, *key);
      else CopyRow(d, s, clip->width);
    }
  }
  dst.Touch();
  return BlitResult::Ok;
}

BlitResult BltTiled(Surface& dst, int x, int y, int columns, int rows, const Surface& src,
                    Rect srcRect) {
  if (dst.IsLost() || src.IsLost()) return BlitResult::SurfaceLost;
  const int64_t cellWidth = int64_t(srcRect.right) - srcRect.left;
  const int64_t cellHeight = int64_t(srcRect.bottom) - srcRect.top;
  if (cellWidth <= 0 || cellHeight <= 0 || columns <= 0 || rows <= 0) return BlitResult::InvalidRect;
  if (&dst == &src) {
    // A grid drawn from its own surface would read cells it has already drawn.
    const Surface copy(src);
    return BltTiled(dst, x, y, columns, rows, copy, srcRect);
  }

  // The part of the rectangle inside the source, and where it sits within its cell.
  const int64_t left = std::max<int64_t>(srcRect.left, 0), top = std::max<int64_t>(srcRect.top, 0);
  const int64_t width = std::min<int64_t>(srcRect.right, src.Width()) - left;
  const int64_t height = std::min<int64_t>(srcRect.bottom, src.Height()) - top;
  if (width <= 0 || height <= 0) return BlitResult::InvalidRect;
  const int64_t insetX = left - srcRect.left, insetY = top - srcRect.top;

  // Rows and columns of the destination the grid covers.
  const int64_t gridLeft = std::max<int64_t>(x, 0);
  const int64_t gridRight = std::min<int64_t>(x + columns * cellWidth, dst.Width());
  const int64_t gridTop = std::max<int64_t>(y, 0);
  const int64_t gridBottom = std::min<int64_t>(y + rows * cellHeight, dst.Height());
  if (gridLeft >= gridRight || gridTop >= gridBottom) return BlitResult::InvalidRect;
  // With cells as wide as the rectangle a row is one unbroken run, the same as the row a cell
  // higher: that row can be copied whole.
  const bool unbroken = width == cellWidth;
  bool drawn = false;
  const size_t pitch = size_t(dst.Width());
  for (int64_t row = gridTop; row < gridBottom; ++row) {
    const int64_t inCell = (row - y) % cellHeight;
    if (inCell < insetY || inCell >= insetY + height) continue;
    uint8_t* out = dst.Pixels() + size_t(row) * pitch;
    if (unbroken && row - cellHeight >= gridTop) {
      std::memcpy(out + gridLeft, out - cellHeight * int64_t(pitch) + gridLeft, size_t(gridRight - gridLeft));
      continue;
    }
    const uint8_t* in = src.Pixels() + size_t(top + inCell - insetY) * size_t(src.Width()) + size_t(left);
    // The first cell that reaches into the destination, then each one after it.
    int64_t column = std::max<int64_t>(0, (gridLeft - x - insetX - width) / cellWidth);
    for (; column < columns; ++column) {
      const int64_t start = x + column * cellWidth + insetX;
      if (start >= gridRight) break;
      const int64_t from = std::max(start, gridLeft), to = std::min(start + width, gridRight);
      if (from >= to) continue;
      CopyRow(out + from, in + (from - start), int(to - from));
      drawn = true;
    }
  }
  if (!drawn) return BlitResult::InvalidRect;
  dst.Touch();
  return BlitResult::Ok;
}

BlitResult FillSurface(Surface& dst, uint8_t index) {
  if (dst.IsLost()) return BlitResult::SurfaceLost;
  std::fill_n(dst.Pixels(), PixelCount(dst.Width(), dst.Height()), index);
  dst.Touch();
  return BlitResult::Ok;
}

uint8_t NearestPaletteIndex(const Palette& palette, uint32_t colorRef) {
  const int red = int(colorRef & 0xFF);
  const int green = int((colorRef >> 8) & 0xFF);
  const int blue = int((colorRef >> 16) & 0xFF);
  int best = 0;
  int bestDistance = 1 << 30;
  for (int i = 0; i < 256; ++i) {
    const PaletteEntry& e = palette[size_t(i)];
    const int dr = e.red - red, dg = e.green - green, db = e.blue - blue;
    const int distance = dr * dr + dg * dg + db * db;
    if (distance < bestDistance) {
      bestDistance = distance;
      best = i;
      if (distance == 0) break;
    }
  }
  return uint8_t(best);
}

}  // namespace platform
