// The building blocks the effects are made of: seeded noise, pitch and filter sweeps, a band-pass
// filter that stays stable at any frequency, alias-reduced oscillators and a small room echo.
#pragma once

#include <cstdint>
#include <vector>

namespace sounds {

inline constexpr int kSampleRate = 22050;
inline constexpr double kPi = 3.14159265358979323846;

// White noise in [-1, 1) from a fixed seed, so every build writes the same bytes.
class Noise {
 public:
  explicit Noise(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
  double Next();

 private:
  std::uint32_t state_;
};

// A value moving through evenly spaced points over the life of a layer. Frequencies glide
// geometrically (equal musical steps), levels linearly.
struct Sweep {
  std::vector<double> points;
  bool geometric = true;
  double At(double progress) const;  // progress 0..1, clamped
};

// Topology-preserving state-variable filter: band-pass and low-pass outputs, stable even when
// its centre glides close to the Nyquist frequency.
class StateVariableFilter {
 public:
  struct Output {
    double low, band;
  };
  Output Step(double in, double centreHz, double q);

 private:
  double ic1_ = 0, ic2_ = 0;
};

enum class Wave { kSine, kTriangle, kSaw, kSquare };

// An oscillator whose frequency may change every sample; saw and square edges are softened
// (polyBLEP) so high pitches do not fold back as harsh aliases.
class Oscillator {
 public:
  explicit Oscillator(Wave wave, double phase = 0) : wave_(wave), phase_(phase) {}
  double Step(double hz);

 private:
  Wave wave_;
  double phase_;
};

// A small room: four damped combs into two all-passes. Returns the wet signal only.
class RoomEcho {
 public:
  RoomEcho();
  double Step(double in);

 private:
  struct Line {
    std::vector<double> buffer;
    std::size_t pos = 0;
    double damp = 0;
  };
  Line combs_[4];
  Line allpasses_[2];
};

}  // namespace sounds
