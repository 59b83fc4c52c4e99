#include "wav_file.h"

#include <cstring>

namespace sounds {
namespace {

// Little-endian fields written at fixed offsets, the way the header is read back.
void Put(std::vector<std::uint8_t>& out, std::size_t at, std::uint32_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out[at + i] = static_cast<std::uint8_t>(value >> (8 * i));
}
void PutTag(std::vector<std::uint8_t>& out, std::size_t at, const char* tag) { std::memcpy(&out[at], tag, 4); }

}  // namespace

std::vector<std::uint8_t> EncodeWav(const std::vector<std::int16_t>& samples, int sampleRate) {
  const auto dataBytes = static_cast<std::uint32_t>(samples.size() * 2);
  const auto rate = static_cast<std::uint32_t>(sampleRate);
  std::vector<std::uint8_t> out(44 + dataBytes);
  PutTag(out, 0, "RIFF");
  Put(out, 4, 36 + dataBytes, 4);
  PutTag(out, 8, "WAVE");
  PutTag(out, 12, "fmt ");
  Put(out, 16, 16, 4);        // format block size
  Put(out, 20, 1, 2);         // PCM
  Put(out, 22, 1, 2);         // mono
  Put(out, 24, rate, 4);
  Put(out, 28, rate * 2, 4);  // bytes per second
  Put(out, 32, 2, 2);         // bytes per sample frame
  Put(out, 34, 16, 2);        // bits per sample
  PutTag(out, 36, "data");
  Put(out, 40, dataBytes, 4);
  for (std::size_t i = 0; i < samples.size(); ++i)
    Put(out, 44 + 2 * i, static_cast<std::uint16_t>(samples[i]), 2);
  return out;
}

}  // namespace sounds
