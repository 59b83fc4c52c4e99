#include "battle/arena.h"

#include <algorithm>

#include "battle/battle.h"
#include "core/game_state.h"

namespace {

constexpr int32_t kHeroFacingRight = 2;  // row of the hero's sheet
constexpr int32_t kEnemyFacingLeft = 1;  // row of a character's sheet

const NpcRecord* lpFightEnemy = nullptr;
const int32_t* lpFightCursor = nullptr;

// The eight values that place the view, in one order for saving and putting back.
int32_t* const kViewValues[8] = {&nViewCol,     &nViewRow,     &nScrollX,     &nScrollY,
                                 &nLastViewCol, &nLastViewRow, &nLastScrollX, &nLastScrollY};

// The map a fight is shown on, kept within the table as the current map is.
MapInfo& ArenaMap(int32_t nArenaMap) { return mapTable[std::clamp(nArenaMap, 0, kMapCount - 1)]; }

}  // namespace

const NpcRecord* BattleEnemy() { return lpFightEnemy; }
int32_t BattleCursor() { return lpFightCursor != nullptr ? *lpFightCursor : 0; }

ArenaScope::ArenaScope(const NpcRecord& enemy, int32_t nArenaMap, const int32_t& cursor)
    : map_(nMap), arena_(ArenaMap(nArenaMap)), arenaCount_(arena_.nNpcCount), hero_(hero) {
  for (int i = 0; i < 8; ++i) view_[i] = *kViewValues[i];

  nMap = nArenaMap;
  hero.nX = nHeroBattleX;
  hero.nY = nHeroBattleY;
  hero.nDirection = kHeroFacingRight;
  hero.nFrame = 0;
  for (int32_t* value : kViewValues) *value = 0;

  // The enemy's copy is the arena's only character. An arena whose list is empty (damaged
  // data) gets a slot for it rather than a write past its end.
  if (arena_.lpNpcs.empty()) arena_.lpNpcs.resize(1);
  NpcRecord& figure = arena_.lpNpcs[0];
  figure = enemy;
  figure.nX = nEnemyBattleX;
  figure.nY = nEnemyBattleY;
  figure.nDirection = kEnemyFacingLeft;
  figure.nFrame = 0;
  arena_.nNpcCount = 1;

  lpFightEnemy = &enemy;
  lpFightCursor = &cursor;
}

ArenaScope::~ArenaScope() {
  if (!settled_) PutBackWorld();
  // A victory empties the arena's list to take the fallen enemy off the screen; the arena
  // gets back the number of characters the maps gave it.
  arena_.nNpcCount = arenaCount_;
  lpFightEnemy = nullptr;
  lpFightCursor = nullptr;
}

void ArenaScope::PutBackWorld() {
  nMap = map_;
  for (int i = 0; i < 8; ++i) *kViewValues[i] = view_[i];
  hero.nX = hero.nLastX = hero_.nX;
  hero.nY = hero.nLastY = hero_.nY;
  hero.nDirection = hero_.nDirection;
  hero.nFrame = hero_.nFrame;
  settled_ = true;
}

void ArenaScope::LeaveAsItIs() { settled_ = true; }
