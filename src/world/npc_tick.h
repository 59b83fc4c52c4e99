// The character tick: every 400 ms the characters of the current map walk, turn and attack.
#pragma once

#include "core/map_types.h"

void MoveNpcs();

// Record i of the current map, or nullptr when the map (perhaps just read afresh by the title
// sequence) has no such record.
NpcRecord* CurrentNpc(int i);

// Turns a character to face the hero, whatever way the hero looks (the hero's sheet rows run
// down, left, right, up; the characters' down, left, up, right).
void FaceHero(NpcRecord& npc);
