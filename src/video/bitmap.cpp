// Filling picture surfaces from bitmap files and finding a colour's index on a surface.
#include "video/bitmap.h"

#include "platform/system.h"
#include "video/display.h"

int ReloadBitmapSurface(platform::Surface* surface, const char* name) {
  std::optional<platform::DibBitmap> bitmap;
  if (name != nullptr) bitmap = platform::LoadBitmapFile(platform::HostPath(name));
  if (!bitmap) {
    platform::OutputDebugString("handle is null\n");
    if (name != nullptr) platform::ReportUnusableGameFile(name, "missing, or not a picture the game reads");
    return kResultFail;
  }
  const int result = DDCopyBitmap(surface, &*bitmap, 0, 0, 0, 0);
  if (result != kResultOk) platform::OutputDebugString("ddcopybitmap failed\n");
  return result;
}

int DDCopyBitmap(platform::Surface* surface, const platform::DibBitmap* bitmap, int x, int y,
                 int width, int height) {
  if (surface == nullptr || bitmap == nullptr) return kResultFail;
  // The colours are matched to the palette on the screen, so without a display there is
  // nothing to match them to.
  if (lpDD == nullptr) return kResultFail;
  surface->Restore();
  if (width == 0) width = bitmap->width;
  if (height == 0) height = bitmap->height;
  if (width > 0 && height > 0) {
    platform::StretchBitmapToSurface(*bitmap, x, y, width, height, *surface,
                                     lpDD->CurrentPalette());
    surface->Touch();
  }
  return kResultOk;
}

uint32_t MatchSurfaceColor(platform::Surface* surface, uint32_t colorRef) {
  if (surface == nullptr || surface->Width() <= 0 || surface->Height() <= 0) return kNoColor;
  uint8_t* const firstPixel = surface->Pixels();
  const uint8_t saved = *firstPixel;
  // The colour is written into the first pixel as the screen's palette stores it, then read
  // back; the pixel gets its old value again afterwards.
  const bool written = colorRef != kNoColor && lpDD != nullptr;
  if (written) *firstPixel = platform::NearestPaletteIndex(lpDD->CurrentPalette(), colorRef);
  const uint32_t value = *firstPixel;
  if (written) *firstPixel = saved;
  return value;
}

int SetSurfaceColorKey(platform::Surface* surface, uint32_t colorRef) {
  const uint32_t value = MatchSurfaceColor(surface, colorRef);
  if (value == kNoColor) return kResultFail;
  surface->SetColorKey(static_cast<uint8_t>(value));
  return kResultOk;
}
