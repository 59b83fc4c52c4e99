// The balance of the generated data set, played out with the game's fight rules: a careful
// hero (the one the balance plan in data/BALANCE.md expects at each major fight) wins, a
// careless one can lose. The enemies' figures are read from the generated character files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <deque>
#include <vector>

#include "world_fixture.h"

namespace datacheck {
namespace {

// The game's random numbers: state × 214013 + 2531011, bits 16 to 30, scaled to 0..n.
class Random {
 public:
  explicit Random(uint32_t seed) : state_(seed) {}
  int UpTo(int n) {
    state_ = state_ * 214013u + 2531011u;
    return int((state_ >> 16) & 0x7FFF) * n / 32767;
  }

 private:
  uint32_t state_;
};

struct Fighter {
  int level = 1, life = 0, maxLife = 0, attack = 0, defense = 0, exp = 0;
};

int Blow(Random& random, int attack, int defense) {
  const int base = 2 * attack - defense;
  return base > 10 ? base + random.UpTo(base) : random.UpTo(10);
}

// One fight: the hero strikes first; when its life is within one enemy blow of death it uses
// its smallest healing goods instead (which costs the turn); the enemy answers every turn.
bool Fight(Random& random, Fighter& hero, const Npc& enemy, std::deque<int>& heals) {
  int enemyLife = enemy.life;
  const int base = 2 * enemy.attack - hero.defense;
  const int worstBlow = base > 10 ? 2 * base : 10;
  for (;;) {
    if (!heals.empty() && hero.life <= worstBlow + 2) {
      hero.life = std::min(hero.maxLife, hero.life + heals.front());
      heals.pop_front();
    } else {
      enemyLife -= Blow(random, hero.attack, enemy.defense);
      if (enemyLife <= 0) break;
    }
    hero.life -= Blow(random, enemy.attack, hero.defense);
    if (hero.life <= 0) return false;
  }
  // Experience and level-ups as a victory gives them.
  hero.exp += 25 * enemy.level;
  const int q = hero.exp / 100;
  hero.level += q;
  hero.attack += q;
  hero.defense += q;
  hero.maxLife += 30 * q;
  hero.life += (hero.maxLife - hero.life) / 2;
  hero.exp %= 100;
  return true;
}

// How often a hero wins a row of fights, over many seeds of the generator.
double WinRate(Fighter start, std::vector<int> heals, const std::vector<Npc>& enemies) {
  std::sort(heals.begin(), heals.end());
  constexpr int kRuns = 2000;
  int wins = 0;
  for (int run = 0; run < kRuns; ++run) {
    Random random(uint32_t(run) * 7919u + 13u);
    Fighter hero = start;
    std::deque<int> left(heals.begin(), heals.end());
    bool won = true;
    for (const Npc& enemy : enemies) won = won && Fight(random, hero, enemy, left);
    wins += won;
  }
  return double(wins) / kRuns;
}

Fighter Hero(int level, int attack, int defense) {
  const int life = 20 + 30 * level;  // 50 at level 1, 30 more a level
  return {level, life, life, attack, defense, 0};
}

class Balance : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(world.complete); }
  const Npc& Enemy(int map, int talkId) {
    for (const Npc& npc : world.npcs[size_t(map)])
      if (npc.talkId == talkId) return npc;
    ADD_FAILURE() << "no enemy with talk " << talkId;
    static const Npc none;
    return none;
  }
  const World& world = TheWorld();
};

TEST_F(Balance, TheTroublemakersNeedAFewGoods) {
  const std::vector<Npc> pair = {Enemy(kCity, 70005), Enemy(kCity, 70004)};
  // Wooden sword and leather vest bought, the home chest's herb, the city chest's bun and a herb.
  EXPECT_GE(WinRate(Hero(1, 12, 12), {25, 60, 60}, pair), 0.95);
  // Straight from home with nothing.
  EXPECT_LE(WinRate(Hero(1, 10, 10), {}, pair), 0.7);
}

TEST_F(Balance, TheTreeDemonNeedsTheWoodsExperienceAndTheSmithsWares) {
  const std::vector<Npc> demon = {Enemy(kWood, 20006)};
  // Every creature of the wood fought, iron sword, wooden sword, leather vest and the shield.
  EXPECT_GE(WinRate(Hero(8, 24, 22), {60, 150, 150}, demon), 0.95);
  // Half the creatures fought and nothing bought.
  EXPECT_LE(WinRate(Hero(5, 14, 14), {60}, demon), 0.5);
}

TEST_F(Balance, ThePalaceMasterIsTheHardestFight) {
  const Npc& lord = Enemy(kPalace, 40006);
  // The soldiers beaten, the chests' amulet and the father's notes used, potions and the elixir.
  EXPECT_GE(WinRate(Hero(14, 31, 33), {150, 150, 150, 150, 400}, {lord}), 0.95);
  // Rushed through the palace with the gear of the wood and one potion.
  EXPECT_LE(WinRate(Hero(10, 21, 21), {150}, {lord}), 0.5);
  // The creatures on the way are fair fights for a hero who has met the ones before them.
  EXPECT_GE(WinRate(Hero(3, 12, 12), {}, {Enemy(kWood, 20003)}), 0.9);
  EXPECT_GE(WinRate(Hero(9, 24, 22), {60}, {Enemy(kPalace, 40001)}), 0.95);
}

}  // namespace
}  // namespace datacheck
