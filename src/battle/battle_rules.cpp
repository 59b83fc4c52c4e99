#include "battle/battle_rules.h"
#include "core/random.h"

#include <algorithm>
#include <limits>

#include "video/draw.h"

namespace {

constexpr int64_t kWeakBlowLimit = 10;  // a base up to this strikes for 0 to 10
constexpr int kEscapeRange = 100;

}  // namespace

int32_t SaturatedFigure(int64_t value) {
  return int32_t(std::clamp<int64_t>(value, std::numeric_limits<int32_t>::min(),
                                     std::numeric_limits<int32_t>::max()));
}

int32_t BlowDamage(int32_t attack, int32_t defense) {
  const int32_t base = SaturatedFigure(2 * int64_t(attack) - defense);
  if (base > kWeakBlowLimit) return SaturatedFigure(int64_t(base) + RandomUpTo(base));
  return RandomUpTo(int(kWeakBlowLimit));
}

bool EscapeSucceeds(int32_t nEscapeHold) { return RandomUpTo(kEscapeRange) > nEscapeHold; }
