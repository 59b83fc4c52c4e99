// The goods table and goods slots: every thing the hero can carry, find, buy, sell or use.
#pragma once

#include <cstdint>

#include "core/map_types.h"

struct GoodsRecord {
  int32_t nId;
  char szName[32];
  char szText[100];
  int32_t nValue;
  int32_t nAddExp;
  int32_t nAddLife;
  int32_t nAddAttack;
  int32_t nAddDefense;
};

constexpr int kGoodsCount = 20;
constexpr int kGoodsSlots = 16;
constexpr char kEmptySlot = ' ';

// Indexed by goods index (slot byte - '0'); 0 and 1 are never filled.
extern GoodsRecord aGoods[kGoodsCount];
// How many records the goods file defined: indices 2 to 1 + nGoodsRead are filled, whatever
// their names say (an empty name is still a thing the hero can carry).
extern int nGoodsRead;

// Reads "text/goods.dat" into aGoods (at most 18 records, from index 2). A missing file
// leaves the table empty.
void LoadGoods();

// The goods a slot byte names, or nullptr when the byte names no index the goods file defined
// (a space, a zero byte, damage): such a slot counts as empty everywhere.
const GoodsRecord* GoodsOfSlot(char slot);

// How many of a record's 16 slots hold goods.
int CountGoods(const NpcRecord& npc);
// Writes the slot byte into the first empty slot (space-padded); nothing when all are full.
void AddGoods(NpcRecord& npc, char slot);
