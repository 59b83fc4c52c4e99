#include "platform/sdl/sdl_backend.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "platform/display_device.h"
#include "platform/files/user_dirs.h"
#include "platform/pixels/game_icon.h"
#include "platform/pixels/screenshot.h"
#include "platform/sdl/modal_box.h"
#include "platform/sdl/sdl_sound.h"
#include "platform/text.h"

namespace platform::sdl {

namespace {

// When the display does not say how often it refreshes.
constexpr int kDefaultRefreshHz = 60;
// A fade that falls this many loads behind its schedule (the game was busy, or this is a new
// fade) starts a fresh schedule instead of rushing to catch up.
constexpr uint64_t kMostLoadsBehind = 8;
// A busy-polling screen rests a millisecond per poll while anything happens; once nothing has
// (no event, nothing new shown) for a quarter of a second it rests a little longer, so a
// player standing still costs almost nothing. Input and drawing bring the short rest back.
constexpr uint32_t kShortRestMs = 1;
constexpr uint32_t kLongRestMs = 4;
constexpr uint32_t kQuietBeforeLongRestMs = 250;
// Waiting for a message looks at the window at least this often.
constexpr uint32_t kLongestWaitMs = 100;

// Mouse buttons share the map of physical keys under codes no key uses.
constexpr int kLeftMouseButton = -1;

// During the demo the player's keys, buttons and gamepads play no part (the script does);
// closing the window, Alt+Enter and F12 still work.
bool DemoIgnores(const SDL_Event& event) {
  switch (event.type) {
    case SDL_KEYDOWN:
      return event.key.keysym.sym != SDLK_F12 &&
             !((event.key.keysym.sym == SDLK_RETURN || event.key.keysym.sym == SDLK_KP_ENTER) &&
               (event.key.keysym.mod & KMOD_ALT) != 0);
    case SDL_KEYUP:
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP:
    case SDL_CONTROLLERAXISMOTION:
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
    case SDL_JOYAXISMOTION:
    case SDL_JOYHATMOTION:
      return true;
    case SDL_WINDOWEVENT:
      // The demo plays on without the focus, as its headless run does, its keys held.
      return event.window.event == SDL_WINDOWEVENT_FOCUS_LOST ||
             event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED;
    default:
      return false;
  }
}

bool NoOneSeesTheScreen() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver == nullptr || std::strcmp(driver, "dummy") == 0 ||
         std::strcmp(driver, "offscreen") == 0;
}

// A volume of 0 to 100 as SDL_mixer counts it, 0 to 128.
int MixerVolume(int volume) { return std::clamp(volume, 0, kMaxVolume) * MIX_MAX_VOLUME / kMaxVolume; }

}  // namespace

SdlBackend::SdlBackend(const Settings& settings, const headless::Options* demo)
    : settings_(settings), keyMap_(settings) {
  if (demo != nullptr) demo_.emplace(*demo, keys_);
}

SdlBackend::~SdlBackend() {
  screen_.reset();
  CloseSound();  // the sound and the music end before SDL itself
  SDL_Quit();
}

// The demo's wandering characters walk as they did when its script was recorded.
uint32_t SdlBackend::CalendarTimeSeconds() {
  return demo_ ? demo_->Seed() : uint32_t(std::time(nullptr));
}

void SdlBackend::HideCursor() { SDL_ShowCursor(SDL_DISABLE); }

void SdlBackend::MessageBox(const char* text, const char* caption) {
  const std::string utf8Text = GbkToUtf8(text);
  const std::string utf8Caption = GbkToUtf8(caption);
  std::fprintf(stderr, "%s: %s\n", utf8Caption.c_str(), utf8Text.c_str());
  if (NoOneSeesTheScreen()) return;  // a box nobody can answer would stop the game
  const TerminationByDefault endsTheGame;  // a SIGTERM while the box is up ends it all
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, utf8Caption.c_str(), utf8Text.c_str(),
                           screen_ ? screen_->Window() : nullptr);
}

