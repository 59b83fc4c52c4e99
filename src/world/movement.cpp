// The hero's walking: the arrow keys move the hero on the screen until it reaches the scroll
// line, then move the map under it until the view meets the map's edge. After each step the
// world is drawn (which refuses steps into walls and characters) and the cell under the hero's
// feet runs its event: doors to other maps and the two story gates.
#include "world/movement.h"

#include <algorithm>
#include <cstdint>

#include "core/game_state.h"
#include "goods/game_menu.h"
#include "platform/system.h"
#include "video/display.h"
#include "video/draw.h"
#include "world/interact.h"
#include "world/talk.h"
#include "world/world_geometry.h"
#include "world/world_view.h"

namespace {

using platform::GetAsyncKeyState;

constexpr int kScrollLineX = 304;  // half the screen less half a cell
constexpr int kScrollLineY = 264;
constexpr int kViewColumns = 20;
constexpr int kViewRows = 15;
constexpr int kGateStopY = 450;  // where a closed story gate sets the hero back

// Moves a position value by a step; a position taken from a damaged saved game cannot
// overflow, it stops at the end of the range.
void Shift(int32_t& value, int64_t step) {
  const int64_t moved = int64_t(value) + step;
  value = int32_t(std::clamp<int64_t>(moved, INT32_MIN, INT32_MAX));
}

// Hero sheet rows.
constexpr int kFacingDown = 0;
constexpr int kFacingLeft = 1;
constexpr int kFacingRight = 2;
constexpr int kFacingUp = 3;

void StepUp(int speed) {
  hero.nDirection = kFacingUp;
  if (nViewRow > 0 && hero.nY <= kScrollLineY) {
    Shift(nScrollY, speed);
    if (nScrollY >= 0) {
      Shift(nViewRow, -1);
      nScrollY = -kCellSize;
    }
  } else if (nViewRow == 0 && nScrollY != 0) {
    Shift(nScrollY, speed);  // uncover the map's top row before the hero walks on
  } else {
    Shift(hero.nY, -int64_t(speed));
  }
}

void StepDown(int speed, const MapInfo& map) {
  hero.nDirection = kFacingDown;
  if (nViewRow < map.nHeight - kViewRows && hero.nY >= kScrollLineY) {
    Shift(nScrollY, -int64_t(speed));
    if (nScrollY <= -kCellSize) {
      nScrollY = 0;
      Shift(nViewRow, 1);
    }
  } else {
    Shift(hero.nY, speed);
  }
}

void StepLeft(int speed) {
  hero.nDirection = kFacingLeft;
  if (nViewCol > 0 && hero.nX <= kScrollLineX) {
    Shift(nScrollX, speed);
    if (nScrollX >= 0) {
      Shift(nViewCol, -1);
      nScrollX = -kCellSize;
    }
  } else if (nViewCol == 0 && nScrollX != 0) {
    Shift(nScrollX, speed);
  } else {
    Shift(hero.nX, -int64_t(speed));
  }
}

void StepRight(int speed, const MapInfo& map) {
  hero.nDirection = kFacingRight;
  if (nViewCol < map.nWidth - kViewColumns && hero.nX >= kScrollLineX) {
    Shift(nScrollX, -int64_t(speed));
    if (nScrollX <= -kCellSize) {
      nScrollX = 0;
      Shift(nViewCol, 1);
    }
  } else {
    Shift(hero.nX, speed);
  }
}

// Lower bound first, then the upper one: on a map narrower than the view the upper bound wins.
int32_t Clamp(int32_t value, int64_t low, int64_t high) {
  int64_t result = value;
  if (result < low) result = low;
  if (result > high) result = high;
  return int32_t(result);
}

void KeepHeroAndViewOnMap(const MapInfo& map) {
  hero.nX = Clamp(hero.nX, 0, 640 - int64_t(hero.nFrameWidth));
  hero.nY = Clamp(hero.nY, int64_t(hero.nFrameHeight) - 16, 480);
  nViewCol = Clamp(nViewCol, 0, int64_t(map.nWidth) - kViewColumns);
  nViewRow = Clamp(nViewRow, 0, int64_t(map.nHeight) - kViewRows);
}

// Puts the hero on another map. The last accepted view is set with the position, so that a
// hero arriving next to a character or a wall stays at the door's place on the new map instead
// of being sent back to the old map's view.
void GoThroughDoor(int map, int x, int y, int viewColumn, int viewRow) {
  nMap = map;
  hero.nX = hero.nLastX = x;
  hero.nY = hero.nLastY = y;
  nViewCol = nLastViewCol = viewColumn;
  nViewRow = nLastViewRow = viewRow;
  nScrollX = nLastScrollX = 0;
  nScrollY = nLastScrollY = 0;
  FadePalette(lpPalGame, lpPalBlack, -1);
  DrawWorld();
  FlipScreen();
  FadePalette(lpPalBlack, lpPalGame, +1);
}

// A closed gate sets the hero back below it and says why.
void HoldAtGate(int npcIndex, int talkId, int entry) {
  hero.nY = hero.nLastY = kGateStopY;
  ShowTalk(npcIndex, talkId, entry);
}

void RunWoodGate() {
  if (nStoryStage == 0) {
    HoldAtGate(5, 30001, 0);
  } else if (nStoryStage == 1) {
    nStoryStage = 2;
    HoldAtGate(5, 30001, 1);
    // The city has heard: everyone now speaks their second entry and walks faster.
    MapInfo& map = CurrentMap();
    const int count = NpcCount(map);
    for (int k = 0; k < count; ++k) {
      map.lpNpcs[size_t(k)].nTalkState = 1;
      map.lpNpcs[size_t(k)].nSpeed = 12;
    }
  } else {
    GoThroughDoor(2, 32, 64, 0, 0);
  }
}

}  // namespace

