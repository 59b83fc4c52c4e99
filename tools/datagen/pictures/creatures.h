// The creatures of the wood and their frames: wolf, slime, tree demon and bat.
#pragma once

#include "image.h"
#include "people.h"

namespace pictures {

// Each paints one outlined 32 × 32 frame; `frame` is 0 or 1.
Image PaintWolf(Facing facing, int frame);
Image PaintSlime(Facing facing, int frame);
Image PaintTreeDemon(Facing facing, int frame);
Image PaintBat(Facing facing, int frame);

}  // namespace pictures
