// The real backend: an SDL window showing the front page, the keyboard and gamepads, the
// millisecond clock, message boxes, standard-error debug output, the sound device with the
// music, and screenshots.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/backend/backend_interface.h"
#include "platform/pixels/screen_signature.h"
#include "platform/sdl/sdl_demo.h"
#include "platform/sdl/sdl_gamepad.h"
#include "platform/sdl/sdl_keys.h"
#include "platform/sdl/sdl_screen.h"

namespace platform::sdl {

class SdlBackend final : public detail::Backend {
 public:
  // With a demo, its script plays instead of the keyboard, mouse and gamepads.
  explicit SdlBackend(const Settings& settings, const headless::Options* demo = nullptr);
  ~SdlBackend() override;

  uint32_t CalendarTimeSeconds() override;
  void HideCursor() override;
  void MessageBox(const char* text, const char* caption) override;
  void OutputDebugString(const char* text) override;
  void SendMciCommand(const char* command) override;
  void OnFlip() override { PresentIfChanged(); }
  std::optional<int> StalledScriptLine() const override {
    return demo_ ? demo_->TimedOutLine() : std::nullopt;
  }

 protected:
  uint32_t ClockNow() const override { return demo_ ? demo_->Now() : SDL_GetTicks(); }
  void Pump(Poll poll) override;
  void WaitForEvent(std::optional<uint32_t> timerDue) override;
  bool OpenWindow() override;
  void CloseWindow() override;
  std::unique_ptr<detail::SoundDevice> MakeSoundDevice() override;
  void KeyQueried(int virtualKey, bool down) override {
    if (demo_) demo_->NoteKeyQuery(virtualKey, down);
  }

 private:
  // Handles the events waiting; true when any arrived.
  bool HandleEvents();
  void HandleEvent(const SDL_Event& event);
  // Shows the front page when it or the palette changed since last shown, unless the screen
  // was shown less than a display refresh ago (then a later poll shows it).
  bool PresentIfChanged();
  void Present();
  // Writes the visible page to the pictures folder and says where on standard error.
  void TakeScreenshot();
  // Performance-counter ticks until a present is allowed again; 0 when it is.
  uint64_t UntilNextPresent() const;
  // Holds a palette load until its place in the fade's schedule.
  void PaceFade();

  Settings settings_;
  std::optional<DemoRun> demo_;
  std::unique_ptr<SdlScreen> screen_;
  KeyMap keyMap_;
  PhysicalKeys physicalKeys_{keys_};
  Gamepads gamepads_{physicalKeys_};
  detail::ScreenSignature shown_;
  uint32_t lastPumpMs_ = 0;
  uint32_t lastActivityMs_ = 0;   // the last look at the window that found events or showed something
  uint64_t refreshTicks_ = 0;     // one display refresh, in performance-counter ticks
  uint64_t lastPresent_ = 0;      // performance counter at the last present
  uint64_t nextPaletteLoad_ = 0;  // performance counter when the next load of a fade is due
};

}  // namespace platform::sdl
