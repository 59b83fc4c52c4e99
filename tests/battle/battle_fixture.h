// Fights on the small painted world of the world tests: a painted fight bar and explosion,
// a goods table of three goods, the arena on map 3, and looks at the screen at chosen
// moments of a script.
#pragma once

#include <deque>
#include <functional>
#include <vector>

#include "../world/world_fixture.h"
#include "platform/system.h"
#include "world/map_types.h"

namespace battle_test {

using world_test::Press;
using world_test::Release;
using world_test::Tap;
using world_test::Wait;

constexpr int kArena = 3;
constexpr uint8_t kBarIndex = 230;   // the fight bar
constexpr uint8_t kBombIndex = 231;  // every explosion frame
constexpr int kEnemyPicture = 4;

class BattleTest : public world_test::WorldTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // An enemy of the given figures, drawn from character sheet kEnemyPicture.
  static NpcRecord Enemy(int life, int attack, int defense, int level = 1);
  // A script step that runs the look when the script reaches it (in order of the steps).
  platform::headless::Step Look(std::function<void()> look);
  // Plays the steps while the operation runs, and checks that the script was played out.
  void Play(const std::vector<platform::headless::Step>& steps, const std::function<void()>& run);

  // A whole fight in the arena with the keys of the steps; returns its result.
  int32_t Fight(const NpcRecord& enemy, int32_t hold, std::vector<platform::headless::Step> steps);

 private:
  std::deque<std::function<void()>> looks_;
};

// The hero in a world worth putting back: map 1 of 40 × 30 cells with the view scrolled.
void PlaceHeroInWorld();

}  // namespace battle_test
