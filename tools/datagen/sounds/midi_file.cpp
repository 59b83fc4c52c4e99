#include "midi_file.h"

#include <algorithm>
#include <cmath>

namespace sounds {
namespace {

struct Event {
  std::uint32_t tick;
  int order;  // at one tick: set-up first, then note-offs, then note-ons
  std::vector<std::uint8_t> bytes;
};

void PutVariable(std::vector<std::uint8_t>& out, std::uint32_t value) {
  std::uint8_t groups[5];
  int count = 0;
  do {
    groups[count++] = static_cast<std::uint8_t>(value & 0x7F);
    value >>= 7;
  } while (value);
  while (count-- > 0) out.push_back(static_cast<std::uint8_t>(groups[count] | (count ? 0x80 : 0)));
}

void PutBig(std::vector<std::uint8_t>& out, std::uint32_t value, int bytes) {
  for (int i = bytes - 1; i >= 0; --i) out.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

Event Meta(std::uint32_t tick, std::uint8_t type, std::vector<std::uint8_t> data) {
  std::vector<std::uint8_t> bytes = {0xFF, type};
  PutVariable(bytes, static_cast<std::uint32_t>(data.size()));
  bytes.insert(bytes.end(), data.begin(), data.end());
  return {tick, 0, bytes};
}

Event Name(const std::string& name) { return Meta(0, 0x03, {name.begin(), name.end()}); }

// Sorts the events, closes the track with end-of-track and wraps it in an "MTrk" chunk.
void PutTrack(std::vector<std::uint8_t>& out, std::vector<Event> events) {
  std::stable_sort(events.begin(), events.end(), [](const Event& a, const Event& b) {
    return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
  });
  const std::uint32_t end = events.empty() ? 0 : events.back().tick;
  events.push_back(Meta(end, 0x2F, {}));
  std::vector<std::uint8_t> body;
  std::uint32_t now = 0;
  for (const auto& event : events) {
    PutVariable(body, event.tick - now);
    now = event.tick;
    body.insert(body.end(), event.bytes.begin(), event.bytes.end());
  }
  out.insert(out.end(), {'M', 'T', 'r', 'k'});
  PutBig(out, static_cast<std::uint32_t>(body.size()), 4);
  out.insert(out.end(), body.begin(), body.end());
}

std::vector<Event> ConductorEvents(const Score& score) {
  const auto microsPerBeat = static_cast<std::uint32_t>(std::lround(60'000'000.0 / score.tempo));
  std::vector<std::uint8_t> tempo;
  PutBig(tempo, microsPerBeat, 3);
  // Metre as beats over quarter notes, 24 clocks per click, 8 thirty-seconds per quarter.
  const std::vector<std::uint8_t> metre = {static_cast<std::uint8_t>(score.meter), 2, 24, 8};
  return {Name("Tamsel"), Meta(0, 0x58, metre), Meta(0, 0x51, tempo)};
}

std::vector<Event> PartEvents(const ScoreTrack& track) {
  const auto channel = static_cast<std::uint8_t>(track.channel);
  auto control = [&](std::uint8_t number, int value) {
    return Event{0, 1, {static_cast<std::uint8_t>(0xB0 | channel), number, static_cast<std::uint8_t>(value)}};
  };
  std::vector<Event> events = {Name(track.name)};
  if (track.channel != 9)
    events.push_back({0, 1, {static_cast<std::uint8_t>(0xC0 | channel), static_cast<std::uint8_t>(track.program)}});
  events.push_back(control(7, track.volume));
  events.push_back(control(10, track.pan));
  events.push_back(control(91, track.reverb));
  for (const auto& note : track.notes) {
    events.push_back({note.tick, 3, {static_cast<std::uint8_t>(0x90 | channel), note.key, note.velocity}});
    events.push_back({note.tick + note.length, 2, {static_cast<std::uint8_t>(0x80 | channel), note.key, 64}});
  }
  return events;
}

}  // namespace

std::vector<std::uint8_t> EncodeMidi(const Score& score) {
  std::vector<std::uint8_t> out = {'M', 'T', 'h', 'd'};
  PutBig(out, 6, 4);
  PutBig(out, 1, 2);  // format 1: tracks played together
  PutBig(out, static_cast<std::uint32_t>(score.tracks.size() + 1), 2);
  PutBig(out, kTicksPerBeat, 2);
  PutTrack(out, ConductorEvents(score));
  for (const auto& track : score.tracks) PutTrack(out, PartEvents(track));
  return out;
}

}  // namespace sounds
