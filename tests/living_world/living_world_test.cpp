// The living world: CTRL or ENTER in it (chests, characters one step ahead, shops and the city
// encounter), the character tick (walking, pauses, the map's edges, keeping apart from the hero,
// hostile characters starting fights and what their defeat brings) and the shops themselves.
// The fixture adds to the small world goods in the table, characters that fight, map files for
// the title sequence that a death or the ending runs, and ways to read what the game did.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "core/open_screen.h"
#include "goods/goods.h"
#include "goods/shop.h"
#include "platform/backend/backend.h"
#include "platform/system.h"
#include "small_world_fixture.h"
#include "video/display.h"
#include "video/draw.h"
#include "world/interact.h"
#include "world/npc_tick.h"
#include "world/talk.h"
#include "world/world_geometry.h"
#include "world/world_view.h"

namespace world_test {
namespace {

using platform::headless::GetLog;
using platform::headless::ScriptFinished;
using platform::VK_CONTROL;
using platform::VK_ESCAPE;
using platform::VK_DOWN;
using platform::VK_LEFT;
using platform::VK_RIGHT;
using platform::VK_RETURN;
using Steps = std::vector<platform::headless::Step>;

class LivingWorldTest : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    std::memset(aGoods, 0, sizeof aGoods);
    nGoodsRead = 0;
    AddNpc(3, MakeNpc(0, 0, 0));  // the arena's slot for the enemy
  }
  void TearDown() override {
    platform::SetStateDumper(nullptr);
    std::memset(aGoods, 0, sizeof aGoods);
    nGoodsRead = 0;
    WorldTest::TearDown();
  }

  // Goods k of the table: its name and value. The table then counts as read up to k.
  static void SetGoods(int k, const char* name, int value) {
    std::strncpy(aGoods[k].szName, name, sizeof aGoods[k].szName - 1);
    aGoods[k].nValue = value;
    nGoodsRead = std::max(nGoodsRead, k - 1);
  }
  // A hostile character that stands still and fights: its fight is decided at the first blow.
  // beaten: life 0 (the hero wins at once); otherwise it is strong enough to kill the hero,
  // whose life is set to 1, with its first blow. No experience (so no level-up message to
  // wait for) and no loot.
  NpcRecord Fighter(int talkId, int x, int y, bool beaten) {
    NpcRecord npc = MakeNpc(7, x, y, "Foe");
    npc.nTalkId = talkId;
    npc.bHostile = npc.nWalk = 1;
    npc.nSpeed = npc.nLevel = 0;
    npc.szGoods[0] = '0';
    npc.nLife = beaten ? 0 : 100000;
    npc.nAttack = beaten ? 0 : 10000;
    if (!beaten) hero.nLife = 1;
    return npc;
  }
  // Map files the title sequence reads: home has two characters, a fixed one, then one that
  // walks with speed 8.
  void WriteWorldFiles() {
    static const char* const kMaps[] = {"home", "city", "wood", "f_wood", "palace", "shop01", "shop02", "shop03"};
    auto field = [](const std::string& value) { return "xxxxxxxxxx:" + value + ";\n"; };
    auto record = [&](const char* x, const char* walk) {
      std::string text;
      for (const char* value : {"10001", "1", "0", "0", walk, "1", "Someone", "32", "32", x, "300", x, "300",
                                       "0", "0", "1", "0", "10", "10", "1", "1", "8", "                ", "0", "0"})
        text += field(value);
      return text;
    };
    for (int m = 0; m < kMapCount; ++m) {
      WriteFile(std::string("maps\\") + kMaps[m] + ".map", MapFileBytes(20, 15, m, std::vector<uint16_t>(20 * 15, 0)));
      WriteFile(std::string("maps\\") + kMaps[m] + ".npc", field("2") + record("100", "0") + record("400", "1"));
    }
  }

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
    while (!platform::headless::ScriptFinished()) platform::GetAsyncKeyState(VK_RETURN);
  }

  // Calls `look` at each "state" step of the script, which Look() makes.
  void OnState(std::function<void()> look) {
    platform::SetStateDumper([look] { return look(), std::string("{}"); });
  }
  static platform::headless::Step Look() { return State("look.json"); }

  // Whether the visible page's talk box shows a character's portrait or the hero's; yellow
  // text in the shop's message line.
  bool CharacterPortraitShown(int picture) const { return ScreenPixel(40, 410) == NpcSheetIndex(picture); }
  bool HeroPortraitShown() const { return ScreenPixel(40, 398) == HeroFrameIndex(0, 0); }
  bool ShopMessageShown() const { return ScreenCount(240, 460, 200, 20, kYellowIndex) > 0; }
};


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
    // The chest, the first slot, the goods carried, the slots' end and the money.
    EXPECT_EQ((std::vector<int>{TileAt(mapTable[0], c.column, c.row), hero.szGoods[0], CountGoods(hero),
                                hero.szGoods[16], hero.nMoney}),
              (std::vector<int>{c.opens ? 0xA12E : c.code, c.slot0, c.full ? 16 : (c.slot0 == '3' ? 1 : 0), 0, money}));
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
  EXPECT_TRUE(low >= 0 && high <= 100 && high - low > 90) << low << " to " << high;
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
    // The keeper's own stock stays whole; the second character is never addressed.
    EXPECT_EQ((std::vector<int>{hero.nMoney, hero.szGoods[0], mapTable[0].lpNpcs[0].szGoods[0],
                                mapTable[0].lpNpcs[1].nDirection}),
              (std::vector<int>{c.money, c.slot0, '2', 0}));
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
      // Both gone, the girl walks free and speaks her thanks; the story moves on.
      const std::vector<NpcRecord>& npcs = mapTable[1].lpNpcs;
      EXPECT_EQ((std::vector<int>{npcs[3].bActive + npcs[4].bActive, npcs[2].nSpeed, npcs[2].nTalkState, nStoryStage, nMap}),
                (std::vector<int>{0, 4, 2, 1, 1}));
    } else {
      // The world as its files have it: a new game at home, the city's list read afresh.
      EXPECT_EQ((std::vector<int>{int(foes.size()), nMap, nStoryStage, hero.nLife, NpcCount(mapTable[1])}),
                (std::vector<int>{c.cronyBeaten ? 2 : 1, 0, 0, 50, 2}));
    }
  }
}

