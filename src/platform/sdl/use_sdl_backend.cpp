// Starting the SDL backend: video and events are required, audio is optional.
#include <SDL.h>

#include <cstdio>
#include <memory>

#include "platform/sdl/sdl_backend.h"

namespace platform {

bool UseSdlBackend(const SdlOptions& options) {
  detail::InstallBackend(nullptr);  // a backend in use ends before SDL starts again
  // Ctrl+C in the terminal arrives as a close request (SDL's signal handlers).
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
    std::fprintf(stderr,
                 "Tamsel: no display to open (%s).\n"
                 "Run the game in a desktop session, or without a screen with --headless.\n",
                 SDL_GetError());
    SDL_Quit();
    return false;
  }
  detail::InstallBackend(std::make_unique<sdl::SdlBackend>(options));
  return true;
}

}  // namespace platform
