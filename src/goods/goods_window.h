// The goods window: the hero's 16 slots, use with CTRL, throw away with A, leave with ESC.
#pragma once

// Returns 1 when at least one goods was used while the window was open.
int RunGoodsWindow();
void DrawGoodsWindow(int nCursor);