int FeetColumn() {
  return ScreenCoordinate((int64_t(hero.nX) - nScrollX + 16) / kCellSize + nViewCol);
}

int FeetRow() {
  return ScreenCoordinate((int64_t(hero.nY) - nScrollY - 16) / kCellSize + nViewRow);
}

void GameFrameBody() {
  // CTRL or ENTER acts on what lies ahead; a move can follow in the same frame. Both keys are
  // read on every frame, so a press made while walking is used up here. Interact may end in
  // the title sequence, so the map is taken only after it.
  const bool control = GetAsyncKeyState(platform::VK_CONTROL) != 0;
  const bool enter = GetAsyncKeyState(platform::VK_RETURN) != 0;
  if (control || enter) Interact();

  const MapInfo& map = CurrentMap();
  const int speed = hero.nSpeed;
  if (GetAsyncKeyState(platform::VK_UP)) {
    StepUp(speed);
  } else if (GetAsyncKeyState(platform::VK_DOWN)) {
    StepDown(speed, map);
  } else if (GetAsyncKeyState(platform::VK_LEFT)) {
    StepLeft(speed);
  } else if (GetAsyncKeyState(platform::VK_RIGHT)) {
    StepRight(speed, map);
  } else {
    if (GetAsyncKeyState(platform::VK_ESCAPE)) {
      WaitKey(platform::VK_ESCAPE, 1);
      RunGameMenu();
    }
    return;
  }

  KeepHeroAndViewOnMap(map);
  hero.nFrame = hero.nFrame >= 0 && hero.nFrame < 2 ? hero.nFrame + 1 : 0;
  DrawWorld();
  FlipScreen();
  RunTileEvent(CodeAtCell(CurrentMap(), FeetColumn(), FeetRow()));
}

void RunTileEvent(int code) {
  switch (code) {
    case 0x5000: RunWoodGate(); break;
    case 0x5001: GoThroughDoor(1, 350, 450, 7, 11); break;
    case 0x5002: GoThroughDoor(1, 384, 100, 14, 0); break;
    case 0x5003: GoThroughDoor(0, 410, 400, 0, 0); break;
    case 0x5009:
      if (nStoryFlag == 0) {
        HoldAtGate(0, 30002, 0);
      } else {
        GoThroughDoor(4, 310, 450, 0, 30);
      }
      break;
    case 0x500A: GoThroughDoor(2, 620, 450, 14, 11); break;
    case 0x500B: GoThroughDoor(5, 300, 400, 0, 0); break;
    case 0x500C: GoThroughDoor(1, 384, 256, 14, 0); break;
    case 0x500D: GoThroughDoor(6, 300, 400, 0, 0); break;
    case 0x500E: GoThroughDoor(1, 96, 256, 0, 8); break;
    case 0x500F: GoThroughDoor(7, 200, 400, 0, 0); break;
    case 0x5010: GoThroughDoor(1, 384, 256, 14, 6); break;
    default: break;  // 0x5004 to 0x5008 and every other code do nothing
  }
}
