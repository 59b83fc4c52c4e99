// The SDL backend on SDL's dummy video driver (set for the test run) and its sound on the disk
// audio driver; skipped where SDL cannot start at all.
#include <SDL.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "environment_guard.h"
#include "platform/backend/backend.h"
#include "platform/system.h"
#include "platform/display_device.h"
#include "platform/sound.h"

using namespace platform;

namespace {

std::vector<int> messages;
intptr_t Proc(int message, intptr_t wParam, intptr_t lParam) {
  messages.push_back(message);
  return DefWindowProc(message, wParam, lParam);
}

// An event as SDL delivers it; the next poll is in a later millisecond, so it looks at it.
void Push(SDL_Event event) {
  SDL_PushEvent(&event);
  SDL_Delay(2);
}
void PushKey(Uint32 type, SDL_Scancode scancode, Uint16 mod = KMOD_NONE) {
  SDL_Event event{};
  event.type = type;
  event.key.keysym = {scancode, SDL_GetKeyFromScancode(scancode), mod, 0};
  Push(event);
}
void PushQuit() { Push(SDL_Event{.type = SDL_QUIT}); }
// True when the key is held now (ignoring the "pressed since" mark of an earlier press).
bool Held(int virtualKey) {
  GetAsyncKeyState(virtualKey);
  return GetAsyncKeyState(virtualKey) != 0;
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
    headless::UseHeadlessBackend(headless::Options());  // ends SDL
  }
};

}  // namespace

TEST_F(SdlBackendTest, KeysFollowThePhysicalKeysWithTheLatchAndLetGoWhenTheFocusGoes) {
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_KP_ENTER), PushKey(SDL_KEYUP, SDL_SCANCODE_KP_ENTER);
  EXPECT_NE(GetAsyncKeyState(VK_RETURN), 0);  // the tap between polls
  EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0);
  // Either Ctrl holds CONTROL; it is up only when both are.
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_LCTRL), PushKey(SDL_KEYDOWN, SDL_SCANCODE_RCTRL), PushKey(SDL_KEYUP, SDL_SCANCODE_LCTRL);
  EXPECT_TRUE(Held(VK_CONTROL));
  PushKey(SDL_KEYUP, SDL_SCANCODE_RCTRL);
  EXPECT_FALSE(Held(VK_CONTROL));
  // Alt+Enter switches the screen mode and is not the game's ENTER.
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_RETURN, KMOD_LALT), PushKey(SDL_KEYUP, SDL_SCANCODE_RETURN, KMOD_LALT);
  EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0);
  // Losing the focus lets go of the keys and deactivates the game; regaining it activates it.
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_LEFT);
  ASSERT_TRUE(Held(VK_LEFT));
  for (const auto& [event, active] : {std::pair{SDL_WINDOWEVENT_FOCUS_LOST, 0}, std::pair{SDL_WINDOWEVENT_FOCUS_GAINED, 1}}) {
    SDL_Event focus{.type = SDL_WINDOWEVENT};
    focus.window.event = Uint8(event);
    Push(focus);
    Msg msg;
    ASSERT_TRUE(PeekMessage() && GetMessage(msg));
    EXPECT_EQ(msg.message, WM_ACTIVATEAPP);
    EXPECT_EQ(msg.wParam, active);
    EXPECT_FALSE(Held(VK_LEFT));
  }
}

TEST_F(SdlBackendTest, KeyboardKeysComeFromTheSettings) {
  Settings settings;
  settings.fullscreen = false;
  settings.keys[size_t(GameKey::Up)] = {SDLK_w};
  settings.keys[size_t(GameKey::A)] = {SDLK_DELETE, SDLK_KP_0};
  ASSERT_TRUE(UseSdlBackend(settings));
  ASSERT_TRUE(CreateMainWindow(Proc));
  const std::pair<SDL_Scancode, int> presses[] = {  // 0: the game does not see it
      {SDL_SCANCODE_W, VK_UP}, {SDL_SCANCODE_UP, 0}, {SDL_SCANCODE_DELETE, VK_A}, {SDL_SCANCODE_KP_0, VK_A}, {SDL_SCANCODE_A, 0}};
  for (const auto& [scancode, virtualKey] : presses) {
    PushKey(SDL_KEYDOWN, scancode);
    for (int key : {VK_UP, VK_A}) EXPECT_EQ(Held(key), key == virtualKey) << SDL_GetScancodeName(scancode);
    PushKey(SDL_KEYUP, scancode);
  }
}

TEST_F(SdlBackendTest, ClosingIsAMessageInTheLoopAndAThrowInAScreen) {
  PushQuit();
  Msg msg;
  ASSERT_TRUE(PeekMessage() && GetMessage(msg));
  EXPECT_EQ(msg.message, WM_CLOSE);
  PushQuit();
  EXPECT_THROW(GetTickCount(), QuitRequested);
  // A close request that reached the queue but not the window procedure before a screen
  // started its own loop still ends that screen.
  PushQuit();
  ASSERT_TRUE(PeekMessage());
  EXPECT_THROW(GetAsyncKeyState(VK_ESCAPE), QuitRequested);
  DispatchMessage(Msg{WM_CLOSE, 0, 0});
  EXPECT_FALSE(WindowExists());
  EXPECT_EQ(messages, (std::vector<int>{WM_CLOSE, WM_DESTROY}));

  for (const char* command : {"open voc\\no_such_piece.mid", "play voc\\no_such_piece.mid", "close all", "rewind all"})
    SendMciCommand(command);  // music that is not there, and unknown commands, are passed over
}

