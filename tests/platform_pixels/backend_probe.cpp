// Until the headless backend is part of the build, the pixel tests answer the backend hooks
// themselves. Weak, so the real backend's definitions win once it is linked in.
#include "backend_probe.h"

#include "platform/backend_hooks.h"

namespace {
platform::headless::Faults gFaults;
int gFlips = 0;
int gPaletteLoads = 0;
}  // namespace

namespace platform::detail {
__attribute__((weak)) const headless::Faults* ActiveFaults() { return &gFaults; }
__attribute__((weak)) void OnPaletteLoad() { ++gPaletteLoads; }
__attribute__((weak)) void OnFlip() { ++gFlips; }
}  // namespace platform::detail

namespace probe {

void UseBackend(const platform::headless::Faults& faults) {
  gFaults = faults;
  gFlips = 0;
  gPaletteLoads = 0;
}
int Flips() { return gFlips; }
int PaletteLoads() { return gPaletteLoads; }

}  // namespace probe
