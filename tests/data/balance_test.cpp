// The balance of the generated data set, played out with the game's fight rules: a careful
// hero (the one the balance plan in data/BALANCE.md expects at each major fight) wins, a
// careless one can lose. The enemies' figures are read from the generated character files.
#include <algorithm>
#include <deque>

#include "data_set.h"

namespace datacheck {
namespace {

// The game's random numbers: state × 214013 + 2531011, bits 16 to 30, scaled to 0..n.
int UpTo(uint32_t& state, int n) {
  state = state * 214013u + 2531011u;
  return int((state >> 16) & 0x7FFF) * n / 32767;
}

int Blow(uint32_t& random, int attack, int defense) {
  const int base = 2 * attack - defense;
  return base > 10 ? base + UpTo(random, base) : UpTo(random, 10);
}

struct Fighter {
  int level = 1, life = 0, maxLife = 0, attack = 0, defense = 0, exp = 0;
};

// One fight: the hero strikes first; when its life is within one enemy blow of death it uses
// its smallest healing goods instead (which costs the turn); the enemy answers every turn.
bool Fight(uint32_t& random, Fighter& hero, const Npc& enemy, std::deque<int>& heals) {
  int enemyLife = enemy.life;
  const int base = 2 * enemy.attack - hero.defense;
  const int worstBlow = base > 10 ? 2 * base : 10;
  for (;;) {
    if (!heals.empty() && hero.life <= worstBlow + 2) {
      hero.life = std::min(hero.maxLife, hero.life + heals.front());
      heals.pop_front();
    } else if ((enemyLife -= Blow(random, hero.attack, enemy.defense)) <= 0) {
      break;
    }
    if ((hero.life -= Blow(random, enemy.attack, hero.defense)) <= 0) return false;
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

class Balance : public DataSet {
 protected:
  const Npc& Enemy(int map, int talkId) {
    static const Npc none;
    const Npc* enemy = Find(map, talkId);
    if (!enemy) ADD_FAILURE() << "no enemy with talk " << talkId;
    return enemy ? *enemy : none;
  }
  // How often a hero of the level (life 20 + 30 a level) wins a row of fights, over many seeds.
  static double WinRate(int level, int attack, int defense, std::vector<int> heals,
                        const std::vector<Npc>& enemies) {
    std::sort(heals.begin(), heals.end());
    constexpr int kRuns = 2000;
    int wins = 0;
    for (int run = 0; run < kRuns; ++run) {
      uint32_t random = uint32_t(run) * 7919u + 13u;
      Fighter hero{level, 20 + 30 * level, 20 + 30 * level, attack, defense, 0};
      std::deque<int> left(heals.begin(), heals.end());
      bool won = true;
      for (const Npc& enemy : enemies) won = won && Fight(random, hero, enemy, left);
      wins += won;
    }
    return double(wins) / kRuns;
  }
};

TEST_F(Balance, EachMajorFightIsWonWhenPreparedAndCanBeLostWhenNot) {
  const std::vector<Npc> pair = {Enemy(kCity, 70005), Enemy(kCity, 70004)};
  // The troublemakers: wooden sword and leather vest bought, the home chest's herb, the city
  // chest's bun and a herb; or straight from home with nothing.
  EXPECT_GE(WinRate(1, 12, 12, {25, 60, 60}, pair), 0.95);
  EXPECT_LE(WinRate(1, 10, 10, {}, pair), 0.7);
  // The tree demon: every creature of the wood fought, iron sword, wooden sword, leather vest
  // and the shield; or half the creatures fought and nothing bought.
  const std::vector<Npc> demon = {Enemy(kWood, 20006)};
  EXPECT_GE(WinRate(8, 24, 22, {60, 150, 150}, demon), 0.95);
  EXPECT_LE(WinRate(5, 14, 14, {60}, demon), 0.5);
  // The palace master: the soldiers beaten, the chests' amulet and the father's notes used,
  // potions and the elixir; or rushed through with the gear of the wood and one potion.
  const std::vector<Npc> lord = {Enemy(kPalace, 40006)};
  EXPECT_GE(WinRate(14, 31, 33, {150, 150, 150, 150, 400}, lord), 0.95);
  EXPECT_LE(WinRate(10, 21, 21, {150}, lord), 0.5);
  // The creatures on the way are fair fights for a hero who has met the ones before them.
  EXPECT_GE(WinRate(3, 12, 12, {}, {Enemy(kWood, 20003)}), 0.9);
  EXPECT_GE(WinRate(9, 24, 22, {60}, {Enemy(kPalace, 40001)}), 0.95);
}

}  // namespace
}  // namespace datacheck
