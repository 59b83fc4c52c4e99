// Fights on the small painted world of the world tests, with a painted fight bar and
// explosion, three goods that each add 1 to the attack, the arena on map 3, and looks at the
// screen at chosen moments of a script.
#pragma once

#include <cstring>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "battle/arena.h"
#include "battle/battle.h"
#include "battle/battle_rules.h"
#include "core/game_state.h"
#include "core/random.h"
#include "goods/goods.h"
#include "platform/system.h"
#include "small_world_fixture.h"
#include "video/display.h"

namespace battle_test {

using namespace world_test;
using namespace platform;  // the key codes
using platform::headless::Step;

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

class BattleTest : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    for (Surface* surface : {lpDDSFightBar, lpDDSBomb}) {
      std::memset(surface->Pixels(), surface == lpDDSBomb ? kBombIndex : kBarIndex,
                  size_t(surface->Width()) * size_t(surface->Height()));
      surface->Touch();
    }
    lpDDSBomb->SetColorKey(kKeyIndex);
    std::memset(aGoods, 0, sizeof aGoods);
    const char* const names[] = {"馒头", "草药", "金创药"};
    for (int k = 0; k < 3; ++k) {
      std::strcpy(aGoods[2 + k].szName, names[k]);
      aGoods[2 + k].nAddAttack = 1;
    }
    nGoodsRead = 3;
    // The arena holds one inactive stand-in, as the data set's does.
    NpcRecord standIn = MakeNpc(0, 448, 256);
    standIn.bActive = 0;
    AddNpc(kArena, standIn);
    SeedRandom(1);
    SetStateDumper([this] {
      if (!looks_.empty()) {
        const std::function<void()> look = looks_.front();
        looks_.pop_front();
        look();
      }
      return std::string();
    });
  }
  void TearDown() override {
    SetStateDumper(nullptr);
    std::memset(aGoods, 0, sizeof aGoods);
    nGoodsRead = 0;
    WorldTest::TearDown();
  }
  // An enemy of the given figures with 7 money and no loot, drawn from sheet kEnemyPicture.
  static NpcRecord Enemy(int life, int attack, int defense, int level = 1) {
    NpcRecord enemy = MakeNpc(kEnemyPicture, 300, 200, "Enemy");
    enemy.nLife = enemy.nMaxLife = life;
    enemy.nAttack = attack;
    enemy.nDefense = defense;
    enemy.nLevel = level;
    enemy.nMoney = 7;
    std::memcpy(enemy.szGoods, "0", 2);
    return enemy;
  }
  // A script step that runs the look when the script reaches it.
  Step Look(std::function<void()> look) {
    looks_.push_back(std::move(look));
    return State("look");
  }
  // Plays the steps while run runs, and checks that the script was played out.
  void Play(const std::vector<Step>& steps, const std::function<void()>& run) {
    UseScript(steps);
    run();
    headless::AdvanceClock(1);  // the script notes a tap's release at the next step
    EXPECT_TRUE(headless::ScriptFinished()) << "script steps left undone";
    EXPECT_TRUE(looks_.empty()) << "looks never reached";
  }
  // A whole fight in the arena with the keys of the steps; returns its result.
  int32_t Fight(const NpcRecord& enemy, int32_t hold, std::vector<Step> steps) {
    // The fight's first poll lets go of an Enter held from before; its keys come after.
    steps.insert(steps.begin(), Wait(10));
    int32_t result = -1;
    Play(steps, [&] { result = RunBattle(enemy, kArena, hold); });
    return result;
  }
  // How many pixels of the visible page's 40 × 20 box at (x, y) have the index.
  int BoxCount(int x, int y, uint8_t index) const { return ScreenCount(x, y, 40, 20, index); }

 private:
  std::deque<std::function<void()>> looks_;
};

}  // namespace battle_test