void SdlBackend::OutputDebugString(const char* text) { std::fputs(text, stderr); }

void SdlBackend::SendMciCommand(const char* command) {
  if (detail::SoundDevice* sound = Sound()) sound->MusicCommand(command);
}

std::unique_ptr<detail::SoundDevice> SdlBackend::MakeSoundDevice() {
  auto sound = SdlSound::Open();
  // The effects' volume is the mixer's master volume over every channel, so it holds however
  // many channels the effects take; the music's volume is its synthesiser's gain.
  if (sound) Mix_MasterVolume(MixerVolume(settings_.effectsVolume));
  return sound;
}

bool SdlBackend::OpenWindow() {
  screen_ = SdlScreen::Open(settings_);
  shown_ = {};
  if (!screen_) return false;
  if (const auto sheet = LoadBitmapFile(HostPath("pic\\player.bmp"))) {
    if (const auto icon = GameIcon(*sheet, 2)) screen_->SetIcon(*icon);
  }
  SDL_DisplayMode mode{};
  const int display = SDL_GetWindowDisplayIndex(screen_->Window());
  const int hz = display >= 0 && SDL_GetCurrentDisplayMode(display, &mode) == 0 && mode.refresh_rate > 0
                     ? mode.refresh_rate
                     : kDefaultRefreshHz;
  refreshTicks_ = SDL_GetPerformanceFrequency() / uint64_t(hz);
  return true;
}

void SdlBackend::CloseWindow() {
  screen_.reset();
  physicalKeys_.ReleaseAll();
}

// Polls that come within the same millisecond as the last look at the window are cheap.
// Otherwise the events are handled and the screen shown if it changed; when nothing at all
// happened the processor gets a rest, so a busy-polling screen stays idle.
// A palette load always looks at the events (a close ends a fade at once) and then waits for
// its turn in the fade.
void SdlBackend::Pump(Poll poll) {
  if (poll == Poll::PaletteLoad) {
    HandleEvents();
    PresentIfChanged();
    PaceFade();
    return;
  }
  if (demo_) {
    HandleEvents();
    PresentIfChanged();
    if (demo_->Poll()) RequestQuit();
    return;
  }
  const uint32_t now = SDL_GetTicks();
  if (now == lastPumpMs_) {
    PresentIfChanged();
    return;
  }
  lastPumpMs_ = now;
  const bool events = HandleEvents();
  const bool presented = PresentIfChanged();
  if (events || presented) {
    lastActivityMs_ = now;
    return;
  }
  SDL_Delay(now - lastActivityMs_ >= kQuietBeforeLongRestMs ? kLongRestMs : kShortRestMs);
}

void SdlBackend::WaitForEvent(std::optional<uint32_t> timerDue) {
  if (demo_) {
    if (demo_->Wait(timerDue)) RequestQuit();
    return;
  }
  uint32_t wait = kLongestWaitMs;
  if (screen_ && detail::CurrentScreenSignature() != shown_) {
    // A change waits to be shown: look again when the display allows it.
    const uint64_t ticks = UntilNextPresent();
    wait = std::min<uint32_t>(wait, uint32_t(ticks * 1000 / SDL_GetPerformanceFrequency()) + 1);
  }
  if (timerDue) {
    const int32_t untilTick = int32_t(*timerDue - SDL_GetTicks());
    if (untilTick <= 0) return;
    wait = std::min<uint32_t>(wait, uint32_t(untilTick));
  }
  SDL_WaitEventTimeout(nullptr, int(wait));
}

bool SdlBackend::HandleEvents() {
  bool any = false;
  SDL_Event event;
  while (SDL_PollEvent(&event)) {
    any = true;
    HandleEvent(event);
  }
  return any;
}

