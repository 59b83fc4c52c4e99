// PLACEHOLDER so the game links while the sound effects are written; the fights issue
// replaces this whole file.
#include "sound/sound.h"

platform::SoundBuffer* lpDSBDead[kVoiceCount] = {};
platform::SoundBuffer* lpDSBPain[kVoiceCount] = {};
platform::SoundBuffer* lpDSBAttack[kVoiceCount] = {};
const int32_t aVoice[kNpcSheetCount] = {2, 1, 2, 2, 1, 2, 1, 1, 2, 1, 1, 1, 1, 1, 2};
int VoiceOf(int32_t nPicture) {
  return nPicture >= 0 && nPicture < kNpcSheetCount ? aVoice[nPicture] : 1;
}
int InitSound() { return 1; }
void LoadSounds() {}
platform::SoundBuffer* LoadWave(const char*) { return nullptr; }
void PlayEffect(platform::SoundBuffer*, int) {}
void ReleaseSound() {}
