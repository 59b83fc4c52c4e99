// Saved games: the whole game state in one of five slot files.
#pragma once

// Returns 1 when the slot's file was written whole, else 0 (the slot's old game is kept).
int SaveGame(int slot);
// Returns 1 when the slot was read and applied; 0 leaves the game exactly as it was.
int LoadGame(int slot);