void SdlBackend::HandleEvent(const SDL_Event& event) {
  if (demo_ && DemoIgnores(event)) return;
  if (gamepads_.Handle(event)) return;
  switch (event.type) {
    case SDL_QUIT:
      RequestClose();
      break;
    case SDL_KEYDOWN: {
      if (event.key.repeat != 0) break;
      const SDL_Keycode key = event.key.keysym.sym;
      const bool enter = key == SDLK_RETURN || key == SDLK_KP_ENTER;
      if (enter && (event.key.keysym.mod & KMOD_ALT) != 0) {
        if (screen_) screen_->ToggleFullscreen();  // Alt+Enter is not the game's ENTER
        break;
      }
      if (key == SDLK_F12) {
        TakeScreenshot();
        break;
      }
      physicalKeys_.Down(event.key.keysym.scancode, keyMap_.VirtualKeyFor(key));
      break;
    }
    case SDL_KEYUP:
      physicalKeys_.Up(event.key.keysym.scancode);
      break;
    case SDL_MOUSEBUTTONDOWN:
      if (event.button.button == SDL_BUTTON_LEFT) physicalKeys_.Down(kLeftMouseButton, VK_LBUTTON);
      break;
    case SDL_MOUSEBUTTONUP:
      if (event.button.button == SDL_BUTTON_LEFT) physicalKeys_.Up(kLeftMouseButton);
      break;
    case SDL_WINDOWEVENT:
      switch (event.window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
          PostMessage(WM_ACTIVATEAPP, 1, 0);
          break;
        case SDL_WINDOWEVENT_FOCUS_LOST:
          physicalKeys_.ReleaseAll();
          PostMessage(WM_ACTIVATEAPP, 0, 0);
          break;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
          shown_ = {};  // show the page again at once
          break;
        default:
          break;
      }
      break;
    default:
      break;
  }
}

bool SdlBackend::PresentIfChanged() {
  if (!screen_ || detail::CurrentScreenSignature() == shown_ || UntilNextPresent() > 0) return false;
  Present();
  return true;
}

uint64_t SdlBackend::UntilNextPresent() const {
  const uint64_t since = SDL_GetPerformanceCounter() - lastPresent_;
  return since >= refreshTicks_ ? 0 : refreshTicks_ - since;
}

void SdlBackend::Present() {
  if (!screen_) return;
  shown_ = detail::CurrentScreenSignature();
  DisplayDevice* device = CurrentDisplayDevice();
  static const Palette kBlack{};
  screen_->Present(device != nullptr ? device->Primary() : nullptr,
                   device != nullptr ? device->CurrentPalette() : kBlack);
  lastPresent_ = SDL_GetPerformanceCounter();
}

void SdlBackend::TakeScreenshot() {
  DisplayDevice* device = CurrentDisplayDevice();
  if (device == nullptr || device->Primary() == nullptr) return;
  const std::string path = SaveScreenshot(*device->Primary(), device->CurrentPalette(),
                                          PicturesDirectory(), std::time(nullptr));
  if (path.empty()) {
    std::fprintf(stderr, "tamsel: cannot save a screenshot in %s\n", PicturesDirectory().c_str());
  } else {
    std::fprintf(stderr, "tamsel: screenshot saved as %s\n", path.c_str());
  }
}

// The loads of a fade are due one every kPaletteLoadMilliseconds. The wait sleeps whole
// milliseconds and never spins: a load that comes less than a millisecond early goes at once,
// and the schedule, not the sleeps, keeps the fade's length.
void SdlBackend::PaceFade() {
  const uint64_t frequency = SDL_GetPerformanceFrequency();
  const uint64_t spacing = frequency * detail::kPaletteLoadMilliseconds / 1000;
  const uint64_t now = SDL_GetPerformanceCounter();
  if (int64_t(now - nextPaletteLoad_) > int64_t(spacing * kMostLoadsBehind)) nextPaletteLoad_ = now;
  nextPaletteLoad_ += spacing;
  const int64_t early = int64_t(nextPaletteLoad_ - now);
  const uint32_t sleepMs = early > 0 ? uint32_t(uint64_t(early) * 1000 / frequency) : 0;
  if (sleepMs > 0) SDL_Delay(sleepMs);
}

}  // namespace platform::sdl
