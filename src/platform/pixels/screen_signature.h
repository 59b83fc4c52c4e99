// What the screen shows, in a form a backend can compare to know when to present again:
// the front page with its change count and the attached palette with its load count.
#pragma once

#include <cstdint>

#include "platform/display_device.h"

namespace platform::detail {

struct ScreenSignature {
  const Surface* page = nullptr;
  uint64_t pageVersion = 0;
  const PaletteObject* palette = nullptr;
  uint64_t paletteVersion = 0;
  bool operator==(const ScreenSignature&) const = default;
};

ScreenSignature CurrentScreenSignature();

}  // namespace platform::detail
