// The world fixture with what the living world adds: goods in the table, characters that fight,
// map files for the title sequence that a death or the ending runs, and ways to read what the
// game did (fights, talk boxes, the open screen at given moments).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "small_world_fixture.h"
#include "goods/goods.h"
#include "platform/backend.h"
#include "platform/system.h"

namespace world_test {

class LivingWorldTest : public WorldTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Goods k of the table: its name and value.
  static void SetGoods(int k, const char* name, int value);
  // A hostile character that stands still and fights: its fight is decided at the first blow.
  // beaten: life 0 (the hero wins at once); otherwise it is strong enough to kill the hero,
  // whose life is set to 1, with its first blow.
  NpcRecord Fighter(int talkId, int x, int y, bool beaten);
  // Map files the title sequence reads: home has two characters, record 1 a walker.
  void WriteWorldFiles();

  // Keys that finish one fight: the attack, then every message until the world is back.
  static std::vector<platform::headless::Step> WinFight();
  static std::vector<platform::headless::Step> LoseFight();
  // Choosing "quit" on the title menu, which ends the title sequence at once.
  static std::vector<platform::headless::Step> QuitAtTitle();
  // Lets the script's clock run on a little: true when every step has been played (a tap
  // the game never looked at is not).
  static bool ScriptDone();
  // Takes any keys the game left unread, so that the next call starts clean.
  static void DrainKeys();

  // Calls `look` at each "state" step of the script.
  void OnState(std::function<void()> look);
  // A "state" step: calls the function given to OnState.
  static platform::headless::Step Look();

  // Whether the visible page's talk box shows a character's portrait or the hero's.
  bool CharacterPortraitShown(int picture) const;
  bool HeroPortraitShown() const;
  // Yellow text in the shop's message line.
  bool ShopMessageShown() const;
};

}  // namespace world_test
