// A character list: data/characters/NAME.txt (field lines, UTF-8) into maps/NAME.npc (GBK).
#pragma once

#include <filesystem>

#include "datagen/world/goods_builder.h"

namespace datagen {

struct MapSize {
  int width = 0;
  int height = 0;
};

// Reads the source, checks every record against the map's size and the goods table, and
// writes the character file. Throws SourceError.
void BuildNpcs(const std::filesystem::path& source, const std::filesystem::path& out,
               MapSize map, const GoodsTable& goods);

}  // namespace datagen
