// Filling surfaces from Windows bitmap files: palettes from colour tables, copies through
// the current palette, colour keys.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/display_device.h"
#include "platform/pixels/bitmap_file.h"
#include "platform/pixels/surface.h"

// Result codes of bitmap loading.
constexpr int kResultOk = 0;
constexpr int kResultFail = -1;  // no bitmap or no surface

int ReloadBitmapSurface(platform::Surface* surface, const char* name);
int DDCopyBitmap(platform::Surface* surface, const platform::DibBitmap* bitmap, int x, int y,
                 int width, int height);
std::shared_ptr<platform::PaletteObject> LoadBitmapPalette(platform::DisplayDevice* device,
                                                           const char* name);
// The 3-3-2 colour cube used when no colour table can be read.
platform::Palette DefaultPalette();
uint32_t MatchSurfaceColor(platform::Surface* surface, uint32_t colorRef);
int SetSurfaceColorKey(platform::Surface* surface, uint32_t colorRef);

constexpr uint32_t kNoColor = 0xFFFFFFFFu;     // "no colour" for MatchSurfaceColor
constexpr uint32_t kColorKeyRef = 0xBBEEFF;     // red 255, green 238, blue 187
