// The game's window: 640 × 480 logical pixels scaled to the window or the desktop, sharp
// (nearest neighbour) and with the shape kept, by whole multiples only when the settings ask
// for it; it shows an 8-bit page through its palette.
#pragma once

#include <SDL.h>

#include <memory>

#include "platform/pixels/png_writer.h"
#include "platform/pixels/surface.h"
#include "platform/settings.h"

namespace platform::sdl {

class SdlScreen {
 public:
  // Opens the window, full screen on the desktop or as a window of the settings' scale (made
  // smaller when the desktop is). Nothing on failure.
  static std::unique_ptr<SdlScreen> Open(const Settings& settings);

  void SetIcon(const RgbaPicture& icon);
  void ToggleFullscreen();
  // Shows the page through the palette; nullptr shows black.
  void Present(const Surface* page, const Palette& palette);
  SDL_Window* Window() const { return window_.get(); }

 private:
  bool PageFillsWindow() const;

  struct WindowDeleter {
    void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
  };
  struct RendererDeleter {
    void operator()(SDL_Renderer* r) const { SDL_DestroyRenderer(r); }
  };
  struct TextureDeleter {
    void operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }
  };

  // Members are destroyed in reverse order: texture, renderer, then window.
  std::unique_ptr<SDL_Window, WindowDeleter> window_;
  std::unique_ptr<SDL_Renderer, RendererDeleter> renderer_;
  std::unique_ptr<SDL_Texture, TextureDeleter> texture_;
};

}  // namespace platform::sdl
