// The character tick: every 400 ms the characters of the current map walk, turn and attack.
#pragma once

void MoveNpcs();
