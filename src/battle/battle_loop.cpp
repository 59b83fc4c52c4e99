// One fight, from its start to a victory, an escape or a death: a modal loop over the four
// commands. The hero always acts first; the enemy answers every action that takes a turn
// (an attack it survives, a visit to the goods window in which goods were used, a failed
// escape) with exactly one blow.
#include "battle/arena.h"
#include "battle/battle.h"
#include "battle/battle_rules.h"
#include "core/open_screen.h"
#include "goods/goods_window.h"
#include "goods/status.h"
#include "video/display.h"
#include "video/draw.h"
#include "world/world_view.h"

namespace {

constexpr int32_t kAttack = 0;
constexpr int32_t kStatus = 1;
constexpr int32_t kGoods = 2;
constexpr int32_t kEscape = 3;
constexpr int32_t kCommandCount = 4;

constexpr int32_t kFightGoesOn = -1;
constexpr int kAnswerDelay = 500;  // between the hero's blow and the enemy's answer
constexpr int kBlinkPasses = 6;    // "逃跑失败！" shows on every other pass: three blinks
constexpr int kBlinkDelay = 80;
constexpr int kLineLength = 50;

bool KeyDown(int virtualKey) { return platform::GetAsyncKeyState(virtualKey) != 0; }

// What the outcome check means for the fight. Whichever blow it follows, a fallen enemy is a
// won fight and a fallen hero a lost one: the fight never goes on past a shown end.
int32_t FightResult(int32_t outcome) {
  if (outcome == kOutcomeEnemyDown) return kBattleWon;
  if (outcome == kOutcomeHeroDown) return kBattleDead;
  return kFightGoesOn;
}

int32_t EnemyTurn(NpcRecord& enemy) {
  enemy = EnemyAttack(enemy);
  return FightResult(CheckBattleOutcome(enemy));
}

int32_t Attack(NpcRecord& enemy) {
  enemy = HeroAttack(enemy);
  const int32_t result = FightResult(CheckBattleOutcome(enemy));
  if (result != kFightGoesOn) return result;
  Delay(kAnswerDelay);
  return EnemyTurn(enemy);
}

int32_t UseGoods(NpcRecord& enemy) {
  if (RunGoodsWindow() != 0) {
    const int32_t result = EnemyTurn(enemy);
    if (result != kFightGoesOn) return result;
  }
  DrawBattleScreen(kGoods, enemy);
  return kFightGoesOn;
}

int32_t Escape(NpcRecord& enemy, int32_t nEscapeHold) {
  if (EscapeSucceeds(nEscapeHold)) return kBattleEscaped;
  for (int k = 0; k < kBlinkPasses; ++k) {
    DrawBattleScreen(kEscape, enemy);
    if (k % 2 == 0) {
      PrintShadowedText(lpDDSPrimary, 280, 200, "逃跑失败！", kWhite, kLineLength, kThinShadow);
    }
    Delay(kBlinkDelay);
  }
  const int32_t result = EnemyTurn(enemy);
  if (result != kFightGoesOn) return result;
  DrawBattleScreen(kEscape, enemy);
  return kFightGoesOn;
}

int32_t CarryOut(int32_t command, NpcRecord& enemy, int32_t nEscapeHold) {
  switch (command) {
    case kAttack:
      return Attack(enemy);
    case kStatus:
      DrawBattleScreen(kStatus, enemy);
      ShowStatus();
      return kFightGoesOn;
    case kGoods:
      return UseGoods(enemy);
    default:
      return Escape(enemy, nEscapeHold);
  }
}

void FadeOut() { FadePalette(lpPalGame, lpPalBlack, -1); }
void FadeIn() { FadePalette(lpPalBlack, lpPalGame, +1); }

}  // namespace

int32_t RunBattle(NpcRecord enemy, int32_t nArenaMap, int32_t nEscapeHold) {
  ScreenScope screen("battle");
  int32_t cursor = 0;
  ArenaScope arena(enemy, nArenaMap, cursor);

  FadeOut();
  DrawBattleScreen(cursor, enemy);
  FadeIn();
  // Text takes the nearest colour of the palette shown while it is drawn, and the screen
  // above was drawn in black: the red commands and the white highlight come out only now.
  DrawBattleScreen(cursor, enemy);
  // An Enter still held from the talk before the fight must not choose a command.
  WaitKey(platform::VK_RETURN, 1);

  int32_t result = kFightGoesOn;
  while (result == kFightGoesOn) {
    MoveMenuCursor(cursor, kCommandCount, [&] { DrawBattleScreen(cursor, enemy); });
    if (KeyDown(platform::VK_RETURN)) {
      WaitKey(platform::VK_RETURN, 1);
      result = CarryOut(cursor, enemy, nEscapeHold);
    }
  }

  if (result == kBattleDead) {
    arena.LeaveAsItIs();
    FadeOut();
    return kBattleDead;
  }
  arena.PutBackWorld();
  FadeOut();
  DrawWorld();
  FlipScreen();
  FadeIn();
  return result;
}
