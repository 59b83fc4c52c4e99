#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/sound.h"
#include "sound_fixture.h"

namespace {

using platform::headless::AdvanceClock;
using platform::headless::GetLog;
using sound_test::Wave;
using sound_test::WaveBytes;

struct Case {
  const char* what;
  Wave wave;
  std::string box;              // the one message expected; none when the effect loads
  uint32_t playMs = 0;          // how long the loaded effect plays
  size_t keepBytes = SIZE_MAX;  // the file cut to this many bytes
};

constexpr uint32_t k100Ms = 4410;  // 16-bit mono 22050 Hz

const std::string kBadBuffer = "error|error buf";
const std::string kNoBuffer = "error|error createsoundbuffer";

const Case kCases[] = {
    {"canonical", {.claimedLength = k100Ms, .sampleBytes = k100Ms}, "", 100},
    {"length past the end of the file", {.claimedLength = 10 * k100Ms, .sampleBytes = k100Ms}, "", 100},
    {"half a minute claimed", {.claimedLength = 30 * 44100, .sampleBytes = k100Ms}, "", 100},
    {"more than half a minute claimed", {.claimedLength = 30 * 44100 + 2, .sampleBytes = k100Ms}, kBadBuffer},
    {"absurd length", {.claimedLength = 0xFFFFFFFF, .sampleBytes = k100Ms}, kBadBuffer},
    {"length that wraps past 44", {.claimedLength = 0xFFFFFFD4, .sampleBytes = k100Ms}, kBadBuffer},
    {"header cut short", {.claimedLength = k100Ms, .sampleBytes = k100Ms}, kBadBuffer, 0, 43},
    {"floating-point samples", {.formatTag = 3, .bits = 32, .claimedLength = 8, .sampleBytes = 8}, kBadBuffer},
    {"no channels", {.channels = 0, .claimedLength = 8, .sampleBytes = 8}, kBadBuffer},
    {"three channels", {.channels = 3, .claimedLength = 12, .sampleBytes = 12}, kBadBuffer},
    {"24-bit samples", {.bits = 24, .claimedLength = 12, .sampleBytes = 12}, kBadBuffer},
    {"rate too low", {.rate = 3999, .claimedLength = 8, .sampleBytes = 8}, kBadBuffer},
    {"rate too high", {.rate = 192001, .claimedLength = 8, .sampleBytes = 8}, kBadBuffer},
    {"8-bit stereo at 4 kHz", {.channels = 2, .rate = 4000, .bits = 8, .claimedLength = 80, .sampleBytes = 80}, "", 10},
    {"16-bit stereo at 192 kHz", {.channels = 2, .rate = 192000, .claimedLength = 768, .sampleBytes = 768}, "", 1},
    {"no samples", {.claimedLength = 0, .sampleBytes = 0}, kNoBuffer},
    {"less than one sample", {.claimedLength = 1, .sampleBytes = 1}, kNoBuffer},
    {"a part sample at the end", {.claimedLength = k100Ms + 1, .sampleBytes = k100Ms + 1}, "", 100},
};

using WaveFileTest = sound_test::SoundTest;

}  // namespace

TEST_F(WaveFileTest, EachHeaderGetsItsBoundedResultAndMessage) {
  ASSERT_EQ(InitSound(), 1);
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    WriteFile("effect.wav", WaveBytes(c.wave).substr(0, c.keepBytes));
    platform::headless::ClearLog();
    platform::SoundBuffer* buffer = LoadWave("voc\\effect.wav");
    EXPECT_EQ(GetLog().messageBoxes,
              c.box.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.box});
    ASSERT_EQ(buffer != nullptr, c.box.empty());
    if (buffer == nullptr) continue;
    PlayEffect(buffer, 0);
    AdvanceClock(c.playMs - 1);
    EXPECT_TRUE(platform::SoundBufferPlaying(buffer));
    AdvanceClock(1);
    EXPECT_FALSE(platform::SoundBufferPlaying(buffer));
  }
}
