// The About screen: the game's title, the authors' note, and the scrolling About text.
#pragma once

void ShowAbout();
