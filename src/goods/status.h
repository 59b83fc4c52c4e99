// The hero's status panel, drawn straight onto the visible page.
#pragma once

// Draws the panel with the hero's picture and figures; waits for no key. The panel stays on
// screen until the caller's next redraw.
void ShowStatus();

// The hero's seven figures (level, experience, life, attack, defense, speed, money) on the
// visible page, shadowed, one line every lineStep pixels from top.
void PrintHeroFigures(int top, int lineStep);
