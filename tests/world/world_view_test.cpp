// Drawing the world: which moves are refused, and what ends up where on the canvas and the
// back buffer.
#include <gtest/gtest.h>

#include <cstring>

#include "core/game_state.h"
#include "video/display.h"
#include "video/draw.h"
#include "world/world_view.h"
#include "small_world_fixture.h"

namespace world_test {
namespace {

using WorldViewTest = WorldTest;

// The hero at map (80, 112) touches the four cells (2..3, 2..3) with its 8 × 8 square; from
// (80, 176) it touches none of them.
// Cells beside the square do not matter, nor do walkable codes inside it.
TEST_F(WorldViewTest, ASolidCellUnderAnyOfTheFourPointsRefusesTheMove) {
  const struct {
    int column, row;
    uint16_t code;
    bool refused;
  } cases[] = {{2, 2, 0xA03C, true}, {3, 2, 0xA03C, true}, {2, 3, 0xA03C, true}, {3, 3, 0xA03C, true},
               {1, 2, 0xA000, false}, {4, 3, 0xA000, false}, {2, 1, 0xA000, false}, {3, 4, 0xA000, false},
               {2, 2, 0x9FFF, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "cell " << c.column << "," << c.row << " code " << std::hex << c.code);
    MakeMap(0, 20, 15);
    SetTileAt(mapTable[0], c.column, c.row, c.code);
    PlaceHero(80, 176);
    hero.nY = 112;
    DrawWorld();
    EXPECT_EQ(hero.nX, 80);
    EXPECT_EQ(hero.nY, c.refused ? 176 : 112);
    EXPECT_EQ(hero.nLastY, hero.nY);
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
    const bool refused = hero.nX == 100 && hero.nY == 100;
    EXPECT_EQ(refused, c.blocked) << "offset " << c.dx << "," << c.dy;
  }
  // A character that is gone neither blocks nor shows.
  mapTable[0].lpNpcs[0].bActive = 0;
  PlaceHero(100, 100);
  hero.nX = 300;
  hero.nY = 300;
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
  EXPECT_EQ(hero.nY, 164);
  EXPECT_EQ(hero.nLastY, 164);
  DrawWorld();  // drawing again does not move it anywhere else
  EXPECT_EQ(hero.nY, 164);
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
  EXPECT_EQ(CanvasPixel(639, 40), GroundIndex(0));  // column 20 starts at x 640
  EXPECT_EQ(CanvasPixel(40, 479), GroundIndex(0));  // row 15 starts at y 480

  nScrollX = -32;
  nScrollY = -32;
  PlaceHero(180, 164);
  DrawWorld();
  EXPECT_EQ(CanvasPixel(608, 0), OverlayIndex(7));    // column 20 fills the right edge
  EXPECT_EQ(CanvasPixel(639, 31), OverlayIndex(7));
  EXPECT_EQ(CanvasPixel(0, 448), OverlayIndex(8));    // row 15 fills the bottom edge
  EXPECT_EQ(CanvasPixel(31, 479), OverlayIndex(8));
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
  EXPECT_EQ(CanvasPixel(60, 100), NpcSheetIndex(4));
  EXPECT_EQ(CanvasPixel(91, 131), NpcSheetIndex(4));
  EXPECT_EQ(CanvasPixel(57, 97), OverlayIndex(2));
  EXPECT_EQ(CanvasPixel(92, 131), GroundIndex(0));

  // The hero stands on the back buffer only, in its own frame of the sheet.
  hero.nDirection = 2;
  hero.nFrame = 1;
  PlaceHero(60, 140);  // overlapping the character: accepted because it is the last place
  DrawWorld();
  EXPECT_EQ(BackPixel(70, 100), HeroFrameIndex(1, 2));
  EXPECT_EQ(CanvasPixel(70, 100), NpcSheetIndex(4));
}

TEST_F(WorldViewTest, OddMapsAndPositionsStayInBounds) {
  // A map smaller than the view, seen from a view that starts left of and above it.
  MakeMap(0, 5, 5);
  SetTileAt(mapTable[0], 0, 0, 0x0009);
  nViewCol = -3;
  nViewRow = -2;
  PlaceHero(-200, -300);
  DrawWorld();
  EXPECT_EQ(CanvasPixel(100, 70), OverlayIndex(9));  // cell (0, 0) at screen (96, 64)
  EXPECT_EQ(CanvasPixel(10, 10), GroundIndex(0));

  // Characters with sheets that do not exist and absurd frames draw nothing.
  NpcRecord npc = MakeNpc(0, 50, 50);
  npc.lpSurface = 99;
  AddNpc(0, npc);
  npc = MakeNpc(1, 60, 60);
  npc.nFrame = 1 << 30;
  npc.nDirection = -(1 << 30);
  AddNpc(0, npc);
  mapTable[0].nNpcCount = 50;  // more than the list holds
  hero.nX = INT32_MAX;
  hero.nY = INT32_MIN;
  nScrollX = INT32_MIN;
  DrawWorld();
  EXPECT_EQ(hero.nLastX, INT32_MAX);
  EXPECT_EQ(nLastScrollX, INT32_MIN);
}

}  // namespace
}  // namespace world_test
