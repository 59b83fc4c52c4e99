// Walking with the arrow keys, scrolling at the map's edges, doors and the two story gates; and
// drawing the world: which moves are refused, and what ends up where on the canvas and the back
// buffer.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "app/main_loop.h"
#include "core/game_state.h"
#include "platform/backend/backend.h"
#include "platform/system.h"
#include "small_world_fixture.h"
#include "video/display.h"
#include "video/draw.h"
#include "world/movement.h"
#include "world/talk.h"
#include "world/world_view.h"

namespace world_test {
namespace {

using platform::headless::GetLog;
using platform::headless::PressKey;
using platform::headless::ReleaseKey;
using platform::VK_DOWN;
using platform::VK_LEFT;
using platform::VK_RIGHT;
using platform::VK_UP;

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
  Walk(VK_UP, 4);
  EXPECT_EQ((std::vector<int>{nScrollY, hero.nY, hero.nDirection}), (std::vector<int>{0, 264, 3}));
  Walk(VK_UP, 1);
  EXPECT_EQ(hero.nY, 256);
  Walk(VK_UP, 40);  // no further than its frame allows
  EXPECT_EQ((std::vector<int>{hero.nY, nViewRow}), (std::vector<int>{48 - 16, 0}));

  nViewRow = 30 - 15;
  PlaceHero(300, 264);
  Walk(VK_DOWN, 40);
  EXPECT_EQ((std::vector<int>{hero.nY, nViewRow, nScrollY}), (std::vector<int>{480, 15, 0}));

  nViewCol = 0;
  nScrollX = -32;
  PlaceHero(304, 264);
  Walk(VK_LEFT, 4);
  EXPECT_EQ((std::vector<int>{nScrollX, hero.nX}), (std::vector<int>{0, 304}));
  Walk(VK_LEFT, 60);
  EXPECT_EQ((std::vector<int>{hero.nX, hero.nDirection}), (std::vector<int>{0, 1}));

  nViewCol = 40 - 20;
  PlaceHero(304, 264);
  Walk(VK_RIGHT, 60);
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
  Walk(VK_DOWN, 3);
  EXPECT_EQ(nScrollY, -24);
  Walk(VK_DOWN, 1);
  EXPECT_EQ((std::vector<int>{nScrollY, nViewRow, hero.nY}), (std::vector<int>{0, 6, 264}));
  Walk(VK_RIGHT, 4);
  EXPECT_EQ((std::vector<int>{nViewCol, nScrollX, hero.nX}), (std::vector<int>{6, 0, 304}));
  // The first step back crosses into the column before at once; the next one moves the map.
  Walk(VK_LEFT, 1);
  EXPECT_EQ((std::vector<int>{nViewCol, nScrollX}), (std::vector<int>{5, -32}));
  Walk(VK_LEFT, 1);
  EXPECT_EQ((std::vector<int>{nViewCol, nScrollX}), (std::vector<int>{5, -24}));
  // Stepping back over a row shows the very same picture.
  const std::vector<uint8_t> before = Canvas();
  Walk(VK_UP, 1);
  EXPECT_EQ((std::vector<int>{nViewRow, nScrollY}), (std::vector<int>{5, -32}));
  EXPECT_EQ(Canvas(), before);
}

TEST_F(MovementTest, OnlyTheFirstArrowKeyActsAndWallsStillTurnTheWalkFrame) {
  // A frame without arrow keys draws nothing.
  PlaceHero(300, 300);
  const int flips = GetLog().flips;
  for (int k = 0; k < 5; ++k) GameFrameBody();
  EXPECT_EQ(GetLog().flips - flips + hero.nY, 300);

  PressKey(VK_UP);
  PressKey(VK_LEFT);
  GameFrameBody();
  ReleaseKey(VK_UP);
  ReleaseKey(VK_LEFT);
  EXPECT_EQ(hero.nX * 1000 + hero.nY, 300292);

  // A wall right above: the hero stays, facing it, its legs still moving.
  SetTileAt(mapTable[0], 9, 8, 0xA000 + 20);
  PlaceHero(300, 292);
  hero.nFrame = 0;
  PressKey(VK_UP);
  std::vector<int> frames;
  for (int k = 0; k < 4; ++k) {
    GameFrameBody();
    frames.push_back(hero.nFrame);
    EXPECT_EQ(hero.nY, 292);
  }
  ReleaseKey(VK_UP);
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
    nViewCol = nViewRow = 5;
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
    EXPECT_EQ((std::vector<int>{nMap, hero.nY, GetLog().paletteLoads}), (std::vector<int>{3, 200, loads})) << std::hex << code;
  }
}

