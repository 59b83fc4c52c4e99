// Walking with the arrow keys, scrolling at the map's edges, doors and the two story gates.
#include <gtest/gtest.h>

#include <vector>

#include "app/main_loop.h"
#include "core/game_state.h"
#include "platform/backend/backend.h"
#include "platform/system.h"
#include "video/display.h"
#include "world/movement.h"
#include "world/talk.h"
#include "small_world_fixture.h"

namespace world_test {
namespace {

using platform::headless::GetLog;
using platform::headless::PressKey;
using platform::headless::ReleaseKey;

class MovementTest : public WorldTest {
 protected:
  // Runs frames with one arrow key held.
  void Walk(int key, int frames) {
    PressKey(key);
    for (int k = 0; k < frames; ++k) GameFrameBody();
    ReleaseKey(key);
    GameFrameBody();  // lets the key be seen up, so the next walk starts clean
  }
  std::vector<uint8_t> Canvas() const {
    return std::vector<uint8_t>(lpDDSTitle->Pixels(), lpDDSTitle->Pixels() + 640 * 480);
  }
};

TEST_F(MovementTest, AtTheMapsEdgesTheViewStopsAndTheHeroWalksOn) {
  MakeMap(0, 40, 30);
  // The view first uncovers the top row, then the hero walks up to the screen's top.
  nScrollY = -32;
  PlaceHero(300, 264);
  Walk(platform::VK_UP, 4);
  EXPECT_EQ((std::vector<int>{nScrollY, hero.nY, hero.nDirection}), (std::vector<int>{0, 264, 3}));
  Walk(platform::VK_UP, 1);
  EXPECT_EQ(hero.nY, 256);
  Walk(platform::VK_UP, 40);  // no further than its frame allows
  EXPECT_EQ((std::vector<int>{hero.nY, nViewRow}), (std::vector<int>{48 - 16, 0}));

  nViewRow = 30 - 15;
  PlaceHero(300, 264);
  Walk(platform::VK_DOWN, 40);
  EXPECT_EQ((std::vector<int>{hero.nY, nViewRow, nScrollY}), (std::vector<int>{480, 15, 0}));

  nViewCol = 0;
  nScrollX = -32;
  PlaceHero(304, 264);
  Walk(platform::VK_LEFT, 4);
  EXPECT_EQ((std::vector<int>{nScrollX, hero.nX}), (std::vector<int>{0, 304}));
  Walk(platform::VK_LEFT, 60);
  EXPECT_EQ((std::vector<int>{hero.nX, hero.nDirection}), (std::vector<int>{0, 1}));

  nViewCol = 40 - 20;
  PlaceHero(304, 264);
  Walk(platform::VK_RIGHT, 60);
  EXPECT_EQ((std::vector<int>{hero.nX, nViewCol, hero.nDirection}), (std::vector<int>{640 - 32, 20, 2}));
}

TEST_F(MovementTest, PastTheScrollLineTheMapMovesUnderTheHero) {
  MakeMap(0, 40, 40);
  for (int row = 0; row < 40; ++row)
    for (int column = 0; column < 40; ++column)
      SetTileAt(mapTable[0], column, row, uint16_t(1 + (column * 7 + row * 3) % 50));
  nViewRow = 5;
  nViewCol = 5;
  PlaceHero(304, 264);
  Walk(platform::VK_DOWN, 3);
  EXPECT_EQ(nScrollY, -24);
  Walk(platform::VK_DOWN, 1);
  EXPECT_EQ((std::vector<int>{nScrollY, nViewRow, hero.nY}), (std::vector<int>{0, 6, 264}));
  Walk(platform::VK_RIGHT, 4);
  EXPECT_EQ((std::vector<int>{nViewCol, nScrollX, hero.nX}), (std::vector<int>{6, 0, 304}));
  // The first step back crosses into the column before at once; the next one moves the map.
  Walk(platform::VK_LEFT, 1);
  EXPECT_EQ((std::vector<int>{nViewCol, nScrollX}), (std::vector<int>{5, -32}));
  Walk(platform::VK_LEFT, 1);
  EXPECT_EQ((std::vector<int>{nViewCol, nScrollX}), (std::vector<int>{5, -24}));
  // Stepping back over a row shows the very same picture.
  const std::vector<uint8_t> before = Canvas();
  Walk(platform::VK_UP, 1);
  EXPECT_EQ((std::vector<int>{nViewRow, nScrollY}), (std::vector<int>{5, -32}));
  EXPECT_EQ(Canvas(), before);
}

TEST_F(MovementTest, OnlyTheFirstArrowKeyActsAndWallsStillTurnTheWalkFrame) {
  // A frame without arrow keys draws nothing.
  PlaceHero(300, 300);
  const int flips = GetLog().flips;
  for (int k = 0; k < 5; ++k) GameFrameBody();
  EXPECT_EQ(GetLog().flips, flips);
  EXPECT_EQ(hero.nY, 300);

  PressKey(platform::VK_UP);
  PressKey(platform::VK_LEFT);
  GameFrameBody();
  ReleaseKey(platform::VK_UP);
  ReleaseKey(platform::VK_LEFT);
  EXPECT_EQ(hero.nY, 292);
  EXPECT_EQ(hero.nX, 300);

  // A wall right above: the hero stays, facing it, its legs still moving.
  SetTileAt(mapTable[0], 9, 8, 0xA000 + 20);
  PlaceHero(300, 292);
  hero.nFrame = 0;
  PressKey(platform::VK_UP);
  std::vector<int> frames;
  for (int k = 0; k < 4; ++k) {
    GameFrameBody();
    frames.push_back(hero.nFrame);
    EXPECT_EQ(hero.nY, 292);
  }
  ReleaseKey(platform::VK_UP);
  EXPECT_EQ(frames, (std::vector<int>{1, 2, 0, 1}));
}

struct Door {
  int code, map, x, y, column, row;
};

TEST_F(MovementTest, DoorsPlaceHeroAndViewExactly) {
  for (int m = 0; m < kMapCount; ++m) MakeMap(m, 40, 50);
  nStoryStage = 2;
  nStoryFlag = 1;
  // Someone stands right where the city door puts the hero: the door still goes through.
  AddNpc(1, MakeNpc(0, 7 * 32 + 350, 11 * 32 + 450));
  const Door doors[] = {{0x5000, 2, 32, 64, 0, 0},    {0x5001, 1, 350, 450, 7, 11},
                        {0x5002, 1, 384, 100, 14, 0}, {0x5003, 0, 410, 400, 0, 0},
                        {0x5009, 4, 310, 450, 0, 30}, {0x500A, 2, 620, 450, 14, 11},
                        {0x500B, 5, 300, 400, 0, 0},  {0x500C, 1, 384, 256, 14, 0},
                        {0x500D, 6, 300, 400, 0, 0},  {0x500E, 1, 96, 256, 0, 8},
                        {0x500F, 7, 200, 400, 0, 0},  {0x5010, 1, 384, 256, 14, 6}};
  for (const Door& door : doors) {
    SCOPED_TRACE(testing::Message() << "code " << std::hex << door.code);
    nMap = 3;
    nViewCol = 5;
    nViewRow = 5;
    nScrollX = -8;
    nScrollY = -16;
    hero.nDirection = 2;
    hero.nFrame = 1;
    PlaceHero(100, 200);
    const int loads = GetLog().paletteLoads;
    RunTileEvent(door.code);
    // Map, position and last position, view and scroll; the hero keeps its direction and frame.
    EXPECT_EQ((std::vector<int>{nMap, hero.nX, hero.nY, hero.nLastX, hero.nLastY, nViewCol,
                                nViewRow, nScrollX, nScrollY, hero.nDirection, hero.nFrame}),
              (std::vector<int>{door.map, door.x, door.y, door.x, door.y, door.column, door.row,
                                0, 0, 2, 1}));
    EXPECT_EQ(GetLog().paletteLoads - loads, 512);  // out to black and back in
    EXPECT_TRUE(lpDDPal->Entries() == *lpPalGame);
  }
  for (int code : {0x4FFF, 0x5004, 0x5005, 0x5008, 0x5011, 0x9FFF, 0xA000, 0xF000}) {
    nMap = 3;
    PlaceHero(100, 200);
    const int loads = GetLog().paletteLoads;
    RunTileEvent(code);
    EXPECT_EQ(nMap, 3) << std::hex << code;
    EXPECT_EQ(hero.nY, 200);
    EXPECT_EQ(GetLog().paletteLoads, loads);
  }
}

TEST_F(MovementTest, WalkingOntoADoorCellTakesTheHeroThrough) {
  MakeMap(0, 20, 15);
  MakeMap(1, 40, 40);
  SetTileAt(mapTable[0], 6, 6, 0x5001);
  PlaceHero(180, 200);  // feet cell (6, 5)
  EXPECT_EQ(FeetColumn(), 6);
  EXPECT_EQ(FeetRow(), 5);
  Walk(platform::VK_DOWN, 1);
  EXPECT_EQ(nMap, 1);
  EXPECT_EQ(hero.nY, 450);
  EXPECT_EQ(hero.nDirection, 0);
}

class GateTest : public MovementTest {
 protected:
  void SetUp() override {
    MovementTest::SetUp();
    for (int m = 0; m < kMapCount; ++m) MakeMap(m, 40, 50);
    nMap = 1;
    for (int k = 0; k < 6; ++k) AddNpc(1, MakeNpc(k, 32 * k, 1000));
    mapTable[1].lpNpcs[3].bActive = 0;
    // Entry 0 of each gate talk is a character line, entry 1 a hero line.
    SetTalkText("[30001]\n\n{Not yet@;\n}Then I go@;\n[30002]\n\n{The gate is shut@;\n");
    nViewCol = 2;
    nViewRow = 3;
    PlaceHero(200, 300);
  }
  // Character lines show the speaker's 32 × 32 portrait at (30, 404); the hero's 32 × 48
  // portrait starts at (30, 396).
  uint8_t PortraitPixel() const { return ScreenPixel(40, 398); }
  uint8_t CharacterPortraitPixel() const { return ScreenPixel(40, 410); }
};

TEST_F(GateTest, TheWoodGateHoldsTheHeroUntilTheEncounterIsWon) {
  UseScript({Tap(platform::VK_RETURN)});
  RunTileEvent(0x5000);
  EXPECT_EQ((std::vector<int>{nMap, nStoryStage, hero.nX, hero.nY, hero.nLastY, nViewCol, nViewRow}),
            (std::vector<int>{1, 0, 200, 450, 450, 2, 3}));
  EXPECT_EQ(CharacterPortraitPixel(), NpcSheetIndex(5));  // record 5 speaks
  EXPECT_EQ(mapTable[1].lpNpcs[0].nSpeed, 0);

  nStoryStage = 1;
  PlaceHero(200, 300);
  UseScript({Tap(platform::VK_RETURN)});
  RunTileEvent(0x5000);
  EXPECT_EQ((std::vector<int>{nStoryStage, nMap, hero.nY}), (std::vector<int>{2, 1, 450}));
  EXPECT_EQ(PortraitPixel(), HeroFrameIndex(0, 0));  // entry 1: the hero answers
  for (const NpcRecord& npc : mapTable[1].lpNpcs) {
    EXPECT_EQ(npc.nTalkState, 1);
    EXPECT_EQ(npc.nSpeed, 12);
  }

  RunTileEvent(0x5000);  // now it is a door
  EXPECT_EQ((std::vector<int>{nMap, hero.nX, hero.nY}), (std::vector<int>{2, 32, 64}));
}

TEST_F(GateTest, ThePalaceGateOpensOnceTheWoodIsCleared) {
  UseScript({Tap(platform::VK_RETURN)});
  RunTileEvent(0x5009);
  EXPECT_EQ(nMap, 1);
  EXPECT_EQ(hero.nY, 450);
  EXPECT_EQ(CharacterPortraitPixel(), NpcSheetIndex(0));  // record 0 speaks

  nStoryFlag = 1;
  RunTileEvent(0x5009);
  EXPECT_EQ((std::vector<int>{nMap, hero.nX, hero.nY, nViewRow}), (std::vector<int>{4, 310, 450, 30}));
}

}  // namespace
}  // namespace world_test
