// Reading generated sound and music files in the tests: whole files as bytes, the little- and
// big-endian fields inside them, and the samples of the fight sounds.
#pragma once

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace sound_test {

inline std::vector<std::uint8_t> ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::uint32_t Le(const std::vector<std::uint8_t>& bytes, std::size_t at, int width) {
  std::uint32_t value = 0;
  for (int i = width - 1; i >= 0; --i) value = value << 8 | bytes.at(at + i);
  return value;
}

inline std::uint32_t Be(const std::vector<std::uint8_t>& bytes, std::size_t at, int width) {
  std::uint32_t value = 0;
  for (int i = 0; i < width; ++i) value = value << 8 | bytes.at(at + i);
  return value;
}

inline std::string Tag(const std::vector<std::uint8_t>& bytes, std::size_t at) {
  return at + 4 <= bytes.size() ? std::string(bytes.begin() + at, bytes.begin() + at + 4) : "";
}

inline constexpr const char* kEffects[] = {"dead_00", "ao_00", "ack_00", "dead_01", "ao_01",
                                           "ack_01",  "dead_02", "ao_02", "ack_02"};

// A fight sound's 16-bit mono samples after its 44-byte header.
inline std::vector<int> Samples(const std::vector<std::uint8_t>& file) {
  std::vector<int> samples;
  for (std::size_t at = 44; at + 1 < file.size(); at += 2) samples.push_back(std::int16_t(Le(file, at, 2)));
  return samples;
}

inline std::string DataPath(const std::string& name) { return std::string(TAMSEL_DATA_DIR) + "/voc/" + name; }

}  // namespace sound_test
