#include "effect_render.h"

#include <algorithm>
#include <cmath>

namespace sounds {
namespace {

double Envelope(const Layer& layer, double t) {
  if (t < 0 || t >= layer.Duration()) return 0;
  if (t < layer.attack) {
    const double x = t / layer.attack;
    return x * x * (3 - 2 * x);  // eased rise, no click
  }
  if (t < layer.attack + layer.hold || layer.decay <= 0) return 1;
  const double x = (t - layer.attack - layer.hold) / layer.decay;
  return std::pow(1 - x, layer.curve);
}

double Semitones(double st) { return std::pow(2.0, st / 12.0); }

// A slowly wandering value in about [-1, 1]: noise smoothed to a few hertz, for the small
// unsteadiness of a real voice.
class Wander {
 public:
  explicit Wander(std::uint32_t seed) : noise_(seed) {}
  double Step() {
    slow_ += (noise_.Next() - slow_) * 0.002;
    return slow_ * 8;
  }

 private:
  Noise noise_;
  double slow_ = 0;
};

void AddTone(const Layer& layer, std::vector<double>& mix) {
  Oscillator osc(layer.wave);
  const auto first = static_cast<std::size_t>(layer.at * kSampleRate);
  const auto count = static_cast<std::size_t>(layer.Duration() * kSampleRate);
  for (std::size_t i = 0; i < count && first + i < mix.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double progress = t / layer.Duration();
    const double vibrato =
        layer.vibratoDepth * std::sin(2 * kPi * layer.vibratoRate * t) * std::min(1.0, t / 0.15);
    mix[first + i] += layer.gain * Envelope(layer, t) * osc.Step(layer.pitch.At(progress) * Semitones(vibrato));
  }
}

void AddNoise(const Layer& layer, std::uint32_t seed, std::vector<double>& mix) {
  Noise noise(seed);
  StateVariableFilter filter;
  const auto first = static_cast<std::size_t>(layer.at * kSampleRate);
  const auto count = static_cast<std::size_t>(layer.Duration() * kSampleRate);
  // A narrow band passes little energy; lift it so gain means about the same at any q.
  const double makeUp = std::sqrt(layer.q);
  for (std::size_t i = 0; i < count && first + i < mix.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double band = filter.Step(noise.Next(), layer.band.At(t / layer.Duration()), layer.q).band;
    mix[first + i] += layer.gain * makeUp * Envelope(layer, t) * band;
  }
}

// A cry: a buzzing throat (saw plus a little air) shaped by three vowel resonances.
void AddVoice(const Layer& layer, std::uint32_t seed, std::vector<double>& mix) {
  Oscillator throat(Wave::kSaw);
  Noise air(seed);
  Wander wander(seed * 2654435761u + 1);
  StateVariableFilter tilt, resonance[3];
  const double formantGain[3] = {1.0, 0.55, 0.3};
  const double formantQ[3] = {3.5, 5, 7};
  const auto first = static_cast<std::size_t>(layer.at * kSampleRate);
  const auto count = static_cast<std::size_t>(layer.Duration() * kSampleRate);
  for (std::size_t i = 0; i < count && first + i < mix.size(); ++i) {
    const double t = static_cast<double>(i) / kSampleRate;
    const double progress = t / layer.Duration();
    const double vibrato =
        layer.vibratoDepth * std::sin(2 * kPi * layer.vibratoRate * t) * std::min(1.0, t / 0.2);
    const double hz = layer.pitch.At(progress) * Semitones(vibrato + 0.15 * wander.Step());
    double source = throat.Step(hz);
    source = tilt.Step(source, hz * 4, 0.7).low;  // soften the buzz like a real throat does
    source = source * (1 - layer.breath) + air.Next() * layer.breath;
    if (layer.growlDepth > 0)
      source *= 1 - layer.growlDepth * (0.5 + 0.5 * std::sin(2 * kPi * layer.growlRate * t));
    double vowel = 0;
    for (int f = 0; f < 3; ++f)
      vowel += formantGain[f] * resonance[f].Step(source, layer.formants[f].At(progress), formantQ[f]).band;
    mix[first + i] += layer.gain * Envelope(layer, t) * vowel;
  }
}

}  // namespace

std::vector<std::int16_t> RenderEffect(const EffectSpec& effect) {
  const auto length = static_cast<std::size_t>(effect.length * kSampleRate);
  std::vector<double> mix(length, 0.0);
  std::uint32_t seed = effect.seed;
  for (const auto& layer : effect.layers) {
    seed = seed * 1664525u + 1013904223u;  // each layer its own noise
    switch (layer.kind) {
      case LayerKind::kTone: AddTone(layer, mix); break;
      case LayerKind::kNoise: AddNoise(layer, seed, mix); break;
      case LayerKind::kVoice: AddVoice(layer, seed, mix); break;
    }
  }

  if (effect.room > 0) {
    RoomEcho room;
    for (auto& sample : mix) sample = sample * (1 - effect.room * 0.5) + room.Step(sample) * effect.room;
  }

  // Block any offset so the speaker rests at zero, then fade the last few milliseconds.
  double lastIn = 0, lastOut = 0;
  for (auto& sample : mix) {
    const double out = sample - lastIn + 0.995 * lastOut;
    lastIn = sample;
    lastOut = out;
    sample = out;
  }
  const std::size_t fade = std::min<std::size_t>(length, kSampleRate / 100);
  for (std::size_t i = 0; i < fade; ++i) mix[length - 1 - i] *= static_cast<double>(i) / fade;

  double loudest = 0;
  for (double sample : mix) loudest = std::max(loudest, std::fabs(sample));
  const double scale = loudest > 0 ? effect.peak * 32767.0 / loudest : 0.0;
  std::vector<std::int16_t> samples(length);
  for (std::size_t i = 0; i < length; ++i)
    samples[i] = static_cast<std::int16_t>(std::lround(std::clamp(mix[i] * scale, -32767.0, 32767.0)));
  return samples;
}

}  // namespace sounds
