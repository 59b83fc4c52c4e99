// The display: front and back pages, the palette with its three colour tables, one surface
// per picture, fades, restoring lost surfaces and releasing everything.
#pragma once

#include <memory>

#include "core/map_types.h"
#include "platform/display_device.h"
#include "platform/pixels/surface.h"

using platform::Palette;
using platform::Surface;

extern platform::DisplayDevice* lpDD;
extern Surface* lpDDSPrimary;
extern Surface* lpDDSBack;
extern std::shared_ptr<platform::PaletteObject> lpDDPal;

// Colour tables for fades (256 entries each); made once and kept for the process.
extern Palette* lpPalTitle;
extern Palette* lpPalGame;
extern Palette* lpPalBlack;

extern Surface* lpDDSTitle;
extern Surface* lpDDSPlayer;
extern Surface* lpDDSNpc[kNpcSheetCount];
extern Surface* lpDDSMap1;
extern Surface* lpDDSMaps;
extern Surface* lpDDSTalkBar;
extern Surface* lpDDSPanel;
extern Surface* lpDDSFightBar;
extern Surface* lpDDSBomb;
extern Surface* lpDDSGoods;
extern Surface* lpDDSMainMenu;

int InitDisplay();
int AbortDisplayInit(const char* text);
void CopyPaletteEntries(Palette*& table);
void FadePalette(const Palette* from, const Palette* to, int step);
void RestoreSurfaces();
void ReleaseDisplay();

// The sheet surface a record's handle names; nullptr for none or before the display exists.
Surface* SheetSurface(SurfaceHandle handle);
