// The balance of the generated data set, played out with the game's fight rules over 2000 seeds:
// the hero data/BALANCE.md expects at each major fight wins, a careless one can lose, the wood's
// creatures grow stronger the deeper they stand, and a whole game played straight through,
// every creature fought once and nothing bought beyond the plan, reaches the end.
#include <algorithm>
#include <array>
#include <cstdio>
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

struct Hero {
  int level = 1, life = 50, maxLife = 50, attack = 10, defense = 10, exp = 0;
  std::deque<int> heals;  // healing goods carried, smallest first
};

Hero AtLevel(int level, int attack, int defense, std::vector<int> heals = {}) {
  std::sort(heals.begin(), heals.end());
  return {level, 20 + 30 * level, 20 + 30 * level, attack, defense, 0, {heals.begin(), heals.end()}};
}

// Experience as a victory or a manual gives it: every 100 a level, attack, defense and 30 life
// more, and half the missing life back.
void GainExp(Hero& hero, int exp) {
  hero.exp += exp;
  const int levels = hero.exp / 100;
  if (levels == 0) return;
  hero.level += levels, hero.attack += levels, hero.defense += levels, hero.maxLife += 30 * levels;
  hero.life += (hero.maxLife - hero.life) / 2;
  hero.exp %= 100;
}

// One fight: the hero strikes first; when its life is within one enemy blow of death it uses
// instead (which costs the turn) the smallest healing goods that take it out of that reach, or
// its largest; the enemy answers every turn.
bool Fight(uint32_t& random, Hero& hero, const Npc& enemy) {
  int enemyLife = enemy.life;
  const int base = 2 * enemy.attack - hero.defense;
  const int worstBlow = base > 10 ? 2 * base : 10;
  for (;;) {
    if (!hero.heals.empty() && hero.life <= worstBlow + 2) {
      auto heal = std::find_if(hero.heals.begin(), hero.heals.end(),
                               [&](int h) { return hero.life + h > worstBlow + 2; });
      if (heal == hero.heals.end()) --heal;
      hero.life = std::min(hero.maxLife, hero.life + *heal);
      hero.heals.erase(heal);
    } else if ((enemyLife -= Blow(random, hero.attack, enemy.defense)) <= 0) {
      break;
    }
    if ((hero.life -= Blow(random, enemy.attack, hero.defense)) <= 0) return false;
  }
  GainExp(hero, 25 * enemy.level);
  return true;
}

constexpr int kRuns = 2000;
uint32_t Seed(int run) { return uint32_t(run) * 7919u + 13u; }

class Balance : public DataSet {
 protected:
  const Npc& Enemy(std::pair<int, int> mapAndTalk) {
    static const Npc none;
    const Npc* enemy = Find(mapAndTalk.first, mapAndTalk.second);
    if (!enemy) ADD_FAILURE() << "no enemy with talk " << mapAndTalk.second;
    return enemy ? *enemy : none;
  }
  // How often the hero wins a row of fights, and the life it loses on average.
  double WinRate(const Hero& start, const std::vector<std::pair<int, int>>& enemies, double* loss = nullptr) {
    int wins = 0;
    long lost = 0;
    for (int run = 0; run < kRuns; ++run) {
      uint32_t random = Seed(run);
      Hero hero = start;
      bool won = true;
      for (auto enemy : enemies) won = won && Fight(random, hero, Enemy(enemy));
      wins += won;
      lost += start.life - std::clamp(hero.life, 0, start.life);
    }
    if (loss) *loss = double(lost) / kRuns;
    return double(wins) / kRuns;
  }
};

// A hero of a level (life 20 + 30 a level; or as the market leaves him), the fights in a row,
// and the share of seeds it must win (at least low, at most high).
struct Case {
  const char* what;
  Hero hero;
  std::vector<std::pair<int, int>> enemies;  // map and talk id
  double low = 0, high = 1;
};
Hero FromMarket(int attack, int defense) {
  Hero hero = AtLevel(2, attack, defense);
  hero.life = 50;
  return hero;
}

