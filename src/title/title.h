// The title sequence with its main menu and the typed story screens.
#pragma once

#include <cstdint>

void RunTitleMenu();
void TypeText(const char* text, uint32_t color);
