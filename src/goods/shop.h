// The shops: buying from a keeper's stock and selling to the buyer.
#pragma once

#include <cstdint>

#include "core/map_types.h"

// mode 1 buy, 2 sell; returns 1 when anything changed hands.
int RunShop(NpcRecord shop, int mode);
void DrawShop(const NpcRecord& shop, int nCursor, int mode);
void ShowMessage(const char* text, int x, int y);
// Changes the hero's money by a sale, a purchase or a find; a damaged saved game's sum stops at
// the ends of its range instead of wrapping round.
void AddMoney(int64_t amount);
