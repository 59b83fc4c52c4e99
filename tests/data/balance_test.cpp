// The balance of the generated data set, played out with the game's fight rules over 2000 seeds:
// the hero data/BALANCE.md expects at each major fight wins, a careless one can lose, the wood's
// creatures grow stronger the deeper they stand, and a whole game played straight through,
// every creature fought once and nothing bought beyond the plan, reaches the end.
#include <algorithm>
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
  hero.level += levels;
  hero.attack += levels;
  hero.defense += levels;
  hero.maxLife += 30 * levels;
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
  const Npc& Enemy(int map, int talkId) {
    static const Npc none;
    const Npc* enemy = Find(map, talkId);
    if (!enemy) ADD_FAILURE() << "no enemy with talk " << talkId;
    return enemy ? *enemy : none;
  }
  // How often the hero wins a row of fights.
  static double WinRate(const Hero& start, const std::vector<Npc>& enemies) {
    int wins = 0;
    for (int run = 0; run < kRuns; ++run) {
      uint32_t random = Seed(run);
      Hero hero = start;
      bool won = true;
      for (const Npc& enemy : enemies) won = won && Fight(random, hero, enemy);
      wins += won;
    }
    return double(wins) / kRuns;
  }
  // The life a hero at full life loses on average beating (or dying to) one enemy, no goods used.
  static double MeanLoss(const Hero& start, const Npc& enemy) {
    long lost = 0;
    for (int run = 0; run < kRuns; ++run) {
      uint32_t random = Seed(run);
      Hero hero = start;
      Fight(random, hero, enemy);
      lost += start.life - std::max(0, std::min(hero.life, start.life));
    }
    return double(lost) / kRuns;
  }
};

TEST_F(Balance, EachMajorFightIsWonWhenPreparedAndCanBeLostWhenNot) {
  const std::vector<Npc> pair = {Enemy(kCity, 70005), Enemy(kCity, 70004)};
  // The troublemakers: wooden sword and leather vest bought, the home chest's herb, the city
  // chest's bun and a herb; or straight from home with nothing.
  EXPECT_GE(WinRate(AtLevel(1, 12, 12, {25, 60, 60}), pair), 0.95);
  EXPECT_LE(WinRate(AtLevel(1, 10, 10), pair), 0.7);
  // The tree demon: every creature of the wood fought, iron sword, wooden sword, leather vest
  // and the shield; or half the creatures fought and nothing bought.
  const std::vector<Npc> demon = {Enemy(kWood, 20006)};
  EXPECT_GE(WinRate(AtLevel(8, 24, 22, {60, 150, 150}), demon), 0.95);
  EXPECT_LE(WinRate(AtLevel(5, 14, 14, {60}), demon), 0.5);
  // The palace master: the soldiers beaten, the chests' amulet and the father's notes used,
  // potions and the elixir; or rushed through with the gear of the wood and one potion.
  const std::vector<Npc> lord = {Enemy(kPalace, 40006)};
  EXPECT_GE(WinRate(AtLevel(14, 31, 33, {150, 150, 150, 150, 400}), lord), 0.95);
  EXPECT_LE(WinRate(AtLevel(10, 21, 21, {150}), lord), 0.5);
  // The palace soldiers are fair fights for the hero who beat the tree demon.
  EXPECT_GE(WinRate(AtLevel(9, 24, 22, {60}), {Enemy(kPalace, 40001)}), 0.95);
}

TEST_F(Balance, TheWoodGrowsHarderFromItsEntranceInward) {
  const Npc& slime = Enemy(kWood, 20001);
  const Npc& wolf = Enemy(kWood, 20002);
  const Npc& bat = Enemy(kWood, 20003);
  // The hero as the market leaves him: level 2, sword and vest, 50 of 80 life, nothing to eat.
  Hero fromMarket = AtLevel(2, 13, 13);
  fromMarket.life = 50;
  EXPECT_GE(WinRate(fromMarket, {slime}), 0.99) << "the slimes by the wood's entrance";
  EXPECT_GE(WinRate(fromMarket, {wolf}), 0.95) << "the wolves met early in the wood";
  Hero ungeared = AtLevel(2, 11, 11);
  ungeared.life = 50;
  EXPECT_GE(WinRate(ungeared, {slime}), 0.95) << "a slime, for a hero who bought nothing";
  // The bats, met past the river, are for a hero raised by the creatures north of it.
  EXPECT_GE(WinRate(AtLevel(4, 15, 15), {bat}), 0.95);
  EXPECT_GE(WinRate(AtLevel(3, 12, 12), {bat}), 0.9);
  // Each kind hurts the same hero more than the one before it: no swing back and forth.
  const Hero full = AtLevel(2, 13, 13);
  const double slimeLoss = MeanLoss(full, slime), wolfLoss = MeanLoss(full, wolf),
               batLoss = MeanLoss(full, bat);
  EXPECT_LT(slimeLoss, wolfLoss);
  EXPECT_LT(wolfLoss, batLoss);
  EXPECT_GE(slimeLoss, 8.0) << "a slime that can never hurt is no fight";
}

