// The status panel: the hero's picture and figures over whatever the screen shows.
#include "goods/status.h"

#include <cstdio>

#include "core/game_state.h"
#include "video/display.h"
#include "video/draw.h"

namespace {

constexpr int kLineLength = 50;
constexpr int kFiguresX = 240;

void PrintShadowed(int y, const char* text, uint32_t color) {
  PrintShadowedText(lpDDSPrimary, kFiguresX, y, text, color, kLineLength);
}

}  // namespace

void PrintHeroFigures(int top, int lineStep) {
  struct Figure {
    const char* format;
    const char* label;
    int32_t value;
    uint32_t color;
  };
  // Each figure stands right-aligned in ten characters; a wider one widens its line.
  const Figure figures[] = {
      {"%s:%10d", "等级", hero.nLevel, kWhite},
      {"%s:%10d/100", "经验", hero.nExp, kWhite},
      {"%s:%10d/%d", "生命", hero.nLife, kWhite},
      {"%s:%10d", "攻击", hero.nAttack, kWhite},
      {"%s:%10d", "防御", hero.nDefense, kWhite},
      {"%s:%10d", "速度", hero.nSpeed, kWhite},
      {"%s:%10d", "金钱", hero.nMoney, kYellow},
  };
  int y = top;
  for (const Figure& figure : figures) {
    char line[100];
    // The life line is the only one with a second figure; the other formats ignore it.
    std::snprintf(line, sizeof line, figure.format, figure.label, figure.value, hero.nMaxLife);
    PrintShadowed(y, line, figure.color);
    y += lineStep;
  }
}

void ShowStatus() {
  Rect rect;
  BlitClipped(lpDDSPrimary, 110, 80, lpDDSPanel, MakeRect(rect, 0, 0, 420, 320), 1);
  BlitClipped(lpDDSPrimary, 130, 100, lpDDSPlayer,
              MakeRect(rect, 0, 0, hero.nFrameWidth, hero.nFrameHeight), 1);
  PrintHeroFigures(140, 30);
}
