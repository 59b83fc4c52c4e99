// What a backend's sound device provides behind the free functions of sound.h.
#pragma once

#include <algorithm>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/sound.h"

namespace platform {

// The base of each device's own buffers.
class SoundBuffer {
 public:
  SoundBuffer() = default;
  SoundBuffer(const SoundBuffer&) = delete;
  SoundBuffer& operator=(const SoundBuffer&) = delete;
  virtual ~SoundBuffer() = default;
};

namespace detail {

class SoundDevice {
 public:
  SoundDevice() = default;
  SoundDevice(const SoundDevice&) = delete;
  SoundDevice& operator=(const SoundDevice&) = delete;
  virtual ~SoundDevice() = default;

  // The format is playable and the samples are whole frames, at least one.
  virtual SoundBuffer* CreateBuffer(const std::string& name, const WaveFormat& format,
                                    std::span<const uint8_t> samples) = 0;
  // Both are only handed buffers this device made and still holds.
  virtual void Play(SoundBuffer& buffer) = 0;
  virtual bool IsPlaying(const SoundBuffer& buffer) = 0;
  virtual bool Owns(const SoundBuffer* buffer) const = 0;
  // A music command string ("close all", "open FILE", "play FILE"), on a device that plays
  // music.
  virtual void MusicCommand(const std::string& /*command*/) {}
};

// The buffers a device holds, found by address without trusting the pointer given.
template <typename Buffer>
class BufferList {
 public:
  Buffer& Add(std::unique_ptr<Buffer> buffer) { return *buffers_.emplace_back(std::move(buffer)); }
  bool Contains(const SoundBuffer* buffer) const {
    return std::any_of(buffers_.begin(), buffers_.end(), [buffer](const auto& held) {
      return static_cast<const SoundBuffer*>(held.get()) == buffer;
    });
  }
  size_t Size() const { return buffers_.size(); }
  void Clear() { buffers_.clear(); }

 private:
  std::vector<std::unique_ptr<Buffer>> buffers_;
};

}  // namespace detail
}  // namespace platform
