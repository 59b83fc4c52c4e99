// Writes a score as a Standard MIDI File (format 1): a conductor track with the tempo and metre,
// then one track per part with its General MIDI instrument and notes.
#pragma once

#include <cstdint>
#include <vector>

#include "score.h"

namespace sounds {

std::vector<std::uint8_t> EncodeMidi(const Score& score);

}  // namespace sounds
