#include "platform/sdl/sdl_screen.h"

#include <cstdio>

#include "platform/display_device.h"
#include "platform/pixels/page_to_rgb.h"

namespace platform::sdl {

namespace {

// The largest scale up to the wanted one at which the window fits the desktop's usable area.
int FittingScale(int wanted) {
  SDL_Rect usable;
  if (SDL_GetDisplayUsableBounds(0, &usable) != 0) return wanted;
  int scale = wanted;
  while (scale > 1 && (kScreenWidth * scale > usable.w || kScreenHeight * scale > usable.h)) --scale;
  return scale;
}

}  // namespace

std::unique_ptr<SdlScreen> SdlScreen::Open(const Settings& settings) {
  auto screen = std::make_unique<SdlScreen>();
  // The window keeps its own size for when Alt+Enter leaves full screen.
  const int scale = FittingScale(settings.windowScale);
  const Uint32 flags = SDL_WINDOW_RESIZABLE | (settings.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
  screen->window_.reset(SDL_CreateWindow("Tamsel", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                         kScreenWidth * scale, kScreenHeight * scale, flags));
  if (!screen->window_) {
    std::fprintf(stderr, "Tamsel: cannot open the window: %s\n", SDL_GetError());
    return nullptr;
  }
  // When SDL falls back to drawing in main memory (its software renderer, as on a machine
  // without a GPU), the finished picture goes straight to the window; by default SDL would
  // hand it to an OpenGL texture first, which without a GPU is drawn once more in software.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  // No vsync: the game paces itself, and a fade of 256 palette loads must not wait 256 frames.
  screen->renderer_.reset(SDL_CreateRenderer(screen->window_.get(), -1, 0));
  if (!screen->renderer_) {
    std::fprintf(stderr, "Tamsel: cannot draw in the window: %s\n", SDL_GetError());
    return nullptr;
  }
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  SDL_RenderSetLogicalSize(screen->renderer_.get(), kScreenWidth, kScreenHeight);
  SDL_RenderSetIntegerScale(screen->renderer_.get(), settings.integerScaling ? SDL_TRUE : SDL_FALSE);
  screen->texture_.reset(SDL_CreateTexture(screen->renderer_.get(), SDL_PIXELFORMAT_RGB888,
                                           SDL_TEXTUREACCESS_STREAMING, kScreenWidth,
                                           kScreenHeight));
  if (!screen->texture_) {
    std::fprintf(stderr, "Tamsel: cannot make the screen texture: %s\n", SDL_GetError());
    return nullptr;
  }
  return screen;
}

void SdlScreen::SetIcon(const RgbaPicture& icon) {
  // The bytes are red, green, blue, alpha in memory order, whatever the machine's byte order.
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormatFrom(
      const_cast<uint8_t*>(icon.rgba.data()), icon.width, icon.height, 32, icon.width * 4,
      SDL_PIXELFORMAT_RGBA32);
  if (surface == nullptr) return;
  SDL_SetWindowIcon(window_.get(), surface);
  SDL_FreeSurface(surface);
}

void SdlScreen::ToggleFullscreen() {
  const bool fullscreen = (SDL_GetWindowFlags(window_.get()) & SDL_WINDOW_FULLSCREEN) != 0;
  SDL_SetWindowFullscreen(window_.get(), fullscreen ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

// True when the scaled page covers the whole window, so no border needs clearing.
bool SdlScreen::PageFillsWindow() const {
  SDL_Renderer* renderer = renderer_.get();
  int width = 0, height = 0;
  if (SDL_GetRendererOutputSize(renderer, &width, &height) != 0) return false;
  SDL_Rect viewport;
  float scaleX = 0, scaleY = 0;
  SDL_RenderGetViewport(renderer, &viewport);
  SDL_RenderGetScale(renderer, &scaleX, &scaleY);
  return viewport.x == 0 && viewport.y == 0 && kScreenWidth * scaleX >= float(width) &&
         kScreenHeight * scaleY >= float(height);
}

void SdlScreen::Present(const Surface* page, const Palette& palette) {
  SDL_Renderer* renderer = renderer_.get();
  const bool fits = page != nullptr && page->Width() == kScreenWidth &&
                    page->Height() == kScreenHeight;
  if (!fits || !PageFillsWindow()) {
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
  }
  void* pixels = nullptr;
  int pitch = 0;
  if (fits && SDL_LockTexture(texture_.get(), nullptr, &pixels, &pitch) == 0) {
    ConvertPageToXrgb(page->Pixels(), kScreenWidth, kScreenHeight, size_t(kScreenWidth), palette,
                      pixels, size_t(pitch));
    SDL_UnlockTexture(texture_.get());
    SDL_RenderCopy(renderer, texture_.get(), nullptr, nullptr);
  }
  SDL_RenderPresent(renderer);
}

}  // namespace platform::sdl
