// The pixel tests run on the headless backend.
#include "backend_probe.h"

namespace probe {

void UseBackend(const platform::headless::Faults& faults) {
  platform::headless::Options options;
  options.faults = faults;
  platform::headless::UseHeadlessBackend(options);
}
int Flips() { return platform::headless::GetLog().flips; }
int PaletteLoads() { return platform::headless::GetLog().paletteLoads; }

}  // namespace probe
