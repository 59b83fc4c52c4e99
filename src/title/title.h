// The title sequence with its main menu, the typed story screens and the menu list drawing.
#pragma once

#include <cstdint>

void RunTitleMenu();
void TypeText(const char* text, uint32_t color);
void DrawMenu(int x, int y, int cursor, const char* const* entries, int count,
              uint32_t textColor, uint32_t highlightColor);
