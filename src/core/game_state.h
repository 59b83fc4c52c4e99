// The program-wide game state: the hero, the view on the current map, the story counters
// and the application flags. The saved ones are written whole into a saved game.
#pragma once

#include <cstdint>

#include "core/map_types.h"

extern NpcRecord hero;

extern int32_t nMap;
extern int32_t nViewCol;
extern int32_t nViewRow;
extern int32_t nLastViewCol;
extern int32_t nLastViewRow;
extern int32_t nScrollX;
extern int32_t nScrollY;
extern int32_t nLastScrollX;
extern int32_t nLastScrollY;
extern int32_t nStoryStage;
extern int32_t nStoryFlag;

// Application flags (not saved).
extern int bAppActive;
extern int bSoundOn;

// The current map's entry (nMap kept within 0 to 7).
MapInfo& CurrentMap();

// Resets every saved variable but the maps to the values of a new game.
void InitNewGame();
