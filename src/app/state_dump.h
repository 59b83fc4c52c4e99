// The game state as JSON, for scripted runs to compare and inspect.
#pragma once

#include <string>

// The position and story words, the hero, every map with its size and characters, the
// fight under way (its enemy copy and command cursor), and the page flips and palette loads
// the headless backend has counted.
std::string DumpGameState();
