#include "platform/sdl/sdl_sound.h"

#include <algorithm>

namespace platform::sdl {

namespace {

constexpr int kMixerFrequency = 44100;
constexpr int kMixerChannels = 2;
// About 23 ms at 44.1 kHz: an effect starts within a frame or two of being asked for.
constexpr int kMixerChunkFrames = 1024;

}  // namespace

std::unique_ptr<SdlSound> SdlSound::Open() {
  if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) return nullptr;
  if (Mix_OpenAudio(kMixerFrequency, AUDIO_S16SYS, kMixerChannels, kMixerChunkFrames) != 0) {
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
    return nullptr;
  }
  int frequency = 0;
  Uint16 format = 0;
  int channels = 0;
  Mix_QuerySpec(&frequency, &format, &channels);
  Mix_AllocateChannels(0);  // each buffer adds its own
  return std::unique_ptr<SdlSound>(new SdlSound(frequency, format, channels));
}

SdlSound::SdlSound(int frequency, SDL_AudioFormat format, int channels)
    : frequency_(frequency),
      format_(format),
      channels_(channels),
      music_(std::make_unique<SdlMusic>(frequency, format, channels)) {}

SdlSound::~SdlSound() {
  music_.reset();
  Mix_HaltChannel(-1);
  buffers_.Clear();
  Mix_CloseAudio();
  SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

SoundBuffer* SdlSound::CreateBuffer(const std::string& /*name*/, const WaveFormat& format,
                                    std::span<const uint8_t> samples) {
  SDL_AudioCVT cvt;
  const SDL_AudioFormat source = format.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
  if (SDL_BuildAudioCVT(&cvt, source, Uint8(format.channels), int(format.samplesPerSecond), format_,
                        Uint8(channels_), frequency_) < 0) {
    return nullptr;
  }
  auto buffer = std::make_unique<Buffer>();
  buffer->samples.resize(samples.size() * size_t(std::max(cvt.len_mult, 1)));
  std::copy(samples.begin(), samples.end(), buffer->samples.begin());
  if (cvt.needed != 0) {
    cvt.buf = buffer->samples.data();
    cvt.len = int(samples.size());
    if (SDL_ConvertAudio(&cvt) != 0) return nullptr;
    buffer->samples.resize(size_t(cvt.len_cvt));
  } else {
    buffer->samples.resize(samples.size());
  }
  buffer->samples.shrink_to_fit();
  if (buffer->samples.empty()) return nullptr;

  buffer->channel = int(buffers_.Size());
  if (Mix_AllocateChannels(buffer->channel + 1) <= buffer->channel) return nullptr;
  buffer->chunk = Mix_QuickLoad_RAW(buffer->samples.data(), Uint32(buffer->samples.size()));
  if (buffer->chunk == nullptr) return nullptr;
  return &buffers_.Add(std::move(buffer));
}

void SdlSound::Play(SoundBuffer& buffer) {
  const auto& own = static_cast<const Buffer&>(buffer);
  Mix_PlayChannel(own.channel, own.chunk, 0);
}

bool SdlSound::IsPlaying(const SoundBuffer& buffer) {
  return Mix_Playing(static_cast<const Buffer&>(buffer).channel) != 0;
}

}  // namespace platform::sdl
