// The two pieces of music as a MIDI player reads them: a sound chunk structure, tracks that end
// properly, no note left hanging, and about three minutes long: the game starts the travelling
// music again after about 60 s of walking, but fights, talks and shops hold that count, and the
// music must not run out while they do.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "sound_file_bytes.h"

namespace {

using sound_test::Be;
using sound_test::DataPath;
using sound_test::ReadBytes;
using sound_test::Tag;

struct Piece {
  int format = -1;
  std::size_t declaredTracks = 0, tracks = 0;
  std::uint32_t division = 0;
  std::uint32_t endTick = 0;
  std::map<std::uint32_t, std::uint32_t> tempoAt;  // tick -> microseconds a beat
  int notes = 0;
  std::set<int> programs;
};

// Reads one track chunk body; every fault is reported as a test failure.
void ReadTrack(const std::vector<std::uint8_t>& file, std::size_t at, std::size_t end, Piece& piece) {
  std::uint32_t tick = 0;
  std::uint8_t status = 0;
  std::map<int, int> sounding;  // channel * 128 + key -> notes started and not yet ended
  bool ended = false;
  auto variable = [&]() {
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i) {
      if (at >= end) break;
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
      const std::uint8_t kind = file[at], type = kind == 0xFF ? file.at(at + 1) : 0;
      at += kind == 0xFF ? 2 : 1;
      const std::uint32_t length = variable();
      ASSERT_LE(at + length, end) << "meta event runs past its track";
      if (type == 0x51) {
        ASSERT_EQ(length, 3u);
        piece.tempoAt[tick] = Be(file, at, 3);
      }
      if (type == 0x2F) ended = true;
      at += length;
      continue;
    }
    if (file[at] & 0x80) status = file[at++];
    ASSERT_NE(status, 0) << "data byte without a status";
    const int kind = status >> 4, channel = status & 0x0F;
    const int size = kind == 0xC || kind == 0xD ? 1 : 2;
    ASSERT_LE(at + size, end);
    for (int i = 0; i < size; ++i) ASSERT_LT(file[at + i], 0x80) << "data byte out of range";
    const int key = channel * 128 + file[at];
    if (kind == 0x9 && file[at + 1] > 0) ++sounding[key], ++piece.notes;
    else if (kind == 0x8 || kind == 0x9) --sounding[key];
    if (kind == 0xC) piece.programs.insert(file[at]);
    at += size;
  }
  EXPECT_TRUE(ended) << "track without end-of-track";
  EXPECT_EQ(at, end) << "bytes after end-of-track";
  for (const auto& [key, count] : sounding) EXPECT_EQ(count, 0) << "key " << key % 128 << " left hanging";
  piece.endTick = std::max(piece.endTick, tick);
}

Piece ReadPiece(const std::string& name) {
  const auto file = ReadBytes(DataPath(name));
  Piece piece;
  if (Tag(file, 0) != "MThd" || Be(file, 4, 4) != 6) {
    ADD_FAILURE() << name << ": no MIDI header";
    return piece;
  }
  piece.format = static_cast<int>(Be(file, 8, 2));
  piece.declaredTracks = Be(file, 10, 2);
  piece.division = Be(file, 12, 2);
  std::size_t at = 14;
  while (at + 8 <= file.size()) {
    EXPECT_EQ(Tag(file, at), "MTrk") << name << " at byte " << at;
    const std::size_t end = at + 8 + Be(file, at + 4, 4);
    if (end > file.size()) {
      ADD_FAILURE() << name << ": track chunk runs past the end of the file";
      return piece;
    }
    ReadTrack(file, at + 8, end, piece);
    ++piece.tracks;
    at = end;
  }
  EXPECT_EQ(at, file.size()) << name << ": stray bytes after the last track";
  return piece;
}

// Playing time to the last event, following every tempo change.
double Seconds(const Piece& piece) {
  double seconds = 0;
  std::uint32_t tick = 0, micros = 500000;  // a quarter a half second until told otherwise
  for (const auto& [at, tempo] : piece.tempoAt) {
    if (at >= piece.endTick) break;
    seconds += double(at - tick) * micros / piece.division / 1e6;
    tick = at;
    micros = tempo;
  }
  return seconds + double(piece.endTick - tick) * micros / piece.division / 1e6;
}

TEST(Music, FilesAreWellFormedThemesThatOutlastALongFight) {
  for (const char* name : {"title.mid", "back.mid"}) {
    SCOPED_TRACE(name);
    const Piece piece = ReadPiece(name);
    EXPECT_TRUE(piece.format == 0 || (piece.format == 1 && piece.tracks > 0));
    EXPECT_TRUE(piece.format != 0 || piece.tracks == 1);
    EXPECT_EQ(piece.tracks, piece.declaredTracks);
    EXPECT_TRUE(piece.division > 0 && piece.division < 0x8000u) << "beats, not frames";
    EXPECT_GT(piece.notes, 50);
    EXPECT_FALSE(piece.programs.empty()) << "plays General MIDI instruments";
    const double seconds = Seconds(piece);
    EXPECT_TRUE(seconds >= 150 && seconds <= 240) << seconds;
  }
}

}  // namespace
