// The description of one fight sound as written in data/sound/effects.txt: a few layers (plain
// tones, filtered noise, vowel-like cries) mixed over a fixed length.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "synth_parts.h"

namespace sounds {

enum class LayerKind { kTone, kNoise, kVoice };

struct Layer {
  LayerKind kind = LayerKind::kTone;
  double at = 0;        // start, seconds from the start of the effect
  double attack = 0.005;
  double hold = 0;
  double decay = 0.2;
  double curve = 2;     // shape of the decay: 1 straight, larger falls away sooner
  double gain = 0.5;
  Wave wave = Wave::kSine;                // tone
  Sweep pitch;                            // tone and voice, Hz
  double vibratoRate = 0, vibratoDepth = 0;  // Hz, semitones
  Sweep band;                             // noise: band-pass centre, Hz
  double q = 1;                           // noise: band sharpness
  Sweep formants[3];                      // voice: the three vowel resonances, Hz
  double breath = 0;                      // voice: share of air noise in the source
  double growlRate = 0, growlDepth = 0;   // voice: throat rattle, Hz and 0..1

  double Duration() const { return attack + hold + decay; }
};

struct EffectSpec {
  std::string name;     // file name without ".wav"
  double length = 0;    // seconds
  double room = 0;      // share of room echo, 0..1
  double peak = 0.6;    // loudest sample as a share of full scale: about -4.4 dBFS, room for the music
  std::uint32_t seed = 1;
  std::vector<Layer> layers;
};

// Reads the effect list; throws SourceError naming the file and line of any mistake.
std::vector<EffectSpec> ParseEffects(const std::string& text, const std::string& fileName);

}  // namespace sounds
