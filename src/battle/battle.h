// A fight between the hero and one enemy on the battle map.
#pragma once

#include <cstdint>

#include "core/map_types.h"

constexpr int kBattleWon = 0;
constexpr int kBattleEscaped = 1;
constexpr int kBattleDead = 2;

// Where the two fighters stand on the battle screen: screen pixels, y the feet line.
constexpr int32_t nHeroBattleX = 130;
constexpr int32_t nHeroBattleY = 270;
constexpr int32_t nEnemyBattleX = 470;
constexpr int32_t nEnemyBattleY = 270;

// Returns kBattleWon, kBattleEscaped or kBattleDead.
int32_t RunBattle(NpcRecord enemy, int32_t nArenaMap, int32_t nEscapeHold);

void DrawBattleScreen(int32_t cursor, NpcRecord enemy);
NpcRecord HeroAttack(NpcRecord enemy);
NpcRecord EnemyAttack(NpcRecord enemy);
// What CheckBattleOutcome found.
constexpr int32_t kOutcomeEnemyDown = 0;  // the victory has been shown and applied
constexpr int32_t kOutcomeHeroDown = 1;   // the death has been shown
constexpr int32_t kOutcomeBothStand = 2;
int32_t CheckBattleOutcome(NpcRecord enemy);

// The fight under way, for the state dump: the enemy's fighting copy (nullptr when no fight
// is on) and the highlighted command.
const NpcRecord* BattleEnemy();
int32_t BattleCursor();
