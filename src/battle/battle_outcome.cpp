// The end of a fight, checked after every blow: the enemy's life first, then the hero's. A
// victory shows and pays the experience, money and loot won and any level-up; a death shows
// the death message. Every message is drawn on the visible page over one battle screen.
#include <cstdio>
#include <cstring>

#include "battle/battle.h"
#include "battle/battle_rules.h"
#include "core/game_state.h"
#include "goods/goods.h"
#include "sound/sound.h"
#include "video/display.h"
#include "video/draw.h"

namespace {

constexpr int32_t kExpPerEnemyLevel = 25;
constexpr char kNoLoot = '0';  // a loot field starting with this carries nothing
constexpr int32_t kOffScreenX = 640;

constexpr int kLootX = 290;
constexpr int kLootY = 240;
constexpr int kLootSpread = 15;  // x step per name byte and slot
constexpr int kLineLength = 50;

// Messages stand over the fight's light ground, so each has a dark shadow under it.
void Say(int x, int y, const char* text, uint32_t color) {
  PrintShadowedText(lpDDSPrimary, x, y, text, color, kLineLength, kThinShadow);
}

void WaitForEnter() { WaitKey(platform::VK_RETURN, 0); }

// True when some byte of the loot field names goods the hero could carry.
bool CarriesLoot(const NpcRecord& enemy) {
  if (enemy.szGoods[0] == kNoLoot) return false;
  for (int i = 0; i < kGoodsSlots; ++i) {
    if (GoodsOfSlot(enemy.szGoods[i]) != nullptr) return true;
  }
  return false;
}

// The row of goods won, each name placed by its slot in the enemy's field, and each put into
// the hero's first empty slot; with every slot full it is shown but lost.
void TakeLoot(const NpcRecord& enemy) {
  if (!CarriesLoot(enemy)) return;
  Say(200, kLootY, "缴获物品：", kWhite);
  for (int i = 0; i < kGoodsSlots; ++i) {
    const char slot = enemy.szGoods[i];
    const GoodsRecord* goods = GoodsOfSlot(slot);
    if (goods == nullptr) continue;
    const int nameLength = int(strnlen(goods->szName, sizeof goods->szName));
    char text[40];
    std::snprintf(text, sizeof text, "%.*s  ", nameLength, goods->szName);
    Say(kLootX + kLootSpread * nameLength * i, kLootY, text, kYellow);
    AddGoods(hero, slot);
  }
}

void ShowVictory(const NpcRecord& enemy) {
  PlayEffect(lpDSBDead[VoiceOf(enemy.nPicture)], 0);
  CurrentMap().nNpcCount = 0;
  DrawBattleScreen(0, enemy);
  Say(280, 180, "胜利了！", kWhite);
  WaitForEnter();

  const int32_t exp = SaturatedFigure(int64_t(kExpPerEnemyLevel) * enemy.nLevel);
  char text[80];
  std::snprintf(text, sizeof text, "获得：经验=[%d] 金钱=[%d] ", exp, enemy.nMoney);
  Say(200, 210, text, kWhite);
  hero.nMoney = SaturatedFigure(int64_t(hero.nMoney) + enemy.nMoney);
  hero.nExp = SaturatedFigure(int64_t(hero.nExp) + exp);
  TakeLoot(enemy);
  WaitForEnter();

  if (RaiseLevels() > 0) {
    std::snprintf(text, sizeof text, "等级升为(%d)^_^", hero.nLevel);
    Say(250, 270, text, kYellow);
    WaitForEnter();
  }
}

void ShowDeath(const NpcRecord& enemy) {
  PlayEffect(lpDSBDead[kHeroVoice], 0);
  hero.nX = hero.nLastX = kOffScreenX;
  DrawBattleScreen(0, enemy);
  Say(280, 200, "你死了！", kWhite);
  WaitForEnter();
}

}  // namespace

int32_t CheckBattleOutcome(NpcRecord enemy) {
  if (enemy.nLife <= 0) {
    ShowVictory(enemy);
    return kOutcomeEnemyDown;
  }
  if (hero.nLife <= 0) {
    ShowDeath(enemy);
    return kOutcomeHeroDown;
  }
  return kOutcomeBothStand;
}
