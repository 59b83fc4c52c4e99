#include "platform/sdl/sdl_backend.h"

#include <cstdio>
#include <cstring>
#include <ctime>
#include <string>

#include "platform/display_device.h"
#include "platform/sdl/sdl_sound.h"
#include "platform/text.h"

namespace platform::sdl {

namespace {

// Palette loads are shown at most this often, so a fade of 256 loads takes half a second.
constexpr double kPaletteLoadSeconds = 0.002;
// Waiting for a message looks at the window at least this often.
constexpr uint32_t kLongestWaitMs = 100;

// Mouse buttons share the map of physical keys under codes no key uses.
constexpr int kLeftMouseButton = -1;

bool NoOneSeesTheScreen() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver == nullptr || std::strcmp(driver, "dummy") == 0 ||
         std::strcmp(driver, "offscreen") == 0;
}

}  // namespace

SdlBackend::SdlBackend(const SdlOptions& options) : options_(options) {}

SdlBackend::~SdlBackend() {
  screen_.reset();
  CloseSound();  // the sound and the music end before SDL itself
  SDL_Quit();
}

uint32_t SdlBackend::CalendarTimeSeconds() { return uint32_t(std::time(nullptr)); }

void SdlBackend::HideCursor() { SDL_ShowCursor(SDL_DISABLE); }

void SdlBackend::MessageBox(const char* text, const char* caption) {
  const std::string utf8Text = GbkToUtf8(text);
  const std::string utf8Caption = GbkToUtf8(caption);
  std::fprintf(stderr, "%s: %s\n", utf8Caption.c_str(), utf8Text.c_str());
  if (NoOneSeesTheScreen()) return;  // a box nobody can answer would stop the game
  SDL_ShowSimpleMessageBox(SDL_MESSAGEBOX_INFORMATION, utf8Caption.c_str(), utf8Text.c_str(),
                           screen_ ? screen_->Window() : nullptr);
}

void SdlBackend::OutputDebugString(const char* text) { std::fputs(text, stderr); }

void SdlBackend::SendMciCommand(const char* command) {
  if (detail::SoundDevice* sound = Sound()) sound->MusicCommand(command);
}

std::unique_ptr<detail::SoundDevice> SdlBackend::MakeSoundDevice() { return SdlSound::Open(); }

bool SdlBackend::OpenWindow() {
  screen_ = SdlScreen::Open(options_.windowed);
  shown_ = {};
  return screen_ != nullptr;
}

void SdlBackend::CloseWindow() {
  screen_.reset();
  physicalKeys_.ReleaseAll();
}

// Polls that come within the same millisecond as the last look at the window are cheap.
// Otherwise the events are handled and the screen shown if it changed; when nothing at all
// happened the processor gets a millisecond's rest, so a busy-polling screen stays idle.
void SdlBackend::Pump(Poll) {
  const uint32_t now = SDL_GetTicks();
  if (now == lastPumpMs_) {
    PresentIfChanged();
    return;
  }
  lastPumpMs_ = now;
  const bool events = HandleEvents();
  const bool presented = PresentIfChanged();
  if (!events && !presented) SDL_Delay(1);
}

void SdlBackend::WaitForEvent(std::optional<uint32_t> timerDue) {
  uint32_t wait = kLongestWaitMs;
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
      physicalKeys_.Down(event.key.keysym.scancode, VirtualKeyFor(key));
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
  if (!screen_ || detail::CurrentScreenSignature() == shown_) return false;
  Present();
  return true;
}

void SdlBackend::Present() {
  if (!screen_) return;
  shown_ = detail::CurrentScreenSignature();
  DisplayDevice* device = CurrentDisplayDevice();
  static const Palette kBlack{};
  screen_->Present(device != nullptr ? device->Primary() : nullptr,
                   device != nullptr ? device->CurrentPalette() : kBlack);
}

void SdlBackend::OnPaletteLoad() {
  Present();
  const uint64_t frequency = SDL_GetPerformanceFrequency();
  const uint64_t spacing = uint64_t(double(frequency) * kPaletteLoadSeconds);
  uint64_t now = SDL_GetPerformanceCounter();
  while (now - lastPaletteLoad_ < spacing) {
    const uint64_t remaining = spacing - (now - lastPaletteLoad_);
    if (remaining * 1000 >= frequency) SDL_Delay(1);
    now = SDL_GetPerformanceCounter();
  }
  lastPaletteLoad_ = now;
}

}  // namespace platform::sdl
