// The in-game menu that ESC opens in the world.
#pragma once

void RunGameMenu();
void DrawGameMenu(int nSelect);
