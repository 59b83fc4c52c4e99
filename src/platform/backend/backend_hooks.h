// How the pixel code and the backends reach each other inside the platform layer.
// Game code never includes this.
#pragma once

#include "platform/backend/backend.h"

namespace platform::detail {

// Implemented by the backends (sdl/, headless/).
// The faults a headless test injects; nullptr with the SDL backend.
const headless::Faults* ActiveFaults();
// A palette load into the palette attached to the screen: the backend shows it, paces it so a
// 256-load fade takes about half a second, and takes it as a poll (it may throw QuitRequested).
void OnPaletteLoad();
// The pages were exchanged.
void OnFlip();

// Implemented by the pixel code (surface.cpp): every live surface marked lost.
void MarkAllSurfacesLost();

}  // namespace platform::detail