class NpcTickTest : public LivingWorldTest {
 protected:
  // Runs one tick; true when a fight began in it (a fight fades into the arena).
  bool TickFought() {
    const int loads = GetLog().paletteLoads;
    MoveNpcs();
    return GetLog().paletteLoads != loads;
  }
  const NpcRecord& Npc(int i) const { return mapTable[nMap].lpNpcs[size_t(i)]; }
  static NpcRecord Walker(int picture, int x, int y, int walk = 1) {
    NpcRecord npc = MakeNpc(picture, x, y);
    npc.nWalk = walk;
    npc.nSpeed = 8;
    return npc;
  }
};

TEST_F(NpcTickTest, HostileCharactersAttackWithin40PixelsInBothAxes) {
  struct Case {
    int dx, dy, walk;
    bool fights;
  } cases[] = {{40, 40, 1, true},  {-40, -40, 1, true},  {0, 40, 1, true},   {41, 0, 1, false},
               {0, 41, 1, false},  {-41, -40, 1, false}, {10, 10, 0, false}, {10, 10, 3, false}};
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.dx << "," << c.dy << " walk " << c.walk);
    MakeMap(0, 20, 15);
    NpcRecord foe = Fighter(12345, 300, 300, true);
    foe.nWalk = c.walk;
    AddNpc(0, foe);
    PlaceHero(300 + c.dx, 300 + c.dy);
    UseScript(WinFight());
    EXPECT_EQ(TickFought(), c.fights);
    // Speed 0: it stands, fought or not; a beaten character is gone.
    EXPECT_EQ(Npc(0).nX * 10 + Npc(0).bActive, 3000 + (c.fights ? 0 : 1));
    DrainKeys();
  }
}

