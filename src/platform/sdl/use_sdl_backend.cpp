// Starting the SDL backend: video and events are required, gamepads and audio are optional.
#include <SDL.h>

#include <cstdio>
#include <memory>

#include "platform/sdl/sdl_backend.h"

namespace platform {

namespace {

bool StartSdl(const Settings& settings, const headless::Options* demo) {
  detail::InstallBackend(nullptr);  // a backend in use ends before SDL starts again
  // The name the sound server's mixer and the screen saver show for the game.
  SDL_SetHint(SDL_HINT_APP_NAME, "Tamsel");
  // Ctrl+C in the terminal arrives as a close request (SDL's signal handlers).
  if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER) != 0) {
    std::fprintf(stderr,
                 "Tamsel: no display to open (%s).\n"
                 "Run the game in a desktop session, or without a screen with --headless.\n",
                 SDL_GetError());
    SDL_Quit();
    return false;
  }
  // Without gamepad support (no device access) the keyboard still plays.
  if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) {
    std::fprintf(stderr, "tamsel: no gamepads (%s)\n", SDL_GetError());
  }
  detail::InstallBackend(std::make_unique<sdl::SdlBackend>(settings, demo));
  return true;
}

}  // namespace

bool UseSdlBackend(const Settings& settings) { return StartSdl(settings, nullptr); }

bool UseSdlDemoBackend(const Settings& settings, const headless::Options& demo) {
  return StartSdl(settings, &demo);
}

bool UseSdlBackend(const SdlOptions& options) {
  Settings settings;
  settings.fullscreen = !options.windowed;
  return UseSdlBackend(settings);
}

}  // namespace platform