// A whole game straight through: the route of data/BALANCE.md, each creature fought once.
TEST_F(Balance, AGamePlayedStraightThroughReachesTheEnd) {
  enum Kind { kFight, kGear, kHeal, kExp, kBoss };
  struct Step {
    Kind kind;
    int a = 0, b = 0;  // the enemy's map and talk; attack and defense; life; exp
    const char* what = "";
  };
  const std::vector<Step> route = {
      {kGear, 2, 2, "wooden sword, leather vest"}, {kHeal, 60, 0, "home chest herb"},
      {kHeal, 25, 0, "city chest bun"},            {kBoss, kCity, 70004, "the gang leader"},
      {kFight, kCity, 70005},                      {kFight, kCity, 70004},
      {kHeal, 60, 0, "city chest herb by the gate"}, {kHeal, 35, 0, "wood chest tea"},
      {kFight, kWood, 20001},                      {kFight, kWood, 20001},
      {kFight, kWood, 20001},                      {kFight, kWood, 20002},
      {kExp, 80, 0, "fist manual"},                {kFight, kWood, 20001},
      {kHeal, 60, 0, "wood chest herb"},           {kFight, kWood, 20002},
      {kFight, kWood, 20002},                      {kHeal, 150, 0, "wood chest potion"},
      {kGear, 0, 3, "rattan shield"},              {kFight, kWood, 20003},
      {kFight, kWood, 20003},                      {kFight, kWood, 20003},
      {kGear, 5, 0, "iron sword"},                 {kHeal, 150, 0, "potion bought"},
      {kHeal, 60, 0, "herb bought"},               {kBoss, kWood, 20006, "the tree demon"},
      {kFight, kWood, 20006},                      {kGear, 3, 5, "amulet, flying-knife notes"},
      {kHeal, 400, 0, "elixir"},                   {kFight, kPalace, 40001},
      {kFight, kPalace, 40001},                    {kFight, kPalace, 20003},
      {kFight, kPalace, 40001},                    {kFight, kPalace, 40001},
      {kFight, kPalace, 20003},                    {kHeal, 150, 0, "bat's potion"},
      {kHeal, 150, 0, "potion bought"},            {kHeal, 150, 0, "potion bought"},
      {kBoss, kPalace, 40006, "the palace master"},        {kFight, kPalace, 40006},
  };
  std::vector<int> reached(route.size(), 0);
  struct Figures {
    double level = 0, life = 0, maxLife = 0, attack = 0, defense = 0;
  };
  std::vector<Figures> atBoss(route.size());
  for (int run = 0; run < kRuns; ++run) {
    uint32_t random = Seed(run);
    Hero hero;
    for (size_t i = 0; i < route.size(); ++i) {
      const Step& step = route[i];
      if (step.kind == kFight && !Fight(random, hero, Enemy(step.a, step.b))) break;
      if (step.kind == kGear) hero.attack += step.a, hero.defense += step.b;
      if (step.kind == kHeal) {
        hero.heals.insert(std::upper_bound(hero.heals.begin(), hero.heals.end(), step.a), step.a);
      }
      if (step.kind == kExp) GainExp(hero, step.a);
      if (step.kind == kBoss) {
        Figures& sum = atBoss[i];
        sum.level += hero.level, sum.life += hero.life, sum.maxLife += hero.maxLife;
        sum.attack += hero.attack, sum.defense += hero.defense;
      }
      ++reached[i];
    }
  }
  for (size_t i = 0; i < route.size(); ++i) {
    if (route[i].kind == kFight) {
      EXPECT_GE(reached[i], reached[i - 1] * 97 / 100)
          << "step " << i << ", the fight against talk " << route[i].b << ", lost too often";
    } else if (route[i].kind == kBoss && reached[i] > 0) {
      const Figures& sum = atBoss[i];
      const double n = reached[i];
      std::printf("before %s: level %.1f, life %.0f of %.0f, attack %.1f, defense %.1f\n", route[i].what,
                  sum.level / n, sum.life / n, sum.maxLife / n, sum.attack / n, sum.defense / n);
    }
  }
  EXPECT_GE(reached.back(), kRuns * 85 / 100) << "of " << kRuns << " straight games, too few reach the end";
}

}  // namespace
}  // namespace datacheck
