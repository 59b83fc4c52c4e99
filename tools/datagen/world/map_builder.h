// A map: data/maps/NAME.txt, a text grid with a legend of named tiles, into maps/NAME.map.
//
// Source layout (lines starting with "--" are comments):
//   name   home                   the 32-byte name stored in the file (ASCII)
//   ground wood_floor             the ground tile painted under every cell
//   legend                        then one line per symbol:
//   .  ground                       plain ground
//   #  tile inner_wall              an overlay tile of the catalogue, solid or not as listed
//   ,  tile flowers solid           ... or forced solid / walkable
//   D  event door_to_city_north     an event cell (door or story gate), by name
//   $  chest money                  a closed chest with money
//   h  chest herb                   a closed chest with goods (by goods icon name)
//   grid                          then the rows, one symbol per cell
#pragma once

#include <filesystem>

#include "datagen/world/goods_builder.h"
#include "datagen/world/npc_builder.h"

namespace datagen {

// Reads the source, checks it and writes the map file; returns the map's size.
// Throws SourceError.
MapSize BuildMap(const std::filesystem::path& source, const std::filesystem::path& out,
                 const GoodsTable& goods);

// The event code of an event cell name ("door_to_home"), or -1.
int EventCodeByName(std::string_view name);

}  // namespace datagen
