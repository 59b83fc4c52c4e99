// The two slot menus: five slots and "cancel" in the menu box, over the picture the canvas
// holds (the title picture on the title screen, the world during play). The box is drawn onto
// the canvas itself and stays there until the canvas is drawn again.
#include "saves/save_menus.h"

#include "core/open_screen.h"
#include "platform/system.h"
#include "saves/save_game.h"
#include "video/display.h"
#include "video/draw.h"

namespace {

using platform::GetAsyncKeyState;

constexpr const char* kSlotEntries[] = {"进度一", "进度二", "进度三", "进度四", "进度五", "取　消"};
constexpr int kEntryCount = 6;
constexpr int kCancel = 5;
constexpr int kBoxY = 280;
constexpr int kMenuY = 300;
constexpr int kSaveMenuX = 50;
constexpr int kLoadMenuX = 45;
constexpr int kMessageX = 160;  // right of the box

void DrawSlotMenu(int x, int cursor) {
  Rect box;
  BlitClipped(lpDDSTitle, 0, kBoxY, lpDDSMainMenu, MakeRect(box, 0, 0, 150, 200), 0);
  DrawMenu(x, kMenuY, cursor, kSlotEntries, kEntryCount, kWhite, kYellow);
}

// Says beside the chosen slot that it could not be written. The message stays on the screen
// until the menu is drawn again; the slot still holds the game it held before.
void ShowSaveFailed(int cursor) {
  const char* text = "无法存储进度！";
  const int y = kMenuY + 10 + 24 * cursor;
  PrintShadowedText(lpDDSPrimary, kMessageX, y, text, kYellow, 50);
}

// Runs one slot menu; 1 once a slot was written or read, 0 when left without.
int RunSlotMenu(bool saving) {
  ScreenScope screen(saving ? "save" : "load");
  const int x = saving ? kSaveMenuX : kLoadMenuX;
  int cursor = 0;
  DrawSlotMenu(x, cursor);
  WaitKey(platform::VK_RETURN, 1);  // ENTER still held from the menu before is not a choice
  for (;;) {
    MoveMenuCursor(cursor, kEntryCount, [&] { DrawSlotMenu(x, cursor); });
    if (GetAsyncKeyState(platform::VK_RETURN)) {
      WaitKey(platform::VK_RETURN, 1);
      if (cursor == kCancel) return 0;
      if (saving) {
        if (SaveGame(cursor) == 1) return 1;
        ShowSaveFailed(cursor);
      } else if (LoadGame(cursor) == 1) {
        return 1;  // an empty or unreadable slot does nothing
      }
    }
    if (GetAsyncKeyState(platform::VK_ESCAPE)) {
      WaitKey(platform::VK_ESCAPE, 1);
      return 0;
    }
  }
}

}  // namespace

int RunSaveMenu() { return RunSlotMenu(true); }

int RunLoadMenu() { return RunSlotMenu(false); }
