#include "platform/sdl/sdl_demo.h"

#include <SDL.h>

namespace platform::sdl {

namespace {

// When the clock falls this far behind the wall clock (a fade, which stops it, or a busy
// machine) it goes on from where it stands instead of rushing to catch up.
constexpr uint64_t kMostBehindMs = 50;

}  // namespace

DemoRun::DemoRun(const headless::Options& options, detail::KeyState& keys)
    : options_(options), run_(options_, keys, *this), origin_(SDL_GetPerformanceCounter()) {}

// Sleeps whole milliseconds until the wall clock reaches the clock's next time, then moves it.
bool DemoRun::Advance(uint32_t milliseconds) {
  const uint64_t frequency = SDL_GetPerformanceFrequency();
  const uint64_t due = origin_ + (uint64_t(run_.Now()) + milliseconds) * frequency / 1000;
  const uint64_t now = SDL_GetPerformanceCounter();
  if (int64_t(due - now) > 0) {
    SDL_Delay(uint32_t((due - now) * 1000 / frequency));
  } else if (now - due > kMostBehindMs * frequency / 1000) {
    origin_ += now - due;
  }
  return run_.Advance(milliseconds);
}

}  // namespace platform::sdl
