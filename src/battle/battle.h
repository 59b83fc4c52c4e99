// A fight between the hero and one enemy on the battle map.
#pragma once

#include <cstdint>

#include "world/map_types.h"

constexpr int kBattleWon = 0;
constexpr int kBattleEscaped = 1;
constexpr int kBattleDead = 2;

// Returns kBattleWon, kBattleEscaped or kBattleDead.
int32_t RunBattle(NpcRecord enemy, int32_t nArenaMap, int32_t nEscapeHold);

void DrawBattleScreen(int32_t cursor, NpcRecord enemy);
NpcRecord HeroAttack(NpcRecord enemy);
NpcRecord EnemyAttack(NpcRecord enemy);
// 0 the enemy fell (victory shown and applied), 1 the hero fell (death shown), 2 both stand.
int32_t CheckBattleOutcome(NpcRecord enemy);
