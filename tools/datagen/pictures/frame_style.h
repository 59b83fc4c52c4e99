// The one frame style of the game's boxes: a bevelled bronze border with a gold bead around a calm,
// dark interior (the talk bar, the panel, the fight bar and the menu box all use it).
#pragma once

#include "image.h"

namespace pictures {

inline constexpr int kFrameWidth = 6;

// Dark interior with a faint dithered vertical gradient, lighter at the top.
void FillDarkInterior(Image& img, int x, int y, int w, int h);
// Light parchment interior for places where black text is written.
void FillLightInterior(Image& img, int x, int y, int w, int h);
// The bevelled border, kFrameWidth pixels wide, just inside the rectangle.
void DrawFrame(Image& img, int x, int y, int w, int h);
// A sunken 2-pixel rim around a recess (portrait wells, figure boards).
void DrawInset(Image& img, int x, int y, int w, int h);
// Cuts the outer corners of a keyed box with the colour key, so the box looks rounded.
void RoundCorners(Image& img, int x, int y, int w, int h);

}  // namespace pictures
