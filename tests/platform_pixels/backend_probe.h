// What the pixel tests need of a backend: injected display faults and the counts of flips
// and palette loads the backend was told about.
#pragma once

#include "platform/backend.h"

namespace probe {

// Installs a fresh test backend with the given faults and zeroed counts.
void UseBackend(const platform::headless::Faults& faults = {});
int Flips();
int PaletteLoads();

}  // namespace probe
