// The world fixture with what the living world adds: goods in the table, characters that fight,
// map files for the title sequence that a death or the ending runs, and ways to read what the
// game did (fights, talk boxes, the open screen at given moments).
#pragma once

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "small_world_fixture.h"
#include "goods/goods.h"
#include "platform/backend/backend.h"
#include "platform/system.h"

namespace world_test {

using platform::VK_DOWN;
using platform::VK_RETURN;
using Steps = std::vector<platform::headless::Step>;

class LivingWorldTest : public WorldTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Goods k of the table: its name and value. The table then counts as read up to k.
  static void SetGoods(int k, const char* name, int value);
  // A hostile character that stands still and fights: its fight is decided at the first blow.
  // beaten: life 0 (the hero wins at once); otherwise it is strong enough to kill the hero,
  // whose life is set to 1, with its first blow.
  NpcRecord Fighter(int talkId, int x, int y, bool beaten);
  // Map files the title sequence reads: home has two characters, record 1 a walker.
  void WriteWorldFiles();

  // Keys that finish one fight: the fade into the arena, the attack, then every message until
  // the world is back ("victory" and the rewards, or "you died").
  static Steps WinFight() { return {Wait(1500), Tap(VK_RETURN), Tap(VK_RETURN), Tap(VK_RETURN)}; }
  static Steps LoseFight() { return {Wait(1500), Tap(VK_RETURN), Tap(VK_RETURN)}; }
  // Choosing "quit" on the title menu, which ends the title sequence at once.
  static Steps QuitAtTitle() { return {Wait(2000), Tap(VK_DOWN), Tap(VK_DOWN), Tap(VK_RETURN)}; }
  // The pieces of a script one after the other.
  static Steps Join(std::initializer_list<Steps> parts) {
    Steps steps;
    for (const Steps& part : parts) steps.insert(steps.end(), part.begin(), part.end());
    return steps;
  }
  // Lets the script's clock run on a little: true when every step has been played (a tap
  // the game never looked at is not).
  static bool ScriptDone() {
    for (int k = 0; k < 1000 && !platform::headless::ScriptFinished(); ++k) platform::GetTickCount();
    return platform::headless::ScriptFinished();
  }
  // Takes any keys the game left unread, so that the next call starts clean.
  static void DrainKeys() {
    while (!platform::headless::ScriptFinished()) platform::GetAsyncKeyState(platform::VK_RETURN);
  }

  // Calls `look` at each "state" step of the script, which Look() makes.
  void OnState(std::function<void()> look) {
    platform::SetStateDumper([look] {
      look();
      return std::string("{}");
    });
  }
  static platform::headless::Step Look() { return State("look.json"); }

  // Whether the visible page's talk box shows a character's portrait or the hero's; yellow
  // text in the shop's message line.
  bool CharacterPortraitShown(int picture) const { return ScreenPixel(40, 410) == NpcSheetIndex(picture); }
  bool HeroPortraitShown() const { return ScreenPixel(40, 398) == HeroFrameIndex(0, 0); }
  bool ShopMessageShown() const { return ScreenCount(240, 460, 200, 20, kYellowIndex) > 0; }
};

}  // namespace world_test
