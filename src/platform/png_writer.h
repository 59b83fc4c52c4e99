// Screenshots: an 8-bit surface written as a PNG through a palette.
#pragma once

#include <string>

#include "platform/surface.h"

namespace platform {

// Returns false (and writes nothing usable) when the file cannot be written.
bool WritePng(const std::string& hostPath, const Surface& surface, const Palette& palette);

}  // namespace platform
