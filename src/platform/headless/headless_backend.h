// The test backend: no window system, a virtual clock that moves only when the game polls,
// a scripted keyboard, and logs of what the game did.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/backend/backend_interface.h"
#include "platform/headless/script_run.h"
#include "platform/pixels/screen_signature.h"

namespace platform::headless {

class HeadlessBackend final : public detail::Backend, private ScriptPlayer::Output {
 public:
  explicit HeadlessBackend(const Options& options);
  ~HeadlessBackend() override { CloseSound(); }

  Log& MutableLog() { return log_; }
  const Log& GetLog() const { return log_; }
  detail::KeyState& Keys() { return keys_; }
  ScriptPlayer& Script() { return run_.Script(); }
  uint32_t Now() const { return run_.Now(); }
  std::optional<int> StalledScriptLine() const override { return run_.StalledLine(); }
  // Moves the clock on and plays what the script has due meanwhile (may request the end).
  void AdvanceClock(uint32_t milliseconds);

  uint32_t CalendarTimeSeconds() override { return options_.seed; }
  void HideCursor() override {}
  void MessageBox(const char* text, const char* caption) override;
  void OutputDebugString(const char* text) override;
  void SendMciCommand(const char* command) override;
  const Faults* ActiveFaults() const override { return &options_.faults; }
  void OnFlip() override { ++log_.flips; }

 protected:
  uint32_t ClockNow() const override { return run_.Now(); }
  void Pump(Poll poll) override;
  void WaitForEvent(std::optional<uint32_t> timerDue) override;
  bool OpenWindow() override { return !options_.faults.failWindow; }
  void CloseWindow() override {}
  std::unique_ptr<detail::SoundDevice> MakeSoundDevice() override;
  void KeyQueried(int virtualKey, bool down) override {
    run_.Script().NoteKeyQuery(virtualKey, down);
  }

 private:
  void WriteShot(const Step& step) override;
  void WriteState(const Step& step) override;
  void PresentIfChanged();
  void ShowPaletteLoad();

  Options options_;
  Log log_;
  ScriptRun run_;
  detail::ScreenSignature shown_;
};

}  // namespace platform::headless
