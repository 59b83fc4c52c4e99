// CTRL or ENTER in the world: chests, characters one step ahead, shops and the city encounter.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "core/game_state.h"
#include "core/open_screen.h"
#include "platform/backend/backend.h"
#include "video/display.h"
#include "video/draw.h"
#include "world/interact.h"
#include "world/talk.h"
#include "world/world_view.h"
#include "living_fixture.h"

namespace world_test {
namespace {

using platform::VK_CONTROL;
using platform::VK_ESCAPE;
using platform::VK_RETURN;

// Hero sheet rows.
constexpr int kDown = 0, kLeft = 1, kRight = 2, kUp = 3;

class InteractTest : public LivingWorldTest {
 protected:
  void SetUp() override {
    LivingWorldTest::SetUp();
    SetGoods(3, "Bun", 8);
    hero.nDirection = kDown;
    PlaceHero(200, 200);  // feet cell (6, 5); the point in front, facing down, is (200, 232)
  }
  // The chest's message starts at x 100, left of where the talk box's words begin.
  bool ChestMessageShown() const { return ScreenCount(100, 400, 18, 20, kWhiteIndex) > 0; }
  bool TalkBarShown() const { return ScreenPixel(5, 470) == kTalkBarIndex; }
};

TEST_F(InteractTest, ChestsGiveTheirGoodsAndStayOpen) {
  struct Case {
    const char* what;
    uint16_t code;
    int direction, column, row;
    bool full;   // all 16 hero slots taken
    char slot0;  // the hero's first slot afterwards
    bool opens;
    int heroX = 200;
  } cases[] = {
      {"goods below", 0xF003, kDown, 6, 6, false, '3', true},
      {"goods to the left", 0xF003, kLeft, 5, 5, false, '3', true},
      {"goods to the right", 0xF003, kRight, 7, 5, false, '3', true},
      {"goods above", 0xF003, kUp, 6, 4, false, '3', true},
      {"goods with every slot full: lost", 0xF003, kDown, 6, 6, true, '3', true},
      {"goods index 1, never filled: empty", 0xF001, kDown, 6, 6, false, ' ', true},
      {"goods index 19, not in the table: empty", 0xF013, kDown, 6, 6, false, ' ', true},
      {"goods index far past the table: empty", 0xFFFF, kDown, 6, 6, false, ' ', true},
      {"opened chest", 0xA12E, kDown, 6, 6, false, ' ', false},
      {"left of the map's left edge is not the row above", 0xF003, kLeft, 19, 4, false, ' ', false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MakeMap(0, 20, 15);
    SetTileAt(mapTable[0], c.column, c.row, c.code);
    std::memset(hero.szGoods, c.full ? '3' : ' ', 16);
    hero.nDirection = c.direction;
    PlaceHero(c.heroX, 200);
    const int money = hero.nMoney;
    DrawWorld();
    FlipScreen();
    if (c.opens) UseScript({Wait(100), Look(), Tap(VK_RETURN)});
    bool messageShown = false;
    OnState([&] { messageShown = TalkBarShown() && ChestMessageShown(); });
    Interact();
    EXPECT_TRUE(ScriptDone());
    EXPECT_EQ(messageShown, c.opens);
    EXPECT_EQ(TileAt(mapTable[0], c.column, c.row), c.opens ? 0xA12E : c.code);
    EXPECT_EQ(hero.szGoods[0], c.slot0);
    EXPECT_EQ(CountGoods(hero), c.full ? 16 : (c.slot0 == '3' ? 1 : 0));
    EXPECT_EQ(hero.szGoods[16], '\0');
    EXPECT_EQ(hero.nMoney, money);
  }
}

TEST_F(InteractTest, AMoneyChestGivesFrom0To100) {
  int low = 100, high = 0;
  for (int k = 0; k < 300; ++k) {
    SetTileAt(mapTable[0], 6, 6, 0xF000);
    const int money = hero.nMoney;
    UseScript({Wait(10), Tap(VK_RETURN)});
    Interact();
    ASSERT_TRUE(ScriptDone());
    low = std::min(low, hero.nMoney - money);
    high = std::max(high, hero.nMoney - money);
  }
  EXPECT_GE(low, 0);
  EXPECT_LE(high, 100);
  EXPECT_GT(high - low, 90);
}

TEST_F(InteractTest, TheChestOpensFirstThenTheCharactersSpeakInListOrder) {
  SetTileAt(mapTable[0], 6, 6, 0xF003);
  for (int picture : {3, 4}) {
    NpcRecord npc = MakeNpc(picture, 200 + 4 * picture, 232);
    npc.nTalkId = 11000 + picture;
    AddNpc(0, npc);
  }
  SetTalkText("[11003]\n\n{Three@;\n[11004]\n\n{Four@;\n");
  std::vector<int> seen;  // 0 the chest's message, else the portrait shown
  OnState([&] {
    for (int picture : {3, 4})
      if (CharacterPortraitShown(picture)) seen.push_back(picture);
    if (ChestMessageShown()) seen.push_back(0);
  });
  Steps keys;
  for (int k = 0; k < 3; ++k) keys = Join({keys, {Wait(100), Look(), Tap(VK_RETURN)}});
  UseScript(keys);
  Interact();
  EXPECT_TRUE(ScriptDone());
  EXPECT_EQ(seen, (std::vector<int>{0, 3, 4}));
  for (const NpcRecord& npc : mapTable[0].lpNpcs) EXPECT_EQ(npc.nDirection, 2);  // facing the hero
}

TEST_F(InteractTest, CharactersWithin16PixelsOfThePointInFrontAreAddressed) {
  struct Case {
    int dx, dy;
    bool addressed;
  } cases[] = {{16, 16, true}, {-16, -16, true}, {0, 0, true}, {17, 0, false}, {0, 17, false}, {-17, -16, false}};
  for (const Case& c : cases) {
    MakeMap(0, 20, 15);
    AddNpc(0, MakeNpc(3, 200 + c.dx, 232 + c.dy));
    NpcRecord gone = MakeNpc(3, 200, 232);
    gone.bActive = 0;
    AddNpc(0, gone);
    Interact();
    EXPECT_EQ(mapTable[0].lpNpcs[0].nDirection, c.addressed ? 2 : 0) << c.dx << "," << c.dy;
    EXPECT_EQ(mapTable[0].lpNpcs[1].nDirection, 0);
  }
}

TEST_F(InteractTest, ShopkeepersOpenTheirShopAndEndTheTurn) {
  SetGoods(2, "Tea", 10);
  struct Case {
    int talkId;
    bool trade;
    int money;  // afterwards, from 50
    char slot0;
  } cases[] = {{59999, false, 50, ' '}, {69999, true, 40, '2'}, {79999, true, 55, ' '}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.talkId);
    MakeMap(0, 20, 15);
    NpcRecord keeper = MakeNpc(6, 200, 232);
    keeper.nTalkId = c.talkId;
    std::memcpy(keeper.szGoods, "2               ", 16);
    AddNpc(0, keeper);
    AddNpc(0, MakeNpc(7, 200, 232));  // also within reach, but the shop ends the turn
    hero.nMoney = 50;
    std::memcpy(hero.szGoods, c.talkId == 79999 ? "2               " : "                ", 16);
    SetTalkText("[" + std::to_string(c.talkId) + "]\n\n{Hello@;\n{Look@;\n{Bye then@;\n}Thanks@;\n");
    std::vector<std::string> screens;
    bool heroHadLastWord = false;
    OnState([&] {
      screens.push_back(OpenScreen());
      heroHadLastWord = HeroPortraitShown();
    });
    UseScript(Join({{Wait(10), Tap(VK_RETURN), Tap(VK_RETURN), Wait(100), Look()},
                    c.trade ? std::vector{Tap(VK_CONTROL)} : Steps{},
                    {Tap(VK_ESCAPE), Wait(100), Look(), Tap(VK_RETURN)}}));
    Interact();
    EXPECT_TRUE(ScriptDone());
    EXPECT_EQ(screens, (std::vector<std::string>{"shop", "talk"}));
    EXPECT_EQ(heroHadLastWord, c.trade);  // entry 3 after a trade is the hero's thanks
    EXPECT_EQ(hero.nMoney, c.money);
    EXPECT_EQ(hero.szGoods[0], c.slot0);
    EXPECT_EQ(mapTable[0].lpNpcs[0].szGoods[0], '2');  // the keeper's own stock stays whole
    EXPECT_EQ(mapTable[0].lpNpcs[1].nDirection, 0);     // never addressed
  }
}

// The city: the leader (record 3) stands one step ahead; his crony (record 4), who fights
// first, beside him; the girl they hold is record 2.
TEST_F(InteractTest, TheCityEncounterFreesTheGirlOrSendsAKilledHeroToTheTitle) {
  WriteWorldFiles();
  std::vector<int> foes;  // the talk id of the arena's enemy, fight by fight
  OnState([&] { foes.push_back(NpcCount(mapTable[3]) > 0 ? mapTable[3].lpNpcs[0].nTalkId : -1); });
  // A fight's keys with a look at the arena's enemy after the first blow.
  const auto fight = [](Steps keys) {
    keys.insert(keys.begin() + 2, Look());
    return keys;
  };
  struct Case {
    const char* what;
    bool cronyBeaten, leaderBeaten;
  } cases[] = {{"both beaten", true, true}, {"killed in the first fight", false, false},
               {"killed in the second fight", true, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MakeMap(1, 20, 15);
    mapTable[1].lpNpcs.clear();
    nMap = 1;
    nStoryStage = 0;
    AddNpc(1, MakeNpc(1, 600, 100));
    AddNpc(1, MakeNpc(1, 600, 200));
    NpcRecord girl = MakeNpc(4, 500, 300);
    girl.nTalkId = 70003;
    AddNpc(1, girl);
    AddNpc(1, Fighter(70004, 200, 232, c.leaderBeaten));
    AddNpc(1, Fighter(70005, 240, 232, c.cronyBeaten));
    for (NpcRecord& npc : mapTable[1].lpNpcs) npc.bHostile = 0;
    hero.nDirection = kDown;
    PlaceHero(200, 200);
    foes.clear();
    if (c.leaderBeaten)
      UseScript(Join({fight(WinFight()), fight(WinFight())}));
    else
      UseScript(Join({c.cronyBeaten ? fight(WinFight()) : Steps{},
                      fight(LoseFight()), QuitAtTitle()}));
    Interact();
    EXPECT_TRUE(ScriptDone());
    if (c.leaderBeaten) {
      EXPECT_EQ(foes, (std::vector<int>{70005, 70004}));  // the crony first
      const std::vector<NpcRecord>& npcs = mapTable[1].lpNpcs;
      EXPECT_EQ(npcs[3].bActive + npcs[4].bActive, 0);
      EXPECT_EQ(npcs[2].nSpeed, 4);
      EXPECT_EQ(npcs[2].nTalkState, 2);
      EXPECT_EQ(nStoryStage, 1);
      EXPECT_EQ(nMap, 1);
    } else {
      EXPECT_EQ(foes.size(), c.cronyBeaten ? 2u : 1u);
      // The world as its files have it: a new game at home, the city's list read afresh.
      EXPECT_EQ(nMap, 0);
      EXPECT_EQ(nStoryStage, 0);
      EXPECT_EQ(hero.nLife, 50);
      EXPECT_EQ(NpcCount(mapTable[1]), 2);
    }
  }
}

}  // namespace
}  // namespace world_test
