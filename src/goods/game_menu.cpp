// The in-game menu: seven entries in the box in the lower left corner, over the world.
#include "goods/game_menu.h"

#include <optional>

#include "core/open_screen.h"
#include "goods/about.h"
#include "goods/goods_window.h"
#include "goods/status.h"
#include "platform/system.h"
#include "saves/save_menus.h"
#include "title/title.h"
#include "video/display.h"
#include "video/draw.h"
#include "world/world_view.h"

namespace {

using platform::GetAsyncKeyState;

// Every text is eight bytes; the wide gaps are ideographic spaces.
constexpr const char* kEntries[] = {"状　　态", "物　　品", "读取进度", "存储进度",
                                    "关于游戏", "退　　出", "返回游戏"};
constexpr int kEntryCount = 7;
enum Entry { kStatus, kGoods, kLoad, kSave, kAbout, kQuit, kBack };

constexpr int kBoxY = 280;
constexpr int kFirstEntryY = 300;
constexpr int kEntryPitch = 24;
constexpr int kTextX = 34;

void ShowWorld() {
  DrawWorld();
  FlipScreen();
}

// The world with the menu over it, composed in the back buffer.
void ComposeGameMenu(int nSelect) {
  DrawWorld();
  Rect box;
  BlitClipped(lpDDSBack, 0, kBoxY, lpDDSMainMenu, MakeRect(box, 0, 0, 150, 200), 0);
  for (int i = 0; i < kEntryCount; ++i) {
    const int y = kFirstEntryY + kEntryPitch * i;
    // The selected entry stands on a dark blue bar; mode 0 leaves the others on black boxes.
    const bool selected = i == nSelect;
    const int mode = selected ? platform::kBkOpaque : 0;
    const uint32_t background = selected ? kDarkBlue : kBlack;
    PrintText(lpDDSBack, kTextX + 2, y + 2, kEntries[i], kBlack, mode, background, 50);
    PrintText(lpDDSBack, kTextX, y, kEntries[i], kWhite, mode, background, 50);
  }
}

// A game was loaded or saved: the screen goes dark and comes back with the menu over the world.
// The menu is composed before the screen goes dark, while text colours still find their
// entries in the game's colours; drawn on a black palette every text would come out black.
void DrawGameMenuFaded(int nSelect) {
  ComposeGameMenu(nSelect);
  FadePalette(lpPalGame, lpPalBlack, -1);
  FlipScreen();
  FadePalette(lpPalBlack, lpPalGame, +1);
}

}  // namespace

void DrawGameMenu(int nSelect) {
  ComposeGameMenu(nSelect);
  FlipScreen();
}

void RunGameMenu() {
  ScreenScope screen("menu");
  // The status panel or the About page, left on the screen while the menu waits under it.
  std::optional<ScreenScope> page;
  int select = 0;
  DrawGameMenu(select);
  WaitKey(platform::VK_RETURN, 1);
  for (;;) {
    MoveMenuCursor(select, kEntryCount, [&] {
      page.reset();
      DrawGameMenu(select);
    });
    if (GetAsyncKeyState(platform::VK_RETURN)) {
      WaitKey(platform::VK_RETURN, 1);
      page.reset();
      switch (select) {
        case kStatus:
          ShowWorld();
          ShowStatus();
          select = kBack;  // ENTER now goes straight back to the game
          page.emplace("status");
          break;
        case kGoods:
          RunGoodsWindow();
          ShowWorld();
          return;
        case kLoad:
        case kSave:
          // A cancelled or failed slot menu only redraws the menu, without a fade.
          if ((select == kLoad ? RunLoadMenu() : RunSaveMenu()) == 1) {
            DrawGameMenuFaded(select);
          } else {
            DrawGameMenu(select);
          }
          break;
        case kAbout:
          ShowWorld();
          ShowAbout();
          select = kBack;
          page.emplace("about");
          break;
        case kQuit:
          FadePalette(lpPalGame, lpPalBlack, -1);
          RunTitleMenu();
          return;
        default:
          ShowWorld();
          return;
      }
    }
    if (GetAsyncKeyState(platform::VK_ESCAPE)) {
      WaitKey(platform::VK_ESCAPE, 1);
      ShowWorld();
      return;
    }
  }
}
