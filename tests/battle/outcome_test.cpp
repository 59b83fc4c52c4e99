// The end of a fight: which side fell, the rewards, the loot row and level-ups.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "battle/arena.h"
#include "battle/battle.h"
#include "core/game_state.h"
#include "battle_fixture.h"

namespace battle_test {
namespace {

class OutcomeTest : public BattleTest {
 protected:
  // Runs the outcome check in the arena, pressing Enter for each of its waits, with a look
  // just before the last press.
  int32_t Check(const NpcRecord& enemy, int enterPresses, std::function<void()> look = [] {}) {
    const int32_t cursor = 0;
    ArenaScope arena(enemy, kArena, cursor);
    std::vector<Step> steps;
    for (int k = 1; k < enterPresses; ++k) steps.push_back(Tap(platform::VK_RETURN));
    steps.push_back(Wait(2));
    steps.push_back(Look(std::move(look)));
    steps.push_back(Tap(platform::VK_RETURN));
    int32_t outcome = -1;
    Play(steps, [&] { outcome = CheckBattleOutcome(enemy); });
    arenaCount_ = NpcCount(mapTable[kArena]);
    heroInArena_ = hero;
    return outcome;
  }
  // As the check left them, before the arena is left.
  int arenaCount_ = -1;
  NpcRecord heroInArena_{};
};

TEST_F(OutcomeTest, TheEnemysLifeIsTestedFirst) {
  struct Case {
    int heroLife, enemyLife, outcome, presses;
  };
  const Case cases[] = {{0, 0, kOutcomeEnemyDown, 2}, {-5, 10, kOutcomeHeroDown, 1}, {1, -3, kOutcomeEnemyDown, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "hero " << c.heroLife << ", enemy " << c.enemyLife);
    InitNewGame();
    hero.nLife = c.heroLife;
    const bool won = c.outcome == kOutcomeEnemyDown;
    EXPECT_EQ(Check(Enemy(c.enemyLife, 10, 6), c.presses,
                    [&] {
                      EXPECT_GT(ScreenCount(280, won ? 180 : 200, 80, 20, kWhiteIndex), 20);
                      EXPECT_GT(ScreenCount(280, won ? 180 : 200, 81, 21, 0), 20) << "its shadow";
                    }),
              c.outcome);
    EXPECT_EQ(arenaCount_, won ? 0 : 1);
    // A dead hero is drawn off the right edge of the screen.
    EXPECT_EQ(heroInArena_.nX, won ? nHeroBattleX : 640);
    EXPECT_EQ(heroInArena_.nLastX, won ? nHeroBattleX : 640);
  }
  InitNewGame();
  const int32_t cursor = 0;
  ArenaScope arena(Enemy(1, 10, 6), kArena, cursor);
  EXPECT_EQ(CheckBattleOutcome(Enemy(1, 10, 6)), kOutcomeBothStand);  // no key, no wait
}

TEST_F(OutcomeTest, VictoryPaysExperienceAndMoneyAndRaisesLevels) {
  const struct {
    int exp, life, enemyLevel;
    std::string after;
  } cases[] = {
      // 100 experience: one level, none left.
      {0, 50, 4, "level 2 exp 0 life 65/80 attack 11 defense 11 money 57"},
      // 290: two levels at once, 90 left.
      {90, 50, 8, "level 3 exp 90 life 80/110 attack 12 defense 12 money 57"},
      // Half of the 60 missing comes back.
      {0, 20, 4, "level 2 exp 0 life 50/80 attack 11 defense 11 money 57"},
      {10, 30, 1, "level 1 exp 35 life 30/50 attack 10 defense 10 money 57"},
      // Goods took it past 100 before the fight.
      {230, 30, 0, "level 3 exp 30 life 70/110 attack 12 defense 12 money 57"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.after);
    InitNewGame();
    hero.nExp = c.exp;
    hero.nLife = c.life;
    const bool levelUp = c.after.find("level 1 ") != 0;
    Check(Enemy(0, 10, 6, c.enemyLevel), levelUp ? 3 : 2, [&] {
      EXPECT_GT(ScreenCount(200, 210, 200, 20, kWhiteIndex), 20);  // the gains line
      EXPECT_EQ(ScreenCount(250, 270, 150, 20, kYellowIndex) > 20, levelUp);
    });
    EXPECT_EQ(Figures(hero), c.after);
  }
}

TEST_F(OutcomeTest, LootIsShownInARowByItsSlotsAndKeptWhileSlotsAreFree) {
  struct Case {
    const char* name;
    std::string field;  // the enemy's loot bytes
    const char* heroSlots;
    const char* slotsAfter;
    std::vector<int> namesAt;  // x of each name shown, yellow
    std::vector<int> nothingAt;
  };
  const Case cases[] = {
      {"a gap between two goods", std::string("2\0" "3", 3), "                ",
       "23              ", {290, 410}, {350}},
      {"all slots full", "4", "2222222222222222", "2222222222222222", {290}, {}},
      {"a field starting with 0", "023", "                ", "                ", {}, {290, 350}},
      {"bytes naming no goods", "z 2\x7f", "4   ", "42              ", {410}, {290, 350, 470}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InitNewGame();
    std::memcpy(hero.szGoods, c.heroSlots, std::strlen(c.heroSlots));
    NpcRecord enemy = Enemy(0, 10, 6);
    std::memset(enemy.szGoods, 0, sizeof enemy.szGoods);
    std::memcpy(enemy.szGoods, c.field.data(), c.field.size());
    Check(enemy, 2, [&] {
      EXPECT_EQ(ScreenCount(200, 240, 90, 20, kWhiteIndex) > 20, !c.namesAt.empty()) << "heading";
      for (int x : c.namesAt) EXPECT_GT(BoxCount(x, 240, kYellowIndex), 20) << x;
      for (int x : c.nothingAt) EXPECT_EQ(BoxCount(x, 240, kYellowIndex), 0) << x;
    });
    EXPECT_EQ(std::string(hero.szGoods, 16), c.slotsAfter);
  }
}

}  // namespace
}  // namespace battle_test
