// The SDL sound device on SDL's disk audio driver, which writes what would be heard to a file
// (signed 16-bit stereo at 44.1 kHz): an effect must reach it as sound, not silence.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "headless_fixture.h"
#include "platform/sound.h"

using namespace platform;

namespace {

// A square wave of the given length, loud enough to tell from any rounding.
std::vector<uint8_t> SquareWave(const WaveFormat& format, int milliseconds) {
  std::vector<uint8_t> bytes;
  const size_t frames = size_t(format.samplesPerSecond) * size_t(milliseconds) / 1000;
  for (size_t frame = 0; frame < frames; ++frame) {
    const bool high = frame / 25 % 2 != 0;
    const uint16_t value = high ? 12000 : uint16_t(-12000);
    for (int channel = 0; channel < format.channels; ++channel) {
      if (format.bitsPerSample == 8) bytes.push_back(high ? 0xE0 : 0x20);
      else bytes.insert(bytes.end(), {uint8_t(value), uint8_t(value >> 8)});
    }
  }
  return bytes;
}

// Waits, on the real clock, until the buffer has finished; false after a generous bound.
bool EndsOnItsOwn(const SoundBuffer* buffer) {
  for (int i = 0; i < 600 && SoundBufferPlaying(buffer); ++i) SDL_Delay(5);
  return !SoundBufferPlaying(buffer);
}

class SdlSoundTest : public ::testing::Test {
 protected:
  void UseDriver(const char* driver) {
    setenv("SDL_AUDIODRIVER", driver, 1);
    setenv("SDL_DISKAUDIOFILE", output_.c_str(), 1);
    if (!UseSdlBackend(SdlOptions{.windowed = true})) GTEST_SKIP() << "SDL cannot start here";
  }
  void TearDown() override {
    headless::UseHeadlessBackend(tamsel_test::OpenEndedOptions());  // ends SDL
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    unsetenv("SDL_DISKAUDIOFILE");
    std::filesystem::remove(output_);
  }
  const std::string output_ =
      (std::filesystem::temp_directory_path() / ("tamsel_disk_audio_" + std::to_string(::getpid()) + ".raw")).string();
};

}  // namespace

TEST_F(SdlSoundTest, EffectsOfEitherSampleSizeAreHeardAndEndOnTheirOwn) {
  UseDriver("disk");
  ASSERT_TRUE(OpenSoundDevice());
  const WaveFormat mono16{kWaveFormatPcm, 1, 22050, 16};
  const WaveFormat stereo8{kWaveFormatPcm, 2, 11025, 8};
  SoundBuffer* first = CreateSoundBuffer("mono16", mono16, SquareWave(mono16, 100));
  SoundBuffer* second = CreateSoundBuffer("stereo8", stereo8, SquareWave(stereo8, 100));
  for (SoundBuffer* buffer : {first, second}) {
    ASSERT_NE(buffer, nullptr);
    PlaySoundBuffer(buffer);
    EXPECT_TRUE(SoundBufferPlaying(buffer));
    EXPECT_TRUE(EndsOnItsOwn(buffer));
  }
  SDL_Delay(50);  // the last mixed block reaches the file
  CloseSoundDevice();
  EXPECT_FALSE(SoundBufferPlaying(first));  // gone with the device

  std::ifstream file(output_, std::ios::binary);
  const std::vector<char> bytes{std::istreambuf_iterator<char>(file), {}};
  size_t loud = 0;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto sample = int16_t(uint16_t(uint8_t(bytes[i])) | uint16_t(uint8_t(bytes[i + 1])) << 8);
    if (sample > 8000 || sample < -8000) ++loud;
  }
  // Two effects of 0.1 s, each 4410 stereo frames once converted to 44.1 kHz.
  EXPECT_GE(loud, 2 * 2 * 4410u * 9 / 10);
}

TEST_F(SdlSoundTest, NoAudioOutputMeansNoDeviceAndNoBuffers) {
  UseDriver("no_such_driver");
  EXPECT_FALSE(OpenSoundDevice());
  const WaveFormat format{kWaveFormatPcm, 1, 22050, 16};
  EXPECT_EQ(CreateSoundBuffer("x", format, SquareWave(format, 10)), nullptr);
  SendMciCommand("play voc\\back.mid");  // no device, no music: ignored
}
