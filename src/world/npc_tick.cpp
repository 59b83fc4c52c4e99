// The character tick. On every 400 ms timer message each walking character of the current map
// may turn, takes one step, is kept on the map, off solid cells and off the hero, and a hostile
// one that comes near the hero speaks and starts a fight. The tick ends by drawing the scene,
// which also keeps the picture alive while the hero stands still.
//
// A death or the end of the story runs the title sequence from inside the tick, and that reads
// every map afresh. So no record is held across a call that can reach it: the current map, its
// count and the record are looked up again at every step.
#include "world/npc_tick.h"

#include <algorithm>
#include <cstdint>

#include "battle/battle.h"
#include "core/game_state.h"
#include "core/open_screen.h"
#include "core/random.h"
#include "platform/system.h"
#include "title/title.h"
#include "video/display.h"
#include "video/draw.h"
#include "world/talk.h"
#include "world/world_geometry.h"
#include "world/world_view.h"

namespace {

constexpr int kArenaMap = 3;
constexpr int kEscapeHold = 50;          // an escape from a wandering enemy works about half the time
constexpr int kPauseAfterEscape = 5;     // stands four ticks, walks again on the fifth
constexpr int kAttackReach = 40;
constexpr uint16_t kFirstSolidCode = 0xA000;
constexpr int kTreeDemonTalk = 20006;    // beaten, the palace gate opens
constexpr int kPalaceMasterTalk = 40006;  // beaten, the story ends

// Character sheet rows.
constexpr int kFacingDown = 0;
constexpr int kFacingLeft = 1;
constexpr int kFacingUp = 2;
constexpr int kFacingRight = 3;

int32_t ClampTo(int64_t value, int64_t low, int64_t high) {
  if (value < low) value = low;
  if (value > high) value = high;
  return int32_t(std::clamp<int64_t>(value, INT32_MIN, INT32_MAX));
}

// True when one of the four corners of the 16 × 16 square in the middle of the character's
// lowest cell lies in a solid cell.
bool TouchesSolidCell(const MapInfo& map, const NpcRecord& npc) {
  const int64_t x = npc.nX;
  const int64_t y = npc.nY;
  const int64_t points[4][2] = {{x + 8, y - 24}, {x + 24, y - 24}, {x + 8, y - 8}, {x + 24, y - 8}};
  for (const auto& point : points) {
    if (CodeAtPoint(map, point[0], point[1]) >= kFirstSolidCode) return true;
  }
  return false;
}

// One step of a walking character: a turn now and then, the walk frame, the step itself, and
// the step taken back when it leaves the map, comes too close to the hero or enters a wall.
void Walk(NpcRecord& npc, const MapInfo& map) {
  // Any of the four ways alike (RandomUpTo(3) would almost never give 3, and wanderers would
  // never turn right).
  if (RandomUpTo(100) > 80) npc.nDirection = RandomUpTo(32767) % 4;
  npc.nFrame = npc.nFrame >= 0 && npc.nFrame < 1 ? npc.nFrame + 1 : 0;

  int64_t x = npc.nX;
  int64_t y = npc.nY;
  switch (npc.nDirection) {
    case kFacingDown: y += npc.nSpeed; break;
    case kFacingLeft: x -= npc.nSpeed; break;
    case kFacingUp: y -= npc.nSpeed; break;
    case kFacingRight: x += npc.nSpeed; break;
    default: break;  // a direction a damaged file gave: the character steps nowhere
  }
  npc.nX = ClampTo(x, 0, int64_t(map.nWidth) * kCellSize - npc.nFrameWidth);
  npc.nY = ClampTo(y, int64_t(npc.nFrameHeight) - 16, int64_t(map.nHeight) * kCellSize);

  if (MoveComesTooClose(npc.nLastX, npc.nLastY, npc.nX, npc.nY, HeroMapX(), HeroMapY())) {
    npc.nX = npc.nLastX;
    npc.nY = npc.nLastY;
  }
  if (TouchesSolidCell(map, npc)) {
    npc.nX = npc.nLastX;
    npc.nY = npc.nLastY;
  } else {
    npc.nLastX = npc.nX;
    npc.nLastY = npc.nY;
  }
}

bool NearHero(const NpcRecord& npc, int reach) {
  return Separation(HeroMapX(), HeroMapY(), npc.nX, npc.nY) <= reach;
}

// A story screen, typed on a black screen as the opening story is: over the scene the red
// ending would stand on the palace's red walls and carpet. The state dump names it "story"
// while it waits.
void TypeStory(int talkId, uint32_t color) {
  ScreenScope screen("story");
  ClearScreen(0);
  TypeText(FindTalk(talkId, 0).c_str(), color);
}

// What follows a beaten enemy: its parting words, and for the two story enemies the story
// screen with the palace gate opened, or the ending and the way back to the title.
void AfterVictory(int i, int talkId) {
  if (NpcRecord* npc = CurrentNpc(i)) npc->bActive = 0;
  ShowTalk(i, talkId, 1);
  if (talkId == kTreeDemonTalk) {
    TypeStory(99003, kWhite);
    nStoryFlag = 1;
  } else if (talkId == kPalaceMasterTalk) {
    ShowTalk(5, 30003, 0);
    ShowTalk(11, 30004, 0);
    TypeStory(99002, kRed);
    FadePalette(lpPalGame, lpPalBlack, -1);
    RunTitleMenu();
  }
}

// A hostile character next to the hero turns to it, speaks and fights it.
void Attack(int i) {
  NpcRecord* npc = CurrentNpc(i);
  FaceHero(*npc);
  const int talkId = npc->nTalkId;
  ShowTalk(i, talkId, npc->nTalkState);
  npc = CurrentNpc(i);
  if (npc == nullptr) return;
  const int result = RunBattle(*npc, kArenaMap, kEscapeHold);
  WaitKey(platform::VK_RETURN, 1);
  if (result == kBattleWon) {
    AfterVictory(i, talkId);
  } else if (result == kBattleEscaped) {
    if (NpcRecord* escaped = CurrentNpc(i)) escaped->nWalk = kPauseAfterEscape;
  } else {
    RunTitleMenu();
  }
}

}  // namespace

NpcRecord* CurrentNpc(int i) {
  MapInfo& map = CurrentMap();
  return i >= 0 && i < NpcCount(map) ? &map.lpNpcs[size_t(i)] : nullptr;
}

void FaceHero(NpcRecord& npc) {
  static constexpr int kFacingTheHero[4] = {kFacingUp, kFacingRight, kFacingLeft, kFacingDown};
  if (hero.nDirection >= 0 && hero.nDirection < 4) npc.nDirection = kFacingTheHero[hero.nDirection];
}

void MoveNpcs() {
  // The count is read again on every pass: a fight that ends the story or the hero's life
  // brings back the title, which may load a game with other maps.
  for (int i = 0; i < NpcCount(CurrentMap()); ++i) {
    NpcRecord& npc = CurrentMap().lpNpcs[size_t(i)];
    if (npc.bActive != 1 || npc.nWalk != 1) {
      if (npc.nWalk > 1) npc.nWalk -= 1;
      continue;
    }
    Walk(npc, CurrentMap());
    if (npc.bHostile == 1 && NearHero(npc, kAttackReach)) Attack(i);
  }
  DrawWorld();
  FlipScreen();
}
