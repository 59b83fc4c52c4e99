// Blows: the damage rule with the game's generator, and the animation of a blow.
#include <gtest/gtest.h>

#include <algorithm>

#include "battle/arena.h"
#include "battle/battle.h"
#include "battle/battle_rules.h"
#include "core/game_state.h"
#include "battle_fixture.h"
#include "core/random.h"
#include "platform/backend/backend.h"
#include "video/draw.h"

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
           const uint32_t start = platform::headless::Now();
           const NpcRecord after = c.heroStrikes ? HeroAttack(enemy) : EnemyAttack(enemy);
           // Ten 60 ms and ten 50 ms waits; each wait's first clock reading takes 1 ms.
           EXPECT_EQ(platform::headless::Now() - start, 10u * 61 + 10u * 51);
           EXPECT_EQ(after.nLife, c.heroStrikes ? 80 - damage : 80);
           EXPECT_EQ(hero.nLife, c.heroStrikes ? 50 : 50 - damage);
         });
    EXPECT_EQ(shakenX(), struckX);
  }
}

}  // namespace
}  // namespace battle_test
