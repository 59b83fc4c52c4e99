// The free sound functions, handed to the sound device of the backend in use.
#include "platform/sound.h"

#include "platform/backend/backend_interface.h"
#include "platform/backend/sound_device.h"

namespace platform {

using detail::CurrentBackend;

bool PlayableFormat(const WaveFormat& format) {
  return format.formatTag == kWaveFormatPcm && (format.channels == 1 || format.channels == 2) &&
         (format.bitsPerSample == 8 || format.bitsPerSample == 16) &&
         format.samplesPerSecond >= 4000 && format.samplesPerSecond <= 192000;
}

size_t FrameBytes(const WaveFormat& format) {
  return size_t(format.channels) * (format.bitsPerSample / 8u);
}

size_t BytesPerSecond(const WaveFormat& format) {
  return FrameBytes(format) * format.samplesPerSecond;
}

bool OpenSoundDevice() { return CurrentBackend().OpenSound(); }
void CloseSoundDevice() { CurrentBackend().CloseSound(); }
bool SoundDeviceOpen() { return CurrentBackend().Sound() != nullptr; }

SoundBuffer* CreateSoundBuffer(const std::string& name, const WaveFormat& format,
                               std::span<const uint8_t> samples) {
  detail::SoundDevice* device = CurrentBackend().Sound();
  if (device == nullptr || !PlayableFormat(format)) return nullptr;
  const size_t frame = FrameBytes(format);
  const size_t whole = samples.size() / frame * frame;
  if (whole == 0) return nullptr;
  return device->CreateBuffer(name, format, samples.first(whole));
}

void PlaySoundBuffer(SoundBuffer* buffer) {
  detail::SoundDevice* device = CurrentBackend().Sound();
  if (device != nullptr && device->Owns(buffer)) device->Play(*buffer);
}

bool SoundBufferPlaying(const SoundBuffer* buffer) {
  detail::SoundDevice* device = CurrentBackend().Sound();
  return device != nullptr && device->Owns(buffer) && device->IsPlaying(*buffer);
}

}  // namespace platform
