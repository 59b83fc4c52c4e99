#include "goods_fixture.h"

#include <cstring>

#include "app/game_state.h"
#include "video/display.h"

namespace goods_test {

namespace {

void Fill(Surface* surface, int left, int top, int width, int height, uint8_t index) {
  for (int y = top; y < top + height; ++y)
    std::memset(surface->Pixels() + size_t(y) * size_t(surface->Width()) + size_t(left), index,
                size_t(width));
  surface->Touch();
}

// The panel is solid but for a keyed top-left corner; cell 0 is a solid frame, cell 1 a
// hollow cursor frame, every other cell an icon inside a keyed margin of 4 pixels.
void PaintGoodsSheets() {
  Fill(lpDDSPanel, 0, 0, 420, 320, kPanelIndex);
  Fill(lpDDSPanel, 0, 0, 10, 10, kKeyIndex);
  lpDDSPanel->SetColorKey(kKeyIndex);
  Fill(lpDDSGoods, 0, 0, 384, 192, kKeyIndex);
  Fill(lpDDSGoods, 0, 0, 48, 48, kEmptyFrameIndex);
  Fill(lpDDSGoods, 48, 0, 48, 48, kCursorIndex);
  Fill(lpDDSGoods, 52, 4, 40, 40, kKeyIndex);
  for (int k = 2; k < 32; ++k) Fill(lpDDSGoods, 48 * (k % 8) + 4, 48 * (k / 8) + 4, 40, 40, IconIndex(k));
  lpDDSGoods->SetColorKey(kKeyIndex);
}

}  // namespace

std::string FieldLine(const std::string& value) { return "label     :" + value + ";\n"; }

std::string GoodsFileText(const std::string& count, const std::vector<GoodsLines>& goods) {
  std::string text = FieldLine(count);
  int id = 2;
  for (const GoodsLines& g : goods) {
    for (const std::string& value :
         {std::to_string(id++), g.name, g.text, std::to_string(g.value), std::to_string(g.exp),
          std::to_string(g.life), std::to_string(g.attack), std::to_string(g.defense),
          std::string("0")})
      text += FieldLine(value);
  }
  return text;
}

void GoodsTest::SetUp() {
  WorldTest::SetUp();
  PaintGoodsSheets();
  WriteFile("text/goods.dat", GoodsFileText("6", {{"馒头", "白面馒头。", 8, 0, 25, 0, 0},
                                                   {"毒草", "吃了伤身。", 5, 0, -30, 0, 0},
                                                   {"拳经", "讲拳脚的旧书。", 120, 80, 0, 3, 2},
                                                   {"金丹", "生命大增。", 180, 0, 400, 0, 0},
                                                   {"铁剑", "好剑。", 100, 0, 0, 5, 0},
                                                   {"夜明珠", "值钱。", 300, 0, 0, 0, 0}}));
  LoadGoods();
}

void GoodsTest::SetHeroSlots(const std::string& slots) {
  std::memset(hero.szGoods, 0, sizeof hero.szGoods);
  std::memcpy(hero.szGoods, slots.data(), std::min(slots.size(), size_t(kGoodsSlots)));
}

}  // namespace goods_test
