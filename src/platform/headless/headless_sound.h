// The headless sound device: a buffer "plays" for the length of its samples on the virtual
// clock, so whether it is playing is a real answer; every play, and every question that
// finds a buffer still playing, goes into the log.
#pragma once

#include <cstdint>
#include <string>

#include "platform/backend/backend.h"
#include "platform/backend/sound_device.h"

namespace platform::headless {

class HeadlessSound final : public detail::SoundDevice {
 public:
  // The clock and the log are the backend's and outlive the device.
  HeadlessSound(const uint32_t& now, Log& log) : now_(now), log_(log) {}

  SoundBuffer* CreateBuffer(const std::string& name, const WaveFormat& format,
                            std::span<const uint8_t> samples) override;
  void Play(SoundBuffer& buffer) override;
  bool IsPlaying(const SoundBuffer& buffer) override;
  bool Owns(const SoundBuffer* buffer) const override { return buffers_.Contains(buffer); }

 private:
  struct Buffer final : SoundBuffer {
    std::string name;
    uint32_t durationMs = 0;
    bool started = false;
    uint32_t endsAt = 0;
  };

  const uint32_t& now_;
  Log& log_;
  detail::BufferList<Buffer> buffers_;
};

}  // namespace platform::headless
