// What CTRL or ENTER does in the world: the hero opens a closed chest in the cell it faces, then
// addresses the characters standing one step ahead. Ordinary characters speak, shopkeepers open
// their shop, and the two troublemakers of the market start the city's two-fight encounter.
//
// A death in the encounter runs the title sequence, which reads every map afresh; records are
// therefore looked up again after every call that can reach it.
#include "world/interact.h"

#include <cstdint>
#include <cstdio>

#include "battle/battle.h"
#include "core/game_state.h"
#include "core/random.h"
#include "goods/goods.h"
#include "goods/shop.h"
#include "platform/system.h"
#include "title/title.h"
#include "video/display.h"
#include "video/draw.h"
#include "world/movement.h"
#include "world/npc_tick.h"
#include "world/talk.h"
#include "world/world_geometry.h"
#include "world/world_view.h"

namespace {

using platform::GetAsyncKeyState;

constexpr uint16_t kFirstChestCode = 0xF000;  // 0xF000 money, 0xF000 + k goods k
constexpr uint16_t kOpenedChestCode = 0xA12E;
constexpr int kArenaMap = 3;
constexpr int kNoEscape = 100;
constexpr int kReach = 16;  // how far off the point in front a character may stand

// Talk ids that give a character a role.
constexpr int kGrocerTalk = 59999;
constexpr int kSmithTalk = 69999;
constexpr int kPawnbrokerTalk = 79999;
constexpr int kGirlTalk = 70003;
constexpr int kLeaderTalk = 70004;
constexpr int kCronyTalk = 70005;
// The encounter's three records of the city's list.
constexpr int kGirl = 2;
constexpr int kLeader = 3;
constexpr int kCrony = 4;

// One step in the hero's facing direction (hero sheet rows: down, left, right, up).
struct Offset {
  int dx, dy;
};
Offset FacingStep() {
  static constexpr Offset kSteps[4] = {{0, 1}, {-1, 0}, {1, 0}, {0, -1}};
  return hero.nDirection >= 0 && hero.nDirection < 4 ? kSteps[hero.nDirection] : Offset{0, 0};
}

void WaitForKeysUp() {
  WaitKey(platform::VK_CONTROL, 1);
  WaitKey(platform::VK_RETURN, 1);
}

void WaitForConfirm() {
  while (GetAsyncKeyState(platform::VK_CONTROL) == 0 && GetAsyncKeyState(platform::VK_RETURN) == 0) {
  }
  WaitForKeysUp();
}

// Opens the closed chest in the cell the hero faces, if there is one: money or goods, told in
// the talk bar. A chest naming goods that do not exist opens empty.
void OpenChestInFront() {
  MapInfo& map = CurrentMap();
  const Offset step = FacingStep();
  const int64_t column = int64_t(FeetColumn()) + step.dx;
  const int64_t row = int64_t(FeetRow()) + step.dy;
  if (column < 0 || row < 0 || column >= map.nWidth || row >= map.nHeight) return;
  const uint16_t code = CodeAtCell(map, column, row);
  if (code < kFirstChestCode) return;

  Rect bar;
  BlitClipped(lpDDSPrimary, 0, 384, lpDDSTalkBar, MakeRect(bar, 0, 0, 640, 96), 1);
  char message[160];
  const int k = code - kFirstChestCode;
  if (k == 0) {
    const int amount = RandomUpTo(100);
    std::snprintf(message, sizeof message, "打开宝箱后，发现有（%d）金币，哈哈……我赚翻了#_$  ", amount);
    AddMoney(amount);
  } else if (const GoodsRecord* goods = k < kGoodsCount ? GoodsOfSlot(char('0' + k)) : nullptr) {
    std::snprintf(message, sizeof message, "打开宝箱后，发现有一个（%.31s），呵呵……赚了^_&  ",
                  goods->szName);
    AddGoods(hero, char('0' + k));
  } else {
    std::snprintf(message, sizeof message, "打开宝箱后，里面空空的，什么也没有……  ");
  }
  PrintText(lpDDSPrimary, 100, 400, message, kWhite, platform::kBkTransparent, kWhite, 50);
  SetTileAt(map, int(column), int(row), kOpenedChestCode);
  WaitForConfirm();
}

// A shopkeeper greets the hero, opens the shop and says goodbye, one way or the other.
void VisitShop(int i, int talkId) {
  ShowTalk(i, talkId, 0);
  ShowTalk(i, talkId, 1);
  int traded = 0;
  if (talkId == kPawnbrokerTalk) {
    traded = RunShop(hero, 2);
  } else if (const NpcRecord* keeper = CurrentNpc(i)) {
    traded = RunShop(*keeper, 1);
  }
  ShowTalk(i, talkId, traded ? 3 : 2);
}

enum class Outcome { kWon, kDied, kOther };

// One of the encounter's fights, against a copy of record `enemy`.
Outcome Fight(int enemy) {
  const NpcRecord* npc = CurrentNpc(enemy);
  if (npc == nullptr) return Outcome::kOther;
  const int result = RunBattle(*npc, kArenaMap, kNoEscape);
  if (result == kBattleWon) return Outcome::kWon;
  return result == kBattleDead ? Outcome::kDied : Outcome::kOther;
}

// The market: the crony and then his leader fight the hero. Won, they are gone, the girl
// they held walks free and the guard at the south gate will let the hero into the wood.
// Returns true when the turn ends here.
bool RunMarketEncounter() {
  ShowTalk(kGirl, kGirlTalk, 0);
  ShowTalk(kLeader, kLeaderTalk, 0);
  ShowTalk(kCrony, kCronyTalk, 0);
  Outcome outcome = Fight(kCrony);
  if (outcome == Outcome::kWon) {
    ShowTalk(kLeader, kLeaderTalk, 1);
    outcome = Fight(kLeader);
  }
  if (outcome == Outcome::kDied) {
    RunTitleMenu();
    return true;
  }
  if (outcome != Outcome::kWon) return false;
  if (NpcRecord* leader = CurrentNpc(kLeader)) leader->bActive = 0;
  if (NpcRecord* crony = CurrentNpc(kCrony)) crony->bActive = 0;
  if (NpcRecord* girl = CurrentNpc(kGirl)) girl->nSpeed = 4;
  DrawWorld();
  FlipScreen();
  ShowTalk(kGirl, kGirlTalk, 1);
  if (NpcRecord* girl = CurrentNpc(kGirl)) girl->nTalkState = 2;
  nStoryStage = 1;
  return true;
}

// Addresses character i. Returns true when the turn ends with it.
bool Address(int i) {
  NpcRecord& npc = *CurrentNpc(i);
  FaceHero(npc);
  const int talkId = npc.nTalkId;
  switch (talkId) {
    case kGrocerTalk:
    case kSmithTalk:
    case kPawnbrokerTalk:
      VisitShop(i, talkId);
      return true;
    case kLeaderTalk:
    case kCronyTalk:
      // The encounter needs its three records; a list too short for it holds no encounter.
      if (NpcCount(CurrentMap()) > kCrony && RunMarketEncounter()) return true;
      break;
    default:
      break;
  }
  if (const NpcRecord* speaker = CurrentNpc(i)) ShowTalk(i, speaker->nTalkId, speaker->nTalkState);
  return false;
}

}  // namespace

void Interact() {
  WaitForKeysUp();
  OpenChestInFront();

  const Offset step = FacingStep();
  const int64_t x = HeroMapX() + int64_t(step.dx) * kCellSize;
  const int64_t y = HeroMapY() + int64_t(step.dy) * kCellSize;
  for (int i = 0; i < NpcCount(CurrentMap()); ++i) {
    const NpcRecord& npc = CurrentMap().lpNpcs[size_t(i)];
    if (npc.bActive != 1 || Separation(x, y, npc.nX, npc.nY) > kReach) continue;
    if (Address(i)) return;
  }
}
