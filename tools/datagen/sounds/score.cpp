#include "score.h"

#include <cctype>
#include <cmath>
#include <map>

#include "source_text.h"

namespace sounds {
namespace {

// "1", "0.5" or "1/3" beats, as a whole number of ticks.
std::uint32_t ParseBeats(const std::string& word, const SourcePlace& where) {
  double beats = 0;
  if (const auto slash = word.find('/'); slash != std::string::npos) {
    const double over = where.Number(word.substr(slash + 1));
    if (over <= 0) where.Fail("bad length '" + word + "'");
    beats = where.Number(word.substr(0, slash)) / over;
  } else {
    beats = where.Number(word);
  }
  const double ticks = beats * kTicksPerBeat;
  if (ticks <= 0 || ticks > 1e6 || std::fabs(ticks - std::round(ticks)) > 1e-6)
    where.Fail("length '" + word + "' is not a positive whole number of ticks (1/480 beat)");
  return static_cast<std::uint32_t>(std::lround(ticks));
}

// "C4", "F#5", "Bb3" or a bare key number such as "76".
std::uint8_t ParsePitch(const std::string& word, const SourcePlace& where) {
  if (!word.empty() && std::isdigit(static_cast<unsigned char>(word[0])))
    return static_cast<std::uint8_t>(where.Whole(word, 0, 127));
  static const std::map<char, int> steps = {{'C', 0}, {'D', 2}, {'E', 4}, {'F', 5},
                                            {'G', 7}, {'A', 9}, {'B', 11}};
  const auto step = word.empty() ? steps.end() : steps.find(word[0]);
  if (step == steps.end()) where.Fail("unknown pitch '" + word + "'");
  int key = step->second;
  std::size_t at = 1;
  if (at < word.size() && word[at] == '#') ++key, ++at;
  else if (at < word.size() && word[at] == 'b') --key, ++at;
  const std::string octave = word.substr(at);
  if (octave.size() != 1 || !std::isdigit(static_cast<unsigned char>(octave[0])))
    where.Fail("pitch '" + word + "' needs an octave digit");
  key += (octave[0] - '0' + 1) * 12;
  if (key < 0 || key > 127) where.Fail("pitch '" + word + "' is out of range");
  return static_cast<std::uint8_t>(key);
}

// The state of the part being written.
struct Writer {
  ScoreTrack* track = nullptr;  // the last of the score's tracks
  std::uint32_t tick = 0;
  std::uint32_t barStart = 0;
  std::uint8_t velocity = 80;
  double gate = 0.92;  // share of its length a note sounds
};

void WriteWord(const std::string& word, const Score& score, Writer& writer,
               const std::map<std::string, std::vector<std::string>>& patterns, const SourcePlace& where,
               int depth) {
  if (word == "|") {
    const std::uint32_t bar = static_cast<std::uint32_t>(score.meter) * kTicksPerBeat;
    if (writer.tick - writer.barStart != bar)
      where.Fail("bar holds " + std::to_string((writer.tick - writer.barStart) / double(kTicksPerBeat)) +
                 " beats, not " + std::to_string(score.meter));
    writer.barStart = writer.tick;
    return;
  }
  if (word[0] == '@') {
    const auto found = patterns.find(word.substr(1));
    if (found == patterns.end()) where.Fail("unknown pattern '" + word + "'");
    if (depth > 8) where.Fail("patterns nest too deeply");
    for (const auto& inner : found->second) WriteWord(inner, score, writer, patterns, where, depth + 1);
    return;
  }
  if (word.rfind("v=", 0) == 0) {
    writer.velocity = static_cast<std::uint8_t>(where.Whole(word.substr(2), 1, 127));
    return;
  }
  if (word.rfind("gate=", 0) == 0) {
    writer.gate = where.Number(word.substr(5));
    if (writer.gate <= 0 || writer.gate > 1) where.Fail("gate must be above 0 and at most 1");
    return;
  }
  const auto colon = word.find(':');
  if (colon == std::string::npos || colon == 0) where.Fail("expected PITCH:BEATS, found '" + word + "'");
  const std::uint32_t length = ParseBeats(word.substr(colon + 1), where);
  const std::string pitches = word.substr(0, colon);
  if (pitches != "r") {
    std::size_t from = 0;
    for (;;) {
      const auto plus = pitches.find('+', from);
      ScoreNote note;
      note.tick = writer.tick;
      note.length = std::max<std::uint32_t>(1, static_cast<std::uint32_t>(length * writer.gate));
      note.key = ParsePitch(pitches.substr(from, plus - from), where);
      note.velocity = writer.velocity;
      writer.track->notes.push_back(note);
      if (plus == std::string::npos) break;
      from = plus + 1;
    }
  }
  writer.tick += length;
}

void StartTrack(const SourceLine& line, Score& score, Writer& writer, const SourcePlace& where) {
  if (line.words.size() < 2) where.Fail("track needs a name");
  ScoreTrack track;
  track.name = line.words[1];
  bool hasChannel = false;
  for (std::size_t i = 2; i < line.words.size(); ++i) {
    const auto [key, value] = where.KeyValue(line.words[i]);
    if (key == "channel") track.channel = where.Whole(value, 1, 16) - 1, hasChannel = true;
    else if (key == "program") track.program = where.Whole(value, 0, 127);
    else if (key == "volume") track.volume = where.Whole(value, 0, 127);
    else if (key == "pan") track.pan = where.Whole(value, 0, 127);
    else if (key == "reverb") track.reverb = where.Whole(value, 0, 127);
    else where.Fail("'" + key + "' means nothing to a track");
  }
  if (!hasChannel) where.Fail("track needs channel=");
  score.tracks.push_back(std::move(track));
  writer = Writer{};
  writer.track = &score.tracks.back();
}

}  // namespace

Score ParseScore(const std::string& text, const std::string& fileName) {
  Score score;
  score.tracks.reserve(16);  // tracks never move while their notes are written
  Writer writer;
  std::map<std::string, std::vector<std::string>> patterns;
  for (const auto& line : SplitSourceLines(text)) {
    const SourcePlace where{fileName, line.number};
    const std::string& head = line.words[0];
    if (head == "tempo" || head == "meter") {
      if (line.words.size() != 2) where.Fail(head + " takes one number");
      if (!score.tracks.empty()) where.Fail(head + " must come before the first track");
      if (head == "tempo") score.tempo = where.Whole(line.words[1], 20, 300);
      else score.meter = where.Whole(line.words[1], 1, 16);
    } else if (head == "pattern") {
      if (line.words.size() < 3) where.Fail("pattern needs a name and notes");
      patterns[line.words[1]] = {line.words.begin() + 2, line.words.end()};
    } else if (head == "track") {
      if (score.tracks.size() == 16) where.Fail("at most 16 tracks");
      StartTrack(line, score, writer, where);
    } else {
      if (!writer.track) where.Fail("notes must follow a track line");
      for (const auto& word : line.words) WriteWord(word, score, writer, patterns, where, 0);
    }
  }
  if (score.tracks.empty()) throw SourceError(fileName + ": no tracks");
  return score;
}

}  // namespace sounds