TEST_F(NpcTickTest, PausesCountDownAndFixedCharactersNeverMove) {
  AddNpc(0, Walker(1, 200, 200, 3));
  NpcRecord gone = Walker(1, 200, 200, 3);
  gone.bActive = 0;
  AddNpc(0, gone);
  for (int walk : {0, -2}) {
    NpcRecord fixed = Walker(2, 400, 200, walk);
    fixed.nDirection = 1;
    AddNpc(0, fixed);
  }
  PlaceHero(100, 400);
  MoveNpcs();
  MoveNpcs();
  // Still in place after two ticks of the pause; a gone character's pause counts down too.
  EXPECT_EQ((std::vector<int>{Npc(0).nWalk, Npc(1).nWalk, Npc(0).nFrame, Npc(0).nX, Npc(0).nY}),
            (std::vector<int>{1, 1, 0, 200, 200}));
  MoveNpcs();  // now it walks: one step of 8 and the next walk frame; the gone one never moves
  EXPECT_EQ((std::vector<int>{Npc(0).nFrame, std::abs(Npc(0).nX - 200) + std::abs(Npc(0).nY - 200), Npc(1).nX}),
            (std::vector<int>{1, 8, 200}));
  for (int k = 0; k < 50; ++k) MoveNpcs();
  for (int i : {2, 3})  // never moves, turns or animates
    EXPECT_EQ((std::vector<int>{Npc(i).nX, Npc(i).nDirection, Npc(i).nFrame}), (std::vector<int>{400, 1, 0})) << i;
}

TEST_F(NpcTickTest, WalkersStayOnTheMapAndOutOfWalls) {
  // A corridor one cell high along the bottom-right of a 25 × 20 map, ending at its right edge.
  MakeMap(0, 25, 20);
  for (int column = 10; column < 25; ++column) {
    SetTileAt(mapTable[0], column, 16, 0xA001);
    SetTileAt(mapTable[0], column, 18, 0xA001);
  }
  SetTileAt(mapTable[0], 10, 17, 0xA001);
  NpcRecord walker = Walker(1, 24 * 32 - 40, 17 * 32 + 32);
  walker.nDirection = 3;
  AddNpc(0, walker);
  PlaceHero(100, 100);
  int rightmost = 0, topmost = 20 * 32;
  for (int k = 0; k < 300; ++k) {
    MoveNpcs();
    const NpcRecord& npc = Npc(0);
    // The map's edge and the wall at column 10 hold it, the walls above and below keep it in the row.
    ASSERT_TRUE(npc.nX <= 25 * 32 - 32 && npc.nX >= 11 * 32 - 8 && npc.nY >= 17 * 32 + 24 && npc.nY <= 17 * 32 + 32)
        << npc.nX << "," << npc.nY;
    ASSERT_EQ(npc.nLastX, npc.nX);
    rightmost = std::max(rightmost, npc.nX);
    topmost = std::min(topmost, npc.nY);
  }
  EXPECT_EQ(rightmost, 25 * 32 - 32);  // the frame's right edge on the map's right edge
  EXPECT_EQ(topmost, 17 * 32 + 24);    // the 16-pixel square's top on the wall's lower edge
}

TEST_F(NpcTickTest, ACharacterAndTheHeroNeverWalkThroughEachOtherButMayPart) {
  // A character set down 8 pixels beside the hero may step away but never closer or past.
  for (int start : {-8, 8}) {
    MakeMap(0, 20, 15);
    AddNpc(0, Walker(1, 300 + start, 300));
    PlaceHero(300, 300);
    int64_t before = Separation(300, 300, Npc(0).nX, Npc(0).nY);
    bool left = false;
    for (int k = 0; k < 200; ++k) {
      MoveNpcs();
      const int64_t after = Separation(300, 300, Npc(0).nX, Npc(0).nY);
      if (after <= 24) {
        ASSERT_GE(after, before) << "tick " << k;
        ASSERT_EQ(Npc(0).nX < 300, start < 0) << "walked through the hero at tick " << k;
      }
      left = left || after > 24;
      before = after;
    }
    EXPECT_TRUE(left);
  }
  // The hero, set down near a character by a door or a loaded game, likewise.
  MakeMap(0, 20, 15);
  AddNpc(0, MakeNpc(3, 300, 300));
  struct Case {
    int fromX, fromY, toX, toY;
    bool accepted;
  } cases[] = {{308, 300, 316, 300, true},  {308, 300, 300, 300, false}, {308, 300, 292, 300, false},
               {308, 300, 308, 292, false}, {316, 300, 308, 300, false}, {324, 300, 332, 300, true},
               {300, 300, 300, 292, true}};
  for (const Case& c : cases) {
    PlaceHero(c.fromX, c.fromY);
    hero.nX = c.toX;
    hero.nY = c.toY;
    DrawWorld();
    EXPECT_EQ(hero.nX == c.toX && hero.nY == c.toY, c.accepted)
        << c.fromX << "," << c.fromY << " to " << c.toX << "," << c.toY;
  }
}

