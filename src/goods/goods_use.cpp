// Using goods: their figures go into the hero's at once, and the slot empties.
#include "goods/goods_use.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "core/game_state.h"
#include "goods/goods.h"

namespace {

// A figure plus a gain, held at the ends of the figure's range instead of wrapping round.
int32_t AddFigure(int32_t figure, int32_t gain) {
  const int64_t sum = int64_t(figure) + int64_t(gain);
  return int32_t(std::clamp<int64_t>(sum, std::numeric_limits<int32_t>::min(),
                                     std::numeric_limits<int32_t>::max()));
}

}  // namespace

int UseGoods(int slot) {
  if (slot < 0 || slot >= kGoodsSlots) return 0;
  const GoodsRecord* goods = GoodsOfSlot(hero.szGoods[slot]);
  if (goods == nullptr) return 0;
  hero.nExp = AddFigure(hero.nExp, goods->nAddExp);
  // Life never rises above the maximum; goods that take life may lower it without limit.
  hero.nLife = AddFigure(hero.nLife, goods->nAddLife);
  if (hero.nLife > hero.nMaxLife) hero.nLife = hero.nMaxLife;
  hero.nAttack = AddFigure(hero.nAttack, goods->nAddAttack);
  hero.nDefense = AddFigure(hero.nDefense, goods->nAddDefense);
  hero.szGoods[slot] = kEmptySlot;
  return 1;
}
