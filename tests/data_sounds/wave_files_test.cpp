// The nine fight sounds as the game loads them: a plain 44-byte header read by fixed offsets,
// then 16-bit mono samples.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <unistd.h>

#include "sound_file_bytes.h"

namespace {

using sound_test::DataPath;
using sound_test::Le;
using sound_test::ReadBytes;
using sound_test::Tag;

const char* const kEffects[] = {"dead_00", "ao_00", "ack_00", "dead_01", "ao_01",
                                "ack_01",  "dead_02", "ao_02", "ack_02"};

std::vector<int> Samples(const std::vector<std::uint8_t>& file) {
  std::vector<int> samples;
  for (std::size_t at = 44; at + 1 < file.size(); at += 2)
    samples.push_back(static_cast<std::int16_t>(Le(file, at, 2)));
  return samples;
}

// The pitch of the loudest tenth of a second, Hz, from where the sound best matches itself
// shifted by one period (the shortest period that matches nearly as well as the best, so a
// period of two cycles is not taken for one).
double Pitch(const std::vector<int>& samples) {
  const std::size_t window = 2205;
  if (samples.size() < window * 2) return 0;
  std::size_t loudest = 0;
  double most = -1;
  for (std::size_t at = 0; at + window * 2 <= samples.size(); at += window / 4) {
    double energy = 0;
    for (std::size_t i = at; i < at + window; ++i) energy += double(samples[i]) * samples[i];
    if (energy > most) most = energy, loudest = at;
  }
  std::vector<double> match(22050 / 60 + 1, 0.0);
  double best = 0;
  for (std::size_t lag = 22050 / 1000; lag < match.size(); ++lag) {
    for (std::size_t i = loudest; i < loudest + window; ++i) match[lag] += double(samples[i]) * samples[i + lag];
    best = std::max(best, match[lag]);
  }
  for (std::size_t lag = 22050 / 1000 + 1; lag + 1 < match.size(); ++lag)
    if (match[lag] >= 0.85 * best && match[lag] >= match[lag - 1] && match[lag] >= match[lag + 1])
      return 22050.0 / static_cast<double>(lag);
  return 0;
}

// Each effect: the plain header the game reads by offsets, short, audible and clean, and
// different from every other.
TEST(FightSounds, EachIsAPlainShortCleanSoundOfItsOwn) {
  std::map<std::vector<int>, std::string> seen;
  for (const char* name : kEffects) {
    SCOPED_TRACE(name);
    const auto file = ReadBytes(DataPath(std::string(name) + ".wav"));
    ASSERT_GE(file.size(), 44u);
    EXPECT_EQ(Tag(file, 0) + Tag(file, 8) + Tag(file, 12) + Tag(file, 36), "RIFFWAVEfmt data");
    EXPECT_EQ(Le(file, 4, 4), file.size() - 8);
    // Format size, PCM, mono, rate, bytes per second, block align, bits.
    EXPECT_EQ((std::vector<std::uint32_t>{Le(file, 16, 4), Le(file, 20, 2), Le(file, 22, 2), Le(file, 24, 4),
                                          Le(file, 28, 4), Le(file, 32, 2), Le(file, 34, 2)}),
              (std::vector<std::uint32_t>{16, 1, 1, 22050, 22050 * 2, 2, 16}));
    EXPECT_EQ(Le(file, 40, 4), file.size() - 44) << "the data runs to the end of the file";

    const auto samples = Samples(file);
    const double seconds = static_cast<double>(samples.size()) / 22050;
    EXPECT_TRUE(seconds >= 0.2 && seconds <= 1.2) << seconds;
    ASSERT_FALSE(samples.empty());
    int peak = 0, run = 0, longestFullScaleRun = 0;
    double energy = 0;
    for (int s : samples) {
      peak = std::max(peak, std::abs(s));
      energy += double(s) * s;
      run = std::abs(s) >= 32767 ? run + 1 : 0;
      longestFullScaleRun = std::max(longestFullScaleRun, run);
    }
    EXPECT_GT(peak, 12000) << "too quiet to hear in a fight";
    EXPECT_GT(std::sqrt(energy / samples.size()), 1500);
    EXPECT_LT(longestFullScaleRun, 2) << "clipped";
    // Starting or stopping away from zero clicks in the speaker.
    EXPECT_LT(std::abs(samples.front()), 1000);
    EXPECT_LT(std::abs(samples.back()), 200);
    const auto [where, fresh] = seen.emplace(samples, name);
    EXPECT_TRUE(fresh) << "the same sound as " << where->second;
  }
}

TEST(FightSounds, HeavyCreaturesCryLowerThanTheHeroAndTheHeroLowerThanLightOnes) {
  for (const std::string cry : {"ao_", "dead_"}) {
    SCOPED_TRACE(cry);
    const double hero = Pitch(Samples(ReadBytes(DataPath(cry + "00.wav"))));
    const double light = Pitch(Samples(ReadBytes(DataPath(cry + "01.wav"))));
    const double heavy = Pitch(Samples(ReadBytes(DataPath(cry + "02.wav"))));
    EXPECT_GT(heavy, 60);
    EXPECT_LT(heavy, hero);
    EXPECT_LT(hero, light);
  }
}

TEST(SoundGenerator, WritesTheSameBytesEveryRunAndRejectsABrokenSource) {
  namespace fs = std::filesystem;
  const fs::path scratch = fs::temp_directory_path() / ("tamsel_sounds_" + std::to_string(::getpid()));
  fs::remove_all(scratch);
  fs::create_directories(scratch / "sources");
  fs::copy(fs::path(TAMSEL_SOURCE_DIR) / "data" / "sound", scratch / "sources" / "sound");
  const std::string generator = std::string(TAMSEL_BUILD_DIR) + "/tools/datagen_sounds";
  auto run = [&](const fs::path& out) {
    return std::system((generator + " --sources " + (scratch / "sources").string() + " --out " +
                        out.string() + " 2>" + (scratch / "errors.txt").string())
                           .c_str());
  };

  ASSERT_EQ(run(scratch / "again"), 0);
  for (const auto& entry : fs::directory_iterator(fs::path(TAMSEL_DATA_DIR) / "voc")) {
    const auto name = entry.path().filename().string();
    if (name.ends_with(".wav") || name.ends_with(".mid")) {
      EXPECT_EQ(ReadBytes(entry.path().string()), ReadBytes((scratch / "again" / "voc" / name).string()))
          << name;
    }
  }

  // A bar one beat short must stop the build, naming the file and line.
  std::ofstream(scratch / "sources" / "sound" / "back.notes", std::ios::app)
      << "track extra channel=4 program=0\nC4:1 D4:1 E4:1 |\n";
  EXPECT_NE(run(scratch / "broken"), 0);
  std::ifstream errors(scratch / "errors.txt");
  const std::string message{std::istreambuf_iterator<char>(errors), std::istreambuf_iterator<char>()};
  EXPECT_NE(message.find("back.notes:"), std::string::npos) << message;
  fs::remove_all(scratch);
}

}  // namespace
