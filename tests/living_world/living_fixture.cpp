#include "living_fixture.h"

#include <cstring>

#include "app/game_state.h"
#include "video/display.h"

namespace world_test {

using platform::headless::Step;

void LivingWorldTest::SetUp() {
  WorldTest::SetUp();
  std::memset(aGoods, 0, sizeof aGoods);
  AddNpc(3, MakeNpc(0, 0, 0));  // the arena's slot for the enemy
}

void LivingWorldTest::TearDown() {
  platform::SetStateDumper(nullptr);
  std::memset(aGoods, 0, sizeof aGoods);
  WorldTest::TearDown();
}

void LivingWorldTest::SetGoods(int k, const char* name, int value) {
  std::strncpy(aGoods[k].szName, name, sizeof aGoods[k].szName - 1);
  aGoods[k].nValue = value;
}

NpcRecord LivingWorldTest::Fighter(int talkId, int x, int y, bool beaten) {
  NpcRecord npc = MakeNpc(7, x, y, "Foe");
  npc.nTalkId = talkId;
  npc.bHostile = 1;
  npc.nWalk = 1;
  npc.nSpeed = 0;
  npc.nLevel = 0;  // no experience, so no level-up message to wait for
  npc.szGoods[0] = '0';  // no loot
  npc.nLife = beaten ? 0 : 100000;
  npc.nAttack = beaten ? 0 : 10000;
  if (!beaten) hero.nLife = 1;
  return npc;
}

void LivingWorldTest::WriteWorldFiles() {
  static const char* const kMaps[] = {"home", "city", "wood", "f_wood", "palace", "shop01", "shop02", "shop03"};
  // Two records: a fixed one, then one that walks with speed 8.
  auto field = [](const std::string& value) { return "xxxxxxxxxx:" + value + ";\n"; };
  auto record = [&](const char* x, const char* walk) {
    const std::string values[] = {"10001", "1", "0", "0", walk, "1", "Someone", "32", "32", x, "300",
                                  x, "300", "0", "0", "1", "0", "10", "10", "1", "1", "8",
                                  "                ", "0", "0"};
    std::string text;
    for (const std::string& value : values) text += field(value);
    return text;
  };
  const std::string npcs = field("2") + record("100", "0") + record("400", "1");
  for (int m = 0; m < kMapCount; ++m) {
    WriteFile(std::string("maps\\") + kMaps[m] + ".map",
              MapFileBytes(20, 15, m, std::vector<uint16_t>(20 * 15, 0)));
    WriteFile(std::string("maps\\") + kMaps[m] + ".npc", npcs);
  }
}

std::vector<Step> LivingWorldTest::WinFight() {
  // The fade into the arena; attack; "victory"; the rewards.
  return {Wait(1500), Tap(platform::VK_RETURN), Tap(platform::VK_RETURN), Tap(platform::VK_RETURN)};
}

std::vector<Step> LivingWorldTest::LoseFight() {
  // The fade into the arena; attack (the enemy answers and the hero falls); "you died".
  return {Wait(1500), Tap(platform::VK_RETURN), Tap(platform::VK_RETURN)};
}

std::vector<Step> LivingWorldTest::QuitAtTitle() {
  return {Wait(2000), Tap(platform::VK_DOWN), Tap(platform::VK_DOWN), Tap(platform::VK_RETURN)};
}

bool LivingWorldTest::ScriptDone() {
  for (int k = 0; k < 1000 && !platform::headless::ScriptFinished(); ++k) platform::GetTickCount();
  return platform::headless::ScriptFinished();
}

void LivingWorldTest::DrainKeys() {
  while (!platform::headless::ScriptFinished()) platform::GetAsyncKeyState(platform::VK_RETURN);
}

void LivingWorldTest::OnState(std::function<void()> look) {
  platform::SetStateDumper([look] {
    look();
    return std::string("{}");
  });
}

Step LivingWorldTest::Look() { return State("look.json"); }

bool LivingWorldTest::CharacterPortraitShown(int picture) const {
  return ScreenPixel(40, 410) == NpcSheetIndex(picture);
}

bool LivingWorldTest::HeroPortraitShown() const {
  return ScreenPixel(40, 398) == HeroFrameIndex(0, 0);
}

bool LivingWorldTest::ShopMessageShown() const {
  return ScreenCount(240, 460, 200, 20, kYellowIndex) > 0;
}

}  // namespace world_test
