// The five-slot menus for saving and loading.
#pragma once

int RunSaveMenu();
int RunLoadMenu();
