// A headless backend with an open sound device, and wave files written into a scratch data
// directory of their own.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "platform/backend/backend.h"
#include "platform/system.h"
#include "sound/sound.h"

namespace sound_test {

struct Wave {
  uint16_t formatTag = 1;
  uint16_t channels = 1;
  uint32_t rate = 22050;
  uint16_t bits = 16;
  uint32_t claimedLength = 0;  // the length written at byte 40
  uint32_t sampleBytes = 0;    // how many sample bytes really follow
};

// The canonical 44-byte header and its samples (a loud square wave).
inline std::string WaveBytes(const Wave& wave) {
  std::string bytes;
  auto put = [&bytes](uint32_t value, int width) {
    for (int i = 0; i < width; ++i) bytes += char((value >> (8 * i)) & 0xFF);
  };
  const uint32_t frame = wave.channels * (wave.bits / 8u);
  bytes += "RIFF";
  put(36 + wave.sampleBytes, 4);
  bytes += "WAVEfmt ";
  put(16, 4);
  put(wave.formatTag, 2);
  put(wave.channels, 2);
  put(wave.rate, 4);
  put(wave.rate * frame, 4);
  put(frame, 2);
  put(wave.bits, 2);
  bytes += "data";
  put(wave.claimedLength, 4);
  for (uint32_t i = 0; i < wave.sampleBytes; ++i) bytes += char(i / 64 % 2 ? 0x60 : 0xA0);
  return bytes;
}

class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override { Start(platform::headless::Options{}); }
  void TearDown() override {
    ReleaseSound();
    bSoundOn = 1;
    platform::SetDataDirectory(".");
    std::filesystem::remove_all(directory_);
  }
  // A fresh backend (the clock moving only when the test moves it) and a fresh device.
  void Start(platform::headless::Options options) {
    options.quitWhenScriptEnds = false;
    options.quitAfterMilliseconds = UINT32_MAX;
    options.millisecondsPerPoll = 0;
    platform::headless::UseHeadlessBackend(options);
    bSoundOn = 1;
    std::filesystem::create_directories(directory_ / "voc");
    platform::SetDataDirectory(directory_.string());
  }
  void WriteFile(const std::string& name, const std::string& bytes) {
    std::ofstream(directory_ / "voc" / name, std::ios::binary) << bytes;
  }
  // A 16-bit mono effect of the given length at 22050 Hz (44.1 bytes a millisecond).
  void WriteEffect(const std::string& name, uint32_t milliseconds) {
    const uint32_t bytes = 2 * 22050 * milliseconds / 1000;
    WriteFile(name, WaveBytes({.claimedLength = bytes, .sampleBytes = bytes}));
  }

  const std::filesystem::path directory_ =
      std::filesystem::temp_directory_path() /
      ("tamsel_sound_" + std::to_string(::getpid()) + "_" +
       ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

}  // namespace sound_test
