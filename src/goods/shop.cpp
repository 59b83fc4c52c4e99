// The shops. A shopkeeper's stock is a copy of its record: within one visit each stocked slot
// can be bought once, and the stock is whole again at the next visit. The pawnbroker works on
// a copy of the hero and pays half the value of whatever the hero sells. The screen is the
// goods window with shop prices and another money line.
#include "goods/shop.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "core/game_state.h"
#include "core/open_screen.h"
#include "goods/goods.h"
#include "goods/goods_window.h"
#include "platform/system.h"
#include "video/display.h"
#include "video/draw.h"

namespace {

using platform::GetAsyncKeyState;
using platform::kBkTransparent;

constexpr int kBuy = 1;
constexpr int kSell = 2;
constexpr int kLineLength = 50;
constexpr int kMessageX = 240;
constexpr int kMessageY = 460;

void Print(Surface* surface, int x, int y, const char* text, uint32_t color) {
  PrintText(surface, x, y, text, color, kBkTransparent, kWhite, kLineLength);
}

void PrintShadowed(int x, int y, const char* text, uint32_t color) {
  PrintShadowedText(lpDDSPrimary, x, y, text, color, kLineLength);
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

void ShowMessage(const char* text, int x, int y) { PrintShadowed(x, y, text, kYellow); }

void DrawShop(const NpcRecord& shop, int nCursor, int mode) {
  char line[160];
  std::snprintf(line, sizeof line,
                mode == kSell ? "(现金=%4d) CTRL=卖出 ESC=退出" : "(现金=%4d) CTRL=购买 ESC=退出",
                hero.nMoney);
  if (const GoodsRecord* goods = DrawGoodsPanel(shop.szGoods, nCursor, line)) {
    if (mode == kSell) {
      std::snprintf(line, sizeof line, "%16.31s  (值：%d 卖价：%d)", goods->szName, goods->nValue,
                    goods->nValue / 2);
    } else {
      std::snprintf(line, sizeof line, "%16.31s  (价格：%5d)", goods->szName, goods->nValue);
    }
    Print(lpDDSBack, 120, 110, line, kWhite);
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
    if (const int step = TakeGoodsCursorStep()) {
      cursor = (cursor + step) % kGoodsSlots;
      DrawShop(shop, cursor, mode);
    } else if (GetAsyncKeyState(platform::VK_CONTROL)) {
      WaitKey(platform::VK_CONTROL, 1);
      const bool done = mode == kSell ? Sell(shop, cursor) : Buy(shop, cursor);
      if (done) traded = 1;
    } else if (GetAsyncKeyState(platform::VK_ESCAPE)) {
      WaitKey(platform::VK_ESCAPE, 1);
      return traded;
    }
  }
}
