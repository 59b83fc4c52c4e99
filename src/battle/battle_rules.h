// The arithmetic of a fight: how hard a blow strikes and whether an escape works.
#pragma once

#include <cstdint>

// Figures of a record stay 32-bit: sums that would leave that range (a damaged saved game can
// hold any figure) stop at its ends instead of overflowing.
int32_t SaturatedFigure(int64_t value);

// The hero's sounds are those of voice 0; an enemy's voice comes from its picture (VoiceOf).
constexpr int kHeroVoice = 0;

// The damage of one blow. With base = 2 × attack − defense: base to 2 × base when base is
// above 10, otherwise 0 to 10. Every blow hits; none heals.
int32_t BlowDamage(int32_t attack, int32_t defense);

// One escape try: a number from 0 to 100 must come out above the hold.
bool EscapeSucceeds(int32_t nEscapeHold);

// Experience the hero needs for one level; the same at every level.
constexpr int32_t kExpPerLevel = 100;

// Turns every whole 100 of the hero's experience into a level: +1 attack, +1 defense and +30
// maximum life each, and half of the life the hero then lacks comes back. Returns the number
// of levels gained (0 when the experience is below 100).
int32_t RaiseLevels();
