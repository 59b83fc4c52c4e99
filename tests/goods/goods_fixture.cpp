#include "goods_fixture.h"

#include <algorithm>
#include <cstring>

#include "core/game_state.h"
#include "video/display.h"

namespace goods_test {

namespace {

void Fill(Surface* surface, int left, int top, int size, uint8_t index) {
  for (int y = top; y < std::min(top + size, surface->Height()); ++y)
    std::memset(surface->Pixels() + size_t(y) * size_t(surface->Width()) + size_t(left), index,
                size_t(std::min(size, surface->Width() - left)));
  surface->Touch();
}

// A solid panel with a keyed corner; a solid empty frame (cell 0), a hollow cursor (cell 1)
// and icons inside a keyed margin of 4 pixels.
void PaintGoodsSheets() {
  Fill(lpDDSPanel, 0, 0, 420, kPanelIndex);
  Fill(lpDDSPanel, 0, 0, 10, kKeyIndex);
  lpDDSPanel->SetColorKey(kKeyIndex);
  Fill(lpDDSGoods, 0, 0, 384, kKeyIndex);
  Fill(lpDDSGoods, 0, 0, 48, kEmptyFrameIndex);
  Fill(lpDDSGoods, 48, 0, 48, kCursorIndex);
  for (int k = 1; k < 32; ++k)
    Fill(lpDDSGoods, 48 * (k % 8) + 4, 48 * (k / 8) + 4, 40, k == 1 ? kKeyIndex : IconIndex(k));
  lpDDSGoods->SetColorKey(kKeyIndex);
}

}  // namespace

std::string FieldLine(const std::string& value) { return "label     :" + value + ";\n"; }

std::string GoodsLines(const std::string& name, const std::string& text, int value, int exp,
                       int life, int attack, int defense) {
  std::string lines = FieldLine("0") + FieldLine(name) + FieldLine(text);
  for (int number : {value, exp, life, attack, defense, 0}) lines += FieldLine(std::to_string(number));
  return lines;
}

void GoodsTest::SetUp() {
  WorldTest::SetUp();
  PaintGoodsSheets();
  WriteFile("text/goods.dat", FieldLine("6") + GoodsLines("馒头", "白面馒头。", 8, 0, 25, 0, 0) +
                                  GoodsLines("毒草", "吃了伤身。", 5, 0, -30, 0, 0) +
                                  GoodsLines("拳经", "讲拳脚的旧书。", 120, 80, 0, 3, 2) +
                                  GoodsLines("金丹", "生命大增。", 180, 0, 400, 0, 0) +
                                  GoodsLines("铁剑", "好剑。", 100, 0, 0, 5, 0) +
                                  GoodsLines("夜明珠", "值钱。", 300, 0, 0, 0, 0));
  LoadGoods();
}

void GoodsTest::SetHeroSlots(const std::string& slots) {
  std::memset(hero.szGoods, 0, sizeof hero.szGoods);
  std::memcpy(hero.szGoods, slots.data(), std::min(slots.size(), size_t(kGoodsSlots)));
}

}  // namespace goods_test
