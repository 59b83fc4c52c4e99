// Turns an effect description into 16-bit mono samples at 22050 Hz.
#pragma once

#include <cstdint>
#include <vector>

#include "effect_spec.h"

namespace sounds {

std::vector<std::int16_t> RenderEffect(const EffectSpec& effect);

}  // namespace sounds
