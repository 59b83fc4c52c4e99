// The desktop's sound device: SDL_mixer opened on the default audio output. Each effect has
// a mixer channel of its own, so whether it is playing is a question about that channel.
// Its samples are converted once, when loaded, to the mixer's own format. The device also
// plays the music (SdlMusic), which lives and ends with it.
#pragma once

#include <SDL.h>
#include <SDL_mixer.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/backend/sound_device.h"
#include "platform/sdl/sdl_music.h"

namespace platform::sdl {

class SdlSound final : public detail::SoundDevice {
 public:
  // Starts SDL's audio and opens the mixer; nullptr when there is no audio output.
  static std::unique_ptr<SdlSound> Open();
  ~SdlSound() override;

  SoundBuffer* CreateBuffer(const std::string& name, const WaveFormat& format,
                            std::span<const uint8_t> samples) override;
  void Play(SoundBuffer& buffer) override;
  bool IsPlaying(const SoundBuffer& buffer) override;
  bool Owns(const SoundBuffer* buffer) const override { return buffers_.Contains(buffer); }
  void MusicCommand(const std::string& command) override { music_->Command(command); }

 private:
  struct Buffer final : SoundBuffer {
    std::vector<uint8_t> samples;  // in the mixer's format; the chunk points into it
    Mix_Chunk* chunk = nullptr;
    int channel = 0;
    ~Buffer() override {
      if (chunk != nullptr) Mix_FreeChunk(chunk);
    }
  };

  SdlSound(int frequency, SDL_AudioFormat format, int channels);

  int frequency_;
  SDL_AudioFormat format_;
  int channels_;
  detail::BufferList<Buffer> buffers_;
  std::unique_ptr<SdlMusic> music_;
};

}  // namespace platform::sdl
