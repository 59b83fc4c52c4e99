// The game's name drawn as large gold letters.
#pragma once

#include "image.h"

namespace pictures {

// Paints "Tamsel" with its baseline at `baseline`, centred on x = `centre`; letters are about
// 110 pixels high, gold with a bevel, a dark outline and a drop shadow.
void PaintTitleName(Image& img, int centre, int baseline);

}  // namespace pictures
