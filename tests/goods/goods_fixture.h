// The small headless world with a painted status panel and goods sheet, and a goods file
// written into the test's data directory.
#pragma once

#include <string>

#include "small_world_fixture.h"
#include "goods/goods.h"

namespace goods_test {

using namespace world_test;

constexpr uint8_t kPanelIndex = 241;
constexpr uint8_t kEmptyFrameIndex = 242;
constexpr uint8_t kCursorIndex = 243;
constexpr uint8_t IconIndex(int k) { return uint8_t(100 + k); }  // inside a keyed margin

// One field line (an 11-byte label, the value, ';') and one record of nine such lines.
std::string FieldLine(const std::string& value);
std::string GoodsLines(const std::string& name, const std::string& text, int value, int exp,
                       int life, int attack, int defense);

class GoodsTest : public WorldTest {
 protected:
  // Loads six goods: 2 bread (+25 life), 3 poison herb (-30 life), 4 book (+80 exp, +3
  // attack, +2 defense), 5 elixir (+400 life), 6 sword (+5 attack), 7 pearl (nothing).
  void SetUp() override;
  // The hero's 16 slots from these bytes, zero bytes after them.
  static void SetHeroSlots(const std::string& slots);
};

}  // namespace goods_test
