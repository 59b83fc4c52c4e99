// Reading the map files and the character files into the map table.
#pragma once

// Reads map files 0 to 7; 0 as soon as one cannot be opened.
int LoadMaps();
// Reads character files 0 to 7; returns 1.
int LoadNpcs();
