#include "platform/headless/headless_sound.h"

#include <memory>

namespace platform::headless {

SoundBuffer* HeadlessSound::CreateBuffer(const std::string& name, const WaveFormat& format,
                                         std::span<const uint8_t> samples) {
  auto buffer = std::make_unique<Buffer>();
  buffer->name = name;
  // Rounded up, so even the shortest sound plays for a moment.
  const uint64_t rate = BytesPerSecond(format);
  buffer->durationMs = uint32_t((uint64_t(samples.size()) * 1000 + rate - 1) / rate);
  return &buffers_.Add(std::move(buffer));
}

void HeadlessSound::Play(SoundBuffer& buffer) {
  auto& own = static_cast<Buffer&>(buffer);
  own.started = true;
  own.endsAt = now_ + own.durationMs;
  log_.effects.push_back(EffectPlay{own.name, now_, true});
}

bool HeadlessSound::IsPlaying(const SoundBuffer& buffer) {
  const auto& own = static_cast<const Buffer&>(buffer);
  const bool playing = own.started && int32_t(own.endsAt - now_) > 0;
  if (playing) log_.effects.push_back(EffectPlay{own.name, now_, false});
  return playing;
}

}  // namespace platform::headless
