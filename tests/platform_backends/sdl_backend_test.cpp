// The SDL backend on SDL's dummy video driver (set for the test run) and its sound on the disk
// audio driver; skipped where SDL cannot start at all.
#include <SDL.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "environment_guard.h"
#include "headless_fixture.h"
#include "platform/display_device.h"
#include "platform/sound.h"

using namespace platform;

namespace {

std::vector<int> messages;

intptr_t Proc(int message, intptr_t wParam, intptr_t lParam) {
  messages.push_back(message);
  return DefWindowProc(message, wParam, lParam);
}

// A key event as the keyboard sends it; the next poll is in a later millisecond, so it looks at it.
void PushKey(Uint32 type, SDL_Scancode scancode, Uint16 mod = KMOD_NONE) {
  SDL_Event event{};
  event.type = type;
  event.key.keysym.sym = SDL_GetKeyFromScancode(scancode);
  event.key.keysym.scancode = scancode;
  event.key.keysym.mod = mod;
  SDL_PushEvent(&event);
  SDL_Delay(2);
}
void Tap(SDL_Scancode scancode, Uint16 mod = KMOD_NONE) {
  PushKey(SDL_KEYDOWN, scancode, mod);
  PushKey(SDL_KEYUP, scancode, mod);
}
void PushQuit() {
  SDL_Event quit{};
  quit.type = SDL_QUIT;
  SDL_PushEvent(&quit);
  SDL_Delay(2);
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
  Tap(SDL_SCANCODE_KP_ENTER);
  EXPECT_NE(GetAsyncKeyState(VK_RETURN), 0);  // the tap between polls
  EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0);

  // Either Ctrl holds CONTROL; it is up only when both are.
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_LCTRL);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_RCTRL);
  PushKey(SDL_KEYUP, SDL_SCANCODE_LCTRL);
  EXPECT_NE(GetAsyncKeyState(VK_CONTROL), 0);
  EXPECT_NE(GetAsyncKeyState(VK_CONTROL), 0);
  PushKey(SDL_KEYUP, SDL_SCANCODE_RCTRL);
  EXPECT_EQ(GetAsyncKeyState(VK_CONTROL), 0);

  // Alt+Enter switches the screen mode and is not the game's ENTER.
  Tap(SDL_SCANCODE_RETURN, KMOD_LALT);
  EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0);
}

TEST_F(SdlBackendTest, ClosingIsAMessageInTheLoopAndAThrowInAScreen) {
  PushQuit();
  ASSERT_TRUE(PeekMessage());
  Msg msg;
  ASSERT_TRUE(GetMessage(msg));
  EXPECT_EQ(msg.message, WM_CLOSE);
  PushQuit();
  EXPECT_THROW(GetTickCount(), QuitRequested);

  // A close request that reached the queue but not the window procedure before a screen
  // started its own loop still ends that screen.
  PushQuit();
  ASSERT_TRUE(PeekMessage());
  EXPECT_THROW(GetAsyncKeyState(VK_ESCAPE), QuitRequested);
  EXPECT_TRUE(WindowExists());
  DispatchMessage(Msg{WM_CLOSE, 0, 0});
  EXPECT_FALSE(WindowExists());
  EXPECT_EQ(messages, (std::vector<int>{WM_CLOSE, WM_DESTROY}));
}

TEST_F(SdlBackendTest, TimerTicksOnTheRealClockAndPaletteLoadsArePaced) {
  DisplayDevice* device = OpenDisplayDevice();
  ASSERT_NE(device, nullptr);
  Surface* primary = device->CreatePrimaryWithBackBuffer();
  ASSERT_NE(primary, nullptr);
  auto palette = device->CreatePalette(Palette{});
  device->AttachPalette(palette);
  FillSurface(*primary, 4);
  Palette entries{};
  entries[4] = PaletteEntry{255, 0, 0, 0};

  const uint32_t start = GetTickCount();
  SetTimer(1, 20);
  Msg msg;
  ASSERT_TRUE(GetMessage(msg));
  EXPECT_EQ(msg.message, WM_TIMER);
  EXPECT_GE(GetTickCount() - start, 20u);

  // A fade of 256 loads takes about half a second, not an instant; each load is a poll, so
  // closing the window ends a fade at the next one.
  const uint32_t fadeStart = GetTickCount();
  for (int i = 0; i < 25; ++i) palette->SetEntries(entries);
  EXPECT_GE(GetTickCount() - fadeStart, 40u);
  PushQuit();
  EXPECT_THROW(palette->SetEntries(entries), QuitRequested);
  // Music that is not there, and commands nobody knows, are passed over.
  for (const char* command : {"open voc\\no_such_piece.mid", "play voc\\no_such_piece.mid", "close all", "rewind all"})
    SendMciCommand(command);
}