TEST_F(MovementTest, WalkingOntoADoorCellTakesTheHeroThrough) {
  MakeMap(0, 20, 15);
  MakeMap(1, 40, 40);
  SetTileAt(mapTable[0], 6, 6, 0x5001);
  PlaceHero(180, 200);
  EXPECT_EQ(FeetColumn() * 100 + FeetRow(), 605);
  Walk(VK_DOWN, 1);
  EXPECT_EQ((std::vector<int>{nMap, hero.nY, hero.nDirection}), (std::vector<int>{1, 450, 0}));
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
  EXPECT_EQ(nMap * 1000 + hero.nY, 1450);
  EXPECT_EQ(CharacterPortraitPixel(), NpcSheetIndex(0));  // record 0 speaks

  nStoryFlag = 1;
  RunTileEvent(0x5009);
  EXPECT_EQ((std::vector<int>{nMap, hero.nX, hero.nY, nViewRow}), (std::vector<int>{4, 310, 450, 30}));
}

using WorldViewTest = WorldTest;

// The hero at map (80, 112) touches the four cells (2..3, 2..3) with its 8 × 8 square; from
// (80, 176) it touches none of them.
// Cells beside the square do not matter, nor do walkable codes inside it.
TEST_F(WorldViewTest, ASolidCellUnderAnyOfTheFourPointsRefusesTheMove) {
  const struct {
    int column, row;
    uint16_t code;
    bool refused;
    int x = 80, y = 112;  // where the hero tries to go
  } cases[] = {{2, 2, 0xA03C, true},  {3, 2, 0xA03C, true},  {2, 3, 0xA03C, true},
               {3, 3, 0xA03C, true},  {1, 2, 0xA000, false}, {4, 3, 0xA000, false},
               {2, 1, 0xA000, false}, {3, 4, 0xA000, false}, {2, 2, 0x9FFF, false},
               // The square's edges on the cells' edges: 12 and 20 pixels right of x, above y.
               {2, 2, 0xA000, true, 83, 112},  {2, 3, 0xA000, true, 83, 112},  {2, 2, 0xA000, true, 80, 76},
               {3, 2, 0xA000, true, 80, 76},   {3, 2, 0xA000, false, 75, 112}, {2, 1, 0xA000, false, 80, 84}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "cell " << c.column << "," << c.row << " code " << std::hex << c.code
                                    << std::dec << " at " << c.x << "," << c.y);
    MakeMap(0, 20, 15);
    SetTileAt(mapTable[0], c.column, c.row, c.code);
    PlaceHero(80, 176);
    hero.nX = c.x;
    hero.nY = c.y;
    DrawWorld();
    const std::vector<int> expected = c.refused ? std::vector<int>{80, 176, 176} : std::vector<int>{c.x, c.y, c.y};
    EXPECT_EQ((std::vector<int>{hero.nX, hero.nY, hero.nLastY}), expected);
  }
}

TEST_F(WorldViewTest, AnUndoneMoveRestoresHeroAndViewTogether) {
  MakeMap(0, 40, 40);
  nViewCol = 3;
  nViewRow = 2;
  nScrollX = -8;
  nScrollY = -16;
  PlaceHero(200, 200);
  // Scroll the view one step so that the hero's square lands in a wall.
  nViewCol = 4;
  nScrollX = -16;
  const int64_t mapX = 4 * 32 + 200 + 16;
  const int64_t mapY = 2 * 32 + 200 + 16;
  SetTileAt(mapTable[0], int((mapX + 16) / 32), int((mapY - 16) / 32), 0xA001);
  DrawWorld();
  EXPECT_EQ((std::vector<int>{nViewCol, nScrollX, nViewRow, nScrollY, hero.nX, hero.nY}),
            (std::vector<int>{3, -8, 2, -16, 200, 200}));
}

