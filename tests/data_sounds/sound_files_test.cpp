// The generated fight sounds and music as the game and a MIDI player read them: the nine
// effects are plain 16-bit mono waves, short, clean and each its own, the heavy creatures crying
// lower than the hero and the hero lower than the light ones; the two pieces are well-formed
// MIDI files about three minutes long, since the game restarts the travelling music after about
// 60 s of walking but fights, talks and shops hold that count. The generator is repeatable and
// stops at a broken source.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <set>

#include "sound_file_bytes.h"

namespace {

using namespace sound_test;

// The pitch of the loudest tenth of a second, Hz: the shortest lag at which the sound matches
// itself nearly as well as at the best lag (so a period of two cycles is not taken for one).
double Pitch(const std::vector<int>& s) {
  const std::size_t window = 2205, first = 22050 / 1000, last = 22050 / 60;
  if (s.size() < window * 2) return 0;
  std::size_t loudest = 0;
  double most = -1;
  for (std::size_t at = 0; at + window * 2 <= s.size(); at += window / 4) {
    double energy = 0;
    for (std::size_t i = at; i < at + window; ++i) energy += double(s[i]) * s[i];
    if (energy > most) most = energy, loudest = at;
  }
  std::vector<double> match(last + 1, 0.0);
  for (std::size_t lag = first; lag <= last; ++lag)
    for (std::size_t i = loudest; i < loudest + window; ++i) match[lag] += double(s[i]) * s[i + lag];
  const double best = *std::max_element(match.begin(), match.end());
  for (std::size_t lag = first + 1; lag < last; ++lag)
    if (match[lag] >= 0.85 * best && match[lag] >= match[lag - 1] && match[lag] >= match[lag + 1])
      return 22050.0 / double(lag);
  return 0;
}

TEST(FightSounds, EachIsAPlainShortCleanSoundOfItsOwnAtItsVoicesPitch) {
  std::map<std::vector<int>, std::string> seen;
  std::map<std::string, double> pitch;
  for (const char* name : kEffects) {
    SCOPED_TRACE(name);
    const auto file = ReadBytes(DataPath(std::string(name) + ".wav"));
    ASSERT_GE(file.size(), 46u);
    EXPECT_EQ(Tag(file, 0) + Tag(file, 8) + Tag(file, 12) + Tag(file, 36), "RIFFWAVEfmt data");
    // RIFF size; format size, PCM, mono, rate, bytes per second, block align, bits; data size.
    EXPECT_EQ((std::vector<std::uint32_t>{Le(file, 4, 4), Le(file, 16, 4), Le(file, 20, 2), Le(file, 22, 2),
                                          Le(file, 24, 4), Le(file, 28, 4), Le(file, 32, 2), Le(file, 34, 2),
                                          Le(file, 40, 4)}),
              (std::vector<std::uint32_t>{std::uint32_t(file.size() - 8), 16, 1, 1, 22050, 22050 * 2, 2, 16,
                                          std::uint32_t(file.size() - 44)}));
    const auto samples = Samples(file);
    const double seconds = double(samples.size()) / 22050;
    EXPECT_TRUE(seconds >= 0.2 && seconds <= 1.2) << seconds;
    int peak = 0, run = 0, longestFullScaleRun = 0;
    double energy = 0;
    for (int s : samples) {
      peak = std::max(peak, std::abs(s));
      energy += double(s) * s;
      run = std::abs(s) >= 32767 ? run + 1 : 0;
      longestFullScaleRun = std::max(longestFullScaleRun, run);
    }
    EXPECT_TRUE(peak > 12000 && std::sqrt(energy / samples.size()) > 1500) << "too quiet to hear in a fight";
    EXPECT_LT(longestFullScaleRun, 2) << "clipped";
    // Starting or stopping away from zero clicks in the speaker.
    EXPECT_TRUE(std::abs(samples.front()) < 1000 && std::abs(samples.back()) < 200);
    const auto [where, fresh] = seen.emplace(samples, name);
    EXPECT_TRUE(fresh) << "the same sound as " << where->second;
    pitch[name] = Pitch(samples);
  }
  for (const std::string cry : {"ao_", "dead_"}) {
    EXPECT_GT(pitch[cry + "02"], 60) << cry;
    EXPECT_LT(pitch[cry + "02"], pitch[cry + "00"]) << cry << ": the heavy creatures cry above the hero";
    EXPECT_LT(pitch[cry + "00"], pitch[cry + "01"]) << cry << ": the hero cries above the light creatures";
  }
}

struct Piece {
  std::size_t tracks = 0;
  std::uint32_t endTick = 0;
  std::map<std::uint32_t, std::uint32_t> tempoAt;  // tick -> microseconds a beat
  int notes = 0;
  std::set<int> programs;
};

// Reads one track chunk body; every fault is a test failure.
void ReadTrack(const std::vector<std::uint8_t>& file, std::size_t at, std::size_t end, Piece& piece) {
  std::uint32_t tick = 0;
  std::uint8_t status = 0;
  std::map<int, int> sounding;  // channel * 128 + key -> notes started and not yet ended
  bool ended = false;
  auto variable = [&]() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4 && at < end; ++i) {
      const std::uint8_t byte = file[at++];
      value = value << 7 | (byte & 0x7F);
      if (!(byte & 0x80)) return value;
    }
    ADD_FAILURE() << "bad variable-length number";
    at = end;
    return value;
  };
  while (at < end && !ended) {
    tick += variable();
    ASSERT_LT(at, end) << "event cut off";
    if (file[at] == 0xFF || file[at] == 0xF0 || file[at] == 0xF7) {
      const std::uint8_t type = file[at] == 0xFF ? file.at(at + 1) : 0;
      at += file[at] == 0xFF ? 2 : 1;
      const std::uint32_t length = variable();
      ASSERT_LE(at + length, end) << "meta event runs past its track";
      if (type == 0x51) {
        EXPECT_EQ(length, 3u) << "tempo";
        piece.tempoAt[tick] = Be(file, at, std::min(3, int(length)));
      }
      ended = type == 0x2F;
      at += length;
      continue;
    }
    if (file[at] & 0x80) status = file[at++];
    ASSERT_NE(status, 0) << "data byte without a status";
    const int kind = status >> 4, size = kind == 0xC || kind == 0xD ? 1 : 2;
    ASSERT_LE(at + size, end);
    for (int i = 0; i < size; ++i) ASSERT_LT(file[at + i], 0x80) << "data byte out of range";
    const int key = (status & 0x0F) * 128 + file[at];
    if (kind == 0x9 && file[at + 1] > 0) ++sounding[key], ++piece.notes;
    else if (kind == 0x8 || kind == 0x9) --sounding[key];
    if (kind == 0xC) piece.programs.insert(file[at]);
    at += size;
  }
  EXPECT_TRUE(ended && at == end) << "track without end-of-track, or bytes after it";
  for (const auto& [key, count] : sounding) EXPECT_EQ(count, 0) << "key " << key % 128 << " left hanging";
  piece.endTick = std::max(piece.endTick, tick);
}