namespace {

// Lets the backend look at SDL's events (joysticks are read when events are pumped).
void Settle() {
  SDL_Delay(2);
  GetAsyncKeyState(0);
}

// A standard game pad on SDL's virtual joystick driver.
struct VirtualPad {
  VirtualPad() {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    index = SDL_JoystickAttachVirtualEx(&desc);
    if (index >= 0) joystick = SDL_JoystickOpen(index);
  }
  ~VirtualPad() { Detach(); }
  void Button(int button, bool down) { SDL_JoystickSetVirtualButton(joystick, button, down), Settle(); }
  void Axis(int axis, int value) { SDL_JoystickSetVirtualAxis(joystick, axis, Sint16(value)), Settle(); }
  void Detach() {
    if (joystick == nullptr) return;
    SDL_JoystickClose(joystick);
    SDL_JoystickDetachVirtual(index);
    joystick = nullptr;
    Settle();
  }
  int index = -1;
  SDL_Joystick* joystick = nullptr;
};

// True when the key is held now (ignoring the "pressed since" mark of an earlier press).
bool Held(int virtualKey) {
  GetAsyncKeyState(virtualKey);
  return GetAsyncKeyState(virtualKey) != 0;
}

}  // namespace

TEST_F(SdlBackendTest, GamepadButtonsAndStickActAsTheGameKeys) {
  // The dummy driver's window never has the focus, and SDL keeps pad input from such windows.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  VirtualPad pad;  // plugged in after the game started
  if (pad.joystick == nullptr) GTEST_SKIP() << "no virtual joysticks here: " << SDL_GetError();
  Settle();
  const std::pair<int, int> buttons[] = {
      {SDL_CONTROLLER_BUTTON_DPAD_UP, VK_UP},     {SDL_CONTROLLER_BUTTON_DPAD_DOWN, VK_DOWN},
      {SDL_CONTROLLER_BUTTON_DPAD_LEFT, VK_LEFT}, {SDL_CONTROLLER_BUTTON_DPAD_RIGHT, VK_RIGHT},
      {SDL_CONTROLLER_BUTTON_A, VK_RETURN},       {SDL_CONTROLLER_BUTTON_X, VK_CONTROL},
      {SDL_CONTROLLER_BUTTON_B, VK_ESCAPE},       {SDL_CONTROLLER_BUTTON_BACK, VK_ESCAPE},
      {SDL_CONTROLLER_BUTTON_Y, VK_A}};
  for (const auto& [button, key] : buttons) {
    pad.Button(button, true);
    EXPECT_TRUE(Held(key)) << "button " << button;
    pad.Button(button, false);
    EXPECT_FALSE(Held(key)) << "button " << button;
  }
  // The stick is pushed past half way and let go below a quarter, in each direction.
  const struct { int axis, value, key; bool held; } stick[] = {
      {SDL_CONTROLLER_AXIS_LEFTX, -32768, VK_LEFT, true},  {SDL_CONTROLLER_AXIS_LEFTX, -12000, VK_LEFT, true},
      {SDL_CONTROLLER_AXIS_LEFTX, -4000, VK_LEFT, false},  {SDL_CONTROLLER_AXIS_LEFTX, 12000, VK_RIGHT, false},
      {SDL_CONTROLLER_AXIS_LEFTX, 20000, VK_RIGHT, true},  {SDL_CONTROLLER_AXIS_LEFTX, 0, VK_RIGHT, false},
      {SDL_CONTROLLER_AXIS_LEFTY, -20000, VK_UP, true},    {SDL_CONTROLLER_AXIS_LEFTY, 32767, VK_DOWN, true},
      {SDL_CONTROLLER_AXIS_LEFTY, 32767, VK_UP, false},    {SDL_CONTROLLER_AXIS_RIGHTX, 32767, VK_RIGHT, false},
  };
  for (const auto& step : stick) {
    pad.Axis(step.axis, step.value);
    EXPECT_EQ(Held(step.key), step.held) << "axis " << step.axis << " at " << step.value;
  }
  // The d-pad and the keyboard share the arrow: it is up only when both are.
  pad.Axis(SDL_CONTROLLER_AXIS_LEFTY, 0);
  pad.Button(SDL_CONTROLLER_BUTTON_DPAD_UP, true);
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_UP);
  pad.Button(SDL_CONTROLLER_BUTTON_DPAD_UP, false);
  EXPECT_TRUE(Held(VK_UP));
  PushKey(SDL_KEYUP, SDL_SCANCODE_UP);
  EXPECT_FALSE(Held(VK_UP));
  // Pulling the pad out lets go of what it held.
  pad.Button(SDL_CONTROLLER_BUTTON_X, true);
  ASSERT_TRUE(Held(VK_CONTROL));
  pad.Detach();
  EXPECT_FALSE(Held(VK_CONTROL));
}