TEST_F(Balance, EachFightIsWonWhenPreparedAndCanBeLostWhenNot) {
  const std::pair<int, int> crony{kCity, 70005}, leader{kCity, 70004}, slime{kWood, 20001},
      wolf{kWood, 20002}, bat{kWood, 20003}, demon{kWood, 20006}, soldier{kPalace, 40001},
      lord{kPalace, 40006};
  const Case cases[] = {
      {"the troublemakers, sword, vest, bun and herbs", AtLevel(1, 12, 12, {25, 60, 60}), {crony, leader}, 0.95},
      {"the troublemakers, straight from home", AtLevel(1, 10, 10), {crony, leader}, 0, 0.7},
      {"a slime, as the market leaves the hero", FromMarket(13, 13), {slime}, 0.99},
      {"a wolf, as the market leaves the hero", FromMarket(13, 13), {wolf}, 0.95},
      {"a slime, for a hero who bought nothing", FromMarket(11, 11), {slime}, 0.95},
      {"a bat, past the river", AtLevel(4, 15, 15), {bat}, 0.95},
      {"a bat, for a hero who skipped the north", AtLevel(3, 12, 12), {bat}, 0.9},
      {"the tree demon, prepared", AtLevel(8, 24, 22, {60, 150, 150}), {demon}, 0.95},
      {"the tree demon, half the wood fought", AtLevel(5, 14, 14, {60}), {demon}, 0, 0.5},
      {"a palace soldier", AtLevel(9, 24, 22, {60}), {soldier}, 0.95},
      {"the palace master, prepared", AtLevel(14, 31, 33, {150, 150, 150, 150, 400}), {lord}, 0.95},
      {"the palace master, rushed", AtLevel(10, 21, 21, {150}), {lord}, 0, 0.5},
  };
  for (const Case& c : cases) {
    const double rate = WinRate(c.hero, c.enemies);
    EXPECT_TRUE(rate >= c.low && rate <= c.high) << c.what << ": won " << rate;
  }
  // Each kind of the wood's creatures hurts the same hero more than the one before it.
  double slimeLoss = 0, wolfLoss = 0, batLoss = 0;
  WinRate(AtLevel(2, 13, 13), {slime}, &slimeLoss), WinRate(AtLevel(2, 13, 13), {wolf}, &wolfLoss);
  WinRate(AtLevel(2, 13, 13), {bat}, &batLoss);
  EXPECT_TRUE(8 <= slimeLoss && slimeLoss < wolfLoss && wolfLoss < batLoss)
      << "life lost to a slime, wolf, bat: " << slimeLoss << ", " << wolfLoss << ", " << batLoss;
}

// A whole game straight through, the route of data/BALANCE.md with each creature fought once:
// every fight is won in nearly every seed. The hero's figures at each boss are printed.
TEST_F(Balance, AGamePlayedStraightThroughReachesTheEnd) {
  enum Kind { kFight, kGear, kHeal, kExp, kBoss };
  struct Step {
    Kind kind;
    int a = 0, b = 0;  // map and talk of the enemy; attack and defense; life; experience
  };
  const Step slime{kFight, kWood, 20001}, wolf{kFight, kWood, 20002}, bat{kFight, kWood, 20003},
      soldier{kFight, kPalace, 40001}, palaceBat{kFight, kPalace, 20003};
  const Step route[] = {
      {kGear, 2, 2}, {kHeal, 60}, {kHeal, 25},  // sword, vest, the home herb and the city bun
      {kBoss, kCity, 70004}, {kFight, kCity, 70005}, {kFight, kCity, 70004},
      {kHeal, 60}, {kHeal, 35}, slime, slime, slime, wolf, {kExp, 80},  // gate herb, wood tea, manual
      slime, {kHeal, 60}, wolf, wolf, {kHeal, 150}, {kGear, 0, 3}, bat, bat, bat,  // herb, potion, shield
      {kGear, 5, 0}, {kHeal, 150}, {kHeal, 60},  // the iron sword, a potion and a herb bought
      {kBoss, kWood, 20006}, {kFight, kWood, 20006},
      {kGear, 3, 5}, {kHeal, 400}, soldier, soldier, palaceBat, soldier, soldier, palaceBat,  // notes, amulet
      {kHeal, 150}, {kHeal, 150}, {kHeal, 150}, {kBoss, kPalace, 40006}, {kFight, kPalace, 40006},
  };
  constexpr size_t kSteps = std::size(route);
  std::array<int, kSteps> reached{};
  std::array<std::array<double, 5>, kSteps> atBoss{};  // level, life, maximum life, attack, defense
  for (int run = 0; run < kRuns; ++run) {
    uint32_t random = Seed(run);
    Hero hero;
    for (size_t i = 0; i < kSteps; ++i) {
      const Step& s = route[i];
      if (s.kind == kFight && !Fight(random, hero, Enemy({s.a, s.b}))) break;
      if (s.kind == kGear) hero.attack += s.a, hero.defense += s.b;
      if (s.kind == kHeal) hero.heals.insert(std::upper_bound(hero.heals.begin(), hero.heals.end(), s.a), s.a);
      if (s.kind == kExp) GainExp(hero, s.a);
      const int figures[5] = {hero.level, hero.life, hero.maxLife, hero.attack, hero.defense};
      for (int f = 0; f < 5 && s.kind == kBoss; ++f) atBoss[i][f] += figures[f];
      ++reached[i];
    }
  }
  for (size_t i = 1; i < kSteps; ++i) {
    EXPECT_TRUE(route[i].kind != kFight || reached[i] >= reached[i - 1] * 97 / 100)
        << "step " << i << ", the fight against talk " << route[i].b << ", lost too often";
    if (route[i].kind == kBoss && reached[i] > 0) {
      const auto& f = atBoss[i];
      const double n = reached[i];
      std::printf("before talk %d: level %.1f, life %.0f of %.0f, attack %.1f, defense %.1f\n", route[i].b,
                  f[0] / n, f[1] / n, f[2] / n, f[3] / n, f[4] / n);
    }
  }
  EXPECT_GE(reached.back(), kRuns * 85 / 100) << "of " << kRuns << " straight games, too few reach the end";
}

}  // namespace
}  // namespace datacheck
