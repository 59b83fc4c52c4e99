// The battle screen: the arena as the world drawing shows it, with the fight bar over the
// lower middle of the screen holding both portraits, both blocks of figures and the commands.
#include <cstdio>

#include "battle/battle.h"
#include "core/game_state.h"
#include "video/display.h"
#include "video/draw.h"
#include "world/world_view.h"

namespace {

constexpr int kBarX = 96;
constexpr int kBarY = 304;
constexpr int kBarWidth = 448;
constexpr int kBarHeight = 112;

constexpr int kHeroPortraitX = 106;
constexpr int kHeroPortraitY = 314;
constexpr int kEnemyPortraitX = 361;
constexpr int kEnemyPortraitY = 330;

constexpr int kHeroFiguresX = 146;
constexpr int kEnemyFiguresX = 401;
constexpr int kFiguresY = 319;
// Each label with its four-place figure and two blanks fills one 12-byte line, so the block
// reads as a column: life, attack, defense, level.
constexpr int kFiguresLineLength = 12;

constexpr int kCommandX = 298;
constexpr int kCommandY = 314;
constexpr int kCommandPitch = 24;
constexpr int kLineLength = 50;
// A background mode that is neither transparent nor opaque leaves the default, opaque.
constexpr int kBkDefault = 0;

constexpr const char* kCommands[] = {"攻击", "状态", "物品", "逃走"};

void PrintFigures(int x, const NpcRecord& fighter) {
  char text[128];
  std::snprintf(text, sizeof text, "生命：%4d  攻击：%4d  防御：%4d  等级：%4d", fighter.nLife,
                fighter.nAttack, fighter.nDefense, fighter.nLevel);
  PrintText(lpDDSBack, x, kFiguresY, text, kBlack, platform::kBkTransparent, kBlack,
            kFiguresLineLength);
}

}  // namespace

void DrawBattleScreen(int32_t cursor, NpcRecord enemy) {
  DrawWorld();
  Rect rect;
  BlitClipped(lpDDSBack, kBarX, kBarY, lpDDSFightBar, MakeRect(rect, 0, 0, kBarWidth, kBarHeight), 0);
  BlitClipped(lpDDSBack, kHeroPortraitX, kHeroPortraitY, lpDDSPlayer, MakeRect(rect, 0, 0, 32, 48), 1);
  if (Surface* sheet = SheetSurface(enemy.lpSurface)) {
    BlitClipped(lpDDSBack, kEnemyPortraitX, kEnemyPortraitY, sheet, MakeRect(rect, 0, 0, 32, 32), 1);
  }
  PrintFigures(kHeroFiguresX, hero);
  PrintFigures(kEnemyFiguresX, enemy);
  for (int i = 0; i < 4; ++i) {
    const bool chosen = i == cursor;
    PrintText(lpDDSBack, kCommandX, kCommandY + kCommandPitch * i, kCommands[i], kRed,
              chosen ? platform::kBkOpaque : kBkDefault, chosen ? kWhite : kBlack, kLineLength);
  }
  FlipScreen();
}
