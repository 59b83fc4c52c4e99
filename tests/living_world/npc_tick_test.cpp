// The character tick: walking, pauses, the map's edges, keeping apart from the hero, hostile
// characters starting fights and what their defeat brings.
#include <gtest/gtest.h>

#include <algorithm>

#include "core/game_state.h"
#include "core/open_screen.h"
#include "platform/backend/backend.h"
#include "video/display.h"
#include "video/draw.h"
#include "world/npc_tick.h"
#include "world/talk.h"
#include "world/world_geometry.h"
#include "world/world_view.h"
#include "living_fixture.h"

namespace world_test {
namespace {

using platform::headless::GetLog;
using platform::VK_RETURN;

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
    EXPECT_EQ(Npc(0).nX, 300);                    // speed 0: it stands, fought or not
    EXPECT_EQ(Npc(0).bActive, c.fights ? 0 : 1);  // a beaten character is gone
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
  EXPECT_EQ(Npc(0).nWalk, 1);
  EXPECT_EQ(Npc(1).nWalk, 1);  // a gone character's pause counts down too
  EXPECT_EQ(Npc(0).nFrame, 0);
  EXPECT_EQ(Npc(0).nX * 1000 + Npc(0).nY, 200200);  // still in place
  MoveNpcs();  // now it walks: one step of 8 and the next walk frame
  EXPECT_EQ(Npc(0).nFrame, 1);
  EXPECT_EQ(std::abs(Npc(0).nX - 200) + std::abs(Npc(0).nY - 200), 8);
  EXPECT_EQ(Npc(1).nX, 200);  // gone: never moves
  for (int k = 0; k < 50; ++k) MoveNpcs();
  for (int i : {2, 3}) {
    EXPECT_EQ(Npc(i).nX, 400);
    EXPECT_EQ(Npc(i).nDirection, 1);  // never turns
    EXPECT_EQ(Npc(i).nFrame, 0);      // never animates
  }
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
  int rightmost = 0;
  for (int k = 0; k < 300; ++k) {
    MoveNpcs();
    const NpcRecord& npc = Npc(0);
    ASSERT_LE(npc.nX, 25 * 32 - 32);
    ASSERT_GE(npc.nX, 11 * 32 - 8);  // the wall at column 10 holds it
    ASSERT_GE(npc.nY, 17 * 32 + 24);  // the walls above and below hold it in the row
    ASSERT_LE(npc.nY, 17 * 32 + 32);
    EXPECT_EQ(npc.nLastX, npc.nX);
    rightmost = std::max(rightmost, npc.nX);
  }
  EXPECT_EQ(rightmost, 25 * 32 - 32);  // the frame's right edge on the map's right edge
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
  Steps escape = {Wait(1500), Tap(platform::VK_DOWN), Tap(platform::VK_DOWN),
                                                  Tap(platform::VK_DOWN)};
  escape.insert(escape.end(), 30, Tap(VK_RETURN));
  UseScript(escape);
  EXPECT_TRUE(TickFought());
  DrainKeys();
  EXPECT_EQ(Npc(0).nWalk, 5);
  EXPECT_EQ(Npc(0).bActive, 1);
  EXPECT_EQ(Npc(0).nLife, 100000);  // the fight only wore down its copy
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
  // Back through the title: the world as the files have it, a new game's story counters.
  EXPECT_EQ(nMap, 0);
  EXPECT_EQ(nStoryFlag, 0);
  EXPECT_EQ(GetLog().mciCommands.back(), "play voc\\title.mid");
  EXPECT_EQ(mapTable[4].lpNpcs.size(), 2u);
  // The tick went on with its remaining records on the home's list of two: record 1 walked.
  EXPECT_EQ(Npc(1).nFrame, 1);
  EXPECT_EQ(Npc(0).nFrame, 0);
}

TEST_F(StoryEnemyTest, AHeroKilledByAWanderingEnemyReturnsToTheTitle) {
  AddNpc(0, Fighter(12345, 300, 300, false));
  AddNpc(0, MakeNpc(3, 100, 100));
  AddNpc(0, MakeNpc(3, 100, 200));
  UseScript(Join({LoseFight(), QuitAtTitle()}));
  EXPECT_TRUE(TickFought());
  EXPECT_TRUE(ScriptDone());
  EXPECT_EQ(hero.nLife, 50);  // a new game's hero
  EXPECT_EQ(NpcCount(mapTable[0]), 2);
  EXPECT_EQ(Npc(1).nFrame, 1);
}

}  // namespace
}  // namespace world_test
