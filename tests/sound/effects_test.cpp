#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "app/state_dump.h"
#include "platform/sound.h"
#include "sound/music.h"
#include "sound_fixture.h"

namespace {

using platform::headless::AdvanceClock;
using platform::headless::GetLog;
using Strings = std::vector<std::string>;

// The effects asked for, each as name@time, with "!" when it was (re)started.
std::string EffectsPlayed() {
  std::string played;
  for (const auto& effect : GetLog().effects)
    played += effect.name + "@" + std::to_string(effect.time) + (effect.started ? "! " : " ");
  return played;
}

const char* const kEffectFiles[] = {"dead_00.wav", "ao_00.wav", "ack_00.wav",
                                    "dead_01.wav", "ao_01.wav", "ack_01.wav",
                                    "dead_02.wav", "ao_02.wav", "ack_02.wav"};

class EffectsTest : public sound_test::SoundTest {
 protected:
  void WriteAllEffects() {
    for (const char* name : kEffectFiles) WriteEffect(name, 300);
  }
  static std::vector<platform::SoundBuffer*> Slots() {
    std::vector<platform::SoundBuffer*> slots;
    for (int voice = 0; voice < kVoiceCount; ++voice)
      slots.insert(slots.end(), {lpDSBDead[voice], lpDSBPain[voice], lpDSBAttack[voice]});
    return slots;
  }
};

}  // namespace

TEST_F(EffectsTest, AnEffectStillPlayingIsNotStartedAgain) {
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

  // The state dump lists them, and the music commands, for scripts to read.
  StopMusic();
  const std::string dump = DumpGameState();
  EXPECT_NE(dump.find("\"effects\":[{\"name\":\"voc\\\\ack_00.wav\",\"time\":0,\"started\":true},"
                      "{\"name\":\"voc\\\\ack_00.wav\",\"time\":499,\"started\":false},"),
            std::string::npos)
      << dump;
  EXPECT_NE(dump.find("\"mciCommands\":[\"close all\"]}"), std::string::npos) << dump;
}

TEST_F(EffectsTest, LoadSoundsFillsEachVoicesSlotsAndAMissingFileOnlyItsOwn) {
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
}

TEST_F(EffectsTest, WithoutASoundDeviceOneMessageAndNothingLoadedOrPlayed) {
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
  Start(platform::headless::Options{});
  bSoundOn = 0;
  EXPECT_EQ(InitSound(), 0);
  EXPECT_FALSE(platform::SoundDeviceOpen());
  LoadSounds();
  for (platform::SoundBuffer* slot : Slots()) EXPECT_EQ(slot, nullptr);
  EXPECT_TRUE(GetLog().messageBoxes.empty());
}

TEST_F(EffectsTest, ReleasedBuffersAreForgottenAndLateEffectsIgnored) {
  WriteAllEffects();
  InitSound();
  LoadSounds();
  platform::SoundBuffer* attack = lpDSBAttack[0];
  ASSERT_NE(attack, nullptr);
  ReleaseSound();
  EXPECT_FALSE(platform::SoundDeviceOpen());
  for (platform::SoundBuffer* slot : Slots()) EXPECT_EQ(slot, nullptr);
  PlayEffect(attack, 0);
  // A buffer of a device that is gone means nothing to a new one.
  InitSound();
  PlayEffect(attack, 0);
  EXPECT_FALSE(platform::SoundBufferPlaying(attack));
  EXPECT_TRUE(GetLog().effects.empty());
}

TEST(Voices, EveryPictureNumberHasAVoiceInsideTheTable) {
  for (int32_t picture = 0; picture < kNpcSheetCount; ++picture) {
    EXPECT_EQ(VoiceOf(picture), aVoice[picture]);
    EXPECT_TRUE(aVoice[picture] == 1 || aVoice[picture] == 2) << picture;
  }
  for (int32_t picture : {-1, kNpcSheetCount, 100, INT_MAX, INT_MIN}) EXPECT_EQ(VoiceOf(picture), 1) << picture;
}
