// Sound effects: one sound device, and buffers of PCM samples loaded whole into it and played
// from their start. The device belongs to the backend in use (SDL_mixer on the desktop, the
// virtual clock headless); the game holds plain pointers to the buffers, which live until the
// device is closed. The device also carries the music (see SendMciCommand): without an open
// device there is no music either.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

namespace platform {

// The format of PCM samples, as the format block of a wave file gives it.
struct WaveFormat {
  uint16_t formatTag = 1;  // 1: integer PCM
  uint16_t channels = 1;
  uint32_t samplesPerSecond = 22050;
  uint16_t bitsPerSample = 16;
};

constexpr uint16_t kWaveFormatPcm = 1;

// What every backend plays: integer PCM of 8 (unsigned) or 16 (signed little-endian) bits,
// one or two channels, 4 to 192 kHz.
bool PlayableFormat(const WaveFormat& format);
// Bytes of one sample frame (all channels), and of one second of sound.
size_t FrameBytes(const WaveFormat& format);
size_t BytesPerSecond(const WaveFormat& format);

// A buffer of one effect. Opaque: only the device that made it can play it.
class SoundBuffer;

// Opens the sound device of the backend in use; false when there is none to open.
bool OpenSoundDevice();
// Ends every buffer and the music, and closes the device.
void CloseSoundDevice();
bool SoundDeviceOpen();

// Loads the samples into a new buffer of the open device. A trailing part frame is dropped.
// nullptr when no device is open, the format is not playable or there is no whole frame.
// The name (the file's) identifies the buffer in reports.
SoundBuffer* CreateSoundBuffer(const std::string& name, const WaveFormat& format,
                               std::span<const uint8_t> samples);
// Plays the buffer once from its start (restarting it when it is playing).
// A buffer that is not a live buffer of the open device is ignored.
void PlaySoundBuffer(SoundBuffer* buffer);
// Whether the buffer is playing; false for a buffer that is not live.
bool SoundBufferPlaying(const SoundBuffer* buffer);

}  // namespace platform
