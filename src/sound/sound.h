// The nine sound effects of fights: one buffer per file, by voice, played from the start.
#pragma once

#include <cstdint>

#include "core/map_types.h"

namespace platform {
class SoundBuffer;
}

constexpr int kVoiceCount = 3;

// Death cries, cries of pain and attack sounds, indexed by voice (0 the hero, 1 and 2 enemies).
// A slot is nullptr when its file failed to load or sound is off.
extern platform::SoundBuffer* lpDSBDead[kVoiceCount];
extern platform::SoundBuffer* lpDSBPain[kVoiceCount];
extern platform::SoundBuffer* lpDSBAttack[kVoiceCount];

// The voice of each character picture (nPicture 0 to 14).
extern const int32_t aVoice[kNpcSheetCount];
// The voice of a character picture; voice 1 for a picture outside 0 to 14.
int VoiceOf(int32_t nPicture);

int InitSound();
void LoadSounds();
platform::SoundBuffer* LoadWave(const char* fileName);
// Plays the buffer once from its start; nothing when it is still playing, absent or sound off.
void PlayEffect(platform::SoundBuffer* buffer, int flags);
void ReleaseSound();
