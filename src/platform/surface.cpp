#include "platform/surface.h"

#include <algorithm>
#include <cstring>
#include <utility>

#include "platform/backend_hooks.h"

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

// Sixteen pixels at a time: every pixel but the key colour replaces the destination's.
using Pixels16 = uint8_t __attribute__((vector_size(16)));

void CopyRowKeyed(uint8_t* __restrict d, const uint8_t* __restrict s, int count, uint8_t key) {
  const Pixels16 keys = Pixels16{} + key;
  int i = 0;
  for (; i + 16 <= count; i += 16) {
    Pixels16 from, to;
    std::memcpy(&from, s + i, sizeof from);
    std::memcpy(&to, d + i, sizeof to);
    const Pixels16 transparent = (Pixels16)(from == keys);
    const Pixels16 result = (to & transparent) | (from & ~transparent);
    std::memcpy(d + i, &result, sizeof result);
  }
  for (; i < count; ++i) {
    if (s[i] != key) d[i] = s[i];
  }
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

  for (int row = 0; row < clip->height; ++row) {
    const uint8_t* s = from + size_t(row) * fromPitch;
    uint8_t* d = to + size_t(row) * dstPitch;
    if (key) CopyRowKeyed(d, s, clip->width, *key);
    else std::memcpy(d, s, size_t(clip->width));
  }
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
