#include "effect_spec.h"

#include <array>
#include <map>
#include <tuple>

#include "source_text.h"

namespace sounds {
namespace {

std::vector<std::string> SplitAt(const std::string& text, char separator) {
  std::vector<std::string> parts;
  std::size_t from = 0;
  for (;;) {
    const auto at = text.find(separator, from);
    parts.push_back(text.substr(from, at - from));
    if (at == std::string::npos) return parts;
    from = at + 1;
  }
}

Sweep ParseSweep(const std::string& value, bool geometric, const SourcePlace& where) {
  Sweep sweep;
  sweep.geometric = geometric;
  for (const auto& part : SplitAt(value, '>')) {
    const double point = where.Number(part);
    if (geometric && point <= 0) where.Fail("frequencies must be above zero: '" + value + "'");
    sweep.points.push_back(point);
  }
  return sweep;
}

// "RATE,AMOUNT" as used by vibrato and growl.
std::pair<double, double> ParsePair(const std::string& value, const SourcePlace& where) {
  const auto parts = SplitAt(value, ',');
  if (parts.size() != 2) where.Fail("expected RATE,AMOUNT, found '" + value + "'");
  return {where.Number(parts[0]), where.Number(parts[1])};
}

// Resonances of an adult voice for the five vowels, Hz.
const std::map<std::string, std::array<double, 3>>& VowelFormants() {
  static const std::map<std::string, std::array<double, 3>> table = {
      {"a", {730, 1090, 2440}}, {"e", {530, 1840, 2480}}, {"i", {270, 2290, 3010}},
      {"o", {570, 840, 2410}},  {"u", {300, 870, 2240}},
  };
  return table;
}

void SetVowels(Layer& layer, const std::string& value, double size, const SourcePlace& where) {
  for (auto& formant : layer.formants) formant = Sweep{};
  for (const auto& vowel : SplitAt(value, '>')) {
    const auto found = VowelFormants().find(vowel);
    if (found == VowelFormants().end()) where.Fail("unknown vowel '" + vowel + "' (a e i o u)");
    for (int f = 0; f < 3; ++f) layer.formants[f].points.push_back(found->second[f] * size);
  }
}

Layer ParseLayer(const SourceLine& line, const SourcePlace& where) {
  Layer layer;
  const std::string& kind = line.words[0];
  if (kind == "tone") layer.kind = LayerKind::kTone;
  else if (kind == "noise") layer.kind = LayerKind::kNoise;
  else layer.kind = LayerKind::kVoice;

  std::string vowels;
  double size = 1;
  for (std::size_t i = 1; i < line.words.size(); ++i) {
    const auto [key, value] = where.KeyValue(line.words[i]);
    const bool tone = layer.kind == LayerKind::kTone, noise = layer.kind == LayerKind::kNoise;
    const bool voice = layer.kind == LayerKind::kVoice;
    if (key == "at") layer.at = where.Number(value);
    else if (key == "attack") layer.attack = where.Number(value);
    else if (key == "hold") layer.hold = where.Number(value);
    else if (key == "decay") layer.decay = where.Number(value);
    else if (key == "curve") layer.curve = where.Number(value);
    else if (key == "gain") layer.gain = where.Number(value);
    else if (key == "pitch" && !noise) layer.pitch = ParseSweep(value, true, where);
    else if (key == "vibrato" && !noise)
      std::tie(layer.vibratoRate, layer.vibratoDepth) = ParsePair(value, where);
    else if (key == "wave" && tone) {
      if (value == "sine") layer.wave = Wave::kSine;
      else if (value == "triangle") layer.wave = Wave::kTriangle;
      else if (value == "saw") layer.wave = Wave::kSaw;
      else if (value == "square") layer.wave = Wave::kSquare;
      else where.Fail("unknown wave '" + value + "'");
    } else if (key == "band" && noise) layer.band = ParseSweep(value, true, where);
    else if (key == "q" && noise) layer.q = where.Number(value);
    else if (key == "vowels" && voice) vowels = value;
    else if (key == "size" && voice) size = where.Number(value);
    else if (key == "breath" && voice) layer.breath = where.Number(value);
    else if (key == "growl" && voice)
      std::tie(layer.growlRate, layer.growlDepth) = ParsePair(value, where);
    else where.Fail("'" + key + "' means nothing to a " + kind + " layer");
  }

  if (layer.at < 0 || layer.attack < 0 || layer.hold < 0 || layer.decay < 0 || layer.Duration() <= 0)
    where.Fail("times must not be negative and the layer must last");
  if (layer.curve <= 0 || layer.q <= 0 || size <= 0) where.Fail("curve, q and size must be above zero");
  if (layer.kind != LayerKind::kNoise && layer.pitch.points.empty()) where.Fail("missing pitch=");
  if (layer.kind == LayerKind::kNoise && layer.band.points.empty()) where.Fail("missing band=");
  if (layer.kind == LayerKind::kVoice) {
    if (vowels.empty()) where.Fail("missing vowels=");
    SetVowels(layer, vowels, size, where);
  }
  return layer;
}

}  // namespace

std::vector<EffectSpec> ParseEffects(const std::string& text, const std::string& fileName) {
  std::vector<EffectSpec> effects;
  for (const auto& line : SplitSourceLines(text)) {
    const SourcePlace where{fileName, line.number};
    const std::string& head = line.words[0];
    if (head == "effect") {
      if (line.words.size() < 2) where.Fail("effect needs a name");
      EffectSpec effect;
      effect.name = line.words[1];
      for (std::size_t i = 2; i < line.words.size(); ++i) {
        const auto [key, value] = where.KeyValue(line.words[i]);
        if (key == "length") effect.length = where.Number(value);
        else if (key == "room") effect.room = where.Number(value);
        else if (key == "peak") effect.peak = where.Number(value);
        else if (key == "seed") effect.seed = static_cast<std::uint32_t>(where.Whole(value, 0, 1 << 30));
        else where.Fail("'" + key + "' means nothing to an effect");
      }
      if (effect.length <= 0 || effect.length > 5) where.Fail("length must be above 0 and at most 5 s");
      if (effect.peak <= 0 || effect.peak > 1) where.Fail("peak must be above 0 and at most 1");
      if (effect.room < 0 || effect.room > 1) where.Fail("room must be between 0 and 1");
      for (const auto& other : effects)
        if (other.name == effect.name) where.Fail("effect '" + effect.name + "' is written twice");
      effects.push_back(std::move(effect));
    } else if (head == "tone" || head == "noise" || head == "voice") {
      if (effects.empty()) where.Fail("a layer must follow an effect line");
      Layer layer = ParseLayer(line, where);
      if (layer.at + layer.Duration() > effects.back().length + 1e-9)
        where.Fail("the layer outlasts its effect, which would cut it off");
      effects.back().layers.push_back(layer);
    } else {
      where.Fail("unknown line '" + head + "'");
    }
  }
  for (const auto& effect : effects)
    if (effect.layers.empty()) throw SourceError(fileName + ": effect '" + effect.name + "' has no layers");
  return effects;
}

}  // namespace sounds
