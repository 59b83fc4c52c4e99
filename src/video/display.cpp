// The display: the device, the two pages, the palette and one surface per picture, made in a
// fixed order at start-up and released together when the window goes away.
#include "video/display.h"

#include <algorithm>
#include <memory>
#include <vector>

#include "video/surface_store.h"

platform::DisplayDevice* lpDD = nullptr;
Surface* lpDDSPrimary = nullptr;
Surface* lpDDSBack = nullptr;
std::shared_ptr<platform::PaletteObject> lpDDPal;

Surface* lpDDSTitle = nullptr;
Surface* lpDDSPlayer = nullptr;
Surface* lpDDSNpc[kNpcSheetCount] = {};
Surface* lpDDSMap1 = nullptr;
Surface* lpDDSMaps = nullptr;
Surface* lpDDSTalkBar = nullptr;
Surface* lpDDSPanel = nullptr;
Surface* lpDDSFightBar = nullptr;
Surface* lpDDSBomb = nullptr;
Surface* lpDDSGoods = nullptr;
Surface* lpDDSMainMenu = nullptr;

namespace {

// The picture surfaces belong to the display; the game reaches them through the globals above.
std::vector<std::unique_ptr<Surface>> ownedSurfaces;

}  // namespace

Surface* KeepSurface(std::unique_ptr<Surface> surface) {
  Surface* const kept = surface.get();
  if (kept != nullptr) ownedSurfaces.push_back(std::move(surface));
  return kept;
}

void ReleaseSurface(Surface*& surface) {
  if (surface == nullptr) return;
  std::erase_if(ownedSurfaces, [surface](const std::unique_ptr<Surface>& owned) {
    return owned.get() == surface;
  });
  surface = nullptr;
}

void RestoreSurfaces() {
  Surface* const surfaces[] = {lpDDSPrimary, lpDDSBack, lpDDSTitle, lpDDSPlayer};
  for (Surface* surface : surfaces)
    if (surface != nullptr) surface->Restore();
  for (Surface* sheet : lpDDSNpc)
    if (sheet != nullptr) sheet->Restore();
  Surface* const pictures[] = {lpDDSMap1,  lpDDSMaps, lpDDSTalkBar,  lpDDSPanel,
                               lpDDSFightBar, lpDDSBomb, lpDDSMainMenu, lpDDSGoods};
  for (Surface* surface : pictures)
    if (surface != nullptr) surface->Restore();
}

void ReleaseDisplay() {
  if (lpDD == nullptr) return;
  if (lpDDSPrimary != nullptr) {
    lpDD->ReleasePrimary();  // the back page goes with it
    lpDDSPrimary = nullptr;
    lpDDSBack = nullptr;
  }
  ReleaseSurface(lpDDSTitle);
  ReleaseSurface(lpDDSPlayer);
  for (Surface*& sheet : lpDDSNpc) ReleaseSurface(sheet);
  ReleaseSurface(lpDDSMap1);
  ReleaseSurface(lpDDSMaps);
  ReleaseSurface(lpDDSTalkBar);
  ReleaseSurface(lpDDSPanel);
  ReleaseSurface(lpDDSFightBar);
  ReleaseSurface(lpDDSBomb);
  ReleaseSurface(lpDDSMainMenu);
  ReleaseSurface(lpDDSGoods);
  ownedSurfaces.clear();
  lpDDPal.reset();
  platform::CloseDisplayDevice();
  lpDD = nullptr;
}

Surface* SheetSurface(SurfaceHandle handle) {
  if (handle == kHeroSheet) return lpDDSPlayer;
  if (handle >= NpcSheetHandle(0) && handle < NpcSheetHandle(0) + kNpcSheetCount)
    return lpDDSNpc[handle - NpcSheetHandle(0)];
  return nullptr;
}
