#include "synth_parts.h"

#include <algorithm>
#include <cmath>

namespace sounds {

double Noise::Next() {
  state_ ^= state_ << 13;
  state_ ^= state_ >> 17;
  state_ ^= state_ << 5;
  return static_cast<double>(state_) / 2147483648.0 - 1.0;
}

double Sweep::At(double progress) const {
  if (points.empty()) return 0;
  if (points.size() == 1) return points.front();
  const double where = std::clamp(progress, 0.0, 1.0) * static_cast<double>(points.size() - 1);
  const auto index = std::min(static_cast<std::size_t>(where), points.size() - 2);
  const double frac = where - static_cast<double>(index);
  const double from = points[index], to = points[index + 1];
  if (geometric && from > 0 && to > 0) return from * std::pow(to / from, frac);
  return from + (to - from) * frac;
}

StateVariableFilter::Output StateVariableFilter::Step(double in, double centreHz, double q) {
  const double hz = std::clamp(centreHz, 20.0, 0.45 * kSampleRate);
  const double g = std::tan(kPi * hz / kSampleRate);
  const double k = 1.0 / std::max(q, 0.1);
  const double a1 = 1.0 / (1.0 + g * (g + k));
  const double a2 = g * a1;
  const double a3 = g * a2;
  const double v3 = in - ic2_;
  const double v1 = a1 * ic1_ + a2 * v3;
  const double v2 = ic2_ + a2 * ic1_ + a3 * v3;
  ic1_ = 2 * v1 - ic1_;
  ic2_ = 2 * v2 - ic2_;
  return {v2, v1};
}

namespace {

// Correction around a discontinuity of a naive saw, t the phase, dt the phase step.
double PolyBlep(double t, double dt) {
  if (t < dt) {
    t /= dt;
    return t + t - t * t - 1.0;
  }
  if (t > 1.0 - dt) {
    t = (t - 1.0) / dt;
    return t * t + t + t + 1.0;
  }
  return 0.0;
}

}  // namespace

double Oscillator::Step(double hz) {
  const double dt = std::clamp(hz / kSampleRate, 0.0, 0.45);
  double out = 0;
  switch (wave_) {
    case Wave::kSine:
      out = std::sin(2 * kPi * phase_);
      break;
    case Wave::kSaw:
      out = 2 * phase_ - 1 - PolyBlep(phase_, dt);
      break;
    case Wave::kTriangle:
      // Triangle overtones fall off fast enough that the plain shape stays clean.
      out = 1.0 - 4.0 * std::fabs(phase_ - 0.5);
      break;
    case Wave::kSquare:
      out = (phase_ < 0.5 ? 1.0 : -1.0) + PolyBlep(phase_, dt) -
            PolyBlep(std::fmod(phase_ + 0.5, 1.0), dt);
      break;
  }
  phase_ += dt;
  if (phase_ >= 1.0) phase_ -= 1.0;
  return out;
}

RoomEcho::RoomEcho() {
  const std::size_t combLengths[4] = {557, 593, 641, 677};
  const std::size_t allpassLengths[2] = {113, 171};
  for (int i = 0; i < 4; ++i) combs_[i].buffer.assign(combLengths[i], 0.0);
  for (int i = 0; i < 2; ++i) allpasses_[i].buffer.assign(allpassLengths[i], 0.0);
}

double RoomEcho::Step(double in) {
  double wet = 0;
  for (auto& comb : combs_) {
    const double delayed = comb.buffer[comb.pos];
    comb.damp = delayed * 0.6 + comb.damp * 0.4;  // walls soak up the highs
    comb.buffer[comb.pos] = in + comb.damp * 0.72;
    comb.pos = (comb.pos + 1) % comb.buffer.size();
    wet += delayed;
  }
  wet *= 0.25;
  for (auto& pass : allpasses_) {
    const double delayed = pass.buffer[pass.pos];
    pass.buffer[pass.pos] = wet + delayed * 0.5;
    pass.pos = (pass.pos + 1) % pass.buffer.size();
    wet = delayed - wet;
  }
  return wet;
}

}  // namespace sounds
