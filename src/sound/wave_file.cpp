// Reading one effect from a wave file of the canonical 44-byte header: the format block at
// byte 20, the length of the samples at byte 40, the samples from byte 44. Chunk names are
// not looked at. Nothing in the header is trusted: the samples read are at most what the file
// holds, and a format or length that is no effect's is refused before anything is allocated.
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "core/game_state.h"
#include "platform/sound.h"
#include "platform/system.h"
#include "sound/sound.h"

namespace {

constexpr long kHeaderBytes = 44;
constexpr size_t kFormatAt = 20;
constexpr size_t kLengthAt = 40;
// The effects are cries and blows of a fight, a second or two each: a file claiming more
// than this is damaged.
constexpr uint64_t kLongestEffectSeconds = 30;

uint32_t Le(const uint8_t* bytes, int width) {
  uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = value << 8 | bytes[i];
  return value;
}

platform::WaveFormat FormatAt(const uint8_t* block) {
  platform::WaveFormat format;
  format.formatTag = uint16_t(Le(block, 2));
  format.channels = uint16_t(Le(block + 2, 2));
  format.samplesPerSecond = Le(block + 4, 4);
  format.bitsPerSample = uint16_t(Le(block + 14, 2));
  return format;
}

}  // namespace

platform::SoundBuffer* LoadWave(const char* fileName) {
  if (bSoundOn == 0) return nullptr;
  const platform::GameFile file(platform::OpenGameFile(fileName, "rb"));
  if (!file) {
    platform::MessageBox("error open file", fileName);
    return nullptr;
  }
  uint8_t header[kHeaderBytes] = {};
  const bool whole = std::fread(header, 1, sizeof header, file.get()) == sizeof header;
  const platform::WaveFormat format = FormatAt(header + kFormatAt);
  const uint32_t length = Le(header + kLengthAt, 4);
  if (!whole || !platform::PlayableFormat(format) ||
      length > kLongestEffectSeconds * platform::BytesPerSecond(format)) {
    platform::MessageBox("error buf", "error");
    return nullptr;
  }
  // A length past the end of the file gets what the file holds.
  long size = -1;
  if (std::fseek(file.get(), 0, SEEK_END) == 0) size = std::ftell(file.get());
  const size_t available = size > kHeaderBytes ? size_t(size - kHeaderBytes) : 0;
  std::vector<uint8_t> samples(std::min<size_t>(length, available));
  std::fseek(file.get(), kHeaderBytes, SEEK_SET);
  samples.resize(std::fread(samples.data(), 1, samples.size(), file.get()));

  platform::SoundBuffer* buffer = platform::CreateSoundBuffer(fileName, format, samples);
  if (buffer == nullptr) platform::MessageBox("error createsoundbuffer", "error");
  return buffer;
}
