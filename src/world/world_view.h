// Composing the current map, its characters and the hero into the back buffer.
#pragma once

void DrawWorld();
void DrawMap();
void DrawNpcs();
