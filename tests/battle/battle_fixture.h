// Fights on the small painted world of the world tests, with a painted fight bar and
// explosion, three goods that each add 1 to the attack, the arena on map 3, and looks at the
// screen at chosen moments of a script.
#pragma once

#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "small_world_fixture.h"
#include "core/map_types.h"
#include "platform/system.h"

namespace battle_test {

using platform::headless::Step;
using world_test::kWhiteIndex;
using world_test::kYellowIndex;
using world_test::Tap;
using world_test::Wait;

constexpr int kArena = 3;
constexpr uint8_t kBarIndex = 230;   // the fight bar
constexpr uint8_t kBombIndex = 231;  // every explosion frame
constexpr int kEnemyPicture = 4;

// A fighter's figures in one line: "level 2 exp 0 life 65/80 attack 11 defense 11 money 57".
inline std::string Figures(const NpcRecord& f) {
  return "level " + std::to_string(f.nLevel) + " exp " + std::to_string(f.nExp) + " life " +
         std::to_string(f.nLife) + "/" + std::to_string(f.nMaxLife) + " attack " + std::to_string(f.nAttack) +
         " defense " + std::to_string(f.nDefense) + " money " + std::to_string(f.nMoney);
}

class BattleTest : public world_test::WorldTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // An enemy of the given figures with 7 money and no loot, drawn from sheet kEnemyPicture.
  static NpcRecord Enemy(int life, int attack, int defense, int level = 1);
  // A script step that runs the look when the script reaches it.
  Step Look(std::function<void()> look) {
    looks_.push_back(std::move(look));
    return world_test::State("look");
  }
  // Plays the steps while run runs, and checks that the script was played out.
  void Play(const std::vector<Step>& steps, const std::function<void()>& run);
  // A whole fight in the arena with the keys of the steps; returns its result.
  int32_t Fight(const NpcRecord& enemy, int32_t hold, std::vector<Step> steps);
  // How many pixels of the visible page's 40 × 20 box at (x, y) have the index.
  int BoxCount(int x, int y, uint8_t index) const { return ScreenCount(x, y, 40, 20, index); }

 private:
  std::deque<std::function<void()>> looks_;
};

}  // namespace battle_test
