// Whole maps of the generated data set drawn with their tiles and characters, to judge each map
// as the player will walk it.
#pragma once

#include <string>

#include "mock_screens.h"

namespace contactsheet {

// Writes map_NAME.png for every DATA_DIR/maps/NAME.map; returns how many were written.
int WriteWorldMaps(const PictureSet& pics, const std::string& data_dir, const std::string& out_dir);

}  // namespace contactsheet
