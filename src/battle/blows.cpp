// The two kinds of blow: the hero's on the enemy and the enemy's on the hero. A blow plays the
// attacker's sound, shows the explosion on the one struck, lets it cry out, shakes it while
// the damage figure rises over it, and only then lowers the life.
#include <cstdio>

#include "battle/battle.h"
#include "battle/battle_rules.h"
#include "core/game_state.h"
#include "sound/sound.h"
#include "video/display.h"
#include "video/draw.h"

namespace {

constexpr int kExplosionFrames = 10;
constexpr int kExplosionWidth = 54;
constexpr int kExplosionHeight = 50;
constexpr int kExplosionDelay = 60;
constexpr int kShakeSteps = 10;
constexpr int kShakeDelay = 50;
constexpr int kShakeStep = 5;
constexpr int kFigureRise = 5;  // pixels the damage figure climbs per shake step
constexpr int kAboveHead = 32;  // the explosion and the figure start this far above the feet
constexpr int kLineLength = 50;

// One blow as the screen shows it.
struct Blow {
  platform::SoundBuffer* attackSound;
  platform::SoundBuffer* painSound;
  int32_t targetX;   // battle x of the one struck
  int32_t targetY;   // its feet line
  int firstShake;    // the first shake step: the struck figure jerks away from the attacker
  bool enemyStruck;  // the arena's enemy figure shakes, else the hero
};

// The x of the figure that shakes: the hero, or the first character of the arena. Looked up
// afresh at every step; an arena without characters has no figure to shake.
int32_t* ShakenX(bool enemyStruck) {
  if (!enemyStruck) return &hero.nX;
  MapInfo& arena = CurrentMap();
  return NpcCount(arena) > 0 ? &arena.lpNpcs[0].nX : nullptr;
}

void ShowBlow(const NpcRecord& enemy, const Blow& blow, int32_t damage) {
  char figure[16];
  std::snprintf(figure, sizeof figure, "-%d", damage);
  const int top = int(blow.targetY) - kAboveHead;

  PlayEffect(blow.attackSound, 0);
  for (int f = 0; f < kExplosionFrames; ++f) {
    DrawBattleScreen(0, enemy);
    Rect frame;
    BlitClipped(lpDDSPrimary, int(blow.targetX) - 10, top, lpDDSBomb,
                MakeRect(frame, kExplosionWidth * f, 0, kExplosionWidth * (f + 1), kExplosionHeight), 1);
    Delay(kExplosionDelay);
  }

  PlayEffect(blow.painSound, 0);
  int step = blow.firstShake;
  for (int k = 0; k < kShakeSteps; ++k) {
    if (int32_t* x = ShakenX(blow.enemyStruck)) *x = SaturatedFigure(int64_t(*x) + step);
    step = -step;
    DrawBattleScreen(0, enemy);
    // The figure rises over the light ground of the fight, over a dark shadow.
    PrintShadowedText(lpDDSPrimary, int(blow.targetX), top - kFigureRise * k, figure, kWhite, kLineLength,
                      kThinShadow);
    Delay(kShakeDelay);
  }
}

}  // namespace

NpcRecord HeroAttack(NpcRecord enemy) {
  const int32_t damage = BlowDamage(hero.nAttack, enemy.nDefense);
  const Blow blow{lpDSBAttack[kHeroVoice], lpDSBPain[VoiceOf(enemy.nPicture)], nEnemyBattleX,
                  nEnemyBattleY, kShakeStep, true};
  ShowBlow(enemy, blow, damage);
  enemy.nLife = SaturatedFigure(int64_t(enemy.nLife) - damage);
  DrawBattleScreen(0, enemy);
  return enemy;
}

NpcRecord EnemyAttack(NpcRecord enemy) {
  const int32_t damage = BlowDamage(enemy.nAttack, hero.nDefense);
  const Blow blow{lpDSBAttack[VoiceOf(enemy.nPicture)], lpDSBPain[kHeroVoice], nHeroBattleX,
                  nHeroBattleY, -kShakeStep, false};
  ShowBlow(enemy, blow, damage);
  hero.nLife = SaturatedFigure(int64_t(hero.nLife) - damage);
  DrawBattleScreen(0, enemy);
  return enemy;
}
