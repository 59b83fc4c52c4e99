// Composing the world: the hero's move is settled first (walls and characters push it back),
// then the visible cells and the characters are drawn on the canvas, the canvas is copied to
// the back buffer and the hero is drawn on top.
#include "world/world_view.h"

#include "core/game_state.h"
#include "video/display.h"
#include "video/draw.h"
#include "world/world_geometry.h"

namespace {

constexpr int kViewColumns = 20;
constexpr int kViewRows = 15;
constexpr uint16_t kFirstSolidCode = 0xA000;

// Puts the hero and the view back where the last drawing left them.
void UndoMove() {
  hero.nX = hero.nLastX;
  hero.nY = hero.nLastY;
  nViewCol = nLastViewCol;
  nViewRow = nLastViewRow;
  nScrollX = nLastScrollX;
  nScrollY = nLastScrollY;
}

// True when one of the four points of the 8 × 8 square in the middle of the hero's lowest
// cell lies in a solid cell.
bool HeroTouchesSolidCell(const MapInfo& map) {
  const int64_t x = HeroMapX();
  const int64_t y = HeroMapY();
  const int64_t points[4][2] = {{x + 12, y - 20}, {x + 20, y - 20}, {x + 12, y - 12}, {x + 20, y - 12}};
  for (const auto& point : points) {
    if (CodeAtPoint(map, point[0], point[1]) >= kFirstSolidCode) return true;
  }
  return false;
}

// True when the hero's move, from the place the last drawing accepted to where it stands now,
// comes too close to the character. A door can set the hero down right against a character
// that wandered onto its arrival spot: the hero may then step away, but not through it.
bool HeroComesTooClose(const NpcRecord& npc) {
  const int64_t lastX = int64_t(nLastViewCol) * kCellSize + hero.nLastX - nLastScrollX;
  const int64_t lastY = int64_t(nLastViewRow) * kCellSize + hero.nLastY - nLastScrollY;
  return MoveComesTooClose(lastX, lastY, HeroMapX(), HeroMapY(), npc.nX, npc.nY);
}

// The frame of a sprite sheet: column nFrame, row nDirection.
Rect SpriteFrame(const NpcRecord& record) {
  Rect rect;
  const int64_t left = int64_t(record.nFrame) * record.nFrameWidth;
  const int64_t top = int64_t(record.nDirection) * record.nFrameHeight;
  return MakeRect(rect, ScreenCoordinate(left), ScreenCoordinate(top),
                  ScreenCoordinate(left + record.nFrameWidth),
                  ScreenCoordinate(top + record.nFrameHeight));
}

// The overlay tile a cell code shows, or -1 for none.
int OverlayTile(uint16_t code) {
  if (code == 0 || (code >= 0x5000 && code < kFirstSolidCode)) return -1;
  int tile = code < kFirstSolidCode ? code : code - kFirstSolidCode;
  if (tile >= 0x5000) tile = kClosedChestTile;
  return tile;
}

// The ground tile under every visible cell, on the canvas (a 640 × 480 page, so the screen's
// clipping is the canvas's own). Cells never overlap, so laying the whole ground before the
// overlays gives the same picture as ground and overlay cell by cell, and laying it row by
// row is several times faster than a blit per cell.
void DrawGround(const MapInfo& map) {
  if (lpDDSTitle == nullptr || lpDDSMap1 == nullptr) return;
  Rect ground;
  MakeRect(ground, 0, kCellSize * map.nGroundTile, kCellSize, kCellSize * (map.nGroundTile + 1));
  const platform::BlitResult result =
      platform::BltTiled(*lpDDSTitle, ScreenCoordinate(nScrollX), ScreenCoordinate(nScrollY),
                         kViewColumns + 1, kViewRows + 1, *lpDDSMap1, ground);
  // As after any blit that finds the display lost: restore, and let the next frame redraw.
  if (result == platform::BlitResult::SurfaceLost) RestoreSurfaces();
}

}  // namespace

void DrawWorld() {
  const MapInfo& map = CurrentMap();
  if (HeroTouchesSolidCell(map)) UndoMove();
  const int count = NpcCount(map);
  for (int k = 0; k < count; ++k) {
    const NpcRecord& npc = map.lpNpcs[size_t(k)];
    if (npc.bActive == 1 && HeroComesTooClose(npc)) UndoMove();
  }

  DrawMap();
  Rect whole;
  BlitClipped(lpDDSBack, 0, 0, lpDDSTitle, MakeRect(whole, 0, 0, 640, 480), 0);
  BlitClipped(lpDDSBack, ScreenCoordinate(hero.nX), ScreenCoordinate(int64_t(hero.nY) - hero.nFrameHeight),
              lpDDSPlayer, SpriteFrame(hero), 1);

  hero.nLastX = hero.nX;
  hero.nLastY = hero.nY;
  nLastViewCol = nViewCol;
  nLastViewRow = nViewRow;
  nLastScrollX = nScrollX;
  nLastScrollY = nScrollY;
}

void DrawMap() {
  const MapInfo& map = CurrentMap();
  DrawGround(map);
  for (int row = 0; row <= kViewRows; ++row) {
    const int y = ScreenCoordinate(int64_t(row) * kCellSize + nScrollY);
    for (int column = 0; column <= kViewColumns; ++column) {
      const int tile =
          OverlayTile(CodeAtCell(map, int64_t(nViewCol) + column, int64_t(nViewRow) + row));
      if (tile < 0) continue;
      const int x = ScreenCoordinate(int64_t(column) * kCellSize + nScrollX);
      Rect overlay;
      const int left = kCellSize * (tile % kOverlayTilesPerRow);
      const int top = kCellSize * (tile / kOverlayTilesPerRow);
      BlitClipped(lpDDSTitle, x, y, lpDDSMaps,
                  MakeRect(overlay, left, top, left + kCellSize, top + kCellSize), 1);
    }
  }
  DrawNpcs();
}

void DrawNpcs() {
  const MapInfo& map = CurrentMap();
  const int count = NpcCount(map);
  for (int k = 0; k < count; ++k) {
    const NpcRecord& npc = map.lpNpcs[size_t(k)];
    if (npc.bActive != 1) continue;
    Surface* sheet = SheetSurface(npc.lpSurface);
    if (sheet == nullptr) continue;
    const int x = ScreenCoordinate(int64_t(npc.nX) - int64_t(nViewCol) * kCellSize + nScrollX);
    const int y = ScreenCoordinate(int64_t(npc.nY) - int64_t(nViewRow) * kCellSize -
                                   npc.nFrameHeight + nScrollY);
    BlitClipped(lpDDSTitle, x, y, sheet, SpriteFrame(npc), 1);
  }
}
