// The fight effects: wave files and their limits, the nine slots of the three voices, playing
// an effect once, and running without a sound device.
#include <gtest/gtest.h>
#include <unistd.h>

#include <climits>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/state_dump.h"
#include "core/game_state.h"
#include "platform/backend/backend.h"
#include "platform/sound.h"
#include "platform/system.h"
#include "sound/music.h"
#include "sound/sound.h"

namespace {

using platform::headless::AdvanceClock;
using platform::headless::GetLog;
using Strings = std::vector<std::string>;

struct Wave {
  uint16_t formatTag = 1, channels = 1;
  uint32_t rate = 22050;
  uint16_t bits = 16;
  uint32_t claimedLength = 0;  // the length written at byte 40
  uint32_t sampleBytes = 0;    // how many sample bytes really follow
};

// The canonical 44-byte header and its samples (a loud square wave).
std::string WaveBytes(const Wave& w) {
  std::string bytes;
  auto put = [&bytes](uint32_t value, int width) {
    for (int i = 0; i < width; ++i) bytes += char((value >> (8 * i)) & 0xFF);
  };
  const uint32_t frame = w.channels * (w.bits / 8u);
  bytes += "RIFF", put(36 + w.sampleBytes, 4), bytes += "WAVEfmt ", put(16, 4), put(w.formatTag, 2);
  put(w.channels, 2), put(w.rate, 4), put(w.rate * frame, 4), put(frame, 2), put(w.bits, 2);
  bytes += "data", put(w.claimedLength, 4);
  for (uint32_t i = 0; i < w.sampleBytes; ++i) bytes += char(i / 64 % 2 ? 0x60 : 0xA0);
  return bytes;
}

const char* const kEffectFiles[] = {"dead_00.wav", "ao_00.wav", "ack_00.wav", "dead_01.wav", "ao_01.wav",
                                    "ack_01.wav",  "dead_02.wav", "ao_02.wav", "ack_02.wav"};

// A headless backend whose clock moves only when the test moves it, and a scratch data directory.
class SoundTest : public ::testing::Test {
 protected:
  void SetUp() override { Start({}); }
  void TearDown() override {
    ReleaseSound();
    bSoundOn = 1;
    platform::SetDataDirectory(".");
    std::filesystem::remove_all(directory_);
  }
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
  // A 16-bit mono effect of the given length at 22050 Hz.
  void WriteEffect(const std::string& name, uint32_t milliseconds) {
    const uint32_t bytes = 2 * 22050 * milliseconds / 1000;
    WriteFile(name, WaveBytes({.claimedLength = bytes, .sampleBytes = bytes}));
  }
  void WriteAllEffects() {
    for (const char* name : kEffectFiles) WriteEffect(name, 300);
  }
  static std::vector<platform::SoundBuffer*> Slots() {
    std::vector<platform::SoundBuffer*> slots;
    for (int voice = 0; voice < kVoiceCount; ++voice)
      slots.insert(slots.end(), {lpDSBDead[voice], lpDSBPain[voice], lpDSBAttack[voice]});
    return slots;
  }
  // The effects asked for, each as name@time, with "!" when it was (re)started.
  static std::string EffectsPlayed() {
    std::string played;
    for (const auto& e : GetLog().effects) played += e.name + "@" + std::to_string(e.time) + (e.started ? "! " : " ");
    return played;
  }
  const std::filesystem::path directory_ = std::filesystem::temp_directory_path() /
      ("tamsel_sound_" + std::to_string(::getpid()) + "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
};

}  // namespace

TEST_F(SoundTest, EachWaveHeaderGetsItsBoundedResultAndMessage) {
  constexpr uint32_t k100Ms = 4410;  // 16-bit mono 22050 Hz
  const std::string bad = "error|error buf", none = "error|error createsoundbuffer";
  const struct {
    const char* what;
    Wave wave;
    std::string box;              // the one message expected; none when the effect loads
    uint32_t playMs = 0;          // how long the loaded effect plays
    size_t keepBytes = SIZE_MAX;  // the file cut to this many bytes
  } cases[] = {
      {"canonical", {.claimedLength = k100Ms, .sampleBytes = k100Ms}, "", 100},
      {"length past the end of the file", {.claimedLength = 10 * k100Ms, .sampleBytes = k100Ms}, "", 100},
      {"half a minute claimed", {.claimedLength = 30 * 44100, .sampleBytes = k100Ms}, "", 100},
      {"more than half a minute claimed", {.claimedLength = 30 * 44100 + 2, .sampleBytes = k100Ms}, bad},
      {"absurd length", {.claimedLength = 0xFFFFFFFF, .sampleBytes = k100Ms}, bad},
      {"length that wraps past 44", {.claimedLength = 0xFFFFFFD4, .sampleBytes = k100Ms}, bad},
      {"header cut short", {.claimedLength = k100Ms, .sampleBytes = k100Ms}, bad, 0, 43},
      {"floating-point samples", {.formatTag = 3, .bits = 32, .claimedLength = 8, .sampleBytes = 8}, bad},
      {"no channels", {.channels = 0, .claimedLength = 8, .sampleBytes = 8}, bad},
      {"three channels", {.channels = 3, .claimedLength = 12, .sampleBytes = 12}, bad},
      {"24-bit samples", {.bits = 24, .claimedLength = 12, .sampleBytes = 12}, bad},
      {"rate too low", {.rate = 3999, .claimedLength = 8, .sampleBytes = 8}, bad},
      {"rate too high", {.rate = 192001, .claimedLength = 8, .sampleBytes = 8}, bad},
      {"8-bit stereo at 4 kHz", {.channels = 2, .rate = 4000, .bits = 8, .claimedLength = 80, .sampleBytes = 80}, "", 10},
      {"16-bit stereo at 192 kHz", {.channels = 2, .rate = 192000, .claimedLength = 768, .sampleBytes = 768}, "", 1},
      {"no samples", {.claimedLength = 0, .sampleBytes = 0}, none},
      {"less than one sample", {.claimedLength = 1, .sampleBytes = 1}, none},
      {"a part sample at the end", {.claimedLength = k100Ms + 1, .sampleBytes = k100Ms + 1}, "", 100},
  };
  ASSERT_EQ(InitSound(), 1);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    WriteFile("effect.wav", WaveBytes(c.wave).substr(0, c.keepBytes));
    platform::headless::ClearLog();
    platform::SoundBuffer* buffer = LoadWave("voc\\effect.wav");
    EXPECT_EQ(GetLog().messageBoxes, c.box.empty() ? Strings{} : Strings{c.box});
    ASSERT_EQ(buffer != nullptr, c.box.empty());
    if (buffer == nullptr) continue;
    PlayEffect(buffer, 0);
    AdvanceClock(c.playMs - 1);
    EXPECT_TRUE(platform::SoundBufferPlaying(buffer));
    AdvanceClock(1);
    EXPECT_FALSE(platform::SoundBufferPlaying(buffer));
  }
}

