// The About screen: a page with the game's title, a note from its makers and where to reach
// them; after ENTER, a window in which the About text climbs slowly until ENTER again.
#include "goods/about.h"

#include <cstdio>
#include <string>

#include "core/open_screen.h"
#include "platform/system.h"
#include "video/display.h"
#include "video/draw.h"

namespace {

using platform::GetAsyncKeyState;

constexpr char kTitle[] = "Veyrin--Tamsel（测试版）";
// Six rows of 36 bytes and one of 20, every row ending at a phrase.
constexpr char kNote[] =
    "这个小游戏讲的是少年小飞刀的故事：　"
    "他离开家乡，穿过雾隐林，走进影月宫。"
    "我们在业余时间一点一点把它做了出来，"
    "地图和音乐都还简单，难免有不足之处。"
    "希望你玩得开心，也希望它能陪你一会。"
    "进度能存五个位置，随时可以接着玩。　"
    "祝你旅途愉快，谢谢！";
// Two rows, of 36 and 30 bytes: where the saved games are kept, and where to read the rest.
constexpr char kContact[] = "存档：~/.local/share/tamsel/save    更多说明：运行 tamsel --help  ";

constexpr int kRowBytes = 36;
constexpr int kPanelX = 110;
constexpr int kPanelY = 80;
constexpr int kTextX = 140;
// The window the text shows through.
constexpr int kWindowLeft = 140;
constexpr int kWindowTop = 110;
constexpr int kWindowRight = 500;
constexpr int kWindowBottom = 370;
// The text starts 20 pixels above the window and climbs one pixel a frame until it stands
// 1401 pixels higher.
constexpr int kFirstY = 90;
constexpr int kLastY = -1311;
constexpr int kFrameMilliseconds = 50;
// No row after the 85th ever comes into the window, so no more of the file is read.
constexpr size_t kLongestText = 4096;

void DrawPanel(Surface* surface) {
  Rect panel;
  BlitClipped(surface, kPanelX, kPanelY, lpDDSPanel, MakeRect(panel, 0, 0, 420, 320), 1);
}

void PrintShadowed(int x, int y, const char* text) {
  PrintShadowedText(lpDDSPrimary, x, y, text, kWhite, kRowBytes);
}

void ShowAboutPage() {
  DrawPanel(lpDDSPrimary);
  PrintShadowed(180, 110, kTitle);
  PrintShadowed(140, 150, kNote);
  PrintShadowed(140, 330, kContact);
  WaitKey(platform::VK_RETURN, 1);  // ENTER still held from the menu does not skip the page
  WaitKey(platform::VK_RETURN, 0);
}

// The About text; a missing file leaves the window empty.
std::string ReadAboutText() {
  return platform::ReadGameFile("text\\gp.txt", kLongestText).value_or("");
}

void ScrollAboutText() {
  int y = kFirstY;
  const std::string text = ReadAboutText();
  Rect rect;
  BlitClipped(lpDDSBack, 0, 0, lpDDSPrimary, MakeRect(rect, 0, 0, 640, 480), 0);
  for (;;) {
    // The text is drawn on the canvas and only the window's part of it reaches the screen.
    DrawPanel(lpDDSTitle);
    PrintText(lpDDSTitle, kTextX, y, text.c_str(), kWhite, platform::kBkTransparent, kWhite,
              kRowBytes);
    DrawPanel(lpDDSBack);
    BlitClipped(lpDDSBack, kWindowLeft, kWindowTop, lpDDSTitle,
                MakeRect(rect, kWindowLeft, kWindowTop, kWindowRight, kWindowBottom), 0);
    FlipScreen();
    Delay(kFrameMilliseconds);
    if (y > kLastY) --y;
    if (GetAsyncKeyState(platform::VK_RETURN)) break;
  }
  WaitKey(platform::VK_ESCAPE, 1);
  WaitKey(platform::VK_RETURN, 1);
}

}  // namespace

void ShowAbout() {
  ScreenScope screen("about");
  ShowAboutPage();
  ScrollAboutText();
}
