// A bitmap file: its colour table read as a palette, and the picture copied onto a surface
// through the game palette and keyed, as start-up loads every picture.
#include <cstdint>

#include "fuzz_world.h"
#include "platform/backend/backend.h"
#include "platform/pixels/bitmap_file.h"
#include "video/bitmap.h"
#include "video/display.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::StartWorld();
  platform::headless::ClearLog();  // refusals are reported in the log: keep it small
  const std::optional<platform::DibBitmap> bitmap = platform::DecodeBitmap(data, size);
  if (bitmap) {
    const size_t pixels = size_t(bitmap->width) * size_t(bitmap->height);
    fuzz::Require(bitmap->width > 0 && bitmap->height > 0 && bitmap->colors.size() == pixels,
                  "a decoded picture has a colour for every pixel");
    fuzz::Require(bitmap->indexes.empty() || bitmap->indexes.size() == pixels,
                  "indexes, when kept, are one per pixel");
  }

  constexpr const char* kName = "pic\\fuzz.bmp";
  fuzz::WriteGameFile(kName, data, size);
  const auto palette = LoadBitmapPalette(lpDD, kName);
  fuzz::Require(palette != nullptr, "a palette is always made");
  static Surface surface(48, 40);
  ReloadBitmapSurface(&surface, kName);
  SetSurfaceColorKey(&surface, kColorKeyRef);
  // A part of the picture stretched onto the whole surface, as a scaled copy would.
  if (bitmap) DDCopyBitmap(&surface, &*bitmap, bitmap->width / 3, bitmap->height / 4, 0, 0);
  return 0;
}