TEST_F(SoundTest, AnEffectStillPlayingIsNotStartedAgainAndTheDumpListsWhatWasPlayed) {
  WriteEffect("ack_00.wav", 500);
  ASSERT_EQ(InitSound(), 1);
  platform::SoundBuffer* attack = LoadWave("voc\\ack_00.wav");
  ASSERT_NE(attack, nullptr);
  PlayEffect(attack, 0);
  AdvanceClock(499);
  PlayEffect(attack, 0);  // still playing: left alone
  AdvanceClock(1);
  PlayEffect(attack, 0);  // over: from the start again
  EXPECT_EQ(EffectsPlayed(), "voc\\ack_00.wav@0! voc\\ack_00.wav@499 voc\\ack_00.wav@500! ");
  StopMusic();
  const std::string dump = DumpGameState();
  EXPECT_NE(dump.find("\"effects\":[{\"name\":\"voc\\\\ack_00.wav\",\"time\":0,\"started\":true},"
                      "{\"name\":\"voc\\\\ack_00.wav\",\"time\":499,\"started\":false},"),
            std::string::npos) << dump;
  EXPECT_NE(dump.find("\"mciTimes\":[500],\"mciCommands\":[\"close all\"]}"), std::string::npos)
      << dump;
}

TEST_F(SoundTest, LoadSoundsFillsEachVoicesSlotsAndReleaseForgetsThem) {
  WriteAllEffects();
  std::filesystem::remove(directory_ / "voc" / "ao_01.wav");
  InitSound();
  LoadSounds();
  EXPECT_EQ(GetLog().messageBoxes, Strings{"voc\\ao_01.wav|error open file"});
  const std::vector<platform::SoundBuffer*> slots = Slots();
  for (size_t i = 0; i < slots.size(); ++i) EXPECT_EQ(slots[i] == nullptr, i == 4) << kEffectFiles[i];
  PlayEffect(lpDSBDead[2], 0);
  PlayEffect(lpDSBPain[1], 0);  // silent
  PlayEffect(lpDSBPain[0], 0);
  PlayEffect(lpDSBAttack[1], 0);
  EXPECT_EQ(EffectsPlayed(), "voc\\dead_02.wav@0! voc\\ao_00.wav@0! voc\\ack_01.wav@0! ");

  // Released, the slots are empty; a buffer of a device that is gone means nothing to a new one.
  platform::SoundBuffer* attack = lpDSBAttack[0];
  ReleaseSound();
  platform::headless::ClearLog();
  EXPECT_FALSE(platform::SoundDeviceOpen());
  for (platform::SoundBuffer* slot : Slots()) EXPECT_EQ(slot, nullptr);
  PlayEffect(attack, 0);
  InitSound();
  PlayEffect(attack, 0);
  EXPECT_FALSE(platform::SoundBufferPlaying(attack));
  EXPECT_TRUE(GetLog().effects.empty());
}