TEST_F(NpcTickTest, AfterAnEscapeTheCharacterRestsFourTicks) {
  NpcRecord foe = Fighter(12345, 300, 300, true);
  foe.nLife = 100000;  // cannot be beaten in one blow; the hero escapes instead
  AddNpc(0, foe);
  hero.nLife = 100000;
  PlaceHero(330, 300);
  // To the escape command, then try until it works (each failure costs a harmless blow).
  Steps escape = {Wait(1500), Tap(VK_DOWN), Tap(VK_DOWN), Tap(VK_DOWN)};
  escape.insert(escape.end(), 30, Tap(VK_RETURN));
  UseScript(escape);
  EXPECT_TRUE(TickFought());
  DrainKeys();
  // It rests, still there and whole: the fight only wore down its copy.
  EXPECT_EQ((std::vector<int>{Npc(0).nWalk, Npc(0).bActive, Npc(0).nLife}), (std::vector<int>{5, 1, 100000}));
  for (int k = 0; k < 4; ++k) EXPECT_FALSE(TickFought()) << "tick " << k;
  EXPECT_EQ(Npc(0).nWalk, 1);
  UseScript(escape);
  EXPECT_TRUE(TickFought());
  DrainKeys();
}

TEST_F(NpcTickTest, TheTickRedrawsTheWorld) {
  AddNpc(0, Walker(5, 200, 200));
  PlaceHero(400, 400);
  DrawWorld();
  FlipScreen();
  const int flips = GetLog().flips;
  MoveNpcs();
  EXPECT_EQ(GetLog().flips, flips + 1);
  EXPECT_EQ(ScreenPixel(Npc(0).nX + 16, Npc(0).nY - 16), NpcSheetIndex(5));  // where it now stands
}

class StoryEnemyTest : public NpcTickTest {
 protected:
  void SetUp() override {
    NpcTickTest::SetUp();
    WriteWorldFiles();
    SetTalkText("[40006]\n\n{Come@;\n{No@;\n[30003]\n\n{Well done@;\n[30004]\n\n{Thank you@;\n"
                "[99002] end\nTHE END;\n");
    PlaceHero(320, 300);
  }
};

TEST_F(StoryEnemyTest, BeatingThePalaceMasterEndsTheStoryAndTheTickGoesOnWithTheNewMaps) {
  nMap = 4;
  AddNpc(4, Fighter(40006, 300, 300, true));
  for (int k = 1; k < 12; ++k) AddNpc(4, MakeNpc(k % 15, 600, 40 + 30 * k));
  nStoryFlag = 1;
  int typedRed = 0;
  OnState([&] { typedRed = ScreenCount(40, 100, 80, 20, NearestPaletteIndex(*lpPalGame, kRed)); });
  // Its challenge, the fight, its last words and the two closing talks, the end screen.
  UseScript(Join({{Wait(10), Tap(VK_RETURN)}, WinFight(),
                  {Wait(1500), Tap(VK_RETURN), Tap(VK_RETURN), Tap(VK_RETURN), Wait(2000), Look(), Tap(VK_RETURN)},
                  QuitAtTitle()}));
  EXPECT_TRUE(TickFought());
  EXPECT_TRUE(ScriptDone());
  EXPECT_GT(typedRed, 10);
  // Back through the title: the world as the files have it, a new game's story counters; the
  // tick went on with its remaining records on the home's list of two: record 1 walked.
  EXPECT_EQ(GetLog().mciCommands.back(), "play voc\\title.mid");
  EXPECT_EQ((std::vector<int>{nMap, nStoryFlag, int(mapTable[4].lpNpcs.size()), Npc(1).nFrame, Npc(0).nFrame}),
            (std::vector<int>{0, 0, 2, 1, 0}));
}

TEST_F(StoryEnemyTest, AHeroKilledByAWanderingEnemyReturnsToTheTitle) {
  AddNpc(0, Fighter(12345, 300, 300, false));
  AddNpc(0, MakeNpc(3, 100, 100));
  AddNpc(0, MakeNpc(3, 100, 200));
  UseScript(Join({LoseFight(), QuitAtTitle()}));
  EXPECT_TRUE(TickFought());
  EXPECT_TRUE(ScriptDone());
  // A new game's hero, the home's list read afresh, and its walker walked on.
  EXPECT_EQ((std::vector<int>{hero.nLife, NpcCount(mapTable[0]), Npc(1).nFrame}), (std::vector<int>{50, 2, 1}));
}

