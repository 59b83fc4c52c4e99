// The shops: buying from a keeper's stock and selling to the buyer.
#pragma once

#include "world/map_types.h"

// mode 1 buy, 2 sell; returns 1 when anything changed hands.
int RunShop(NpcRecord shop, int mode);
void DrawShop(const NpcRecord& shop, int nCursor, int mode);
void ShowMessage(const char* text, int x, int y);