TEST_F(SoundTest, WithoutASoundDeviceOneMessageAndNothingLoadedOrPlayed) {
  platform::headless::Options options;
  options.faults.failSoundDevice = true;
  Start(options);
  WriteAllEffects();
  EXPECT_EQ(InitSound(), 0);
  EXPECT_EQ(bSoundOn, 0);
  LoadSounds();
  for (platform::SoundBuffer* slot : Slots()) EXPECT_EQ(slot, nullptr);
  for (platform::SoundBuffer* slot : Slots()) PlayEffect(slot, 0);
  PlayMusic("voc\\title.mid");
  StopMusic();
  EXPECT_EQ(GetLog().messageBoxes, Strings{"error|error on Create\nThe game goes on without sound."});
  EXPECT_TRUE(GetLog().effects.empty());
  EXPECT_TRUE(GetLog().mciCommands.empty());

  // With the sound off, no device is opened and nothing is read, without a message.
  Start({});
  bSoundOn = 0;
  EXPECT_EQ(InitSound(), 0);
  EXPECT_FALSE(platform::SoundDeviceOpen());
  LoadSounds();
  for (platform::SoundBuffer* slot : Slots()) EXPECT_EQ(slot, nullptr);
  EXPECT_TRUE(GetLog().messageBoxes.empty());
}

TEST(Voices, EveryPictureNumberHasAVoiceInsideTheTable) {
  for (int32_t picture = 0; picture < kNpcSheetCount; ++picture) {
    EXPECT_EQ(VoiceOf(picture), aVoice[picture]);
    EXPECT_TRUE(aVoice[picture] == 1 || aVoice[picture] == 2) << picture;
  }
  for (int32_t picture : {-1, kNpcSheetCount, 100, INT_MAX, INT_MIN}) EXPECT_EQ(VoiceOf(picture), 1) << picture;
}