TEST_F(WorldViewTest, CharactersBlockWithin24PixelsInBothAxes) {
  AddNpc(0, MakeNpc(3, 300, 300));
  struct Case {
    int dx, dy;
    bool blocked;
  } cases[] = {{24, 24, true},  {-24, -24, true}, {0, 0, true},    {24, -24, true},
               {25, 0, false},  {0, 25, false},   {-25, 24, false}, {24, -25, false}};
  for (const Case& c : cases) {
    PlaceHero(100, 100);
    hero.nX = 300 + c.dx;
    hero.nY = 300 + c.dy;
    DrawWorld();
    EXPECT_EQ(hero.nX == 100 && hero.nY == 100, c.blocked) << "offset " << c.dx << "," << c.dy;
  }
  // A character that is gone neither blocks nor shows.
  mapTable[0].lpNpcs[0].bActive = 0;
  PlaceHero(100, 100);
  hero.nX = hero.nY = 300;
  DrawWorld();
  EXPECT_EQ(hero.nX, 300);
  EXPECT_NE(CanvasPixel(310, 290), NpcSheetIndex(3));
}

TEST_F(WorldViewTest, AHeroSetDownInsideAnObstacleCanLeaveIt) {
  AddNpc(0, MakeNpc(3, 300, 300));
  PlaceHero(300 + 8, 300);  // a door put the hero right against the character
  hero.nX += 8;              // a step away
  DrawWorld();
  EXPECT_EQ(hero.nLastX, 316);
  hero.nX += 16;  // and on, out of reach
  DrawWorld();
  EXPECT_EQ(hero.nLastX, 332);
  hero.nX -= 8;  // once apart, the character blocks again
  DrawWorld();
  EXPECT_EQ(hero.nX, 332);

  // An undo back into a solid cell leaves the hero there.
  SetTileAt(mapTable[0], 6, 4, 0xA000);
  SetTileAt(mapTable[0], 6, 6, 0xA000);
  PlaceHero(180, 164);  // inside the wall at (6, 4)
  hero.nY = 228;        // into the wall at (6, 6)
  DrawWorld();
  DrawWorld();  // drawing again does not move it anywhere else
  EXPECT_EQ(hero.nY * 1000 + hero.nLastY, 164164);
  hero.nY = 196;  // out of the walls: accepted
  DrawWorld();
  EXPECT_EQ(hero.nLastY, 196);
}

TEST_F(WorldViewTest, TileCodesChooseTheOverlay) {
  struct Case {
    uint16_t code;
    int tile;  // -1: ground only
  } cases[] = {{0x0000, -1}, {0x0005, 5},   {0xA000, 0},   {0xA12E, 302}, {0xF000, 301},
               {0xFFFF, 301}, {0x5000, -1}, {0x9FFF, -1}, {0x5011, -1},  {0x4FFF, -1},
               {0xEFFF, -1},  {0xA3BF, 959}};
  int column = 0;
  for (const Case& c : cases) SetTileAt(mapTable[0], column++, 0, c.code);
  PlaceHero(180, 400);
  DrawWorld();
  column = 0;
  for (const Case& c : cases) {
    const uint8_t expected = c.tile < 0 ? GroundIndex(0) : OverlayIndex(c.tile);
    EXPECT_EQ(CanvasPixel(column * 32 + 16, 16), expected) << "code " << std::hex << c.code;
    ++column;
  }
}

TEST_F(WorldViewTest, ScrollOffsetsShowTheNextColumnAndRow) {
  MakeMap(0, 40, 40);
  SetTileAt(mapTable[0], 20, 1, 0x0007);
  SetTileAt(mapTable[0], 1, 15, 0x0008);
  PlaceHero(180, 164);
  DrawWorld();
  // Column 20 starts at x 640, row 15 at y 480.
  EXPECT_EQ((std::vector<int>{CanvasPixel(639, 40), CanvasPixel(40, 479)}), std::vector<int>(2, GroundIndex(0)));

  nScrollX = -32;
  nScrollY = -32;
  PlaceHero(180, 164);
  DrawWorld();
  // Column 20 fills the right edge, row 15 the bottom edge.
  EXPECT_EQ((std::vector<int>{CanvasPixel(608, 0), CanvasPixel(639, 31), CanvasPixel(0, 448), CanvasPixel(31, 479)}),
            (std::vector<int>{OverlayIndex(7), OverlayIndex(7), OverlayIndex(8), OverlayIndex(8)}));

  // A map smaller than the view, seen from a view that starts left of and above it.
  MakeMap(0, 5, 5);
  SetTileAt(mapTable[0], 0, 0, 0x0009);
  nViewCol = -3;
  nViewRow = -2;
  nScrollX = nScrollY = 0;
  PlaceHero(-200, -300);
  DrawWorld();
  EXPECT_EQ(CanvasPixel(100, 70), OverlayIndex(9));  // cell (0, 0) at screen (96, 64)
  EXPECT_EQ(CanvasPixel(10, 10), GroundIndex(0));
}

