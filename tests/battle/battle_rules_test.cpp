// The rules of a fight: the damage of a blow and its animation, escaping, and the end of a
// fight (which side fell, the rewards, the loot row and level-ups).
#include <gtest/gtest.h>

#include <algorithm>

#include "battle_fixture.h"

namespace battle_test {
namespace {

TEST(BlowDamage, StaysInItsRangeAtAndAroundBaseTen) {
  struct Case {
    int attack, defense, low, high;
  };
  const Case cases[] = {
      {10, 10, 0, 10},   // base 10 is not above 10: 0 to 10
      {10, 9, 11, 22},   // base 11: base to twice base
      {20, 10, 30, 60},  // base 30
      {10, 25, 0, 10},   // a negative base still strikes for 0 to 10, never heals
  };
  SeedRandom(12345);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.attack << " against " << c.defense);
    int low = c.high, high = c.low;
    for (int k = 0; k < 40000; ++k) {
      const int damage = BlowDamage(c.attack, c.defense);
      low = std::min(low, damage);
      high = std::max(high, damage);
    }
    EXPECT_EQ(low, c.low);
    // The top value itself comes once in 32768 draws; the one below it comes often.
    EXPECT_GE(high, c.high - 1);
    EXPECT_LE(high, c.high);
  }
  // Figures from a damaged save neither overflow nor heal.
  EXPECT_EQ(BlowDamage(INT32_MAX, INT32_MIN), INT32_MAX);
  EXPECT_GE(BlowDamage(INT32_MIN, INT32_MAX), 0);
}

TEST(Escape, SucceedsAboutHalfTheTimeAtHoldFiftyAndNeverAtAHundred) {
  int escapes50 = 0, escapes100 = 0;
  constexpr int kSeeds = 20000;
  for (uint32_t seed = 1; seed <= kSeeds; ++seed) {
    SeedRandom(seed);
    escapes50 += EscapeSucceeds(50);
    SeedRandom(seed);
    escapes100 += EscapeSucceeds(100);
  }
  // 16056 of the 32768 values of the generator give 51 to 100.
  EXPECT_NEAR(double(escapes50) / kSeeds, 16056.0 / 32768.0, 0.015);
  EXPECT_EQ(escapes100, 0);
}

TEST_F(BattleTest, ABlowShowsExplosionShakeAndRisingFigureThenLowersTheLife) {
  struct Case {
    const char* name;
    bool heroStrikes;
    bool zeroDamage;  // "-0" is still shown with the whole animation
  };
  const Case cases[] = {{"hero's blow", true, false}, {"enemy's blow", false, false},
                        {"hero's blow for 0", true, true}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    InitNewGame();
    const NpcRecord enemy = Enemy(80, 10, c.zeroDamage ? 10 : 4);
    const int32_t cursor = 0;
    ArenaScope arena(enemy, kArena, cursor);
    const int struckX = c.heroStrikes ? nEnemyBattleX : nHeroBattleX;
    const auto shakenX = [&] { return c.heroStrikes ? CurrentMap().lpNpcs[0].nX : hero.nX; };
    const auto damageFrom = [&](uint32_t seed) {
      SeedRandom(seed);
      return c.heroStrikes ? BlowDamage(hero.nAttack, enemy.nDefense)
                           : BlowDamage(enemy.nAttack, hero.nDefense);
    };
    uint32_t seed = 7;
    while (c.zeroDamage && damageFrom(seed) != 0) ++seed;
    const int damage = damageFrom(seed);
    SeedRandom(seed);

    // Explosion frames last 60 ms from the blow's start, shake steps 50 ms from 600 ms on.
    Play({Wait(3 * 61 + 30), Look([&] { EXPECT_GT(ScreenCount(struckX - 10, 238, 54, 50, kBombIndex), 500); }),
          Wait(610 + 25 - (3 * 61 + 30)),
          Look([&] { EXPECT_EQ(shakenX(), struckX + (c.heroStrikes ? 5 : -5)); }),
          Wait(9 * 51),
          Look([&] {
            EXPECT_EQ(ScreenCount(struckX - 10, 238, 54, 50, kBombIndex), 0);
            const int figureWidth = 10 * (damage >= 10 ? 3 : 2);
            EXPECT_GT(ScreenCount(struckX, 238 - 45, figureWidth, 20, kWhiteIndex), 10);
            EXPECT_GT(ScreenCount(struckX, 238 - 45, figureWidth + 1, 21, 0), 5) << "its shadow";
          })},
         [&] {
           const uint32_t start = headless::Now();
           const NpcRecord after = c.heroStrikes ? HeroAttack(enemy) : EnemyAttack(enemy);
           // Ten 60 ms and ten 50 ms waits; each wait's first clock reading takes 1 ms.
           EXPECT_EQ(headless::Now() - start, 10u * 61 + 10u * 51);
           EXPECT_EQ(after.nLife, c.heroStrikes ? 80 - damage : 80);
           EXPECT_EQ(hero.nLife, c.heroStrikes ? 50 : 50 - damage);
         });
    EXPECT_EQ(shakenX(), struckX);
  }
}

class OutcomeTest : public BattleTest {
 protected:
  // Runs the outcome check in the arena, pressing Enter for each of its waits, with a look
  // just before the last press.
  int32_t Check(const NpcRecord& enemy, int enterPresses, std::function<void()> look = [] {}) {
    const int32_t cursor = 0;
    ArenaScope arena(enemy, kArena, cursor);
    std::vector<Step> steps;
    for (int k = 1; k < enterPresses; ++k) steps.push_back(Tap(VK_RETURN));
    steps.push_back(Wait(2));
    steps.push_back(Look(std::move(look)));
    steps.push_back(Tap(VK_RETURN));
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