TEST(Music, FilesAreWellFormedThemesThatOutlastALongFight) {
  for (const char* name : {"title.mid", "back.mid"}) {
    SCOPED_TRACE(name);
    const auto file = ReadBytes(DataPath(name));
    ASSERT_TRUE(Tag(file, 0) == "MThd" && Be(file, 4, 4) == 6) << "no MIDI header";
    const std::uint32_t format = Be(file, 8, 2), division = Be(file, 12, 2);
    Piece piece;
    std::size_t at = 14;
    while (at + 8 <= file.size()) {
      EXPECT_EQ(Tag(file, at), "MTrk") << "at byte " << at;
      const std::size_t end = at + 8 + Be(file, at + 4, 4);
      ASSERT_LE(end, file.size()) << "track chunk runs past the end of the file";
      ReadTrack(file, at + 8, end, piece);
      ++piece.tracks, at = end;
    }
    EXPECT_EQ(at, file.size()) << "stray bytes after the last track";
    EXPECT_TRUE(piece.tracks > 0 && (format == 1 || (format == 0 && piece.tracks == 1))) << format;
    EXPECT_EQ(piece.tracks, Be(file, 10, 2));
    EXPECT_TRUE(division > 0 && division < 0x8000u) << "beats, not frames";
    EXPECT_GT(piece.notes, 50);
    EXPECT_FALSE(piece.programs.empty()) << "plays General MIDI instruments";
    // Playing time to the last event, following every tempo change.
    double seconds = 0;
    std::uint32_t tick = 0, micros = 500000;  // a quarter a half second until told otherwise
    for (const auto& [when, tempo] : piece.tempoAt) {
      if (when >= piece.endTick) break;
      seconds += double(when - tick) * micros / division / 1e6, tick = when, micros = tempo;
    }
    seconds += double(piece.endTick - tick) * micros / division / 1e6;
    EXPECT_TRUE(seconds >= 150 && seconds <= 240) << seconds;
  }
}

TEST(SoundGenerator, WritesTheSameBytesEveryRunAndRejectsABrokenSource) {
  namespace fs = std::filesystem;
  const fs::path scratch = fs::temp_directory_path() / ("tamsel_sounds_" + std::to_string(::getpid()));
  fs::remove_all(scratch);
  fs::create_directories(scratch / "sources");
  fs::copy(fs::path(TAMSEL_SOURCE_DIR) / "data" / "sound", scratch / "sources" / "sound");
  auto run = [&](const fs::path& out) {
    return std::system((std::string(TAMSEL_BUILD_DIR) + "/tools/datagen_sounds --sources " +
                        (scratch / "sources").string() + " --out " + out.string() + " 2>" +
                        (scratch / "errors.txt").string())
                           .c_str());
  };
  ASSERT_EQ(run(scratch / "again"), 0);
  for (const auto& entry : fs::directory_iterator(fs::path(TAMSEL_DATA_DIR) / "voc")) {
    const auto name = entry.path().filename().string();
    if (name.ends_with(".wav") || name.ends_with(".mid")) {
      EXPECT_EQ(ReadBytes(entry.path().string()), ReadBytes((scratch / "again" / "voc" / name).string())) << name;
    }
  }
  // A bar one beat short must stop the build, naming the file and line.
  std::ofstream(scratch / "sources" / "sound" / "back.notes", std::ios::app)
      << "track extra channel=4 program=0\nC4:1 D4:1 E4:1 |\n";
  EXPECT_NE(run(scratch / "broken"), 0);
  const auto message = ReadBytes((scratch / "errors.txt").string());
  EXPECT_NE(std::string(message.begin(), message.end()).find("back.notes:"), std::string::npos);
  fs::remove_all(scratch);
}

}  // namespace