class ShopTest : public LivingWorldTest {
 protected:
  void SetUp() override {
    LivingWorldTest::SetUp();
    SetGoods(2, "Pin", 1);
    SetGoods(3, "Cup", 5);
    SetGoods(4, "Hat", 7);
    SetGoods(5, "Sword", 30);
    PlaceHero(300, 300);
    OnState([this] {
      money_.push_back(hero.nMoney);
      messages_.push_back(ShopMessageShown());
      EXPECT_STREQ(OpenScreen(), "shop");
    });
  }
  static NpcRecord Keeper(const char* stock) {
    NpcRecord keeper = MakeNpc(6, 0, 0, "Keeper");
    std::memcpy(keeper.szGoods, stock, 16);
    return keeper;
  }
  // Each key with a look once the shop has answered it, then ESC to leave.
  static Steps Keys(const std::vector<int>& keys) {
    Steps steps = {Wait(10)};
    for (int key : keys) {
      steps.push_back(Tap(key));
      steps.push_back(Wait(50));
      steps.push_back(Look());
    }
    steps.push_back(Tap(VK_ESCAPE));
    return steps;
  }
  std::vector<int> money_;
  std::vector<bool> messages_;
};

TEST_F(ShopTest, BuyingTakesTheExactPriceAndFillsTheFirstEmptySlot) {
  const NpcRecord keeper = Keeper("5    4         ");
  hero.nMoney = 30;
  std::memcpy(hero.szGoods, "2 3             ", 16);
  // Buy the sword; round to slot 15 and back; the same slot again: nothing, not a word; on to
  // the hat, with no money left.
  UseScript(Keys({VK_CONTROL, VK_LEFT, VK_RIGHT, VK_CONTROL, VK_RIGHT, VK_RIGHT,
                  VK_RIGHT, VK_RIGHT, VK_RIGHT, VK_CONTROL}));
  EXPECT_EQ(RunShop(keeper, 1), 1);
  EXPECT_TRUE(ScriptDone());
  EXPECT_EQ(money_[0] * 100 + CountGoods(hero), 3);
  EXPECT_EQ(std::string(hero.szGoods), "253             ");
  EXPECT_EQ(messages_, (std::vector<bool>{true, false, false, false, false, false, false, false, false, true}));

  // The next visit finds the stock whole again.
  hero.nMoney = 30;
  money_.clear();
  UseScript(Keys({VK_CONTROL}));
  EXPECT_EQ(RunShop(keeper, 1), 1);
  EXPECT_EQ(money_[0], 0);
  EXPECT_EQ(std::string(hero.szGoods), "2535            ");
}

TEST_F(ShopTest, AHeroWithEverySlotFullCannotBuyEvenFromAnEmptySlot) {
  std::memcpy(hero.szGoods, "2222222222222222", 16);
  UseScript(Keys({VK_RIGHT, VK_CONTROL}));
  EXPECT_EQ(RunShop(Keeper("5               "), 1), 0);
  EXPECT_EQ(messages_, (std::vector<bool>{false, true}));
  EXPECT_EQ(hero.nMoney, 50);
}

TEST_F(ShopTest, SellingPaysHalfTheValueRoundedDown) {
  std::memcpy(hero.szGoods, "23 45           ", 16);
  hero.nMoney = 50;
  // Pin (1) for 0, Cup (5) for 2, an empty slot, Hat (7) for 3, Sword (30) for 15.
  UseScript(Keys({VK_CONTROL, VK_RIGHT, VK_CONTROL, VK_RIGHT, VK_CONTROL, VK_RIGHT, VK_CONTROL,
                  VK_RIGHT, VK_CONTROL, VK_RIGHT}));
  EXPECT_EQ(RunShop(hero, 2), 1);
  EXPECT_TRUE(ScriptDone());
  // After each sale; "nothing here" on the empty slot; nothing left.
  EXPECT_EQ((std::vector<int>{money_[0], money_[2], money_[4], money_[6], money_[8], messages_[4], CountGoods(hero)}),
            (std::vector<int>{50, 52, 52, 55, 70, true, 0}));

  UseScript(Keys({}));  // leaving without a trade
  EXPECT_EQ(RunShop(hero, 2), 0);
}

}  // namespace
}  // namespace world_test
