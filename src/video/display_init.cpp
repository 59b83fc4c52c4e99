// Starting the display: the device, the pages, the palettes and every picture, in the order
// that matches each picture to its own colours; then the character timer and the generator.
#include <cstdio>
#include <memory>

#include "core/game_state.h"
#include "core/random.h"
#include "platform/system.h"
#include "video/bitmap.h"
#include "video/display.h"
#include "video/draw.h"
#include "video/surface_store.h"

namespace {

// Makes an off-screen surface of exactly width × height and fills it from the picture file.
// A missing or unreadable picture leaves the surface blank and is not fatal; a surface that
// cannot be made ends the start-up.
int CreatePictureSurface(Surface*& surface, int width, int height, const char* name) {
  std::unique_ptr<Surface> made = lpDD->CreateSurface(width, height);
  if (!made) {
    AbortDisplayInit(name != nullptr ? name : "");
    return 0;
  }
  surface = KeepSurface(std::move(made));
  if (name != nullptr) ReloadBitmapSurface(surface, name);
  return 1;
}

int CreateKeyedPictureSurface(Surface*& surface, int width, int height, const char* name) {
  if (!CreatePictureSurface(surface, width, height, name)) return 0;
  SetSurfaceColorKey(surface, kColorKeyRef);
  return 1;
}

// Makes the palette of a picture's colours current and keeps its colour table.
void UsePictureColors(const char* name, Palette*& table) {
  lpDDPal = LoadBitmapPalette(lpDD, name);
  CopyPaletteEntries(table);
  if (lpDDPal) lpDD->AttachPalette(lpDDPal);
}

}  // namespace

int InitDisplay() {
  ReleaseDisplay();  // a second start-up lets go of the first display
  lpDD = platform::OpenDisplayDevice();
  if (lpDD == nullptr) return 0;

  lpDDSPrimary = lpDD->CreatePrimaryWithBackBuffer();
  if (lpDDSPrimary == nullptr) return AbortDisplayInit("lpDDSPrimary");
  lpDDSBack = lpDD->BackBuffer();
  if (lpDDSBack == nullptr) return AbortDisplayInit("lpDDSBack");

  // The title picture is matched to its own colours, every other picture to the game's.
  UsePictureColors("pic\\title.bmp", lpPalTitle);
  if (!CreatePictureSurface(lpDDSTitle, 640, 480, "pic\\title.bmp")) return 0;
  UsePictureColors("pic\\player.bmp", lpPalGame);

  if (!CreateKeyedPictureSurface(lpDDSPlayer, 96, 192, "pic\\player.bmp")) return 0;
  hero.lpSurface = kHeroSheet;

  for (int k = 0; k < kNpcSheetCount; ++k) {
    char name[32];
    std::snprintf(name, sizeof name, "pic\\npc%02d.bmp", k + 1);
    if (!CreateKeyedPictureSurface(lpDDSNpc[k], 64, 128, name)) return 0;
  }

  if (!CreatePictureSurface(lpDDSMap1, 32, 320, "pic\\map1.bmp")) return 0;
  if (!CreateKeyedPictureSurface(lpDDSMaps, 640, 1536, "pic\\maps.bmp")) return 0;
  if (!CreateKeyedPictureSurface(lpDDSTalkBar, 640, 96, "pic\\talkbar.bmp")) return 0;
  if (!CreateKeyedPictureSurface(lpDDSPanel, 420, 320, "pic\\sbar.bmp")) return 0;
  if (!CreatePictureSurface(lpDDSFightBar, 448, 112, "pic\\fightbar.bmp")) return 0;
  if (!CreateKeyedPictureSurface(lpDDSBomb, 540, 50, "pic\\bomb.bmp")) return 0;
  if (!CreateKeyedPictureSurface(lpDDSGoods, 384, 192, "pic\\goods.bmp")) return 0;
  if (!CreatePictureSurface(lpDDSMainMenu, 150, 200, "pic\\mainmenu.bmp")) return 0;

  platform::SetTimer(1, 400);
  SeedRandom(platform::CalendarTimeSeconds());
  return 1;
}

int AbortDisplayInit(const char* text) {
  ReleaseDisplay();
  platform::MessageBox(text, "error");
  platform::DestroyWindow();
  return 0;
}

