// The generated maps and characters, loaded once for the data checks, with the hero's
// collision rules: the 8 × 8 square 12 to 20 pixels right of the frame's left edge and
// 12 to 20 pixels above its feet must lie in cells below 0xA000.
#pragma once

#include <array>
#include <set>
#include <utility>
#include <string>
#include <vector>

#include "data_files.h"

namespace datacheck {

enum MapIndex { kHome, kCity, kWood, kArena, kPalace, kShop1, kShop2, kShop3, kMapCount };
inline constexpr std::array<const char*, kMapCount> kMapNames = {
    "home", "city", "wood", "f_wood", "palace", "shop01", "shop02", "shop03"};

struct World {
  std::array<Map, kMapCount> maps;
  std::array<std::vector<Npc>, kMapCount> npcs;
  std::array<std::vector<std::string>, kMapCount> npcLabels;
  bool complete = false;
};
const World& TheWorld();

// A map position of the hero: x of the frame's left edge, y of its feet line.
struct Point {
  int x = 0;
  int y = 0;
};

// Where a door puts the hero: map, screen position and view (scroll 0); the hero keeps the
// facing he walked through the door with (rows: +1 down, -1 up), so the door that leads back
// belongs right behind him.
struct Door {
  int code;
  int map;
  int screenX, screenY, viewCol, viewRow;
  int back;  // the event code of the way back
  int walk;  // +1 the hero walked down through the door, -1 up
  Point MapPosition() const { return {viewCol * 32 + screenX, viewRow * 32 + screenY}; }
};
// The doors of the game (the story gate to the wood once open, and to the palace once open).
const std::vector<Door>& Doors();

inline bool IsSolid(uint16_t code) { return code >= 0xA000; }
inline bool IsEvent(uint16_t code) { return code >= 0x5000 && code <= 0x5010; }
bool HeroFits(const Map& map, Point p);
// The cell under the hero's feet.
std::array<int, 2> FeetCell(Point p);
// The cell a character stands in, and whether its 16 × 16 square is clear of solid cells.
std::array<int, 2> NpcCell(const Npc& npc);
bool NpcFits(const Map& map, const Npc& npc);
// True when an active character stands within 24 pixels of the hero (it would block it).
bool CrowdedBy(const std::vector<Npc>& npcs, Point p);
// Every place the hero can walk to from the given places, 8 pixels a step as the game moves
// him, stopped by solid cells and by the people who never walk; doors are not walked past.
std::set<std::pair<int, int>> ReachablePlaces(const Map& map, const std::vector<Npc>& npcs,
                                              const std::vector<Point>& from);

}  // namespace datacheck
