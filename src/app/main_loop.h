// The program's entry, its message loop, frame pacing and window procedure.
#pragma once

#include <cstdint>

extern int nLastFrameTick;
extern int nFrameTick;
extern int nMusicTicks;

// Start-up in order, then the message loop; returns the exit code.
int WinMain();
intptr_t MainWndProc(int message, intptr_t wParam, intptr_t lParam);
// Called by the message loop: runs the frame body at most once every 30 ms.
void GameFrame();
