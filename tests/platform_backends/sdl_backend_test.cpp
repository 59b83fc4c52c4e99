// The SDL backend on SDL's dummy video driver (set for the test run); skipped where SDL
// cannot start at all.
#include <SDL.h>
#include <gtest/gtest.h>

#include <vector>

#include "headless_fixture.h"
#include "platform/display_device.h"

using namespace platform;

namespace {

std::vector<int> messages;

intptr_t Proc(int message, intptr_t wParam, intptr_t lParam) {
  messages.push_back(message);
  return DefWindowProc(message, wParam, lParam);
}

void PushKey(Uint32 type, SDL_Keycode key, SDL_Scancode scancode, Uint16 mod = KMOD_NONE) {
  SDL_Event event{};
  event.type = type;
  event.key.keysym.sym = key;
  event.key.keysym.scancode = scancode;
  event.key.keysym.mod = mod;
  SDL_PushEvent(&event);
  SDL_Delay(2);  // the next poll is in a later millisecond, so it looks at the events
}

class SdlBackendTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!UseSdlBackend(SdlOptions{.windowed = true})) GTEST_SKIP() << "SDL cannot start here";
    messages.clear();
    ASSERT_TRUE(CreateMainWindow(Proc));
  }
  void TearDown() override {
    CloseDisplayDevice();
    headless::UseHeadlessBackend(tamsel_test::OpenEndedOptions());  // ends SDL
  }
};

}  // namespace

TEST_F(SdlBackendTest, KeysFollowThePhysicalKeysWithTheLatch) {
  PushKey(SDL_KEYDOWN, SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER);
  PushKey(SDL_KEYUP, SDLK_KP_ENTER, SDL_SCANCODE_KP_ENTER);
  EXPECT_NE(GetAsyncKeyState(VK_RETURN), 0);  // the tap between polls
  EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0);

  // Either Ctrl holds CONTROL; it is up only when both are.
  PushKey(SDL_KEYDOWN, SDLK_LCTRL, SDL_SCANCODE_LCTRL);
  PushKey(SDL_KEYDOWN, SDLK_RCTRL, SDL_SCANCODE_RCTRL);
  PushKey(SDL_KEYUP, SDLK_LCTRL, SDL_SCANCODE_LCTRL);
  EXPECT_NE(GetAsyncKeyState(VK_CONTROL), 0);
  EXPECT_NE(GetAsyncKeyState(VK_CONTROL), 0);
  PushKey(SDL_KEYUP, SDLK_RCTRL, SDL_SCANCODE_RCTRL);
  EXPECT_EQ(GetAsyncKeyState(VK_CONTROL), 0);

  // Alt+Enter switches the screen mode and is not the game's ENTER.
  PushKey(SDL_KEYDOWN, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT);
  PushKey(SDL_KEYUP, SDLK_RETURN, SDL_SCANCODE_RETURN, KMOD_LALT);
  EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0);
}

TEST_F(SdlBackendTest, ClosingIsAMessageInTheLoopAndAThrowInAScreen) {
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  SDL_Delay(2);
  ASSERT_TRUE(PeekMessage());
  Msg msg;
  ASSERT_TRUE(GetMessage(msg));
  EXPECT_EQ(msg.message, WM_CLOSE);

  SDL_PushEvent(&quit);
  SDL_Delay(2);
  EXPECT_THROW(GetTickCount(), QuitRequested);

  // A close request that reached the queue but not the window procedure before a screen
  // started its own loop still ends that screen.
  SDL_PushEvent(&quit);
  SDL_Delay(2);
  ASSERT_TRUE(PeekMessage());
  EXPECT_THROW(GetAsyncKeyState(VK_ESCAPE), QuitRequested);
  EXPECT_TRUE(WindowExists());

  DispatchMessage(Msg{WM_CLOSE, 0, 0});
  EXPECT_FALSE(WindowExists());
  EXPECT_EQ(messages, (std::vector<int>{WM_CLOSE, WM_DESTROY}));
}

TEST_F(SdlBackendTest, TimerTicksOnTheRealClockAndScreenChangesAreShown) {
  DisplayDevice* device = OpenDisplayDevice();
  ASSERT_NE(device, nullptr);
  Surface* primary = device->CreatePrimaryWithBackBuffer();
  ASSERT_NE(primary, nullptr);
  auto palette = device->CreatePalette(Palette{});
  device->AttachPalette(palette);
  FillSurface(*primary, 4);
  Palette entries{};
  entries[4] = PaletteEntry{255, 0, 0, 0};
  palette->SetEntries(entries);

  const uint32_t start = GetTickCount();
  SetTimer(1, 20);
  Msg msg;
  ASSERT_TRUE(GetMessage(msg));
  EXPECT_EQ(msg.message, WM_TIMER);
  EXPECT_GE(GetTickCount() - start, 20u);

  // Palette loads are paced: a fade of 256 takes about half a second, not an instant.
  const uint32_t fadeStart = GetTickCount();
  for (int i = 0; i < 25; ++i) palette->SetEntries(entries);
  EXPECT_GE(GetTickCount() - fadeStart, 40u);
  // ... and each is a poll: closing the window ends a fade at the next load.
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  EXPECT_THROW(palette->SetEntries(entries), QuitRequested);

  SendMciCommand("open voc\\no_such_piece.mid");
  SendMciCommand("play voc\\no_such_piece.mid");
  SendMciCommand("close all");
  SendMciCommand("rewind everything");
}
