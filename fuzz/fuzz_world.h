// What the fuzz programs share: a started game on the headless backend, with the display, the
// pictures and the maps of the real data set, and a scratch data folder where each input is
// written under a game file name for the loader to read, so that what a loader read can then
// be drawn or used the way the game uses it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace fuzz {

// Once per process: starts the headless backend, its window and the display, loads the maps,
// characters, dialogue and goods of the real data set, then makes the (empty) scratch folder
// the data folder. Ends the program with a message when the real data set cannot be read.
void StartWorld();

// Writes the input under a game file name ("maps\\home.map") in the scratch folder.
void WriteGameFile(const char* gameName, const uint8_t* data, size_t size);

// Stops the fuzz program at once when a property that must hold does not.
void Require(bool holds, const char* what);

}  // namespace fuzz
