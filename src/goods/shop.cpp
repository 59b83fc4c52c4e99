// The shops. A shopkeeper's stock is a copy of its record: within one visit each stocked slot
// can be bought once, and the stock is whole again at the next visit. The pawnbroker works on
// a copy of the hero and pays half the value of whatever the hero sells. The screen is the
// goods window with shop prices and another money line.
#include "goods/shop.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "app/game_state.h"
#include "app/open_screen.h"
#include "goods/goods.h"
#include "platform/system.h"
#include "video/display.h"
#include "video/draw.h"
#include "world/world_view.h"

namespace {

using platform::GetAsyncKeyState;
using platform::kBkTransparent;

constexpr int kBuy = 1;
constexpr int kSell = 2;
constexpr int kLineLength = 50;
constexpr int kMessageX = 240;
constexpr int kMessageY = 460;
constexpr int kIconSize = 48;
constexpr int kIconsPerRow = 8;
constexpr int kEmptyFrameCell = 0;
constexpr int kCursorFrameCell = 1;

void Print(Surface* surface, int x, int y, const char* text, uint32_t color, int lineLength = kLineLength) {
  PrintText(surface, x, y, text, color, kBkTransparent, kWhite, lineLength);
}

// Text drawn with a black shadow 2 pixels right and down.
void PrintShadowed(int x, int y, const char* text, uint32_t color) {
  Print(lpDDSPrimary, x + 2, y + 2, text, kBlack);
  Print(lpDDSPrimary, x, y, text, color);
}

void DrawIcon(int cell, int x, int y) {
  Rect rect;
  const int left = kIconSize * (cell % kIconsPerRow);
  const int top = kIconSize * (cell / kIconsPerRow);
  BlitClipped(lpDDSBack, x, y, lpDDSGoods, MakeRect(rect, left, top, left + kIconSize, top + kIconSize), 1);
}

// Name, price, figures and description of the goods under the cursor.
void DrawGoodsDetails(const GoodsRecord& goods, int mode) {
  char line[160];
  if (mode == kSell) {
    std::snprintf(line, sizeof line, "%16.31s  (值：%d 卖价：%d)", goods.szName, goods.nValue,
                  goods.nValue / 2);
  } else {
    std::snprintf(line, sizeof line, "%16.31s  (价格：%5d)", goods.szName, goods.nValue);
  }
  Print(lpDDSBack, 120, 110, line, kWhite);
  std::snprintf(line, sizeof line, "经验: %3d 生命：%3d 攻击：%3d 防御：%3d", goods.nAddExp,
                goods.nAddLife, goods.nAddAttack, goods.nAddDefense);
  Print(lpDDSBack, 140, 170, line, kWhite, 10);
  std::snprintf(line, sizeof line, "%.99s", goods.szText);
  Print(lpDDSBack, 270, 170, line, kYellow, 22);
}

// After a purchase: what the hero now carries, a 4 × 4 table of names in slot order.
void ShowHeroGoods() {
  PrintShadowed(250, 98, "身上现有的物品：", kYellow);
  for (int i = 0; i < kGoodsSlots; ++i) {
    const GoodsRecord* goods = GoodsOfSlot(hero.szGoods[i]);
    if (goods == nullptr) continue;
    char name[40];
    std::snprintf(name, sizeof name, "%.31s", goods->szName);
    PrintShadowed(138 + 90 * (i % 4), 128 + 30 * (i / 4), name, kWhite);
  }
}

// Buys the goods under the cursor from the working record. True when they changed hands.
bool Buy(NpcRecord& stock, int cursor) {
  if (CountGoods(hero) >= kGoodsSlots) {
    ShowMessage("你已经带满了！", kMessageX, kMessageY);
    return false;
  }
  const char slot = stock.szGoods[cursor];
  const GoodsRecord* goods = GoodsOfSlot(slot);
  if (goods == nullptr) return false;
  if (hero.nMoney < goods->nValue) {
    ShowMessage("兄弟，你的钱不够！", kMessageX, kMessageY);
    return false;
  }
  // The money and the goods change hands before the redraw, so the money line shows what is
  // left.
  stock.szGoods[cursor] = kEmptySlot;
  AddMoney(-int64_t(goods->nValue));
  AddGoods(hero, slot);
  DrawShop(stock, cursor, kBuy);
  ShowHeroGoods();
  ShowMessage("这东西属于你了！", kMessageX, kMessageY);
  return true;
}

// Sells the hero's goods under the cursor for half their value. True when they changed hands.
bool Sell(NpcRecord& mirror, int cursor) {
  const GoodsRecord* goods = GoodsOfSlot(hero.szGoods[cursor]);
  if (goods == nullptr) {
    ShowMessage("这儿没有东西！", kMessageX, kMessageY);
    return false;
  }
  const int price = goods->nValue / 2;
  hero.szGoods[cursor] = kEmptySlot;
  mirror.szGoods[cursor] = kEmptySlot;
  AddMoney(price);
  DrawShop(hero, cursor, kSell);
  char line[80];
  std::snprintf(line, sizeof line, "卖掉[%.31s]得到：%d", goods->szName, price);
  PrintShadowed(220, 198, line, kWhite);
  ShowMessage("这东西归别人了！", kMessageX, kMessageY);
  return true;
}

}  // namespace