// The ground is laid under the whole view in one pass: the canvas must come out as drawing
// each cell's ground and overlay in turn does, at every scroll offset, for every ground tile,
// and for a ground tile no picture has (left as it was).
TEST_F(WorldViewTest, TheViewIsTheSameAsDrawingCellByCell) {
  for (int i = 0; i < 32 * 320; ++i) lpDDSMap1->Pixels()[i] = uint8_t(1 + i * 7 % 249);
  MakeMap(0, 40, 40);
  for (int k = 0; k < 40 * 40; k += 3) mapTable[0].lpTiles[size_t(k)] = uint16_t(k % 2 ? 0xA000 + k % 900 : k % 50);
  const int scrolls[] = {0, -1, -16, -31, -32};
  const int8_t grounds[] = {0, 9, 12};
  for (const int8_t ground : grounds)
    for (const int scroll : scrolls) {
      SCOPED_TRACE(testing::Message() << "ground " << int(ground) << " scroll " << scroll);
      mapTable[0].nGroundTile = ground;
      nViewCol = 5;
      nViewRow = 7;
      nScrollX = scroll;
      nScrollY = -32 - scroll;
      PlaceHero(300, 300);
      platform::FillSurface(*lpDDSTitle, 3);
      DrawMap();
      const Surface laid = *lpDDSTitle;
      platform::FillSurface(*lpDDSTitle, 3);
      Rect rect;
      for (int row = 0; row <= 15; ++row)
        for (int column = 0; column <= 20; ++column) {
          const int x = column * 32 + nScrollX, y = row * 32 + nScrollY;
          BlitClipped(lpDDSTitle, x, y, lpDDSMap1, MakeRect(rect, 0, 32 * ground, 32, 32 * ground + 32), 0);
          const uint16_t code = TileAt(mapTable[0], nViewCol + column, nViewRow + row);
          if (code == 0 || (code >= 0x5000 && code < 0xA000)) continue;
          const int tile = code >= 0xF000 ? 301 : code % 0xA000;
          BlitClipped(lpDDSTitle, x, y, lpDDSMaps,
                      MakeRect(rect, tile % 20 * 32, tile / 20 * 32, tile % 20 * 32 + 32, tile / 20 * 32 + 32), 1);
        }
      ASSERT_EQ(0, std::memcmp(laid.Pixels(), lpDDSTitle->Pixels(), 640 * 480));
    }
}

TEST_F(WorldViewTest, CharactersCoverTilesAndTheHeroCoversEverything) {
  MakeMap(0, 40, 40);
  NpcRecord npc = MakeNpc(4, 100, 132);
  npc.nFrame = 1;
  npc.nDirection = 2;
  AddNpc(0, npc);
  SetTileAt(mapTable[0], 3, 3, 0x0002);  // under the character
  nViewCol = 1;
  nScrollX = -8;
  PlaceHero(400, 300);
  DrawWorld();
  // Map x 100 is screen x 100 - 32 - 8 = 60; the frame spans map y 100 to 132.
  // The tile under it, map cell (3, 3), spans screen x 56 to 87 and y 96 to 127.
  EXPECT_EQ((std::vector<int>{CanvasPixel(60, 100), CanvasPixel(91, 131), CanvasPixel(57, 97), CanvasPixel(92, 131)}),
            (std::vector<int>{NpcSheetIndex(4), NpcSheetIndex(4), OverlayIndex(2), GroundIndex(0)}));

  // The hero stands on the back buffer only, in its own frame of the sheet.
  hero.nDirection = 2;
  hero.nFrame = 1;
  PlaceHero(60, 140);  // overlapping the character: accepted because it is the last place
  DrawWorld();
  EXPECT_EQ(BackPixel(70, 100), HeroFrameIndex(1, 2));
  EXPECT_EQ(CanvasPixel(70, 100), NpcSheetIndex(4));
}

}  // namespace
}  // namespace world_test