TEST_F(SdlBackendTest, KeyboardKeysComeFromTheSettings) {
  Settings settings;
  settings.fullscreen = false;
  settings.keys[size_t(GameKey::Up)] = {SDLK_w};
  settings.keys[size_t(GameKey::A)] = {SDLK_DELETE, SDLK_KP_0};
  ASSERT_TRUE(UseSdlBackend(settings));
  ASSERT_TRUE(CreateMainWindow(Proc));
  const std::pair<SDL_Scancode, int> presses[] = {  // 0: the game does not see it
      {SDL_SCANCODE_W, VK_UP}, {SDL_SCANCODE_UP, 0}, {SDL_SCANCODE_DELETE, VK_A}, {SDL_SCANCODE_KP_0, VK_A},
      {SDL_SCANCODE_A, 0}};
  for (const auto& [scancode, virtualKey] : presses) {
    PushKey(SDL_KEYDOWN, scancode);
    for (int key : {VK_UP, VK_A}) EXPECT_EQ(Held(key), key == virtualKey) << SDL_GetScancodeName(scancode);
    PushKey(SDL_KEYUP, scancode);
  }
}

TEST_F(SdlBackendTest, F12WritesTheVisiblePageIntoThePicturesFolder) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("tamsel_f12_" + std::to_string(::getpid()));
  std::filesystem::remove_all(folder);
  tamsel_test::EnvironmentGuard environment;
  environment.Set("XDG_PICTURES_DIR", folder.c_str());
  DisplayDevice* device = OpenDisplayDevice();
  ASSERT_NE(device, nullptr);
  Surface* primary = device->CreatePrimaryWithBackBuffer();
  ASSERT_NE(primary, nullptr);
  FillSurface(*primary, 7);

  Tap(SDL_SCANCODE_F12);
  GetAsyncKeyState(0);
  std::vector<std::filesystem::path> shots;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) shots.push_back(entry.path());
  ASSERT_EQ(shots.size(), 1u);
  EXPECT_EQ(shots[0].extension(), ".png");
  EXPECT_GT(std::filesystem::file_size(shots[0]), 100u);
  std::filesystem::remove_all(folder);
}

TEST_F(SdlBackendTest, LosingTheFocusLetsGoOfKeysAndDeactivatesTheGame) {
  PushKey(SDL_KEYDOWN, SDL_SCANCODE_LEFT);
  ASSERT_TRUE(Held(VK_LEFT));
  for (const auto& [event, active] : {std::pair{SDL_WINDOWEVENT_FOCUS_LOST, 0}, std::pair{SDL_WINDOWEVENT_FOCUS_GAINED, 1}}) {
    SDL_Event focus{};
    focus.type = SDL_WINDOWEVENT;
    focus.window.event = Uint8(event);
    SDL_PushEvent(&focus);
    SDL_Delay(2);
    Msg msg;
    ASSERT_TRUE(PeekMessage());
    ASSERT_TRUE(GetMessage(msg));
    EXPECT_EQ(msg.message, WM_ACTIVATEAPP);
    EXPECT_EQ(msg.wParam, active);
    EXPECT_FALSE(Held(VK_LEFT));
  }
}

