// A piece of music as written in data/sound/*.notes: a tempo, a metre and a few instrument parts,
// each a list of timed notes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sounds {

inline constexpr int kTicksPerBeat = 480;

struct ScoreNote {
  std::uint32_t tick = 0;    // start, in ticks from the start of the piece
  std::uint32_t length = 0;  // sounding length in ticks, at least 1
  std::uint8_t key = 60;     // MIDI key number, 60 = middle C
  std::uint8_t velocity = 80;
};

struct ScoreTrack {
  std::string name;
  int channel = 0;   // 0..15 (channel 10 of the players is 9 here: drums)
  int program = 0;   // General MIDI instrument 0..127
  int volume = 100, pan = 64, reverb = 40;
  std::vector<ScoreNote> notes;
};

struct Score {
  double tempo = 120;  // quarter notes per minute
  int meter = 4;       // beats in a bar
  std::vector<ScoreTrack> tracks;
};

// Reads a note list; throws SourceError naming the file and line of any mistake.
Score ParseScore(const std::string& text, const std::string& fileName);

}  // namespace sounds
