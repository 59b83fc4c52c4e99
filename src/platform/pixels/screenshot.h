// Screenshots the player takes (F12): the visible page as a PNG in the pictures folder.
#pragma once

#include <ctime>
#include <string>

#include "platform/pixels/surface.h"

namespace platform {

// Writes the page through the palette as FOLDER/tamsel-YYYY-MM-DD_HH-MM-SS.png (local time;
// "-2", "-3" … added when that name is taken), making the folder when it is missing. Returns
// the path written, or empty when nothing could be written.
std::string SaveScreenshot(const Surface& page, const Palette& palette, const std::string& folder,
                           std::time_t when);

}  // namespace platform
