// A wave file: loaded into an effect's buffer of the sound device and played.
#include <cstdint>

#include "core/game_state.h"
#include "fuzz_world.h"
#include "platform/backend/backend.h"
#include "sound/sound.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::StartWorld();
  platform::headless::ClearLog();  // refusals are reported in the log: keep it small
  constexpr const char* kName = "voc\\fuzz.wav";
  fuzz::WriteGameFile(kName, data, size);
  bSoundOn = 1;
  InitSound();
  platform::SoundBuffer* buffer = LoadWave(kName);
  PlayEffect(buffer, 0);
  ReleaseSound();  // the device, with every buffer it made
  return 0;
}
