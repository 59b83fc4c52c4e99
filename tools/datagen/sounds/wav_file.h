// Writes 16-bit mono PCM in the plain 44-byte-header WAVE layout the game reads by fixed offsets:
// "RIFF", "WAVE", a 16-byte "fmt " chunk, then "data" and the samples. No other chunk.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sounds {

std::vector<std::uint8_t> EncodeWav(const std::vector<std::int16_t>& samples, int sampleRate);

}  // namespace sounds
