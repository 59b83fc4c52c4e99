// The title sequence: the world is read afresh from its files, the hero starts over, the title
// picture fades in with its music and the main menu waits for a choice. A new game types the
// opening story on a black screen, fades into the home and plays the first talk.
#include "title/title.h"

#include <cstring>

#include "core/game_state.h"
#include "core/open_screen.h"
#include "platform/system.h"
#include "saves/save_menus.h"
#include "sound/music.h"
#include "video/bitmap.h"
#include "video/display.h"
#include "video/draw.h"
#include "world/map_files.h"
#include "world/talk.h"
#include "world/world_view.h"

namespace {

using platform::GetAsyncKeyState;

constexpr const char* kMainMenu[] = {"新游戏", "读进度", "退　出"};
constexpr int kMainMenuCount = 3;
constexpr int kMenuX = 16;
constexpr int kMenuY = 380;
constexpr int kStoryTalk = 99001;
constexpr int kFirstTalk = 10000;
constexpr size_t kLongestStory = 999;  // a story text is typed up to this many bytes

void LoadPalette(const Palette* table) {
  if (lpDDPal != nullptr && table != nullptr) lpDDPal->SetEntries(*table);
}

// Shows the title picture, read again in the title colours, while the screen is black, and
// fades it in.
void ShowTitlePicture() {
  ClearScreen(0);
  LoadPalette(lpPalTitle);
  ReloadBitmapSurface(lpDDSTitle, "pic\\title.bmp");
  LoadPalette(lpPalBlack);
  Rect whole;
  BlitClipped(lpDDSPrimary, 0, 0, lpDDSTitle, MakeRect(whole, 0, 0, 640, 480), 0);
  FadePalette(lpPalBlack, lpPalTitle, +1);
}

void BeginNewGame() {
  FadePalette(lpPalTitle, lpPalBlack, -1);
  ClearScreen(0);
  FadePalette(lpPalBlack, lpPalGame, +1);
  TypeText(FindTalk(kStoryTalk, 0).c_str(), kWhite);
  FadePalette(lpPalGame, lpPalBlack, -1);
  DrawWorld();
  FlipScreen();
  FadePalette(lpPalBlack, lpPalGame, +1);
  WaitKey(platform::VK_RETURN, 1);
  WaitKey(platform::VK_CONTROL, 1);
  if (bSoundOn == 1) PlayMusic("voc\\back.mid");
  ShowTalk(0, kFirstTalk, 0);
}

enum class TitleChoice { NewGame, Loaded, Quit };

// A saved game was read from the title: the title fades out, the world fades in with the
// game's music.
void EnterLoadedGame() {
  FadePalette(lpPalTitle, lpPalBlack, -1);
  DrawWorld();
  FlipScreen();
  FadePalette(lpPalBlack, lpPalGame, +1);
  if (bSoundOn == 1) PlayMusic("voc\\back.mid");
}

// The title picture with its music and the main menu, until a choice is made.
TitleChoice RunMainMenu() {
  ScreenScope screen("title");
  WaitKey(platform::VK_RETURN, 1);  // ENTER still held from the screen before is not a choice
  if (bSoundOn == 1) PlayMusic("voc\\title.mid");
  ShowTitlePicture();

  int cursor = 0;
  DrawMenu(kMenuX, kMenuY, cursor, kMainMenu, kMainMenuCount, kWhite, kYellow);
  for (;;) {
    MoveMenuCursor(cursor, kMainMenuCount,
                   [&] { DrawMenu(kMenuX, kMenuY, cursor, kMainMenu, kMainMenuCount, kWhite, kYellow); });
    if (GetAsyncKeyState(platform::VK_RETURN)) {
      WaitKey(platform::VK_RETURN, 1);
      if (cursor == 0) return TitleChoice::NewGame;
      if (cursor == 1) {
        if (RunLoadMenu() == 1) return TitleChoice::Loaded;
        // The load menu drew its box onto the title picture: read the picture again.
        ReloadBitmapSurface(lpDDSTitle, "pic\\title.bmp");
        DrawMenu(kMenuX, kMenuY, cursor, kMainMenu, kMainMenuCount, kWhite, kYellow);
      }
      if (cursor == 2) {
        FadePalette(lpPalTitle, lpPalBlack, -1);
        platform::PostMessage(platform::WM_CLOSE);
        return TitleChoice::Quit;
      }
    }
  }
}

}  // namespace

void RunTitleMenu() {
  if (LoadMaps() == 0) {
    platform::MessageBox("地图文件出错", "error");
    ReleaseDisplay();
    // Nothing can be played without the maps: leave through the program's normal ending.
    throw platform::QuitRequested{};
  }
  LoadNpcs();
  InitNewGame();
  switch (RunMainMenu()) {
    case TitleChoice::NewGame: BeginNewGame(); break;
    case TitleChoice::Loaded: EnterLoadedGame(); break;
    case TitleChoice::Quit: break;
  }
}

void TypeText(const char* text, uint32_t color) {
  WaitKey(platform::VK_RETURN, 1);
  const size_t length = text == nullptr ? 0 : strnlen(text, kLongestStory);
  if (length == 0) {
    WaitKey(platform::VK_RETURN, 0);
    return;
  }
  for (size_t typed = 1; typed <= length; ++typed) {
    char shown[kLongestStory + 1] = {};
    std::memcpy(shown, text, typed);
    PrintText(lpDDSPrimary, 40, 100, shown, color, platform::kBkTransparent, kWhite, 50);
    Delay(80);
    if (GetAsyncKeyState(platform::VK_RETURN)) return;  // ENTER cuts the typing short
  }
  WaitKey(platform::VK_RETURN, 0);
}
