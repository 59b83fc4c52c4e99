// The small headless world with a painted status panel and goods sheet, and a goods file
// written into the test's data directory.
#pragma once

#include <algorithm>
#include <cstring>
#include <string>

#include "core/game_state.h"
#include "goods/goods.h"
#include "small_world_fixture.h"
#include "video/display.h"

namespace goods_test {

using namespace world_test;

constexpr uint8_t kPanelIndex = 241;
constexpr uint8_t kEmptyFrameIndex = 242;
constexpr uint8_t kCursorIndex = 243;
constexpr uint8_t IconIndex(int k) { return uint8_t(100 + k); }  // inside a keyed margin

// One field line (an 11-byte label, the value, ';') and one record of nine such lines.
inline std::string FieldLine(const std::string& value) { return "label     :" + value + ";\n"; }
inline std::string GoodsLines(const std::string& name, const std::string& text, int value, int exp, int life,
                              int attack, int defense) {
  std::string lines = FieldLine("0") + FieldLine(name) + FieldLine(text);
  for (int number : {value, exp, life, attack, defense, 0}) lines += FieldLine(std::to_string(number));
  return lines;
}

class GoodsTest : public WorldTest {
 protected:
  // A solid panel with a keyed corner; a solid empty frame (cell 0), a hollow cursor (cell 1)
  // and icons inside a keyed margin of 4 pixels. Six goods: 2 bread (+25 life), 3 poison herb
  // (-30 life), 4 book (+80 exp, +3 attack, +2 defense), 5 elixir (+400 life), 6 sword
  // (+5 attack), 7 pearl (nothing).
  void SetUp() override {
    WorldTest::SetUp();
    Fill(lpDDSPanel, 0, 0, 420, kPanelIndex);
    Fill(lpDDSPanel, 0, 0, 10, kKeyIndex);
    lpDDSPanel->SetColorKey(kKeyIndex);
    Fill(lpDDSGoods, 0, 0, 384, kKeyIndex);
    Fill(lpDDSGoods, 0, 0, 48, kEmptyFrameIndex);
    Fill(lpDDSGoods, 48, 0, 48, kCursorIndex);
    for (int k = 1; k < 32; ++k)
      Fill(lpDDSGoods, 48 * (k % 8) + 4, 48 * (k / 8) + 4, 40, k == 1 ? kKeyIndex : IconIndex(k));
    lpDDSGoods->SetColorKey(kKeyIndex);
    WriteFile("text/goods.dat", FieldLine("6") + GoodsLines("馒头", "白面馒头。", 8, 0, 25, 0, 0) +
                                    GoodsLines("毒草", "吃了伤身。", 5, 0, -30, 0, 0) +
                                    GoodsLines("拳经", "讲拳脚的旧书。", 120, 80, 0, 3, 2) +
                                    GoodsLines("金丹", "生命大增。", 180, 0, 400, 0, 0) +
                                    GoodsLines("铁剑", "好剑。", 100, 0, 0, 5, 0) +
                                    GoodsLines("夜明珠", "值钱。", 300, 0, 0, 0, 0));
    LoadGoods();
  }
  // The hero's 16 slots from these bytes, zero bytes after them.
  static void SetHeroSlots(const std::string& slots) {
    std::memset(hero.szGoods, 0, sizeof hero.szGoods);
    std::memcpy(hero.szGoods, slots.data(), std::min(slots.size(), size_t(kGoodsSlots)));
  }

 private:
  static void Fill(Surface* surface, int left, int top, int size, uint8_t index) {
    for (int y = top; y < std::min(top + size, surface->Height()); ++y)
      std::memset(surface->Pixels() + size_t(y) * size_t(surface->Width()) + size_t(left), index,
                  size_t(std::min(size, surface->Width() - left)));
    surface->Touch();
  }
};

}  // namespace goods_test
