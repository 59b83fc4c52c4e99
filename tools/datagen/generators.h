// The parts of the data-set generator. Each writes its files below `out` from the sources
// below `sources` and returns false after printing what went wrong to standard error.
#pragma once

#include <filesystem>

namespace datagen {

// pic/*.bmp: the shared game palette, tiles, sheets, panels, explosion, goods and title.
bool GeneratePictures(const std::filesystem::path& sources, const std::filesystem::path& out);
// maps/*.map, maps/*.npc, text/talk.txt, text/goods.dat, text/gp.txt.
bool GenerateWorld(const std::filesystem::path& sources, const std::filesystem::path& out);
// voc/*.wav and voc/*.mid.
bool GenerateSounds(const std::filesystem::path& sources, const std::filesystem::path& out);

}  // namespace datagen
