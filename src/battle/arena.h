// The arena a fight is shown on, and the world as the fight found it.
#pragma once

#include <cstdint>

#include "core/map_types.h"

// Made when a fight starts, in RunBattle: saves the map, the eight view values and the hero,
// moves to the arena map with the hero and the enemy's copy facing each other, and shows the
// fight (its enemy copy and command cursor, both RunBattle's) to the state dump.
// A fight that is left by a quit (the window closed, a script ended inside the fight) unwinds
// through the destructor, which puts the world back without drawing, so no arena outlives
// its fight. However the fight ends, the arena gets back the number of characters it had:
// a saved game is read only when every map has as many as the maps in play.
class ArenaScope {
 public:
  ArenaScope(const NpcRecord& enemy, int32_t nArenaMap, const int32_t& cursor);
  ~ArenaScope();
  ArenaScope(const ArenaScope&) = delete;
  ArenaScope& operator=(const ArenaScope&) = delete;

  // After a victory or an escape: the map, the view and the hero's place, direction and
  // frame come back; life, experience, goods and the rest keep what the fight made of them.
  void PutBackWorld();
  // After a death nothing is put back: the title screen takes over.
  void LeaveAsItIs();

 private:
  int32_t map_;
  MapInfo& arena_;
  int32_t arenaCount_;
  int32_t view_[8];
  NpcRecord hero_;
  bool settled_ = false;
};
