// The game's random generator: linear congruential, seeded once at start-up, so a seed
// replays a game exactly (the fights, the characters' walks).
#pragma once

#include <cstdint>

void SeedRandom(uint32_t seed);
// A number from 0 to n.
int RandomUpTo(int n);
