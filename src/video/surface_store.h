// Ownership of the picture surfaces behind the display's raw globals.
#pragma once

#include <memory>

#include "platform/pixels/surface.h"

// Keeps the surface until ReleaseSurface or ReleaseDisplay; returns it.
platform::Surface* KeepSurface(std::unique_ptr<platform::Surface> surface);
// Frees a kept surface and sets the pointer to nullptr; nullptr is left alone.
void ReleaseSurface(platform::Surface*& surface);