TEST_F(SdlBackendTest, GamepadButtonsAndStickActAsTheGameKeys) {
  // The dummy driver's window never has the focus, and SDL keeps pad input from such windows.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  SDL_VirtualJoystickDesc desc{};
  desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION, desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
  desc.naxes = SDL_CONTROLLER_AXIS_MAX, desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
  const int index = SDL_JoystickAttachVirtualEx(&desc);  // plugged in after the game started
  SDL_Joystick* pad = index >= 0 ? SDL_JoystickOpen(index) : nullptr;
  if (pad == nullptr) GTEST_SKIP() << "no virtual joysticks here: " << SDL_GetError();
  auto settle = [] { SDL_Delay(2), GetAsyncKeyState(0); };  // joysticks are read when events are pumped
  auto button = [&](int b, bool down) { SDL_JoystickSetVirtualButton(pad, b, down), settle(); };
  settle();
  const std::pair<int, int> buttons[] = {{SDL_CONTROLLER_BUTTON_DPAD_UP, VK_UP}, {SDL_CONTROLLER_BUTTON_A, VK_RETURN},
      {SDL_CONTROLLER_BUTTON_X, VK_CONTROL}, {SDL_CONTROLLER_BUTTON_B, VK_ESCAPE}, {SDL_CONTROLLER_BUTTON_Y, VK_A}};
  for (const auto& [b, key] : buttons) {
    button(b, true);
    EXPECT_TRUE(Held(key)) << "button " << b;
    button(b, false);
    EXPECT_FALSE(Held(key)) << "button " << b;
  }
  // The stick pushed past half way holds an arrow; let go below a quarter, it is up again.
  for (const auto& [value, held] : {std::pair{-20000, true}, {-12000, true}, {-4000, false}}) {
    SDL_JoystickSetVirtualAxis(pad, SDL_CONTROLLER_AXIS_LEFTX, Sint16(value)), settle();
    EXPECT_EQ(Held(VK_LEFT), held) << "stick at " << value;
  }
  // Pulling the pad out lets go of what it held.
  button(SDL_CONTROLLER_BUTTON_X, true);
  ASSERT_TRUE(Held(VK_CONTROL));
  SDL_JoystickClose(pad);
  SDL_JoystickDetachVirtual(index);
  settle();
  EXPECT_FALSE(Held(VK_CONTROL));
}

// The SDL sound device on SDL's disk audio driver, which writes what would be heard to a file
// (signed 16-bit stereo at 44.1 kHz): effects of either sample size must reach it as sound.
TEST(SdlSound, EffectsOfEitherSampleSizeAreHeardAndEndOnTheirOwnAndNoOutputMeansNoDevice) {
  const std::string output = (std::filesystem::temp_directory_path() / ("tamsel_disk_audio_" + std::to_string(::getpid()))).string();
  tamsel_test::EnvironmentGuard environment;
  environment.Set("SDL_DISKAUDIOFILE", output.c_str());
  // A square wave of a tenth of a second, loud enough to tell from any rounding.
  auto square = [](const WaveFormat& format) {
    std::vector<uint8_t> bytes;
    for (size_t frame = 0; frame < size_t(format.samplesPerSecond) / 10; ++frame)
      for (int channel = 0; channel < format.channels; ++channel) {
        const bool high = frame / 25 % 2 != 0;
        const uint16_t value = high ? 12000 : uint16_t(-12000);
        if (format.bitsPerSample == 8) bytes.push_back(high ? 0xE0 : 0x20);
        else bytes.insert(bytes.end(), {uint8_t(value), uint8_t(value >> 8)});
      }
    return bytes;
  };
  const WaveFormat mono16{kWaveFormatPcm, 1, 22050, 16}, stereo8{kWaveFormatPcm, 2, 11025, 8};
  for (const char* driver : {"disk", "no_such_driver"}) {
    environment.Set("SDL_AUDIODRIVER", driver);
    if (!UseSdlBackend(SdlOptions{.windowed = true})) GTEST_SKIP() << "SDL cannot start here";
    if (driver[0] == 'n') {
      EXPECT_FALSE(OpenSoundDevice());
      EXPECT_EQ(CreateSoundBuffer("x", mono16, square(mono16)), nullptr);
      SendMciCommand("play voc\\back.mid");  // no device, no music: ignored
      break;
    }
    ASSERT_TRUE(OpenSoundDevice());
    SoundBuffer* first = CreateSoundBuffer("mono16", mono16, square(mono16));
    for (SoundBuffer* buffer : {first, CreateSoundBuffer("stereo8", stereo8, square(stereo8))}) {
      ASSERT_NE(buffer, nullptr);
      PlaySoundBuffer(buffer);
      EXPECT_TRUE(SoundBufferPlaying(buffer));
      for (int i = 0; i < 600 && SoundBufferPlaying(buffer); ++i) SDL_Delay(5);
      EXPECT_FALSE(SoundBufferPlaying(buffer)) << "ends on its own";
    }
    SDL_Delay(50);  // the last mixed block reaches the file
    CloseSoundDevice();
    EXPECT_FALSE(SoundBufferPlaying(first));  // gone with the device
    std::vector<int16_t> samples(std::filesystem::file_size(output) / 2);  // the host's byte order
    std::ifstream(output, std::ios::binary).read(reinterpret_cast<char*>(samples.data()), std::streamsize(samples.size() * 2));
    // Two effects of 0.1 s, each 4410 stereo frames once converted to 44.1 kHz.
    EXPECT_GE(std::count_if(samples.begin(), samples.end(), [](int16_t s) { return s > 8000 || s < -8000; }), 2 * 2 * 4410 * 9 / 10);
  }
  headless::UseHeadlessBackend(headless::Options());  // ends SDL
  std::filesystem::remove(output);
}
