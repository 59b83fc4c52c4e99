// The small headless world with a painted status panel and goods sheet, and a goods file
// written into the test's data directory.
#pragma once

#include <string>
#include <vector>

#include "../world/world_fixture.h"
#include "goods/goods.h"

namespace goods_test {

using namespace world_test;

constexpr uint8_t kPanelIndex = 241;
constexpr uint8_t kEmptyFrameIndex = 242;
constexpr uint8_t kCursorIndex = 243;
// Icon cell k is filled with this (inside a keyed margin).
constexpr uint8_t IconIndex(int k) { return uint8_t(100 + k); }

struct GoodsLines {
  std::string name;
  std::string text;
  int value = 0, exp = 0, life = 0, attack = 0, defense = 0;
};

// The lines of a goods file holding these records, under the given count line.
std::string GoodsFileText(const std::string& count, const std::vector<GoodsLines>& goods);
// One field line: an 11-byte label, the value, ';' and a line feed.
std::string FieldLine(const std::string& value);

class GoodsTest : public WorldTest {
 protected:
  // Writes and loads a table of six goods: 2 bread (+25 life), 3 poison herb (-30 life),
  // 4 book (+80 exp, +3 attack, +2 defense), 5 elixir (+400 life), 6 sword (+5 attack),
  // 7 pearl (nothing).
  void SetUp() override;

  // The hero's 16 slots from a string of goods indices ('2' to '7'), spaces and other bytes.
  static void SetHeroSlots(const std::string& slots);
  // The top-left of slot i in the window.
  static int SlotX(int i) { return 125 + 49 * (i % 8); }
  static int SlotY(int i) { return 270 + 49 * (i / 8); }
};

}  // namespace goods_test
