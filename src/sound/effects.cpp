// The nine effects of fights: the sound device, loading the effects into their slots, and
// playing one from its start.
#include "core/game_state.h"
#include "platform/sound.h"
#include "platform/system.h"
#include "sound/sound.h"

platform::SoundBuffer* lpDSBDead[kVoiceCount];
platform::SoundBuffer* lpDSBPain[kVoiceCount];
platform::SoundBuffer* lpDSBAttack[kVoiceCount];

const int32_t aVoice[kNpcSheetCount] = {2, 1, 2, 2, 1, 2, 1, 1, 2, 1, 1, 1, 1, 1, 2};

namespace {

// The files of each voice: its death cry, its cry of pain, its attack sound.
constexpr const char* kEffectFiles[kVoiceCount][3] = {
    {"voc\\dead_00.wav", "voc\\ao_00.wav", "voc\\ack_00.wav"},
    {"voc\\dead_01.wav", "voc\\ao_01.wav", "voc\\ack_01.wav"},
    {"voc\\dead_02.wav", "voc\\ao_02.wav", "voc\\ack_02.wav"},
};

}  // namespace

// A character record can carry any picture number (a damaged character file): those speak
// with the first enemy voice rather than reading past the table.
int VoiceOf(int32_t nPicture) {
  return nPicture >= 0 && nPicture < kNpcSheetCount ? aVoice[nPicture] : 1;
}

// Without a sound device the game runs silent, music included. With the sound switched off
// no device is opened at all (and no music thread started).
int InitSound() {
  if (bSoundOn == 0) return 0;
  if (!platform::OpenSoundDevice()) {
    platform::MessageBox("error on Create\nThe game goes on without sound.", "error");
    bSoundOn = 0;
    return 0;
  }
  return 1;
}

// Voice by voice: the death cry, then the cry of pain, then the attack sound. A file that
// fails leaves its slot empty, and its effect silent.
void LoadSounds() {
  for (int voice = 0; voice < kVoiceCount; ++voice) {
    lpDSBDead[voice] = LoadWave(kEffectFiles[voice][0]);
    lpDSBPain[voice] = LoadWave(kEffectFiles[voice][1]);
    lpDSBAttack[voice] = LoadWave(kEffectFiles[voice][2]);
  }
}

// The flags are always 0: play once.
void PlayEffect(platform::SoundBuffer* buffer, int /*flags*/) {
  if (bSoundOn == 0 || buffer == nullptr) return;
  if (platform::SoundBufferPlaying(buffer)) return;  // left playing, not started again
  platform::PlaySoundBuffer(buffer);
}

// Closing the device ends its buffers too; the slots forget them, so a late effect finds an
// empty slot instead of a buffer that is gone.
void ReleaseSound() {
  if (platform::SoundDeviceOpen()) platform::CloseSoundDevice();
  for (int voice = 0; voice < kVoiceCount; ++voice) {
    lpDSBDead[voice] = nullptr;
    lpDSBPain[voice] = nullptr;
    lpDSBAttack[voice] = nullptr;
  }
}
