// The goods window: the hero's 16 slots over the world, use with CTRL, throw away with A.
#include "goods/goods_window.h"

#include <cstdio>

#include "core/game_state.h"
#include "core/open_screen.h"
#include "goods/goods.h"
#include "goods/goods_use.h"
#include "goods/status.h"
#include "video/display.h"
#include "video/draw.h"
#include "world/world_view.h"

namespace {

constexpr int kIconSize = 48;
constexpr int kIconsPerRow = 8;
constexpr int kEmptyFrameCell = 0;
constexpr int kCursorFrameCell = 1;

void PrintOnBack(int x, int y, const char* text, uint32_t color, int lineLength) {
  PrintText(lpDDSBack, x, y, text, color, platform::kBkTransparent, kBlack, lineLength);
}

void DrawIconCell(int x, int y, int cell) {
  Rect rect;
  const int left = (cell % kIconsPerRow) * kIconSize;
  const int top = (cell / kIconsPerRow) * kIconSize;
  BlitClipped(lpDDSBack, x, y, lpDDSGoods, MakeRect(rect, left, top, left + kIconSize, top + kIconSize),
              1);
}

// The four effects in a column and the description in rows of 22 bytes.
void PrintGoodsDetails(const GoodsRecord& goods) {
  char line[100];
  // One effect a line: a figure wider than three characters widens its own line instead of
  // pushing the lines below it off their double-byte characters.
  const char* const formats[] = {"经验: %3d", "生命：%3d", "攻击：%3d", "防御：%3d"};
  const int32_t effects[] = {goods.nAddExp, goods.nAddLife, goods.nAddAttack, goods.nAddDefense};
  for (int k = 0; k < 4; ++k) {
    std::snprintf(line, sizeof line, formats[k], effects[k]);
    PrintOnBack(140, 170 + 20 * k, line, kWhite, 50);
  }
  PrintOnBack(270, 170, goods.szText, kYellow, 22);
}

// What goods did: the hero's figures, straight onto the visible page until the next key.
void ShowFiguresAfterUse() {
  PrintText(lpDDSPrimary, 272, 97, "现在的状态：", kBlack, platform::kBkTransparent, kBlack, 50);
  PrintText(lpDDSPrimary, 270, 95, "现在的状态：", kYellow, platform::kBkTransparent, kBlack, 50);
  PrintHeroFigures(120, 20);
}

bool KeyDown(int key) { return platform::GetAsyncKeyState(key) != 0; }

}  // namespace

int TakeGoodsCursorStep() {
  struct CursorKey {
    int key;
    int step;
  };
  static constexpr CursorKey kCursorKeys[] = {{platform::VK_RIGHT, 1},
                                              {platform::VK_LEFT, kGoodsSlots - 1},
                                              {platform::VK_DOWN, kGoodsSlots / 2},
                                              {platform::VK_UP, kGoodsSlots / 2}};
  for (const CursorKey& cursorKey : kCursorKeys) {
    if (KeyDown(cursorKey.key)) {
      WaitKey(cursorKey.key, 1);
      return cursorKey.step;
    }
  }
  return 0;
}

const GoodsRecord* DrawGoodsPanel(const char* slots, int nCursor, const char* moneyLine) {
  DrawWorld();
  Rect rect;
  BlitClipped(lpDDSBack, 110, 80, lpDDSPanel, MakeRect(rect, 0, 0, 420, 320), 1);

  const bool onSlot = nCursor >= 0 && nCursor < kGoodsSlots;
  const GoodsRecord* chosen = onSlot ? GoodsOfSlot(slots[nCursor]) : nullptr;
  if (chosen != nullptr) PrintGoodsDetails(*chosen);
  PrintOnBack(130, 367, moneyLine, kWhite, 50);

  for (int i = 0; i < kGoodsSlots; ++i) {
    const int x = 125 + 49 * (i % 8);
    const int y = 270 + 49 * (i / 8);
    DrawIconCell(x, y, kEmptyFrameCell);
    if (const GoodsRecord* goods = GoodsOfSlot(slots[i])) DrawIconCell(x, y, int(goods - aGoods));
    if (i == nCursor) DrawIconCell(x, y, kCursorFrameCell);
  }
  return chosen;
}

void DrawGoodsWindow(int nCursor) {
  char line[100];
  std::snprintf(line, sizeof line, "(金=%4d) CTRL=使用‘A’=丢弃 ESC=退出", hero.nMoney);
  if (const GoodsRecord* goods = DrawGoodsPanel(hero.szGoods, nCursor, line)) {
    // The name right-aligned in 16 bytes, then its worth.
    std::snprintf(line, sizeof line, "%16s  (价值：%5d)", goods->szName, goods->nValue);
    PrintOnBack(120, 110, line, kWhite, 50);
  }
  FlipScreen();
}

int RunGoodsWindow() {
  ScreenScope screen("goods");
  int cursor = 0;
  int used = 0;
  DrawGoodsWindow(cursor);
  WaitKey(platform::VK_CONTROL, 1);
  WaitKey(platform::VK_A, 1);
  for (;;) {
    if (const int step = TakeGoodsCursorStep()) {
      cursor = (cursor + step) % kGoodsSlots;
      DrawGoodsWindow(cursor);
    } else if (KeyDown(platform::VK_CONTROL)) {
      WaitKey(platform::VK_CONTROL, 1);
      if (UseGoods(cursor)) {
        used = 1;
        DrawGoodsWindow(cursor);
        ShowFiguresAfterUse();
      }
    } else if (KeyDown(platform::VK_A)) {
      WaitKey(platform::VK_A, 1);
      hero.szGoods[cursor] = kEmptySlot;
      DrawGoodsWindow(cursor);
    } else if (KeyDown(platform::VK_ESCAPE)) {
      WaitKey(platform::VK_ESCAPE, 1);
      return used;
    }
  }
}
