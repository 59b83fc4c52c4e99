// Mock 640 × 480 game screens composed from the generated tiles, sheets and boxes, to judge how
// the maps and screens will look before the game itself draws them.
#pragma once

#include <map>
#include <string>

#include "indexed_bitmap.h"
#include "png_out.h"

namespace contactsheet {

// The pictures by file name ("maps.bmp", "npc01.bmp", ...).
using PictureSet = std::map<std::string, IndexedBitmap>;

// Writes mock_*.png into out_dir; returns how many were written.
int WriteMockScreens(const PictureSet& pics, const std::string& out_dir);

}  // namespace contactsheet
