// Background music through command strings; silent while sound is off.
#pragma once

// "close all", "open FILE", "play FILE".
void PlayMusic(const char* file);
// "close all".
void StopMusic();