void AddMoney(int64_t amount) {
  hero.nMoney = int32_t(std::clamp<int64_t>(int64_t(hero.nMoney) + amount, INT32_MIN, INT32_MAX));
}

void ShowMessage(const char* text, int x, int y) {
  Print(lpDDSPrimary, x + 2, y + 2, text, kBlack);
  Print(lpDDSPrimary, x, y, text, kYellow);
}

void DrawShop(const NpcRecord& shop, int nCursor, int mode) {
  DrawWorld();
  Rect panel;
  BlitClipped(lpDDSBack, 110, 80, lpDDSPanel, MakeRect(panel, 0, 0, 420, 320), 1);
  const int cursor = nCursor >= 0 && nCursor < kGoodsSlots ? nCursor : 0;
  if (const GoodsRecord* goods = GoodsOfSlot(shop.szGoods[cursor])) DrawGoodsDetails(*goods, mode);

  char money[80];
  std::snprintf(money, sizeof money,
                mode == kSell ? "(现金=%4d) CTRL=卖出 ESC=退出" : "(现金=%4d) CTRL=购买 ESC=退出",
                hero.nMoney);
  Print(lpDDSBack, 130, 367, money, kWhite);

  for (int i = 0; i < kGoodsSlots; ++i) {
    const int x = 125 + 49 * (i % 8);
    const int y = 270 + 49 * (i / 8);
    DrawIcon(kEmptyFrameCell, x, y);
    if (GoodsOfSlot(shop.szGoods[i]) != nullptr) DrawIcon(static_cast<unsigned char>(shop.szGoods[i]) - '0', x, y);
    if (i == cursor) DrawIcon(kCursorFrameCell, x, y);
  }
  FlipScreen();
}

int RunShop(NpcRecord shop, int mode) {
  ScreenScope screen("shop");
  int cursor = 0;
  int traded = 0;
  DrawShop(shop, cursor, mode);
  WaitKey(platform::VK_CONTROL, 1);
  for (;;) {
    int moved = -1;
    if (GetAsyncKeyState(platform::VK_RIGHT)) {
      WaitKey(platform::VK_RIGHT, 1);
      moved = (cursor + 1) % kGoodsSlots;
    } else if (GetAsyncKeyState(platform::VK_LEFT)) {
      WaitKey(platform::VK_LEFT, 1);
      moved = cursor == 0 ? kGoodsSlots - 1 : cursor - 1;
    } else if (GetAsyncKeyState(platform::VK_DOWN)) {
      WaitKey(platform::VK_DOWN, 1);
      moved = (cursor + 8) % kGoodsSlots;
    } else if (GetAsyncKeyState(platform::VK_UP)) {
      WaitKey(platform::VK_UP, 1);
      moved = cursor < 8 ? cursor + 8 : cursor - 8;
    } else if (GetAsyncKeyState(platform::VK_CONTROL)) {
      WaitKey(platform::VK_CONTROL, 1);
      const bool done = mode == kSell ? Sell(shop, cursor) : Buy(shop, cursor);
      if (done) traded = 1;
    } else if (GetAsyncKeyState(platform::VK_ESCAPE)) {
      WaitKey(platform::VK_ESCAPE, 1);
      return traded;
    }
    if (moved >= 0) {
      cursor = moved;
      DrawShop(shop, cursor, mode);
    }
  }
}
