// What sound costs the game thread on the real SDL backend (SDL's dummy video and audio
// drivers unless others are set): asking for an effect, and starting the music — the first
// start of a piece on a fresh sound device, and the restart of the piece that plays (the
// background music's restart every minute). A music start must never hold a frame.
#include <benchmark/benchmark.h>

#include <SDL.h>

#include <cstdlib>
#include <vector>

#include "core/game_state.h"
#include "platform/backend/backend.h"
#include "platform/sound.h"
#include "platform/system.h"
#include "sound/music.h"
#include "sound/sound.h"

namespace {

// The SDL backend with its sound device open, for the length of one benchmark.
class SdlSound {
 public:
  SdlSound() {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    platform::SetDataDirectory(TAMSEL_DATA_DIR);
    bSoundOn = 1;
    ok_ = platform::UseSdlBackend(platform::SdlOptions{.windowed = true}) && InitSound() == 1;
  }
  ~SdlSound() {
    ReleaseSound();
    platform::headless::UseHeadlessBackend(platform::headless::Options{});  // ends SDL
  }
  bool Ok() const { return ok_; }

 private:
  bool ok_ = false;
};

// A tone of the given length, 16-bit mono at 22050 Hz.
platform::SoundBuffer* Tone(int milliseconds) {
  const platform::WaveFormat format{platform::kWaveFormatPcm, 1, 22050, 16};
  std::vector<uint8_t> samples(size_t(2 * 22050 * milliseconds / 1000), 0x40);
  return platform::CreateSoundBuffer("tone", format, samples);
}

// The effect is still playing: the common case while blows follow each other.
void BM_PlayEffectWhilePlaying(benchmark::State& state) {
  SdlSound sound;
  platform::SoundBuffer* effect = sound.Ok() ? Tone(20000) : nullptr;
  if (effect == nullptr) return state.SkipWithError("no sound device");
  PlayEffect(effect, 0);
  for (auto _ : state) PlayEffect(effect, 0);
}
BENCHMARK(BM_PlayEffectWhilePlaying);

// Each call starts an effect from its start. Between batches the effects are given time to
// end, untimed.
void BM_PlayEffectStart(benchmark::State& state) {
  SdlSound sound;
  std::vector<platform::SoundBuffer*> effects;
  for (int i = 0; sound.Ok() && i < 256; ++i) effects.push_back(Tone(1));
  if (effects.empty() || effects.back() == nullptr) return state.SkipWithError("no sound device");
  size_t next = 0;
  int64_t skipped = 0;
  for (auto _ : state) {
    if (platform::SoundBufferPlaying(effects[next])) ++skipped;
    PlayEffect(effects[next], 0);
    if (++next == effects.size()) {
      state.PauseTiming();
      for (platform::SoundBuffer* effect : effects) {
        while (platform::SoundBufferPlaying(effect)) SDL_Delay(1);
      }
      next = 0;
      state.ResumeTiming();
    }
  }
  state.counters["skipped"] = double(skipped);
}
BENCHMARK(BM_PlayEffectStart)->Iterations(256 * 16);

// The first piece of a run: nothing is loaded yet (the sound font loads meanwhile, off the
// game thread; closing the device waits for it, untimed).
void BM_PlayMusicFirstStart(benchmark::State& state) {
  SdlSound sound;
  if (!sound.Ok()) return state.SkipWithError("no sound device");
  for (auto _ : state) {
    PlayMusic("voc\\title.mid");
    state.PauseTiming();
    ReleaseSound();
    InitSound();
    state.ResumeTiming();
  }
}
BENCHMARK(BM_PlayMusicFirstStart)->Iterations(5)->Unit(benchmark::kMicrosecond);

// The background music restarted while it plays.
void BM_PlayMusicRestart(benchmark::State& state) {
  SdlSound sound;
  if (!sound.Ok()) return state.SkipWithError("no sound device");
  PlayMusic("voc\\back.mid");
  for (auto _ : state) PlayMusic("voc\\back.mid");
}
BENCHMARK(BM_PlayMusicRestart)->Unit(benchmark::kMicrosecond);

}  // namespace
