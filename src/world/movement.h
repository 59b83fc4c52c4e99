// The hero's walking, scrolling and the events of door and gate cells.
#pragma once

// The cell under the hero's feet: its column and row on the current map.
int FeetColumn();
int FeetRow();
void RunTileEvent(int code);
// The frame body the message loop runs every 30 ms: keys, movement, drawing and the tile event.
void GameFrameBody();
