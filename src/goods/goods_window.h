// The goods window: the hero's 16 slots, use with CTRL, throw away with A, leave with ESC.
#pragma once

// Returns 1 when at least one goods was used while the window was open.
int RunGoodsWindow();
void DrawGoodsWindow(int nCursor);

struct GoodsRecord;
// The panel that the goods window and the shops share, drawn over the world into the back
// buffer (not flipped): the effects and description of the goods in slot nCursor of the 16
// slots, the money line, and the slots with the cursor frame. Returns the goods under the
// cursor (nullptr for an empty slot); the caller writes their headline at (120, 110).
const GoodsRecord* DrawGoodsPanel(const char* slots, int nCursor, const char* moneyLine);
// The cursor keys of the goods screens, tested in the order RIGHT, LEFT, DOWN, UP: the step the
// first one found down moves the cursor round the 16 slots (1, 15, 8, 8), once it is released;
// 0 when none is down.
int TakeGoodsCursorStep();
