// Starting the SDL backend: video and events are required, gamepads and audio are optional.
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "platform/sdl/modal_box.h"
#include "platform/sdl/sdl_backend.h"

namespace platform {

namespace {

// SDL falls back on drivers that draw into memory when it finds no display (an ssh session, a
// console): the game would then run where nobody sees it. They serve only when asked for.
bool ShowsNothing(const char* driver) {
  return driver != nullptr && (std::strcmp(driver, "offscreen") == 0 || std::strcmp(driver, "dummy") == 0);
}

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
  const char* asked = std::getenv("SDL_VIDEODRIVER");
  if (ShowsNothing(SDL_GetCurrentVideoDriver()) && (asked == nullptr || asked[0] == '\0')) {
    std::fprintf(stderr,
                 "Tamsel: no display to open (SDL found only its '%s' video driver; set "
                 "SDL_VIDEODRIVER=%s to run on it anyway).\n"
                 "Run the game in a desktop session, or without a screen with --headless.\n",
                 SDL_GetCurrentVideoDriver(), SDL_GetCurrentVideoDriver());
    SDL_Quit();
    return false;
  }
  sdl::TieForkedHelpersToTheGame();
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
