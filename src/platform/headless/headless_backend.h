// The test backend: no window system, a virtual clock that moves only when the game polls,
// a scripted keyboard, and logs of what the game did.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/backend_interface.h"
#include "platform/headless/script_player.h"
#include "platform/screen_signature.h"

namespace platform::headless {

class HeadlessBackend final : public detail::Backend, private ScriptPlayer::Output {
 public:
  explicit HeadlessBackend(const Options& options);
  ~HeadlessBackend() override { CloseSound(); }

  Log& MutableLog() { return log_; }
  const Log& GetLog() const { return log_; }
  detail::KeyState& Keys() { return keys_; }
  ScriptPlayer& Script() { return script_; }
  uint32_t Now() const { return now_; }
  std::optional<int> StalledLine() const {
    return stalledLine_ ? stalledLine_ : script_.UnplayedLine();
  }
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
  uint32_t ClockNow() const override { return now_; }
  void Pump(Poll poll) override;
  void WaitForEvent(std::optional<uint32_t> timerDue) override;
  bool OpenWindow() override { return !options_.faults.failWindow; }
  void CloseWindow() override {}
  std::unique_ptr<detail::SoundDevice> MakeSoundDevice() override;
  void KeyQueried(int virtualKey, bool down) override { script_.NoteKeyQuery(virtualKey, down); }

 private:
  void WriteShot(const Step& step) override;
  void WriteState(const Step& step) override;
  void PresentIfChanged();
  void ShowPaletteLoad();
  void CheckForEnd();

  Options options_;
  Log log_;
  ScriptPlayer script_;
  uint32_t now_ = 0;
  bool scriptEndReported_ = false;
  bool timeLimitReported_ = false;
  std::optional<int> stalledLine_;  // the step in progress when the time limit passed
  detail::ScreenSignature shown_;
};

}  // namespace platform::headless
