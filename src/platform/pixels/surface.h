// 8-bit palette-indexed pixel surfaces, rectangles, palettes and the fast blit.
// Pure pixel code shared by every backend.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace platform {

// Left, top, right, bottom in pixels; right and bottom are exclusive.
struct Rect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;
};

// One palette entry as the display keeps it: red, green, blue, flags.
struct PaletteEntry {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
  uint8_t flags = 0;
  bool operator==(const PaletteEntry&) const = default;
};
static_assert(sizeof(PaletteEntry) == 4);

using Palette = std::array<PaletteEntry, 256>;

// Outcome of a blit, fill or flip.
enum class BlitResult { Ok, WasStillDrawing, SurfaceLost, InvalidRect, Failed };

namespace detail {
void MarkAllSurfacesLost();  // see backend_hooks.h
}

// An 8-bit surface: width × height palette indexes, row-major, pitch = width.
class Surface {
 public:
  // A negative size counts as 0. Pixels start as index 0.
  Surface(int width, int height);
  // Every live surface is known to the platform (see MarkAllSurfacesLost); copies are
  // surfaces of their own.
  Surface(const Surface& other);
  Surface& operator=(const Surface& other);
  ~Surface();

  int Width() const { return width_; }
  int Height() const { return height_; }
  uint8_t* Pixels() { return pixels_.data(); }
  const uint8_t* Pixels() const { return pixels_.data(); }
  uint8_t PixelAt(int x, int y) const;  // 0 outside the surface

  // Source colour key for keyed blits: pixels of this index are not copied.
  void SetColorKey(std::optional<uint8_t> key) { colorKey_ = key; }
  std::optional<uint8_t> ColorKey() const { return colorKey_; }

  // A surface can be "lost" (the headless backend simulates it); blits then report
  // SurfaceLost until Restore is called. Pixels are kept.
  bool IsLost() const { return lost_; }
  void MarkLost() { lost_ = true; }
  BlitResult Restore();

  // Counts every change of the pixels, so a backend can tell when to present again.
  uint64_t Version() const { return version_; }
  void Touch() { ++version_; }

  // Exchanges the pixels of two surfaces of the same size (the page flip).
  void SwapPixels(Surface& other);

 private:
  int width_;
  int height_;
  std::vector<uint8_t> pixels_;
  std::optional<uint8_t> colorKey_;
  bool lost_ = false;
  uint64_t version_ = 0;
  // The list of live surfaces.
  Surface* previous_ = nullptr;
  Surface* next_ = nullptr;
  void Link();
  void Unlink();
  friend void detail::MarkAllSurfacesLost();
};

// Copies srcRect of src to (x, y) of dst. The rectangle is clipped to the source surface and
// the destination area to the destination surface, so no pixel outside either is touched.
// An empty or inverted rectangle draws nothing and reports InvalidRect.
BlitResult BltFast(Surface& dst, int x, int y, const Surface& src, Rect srcRect, bool useColorKey);

// Draws srcRect of src, without colour key, in every cell of a grid of columns × rows cells of
// the rectangle's size whose first cell has its top-left at (x, y): the same pixels as one
// BltFast per cell, laid row by row in a fraction of the time (the ground under a whole view).
BlitResult BltTiled(Surface& dst, int x, int y, int columns, int rows, const Surface& src,
                    Rect srcRect);

// Fills the whole surface with one palette index.
BlitResult FillSurface(Surface& dst, uint8_t index);

// Colour reference as the game writes colours: red in the low byte, then green, then blue.
constexpr uint32_t MakeColorRef(uint8_t red, uint8_t green, uint8_t blue) {
  return uint32_t(red) | (uint32_t(green) << 8) | (uint32_t(blue) << 16);
}

// The palette index whose colour is nearest to the colour reference (squared RGB distance,
// lowest index on ties).
uint8_t NearestPaletteIndex(const Palette& palette, uint32_t colorRef);

}  // namespace platform