// The SDL sound device on SDL's disk audio driver, which writes what would be heard to a file
// (signed 16-bit stereo at 44.1 kHz): an effect must reach it as sound, not silence.
namespace {

// A square wave of the given length, loud enough to tell from any rounding.
std::vector<uint8_t> SquareWave(const WaveFormat& format, int milliseconds) {
  std::vector<uint8_t> bytes;
  const size_t frames = size_t(format.samplesPerSecond) * size_t(milliseconds) / 1000;
  for (size_t frame = 0; frame < frames; ++frame) {
    const bool high = frame / 25 % 2 != 0;
    const uint16_t value = high ? 12000 : uint16_t(-12000);
    for (int channel = 0; channel < format.channels; ++channel) {
      if (format.bitsPerSample == 8) bytes.push_back(high ? 0xE0 : 0x20);
      else bytes.insert(bytes.end(), {uint8_t(value), uint8_t(value >> 8)});
    }
  }
  return bytes;
}

// Waits, on the real clock, until the buffer has finished; false after a generous bound.
bool EndsOnItsOwn(const SoundBuffer* buffer) {
  for (int i = 0; i < 600 && SoundBufferPlaying(buffer); ++i) SDL_Delay(5);
  return !SoundBufferPlaying(buffer);
}

class SdlSoundTest : public ::testing::Test {
 protected:
  void UseDriver(const char* driver) {
    setenv("SDL_AUDIODRIVER", driver, 1);
    setenv("SDL_DISKAUDIOFILE", output_.c_str(), 1);
    if (!UseSdlBackend(SdlOptions{.windowed = true})) GTEST_SKIP() << "SDL cannot start here";
  }
  void TearDown() override {
    headless::UseHeadlessBackend(tamsel_test::OpenEndedOptions());  // ends SDL
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    unsetenv("SDL_DISKAUDIOFILE");
    std::filesystem::remove(output_);
  }
  const std::string output_ =
      (std::filesystem::temp_directory_path() / ("tamsel_disk_audio_" + std::to_string(::getpid()) + ".raw")).string();
};

}  // namespace

TEST_F(SdlSoundTest, EffectsOfEitherSampleSizeAreHeardAndEndOnTheirOwn) {
  UseDriver("disk");
  ASSERT_TRUE(OpenSoundDevice());
  const WaveFormat mono16{kWaveFormatPcm, 1, 22050, 16};
  const WaveFormat stereo8{kWaveFormatPcm, 2, 11025, 8};
  SoundBuffer* first = CreateSoundBuffer("mono16", mono16, SquareWave(mono16, 100));
  SoundBuffer* second = CreateSoundBuffer("stereo8", stereo8, SquareWave(stereo8, 100));
  for (SoundBuffer* buffer : {first, second}) {
    ASSERT_NE(buffer, nullptr);
    PlaySoundBuffer(buffer);
    EXPECT_TRUE(SoundBufferPlaying(buffer));
    EXPECT_TRUE(EndsOnItsOwn(buffer));
  }
  SDL_Delay(50);  // the last mixed block reaches the file
  CloseSoundDevice();
  EXPECT_FALSE(SoundBufferPlaying(first));  // gone with the device

  std::vector<int16_t> samples(std::filesystem::file_size(output_) / 2);  // the host's byte order
  std::ifstream(output_, std::ios::binary).read(reinterpret_cast<char*>(samples.data()), std::streamsize(samples.size() * 2));
  // Two effects of 0.1 s, each 4410 stereo frames once converted to 44.1 kHz.
  EXPECT_GE(std::count_if(samples.begin(), samples.end(), [](int16_t s) { return s > 8000 || s < -8000; }),
            2 * 2 * 4410 * 9 / 10);
}

TEST_F(SdlSoundTest, NoAudioOutputMeansNoDeviceAndNoBuffers) {
  UseDriver("no_such_driver");
  EXPECT_FALSE(OpenSoundDevice());
  const WaveFormat format{kWaveFormatPcm, 1, 22050, 16};
  EXPECT_EQ(CreateSoundBuffer("x", format, SquareWave(format, 10)), nullptr);
  SendMciCommand("play voc\\back.mid");  // no device, no music: ignored
}
