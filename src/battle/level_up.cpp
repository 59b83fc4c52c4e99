// Level-ups after a victory: every whole 100 of experience is a level.
#include "battle/battle_rules.h"
#include "core/game_state.h"

namespace {

constexpr int32_t kLifePerLevel = 30;

}  // namespace

int32_t RaiseLevels() {
  if (hero.nExp < kExpPerLevel) return 0;
  const int32_t levels = hero.nExp / kExpPerLevel;
  hero.nLevel = SaturatedFigure(int64_t(hero.nLevel) + levels);
  hero.nAttack = SaturatedFigure(int64_t(hero.nAttack) + levels);
  hero.nDefense = SaturatedFigure(int64_t(hero.nDefense) + levels);
  hero.nMaxLife = SaturatedFigure(int64_t(hero.nMaxLife) + int64_t(kLifePerLevel) * levels);
  // Half of what is missing, the division truncating toward zero.
  hero.nLife = SaturatedFigure(int64_t(hero.nLife) + (int64_t(hero.nMaxLife) - hero.nLife) / 2);
  hero.nExp %= kExpPerLevel;
  return levels;
}
