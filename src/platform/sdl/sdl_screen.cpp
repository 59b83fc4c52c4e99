#include "platform/sdl/sdl_screen.h"

#include <cstdio>

#include "platform/display_device.h"
#include "platform/page_to_rgb.h"

namespace platform::sdl {

std::unique_ptr<SdlScreen> SdlScreen::Open(bool windowed) {
  auto screen = std::make_unique<SdlScreen>();
  const Uint32 flags = windowed ? SDL_WINDOW_RESIZABLE : SDL_WINDOW_FULLSCREEN_DESKTOP;
  screen->window_.reset(SDL_CreateWindow("Tamsel", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED,
                                         kScreenWidth, kScreenHeight, flags));
  if (!screen->window_) {
    std::fprintf(stderr, "Tamsel: cannot open the window: %s\n", SDL_GetError());
    return nullptr;
  }
  // No vsync: the game paces itself, and a fade of 256 palette loads must not wait 256 frames.
  screen->renderer_.reset(SDL_CreateRenderer(screen->window_.get(), -1, 0));
  if (!screen->renderer_) {
    std::fprintf(stderr, "Tamsel: cannot draw in the window: %s\n", SDL_GetError());
    return nullptr;
  }
  SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
  SDL_RenderSetLogicalSize(screen->renderer_.get(), kScreenWidth, kScreenHeight);
  screen->texture_.reset(SDL_CreateTexture(screen->renderer_.get(), SDL_PIXELFORMAT_RGB888,
                                           SDL_TEXTUREACCESS_STREAMING, kScreenWidth,
                                           kScreenHeight));
  if (!screen->texture_) {
    std::fprintf(stderr, "Tamsel: cannot make the screen texture: %s\n", SDL_GetError());
    return nullptr;
  }
  return screen;
}

void SdlScreen::ToggleFullscreen() {
  const bool fullscreen = (SDL_GetWindowFlags(window_.get()) & SDL_WINDOW_FULLSCREEN) != 0;
  SDL_SetWindowFullscreen(window_.get(), fullscreen ? 0 : SDL_WINDOW_FULLSCREEN_DESKTOP);
}

void SdlScreen::Present(const Surface* page, const Palette& palette) {
  SDL_Renderer* renderer = renderer_.get();
  SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
  SDL_RenderClear(renderer);
  const bool fits = page != nullptr && page->Width() == kScreenWidth &&
                    page->Height() == kScreenHeight;
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
