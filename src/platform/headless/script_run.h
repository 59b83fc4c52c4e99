// A script playing the game on a virtual clock: the clock moves only when the game polls or
// waits, the script's steps play as they come due, and the run ends when the script has played
// its last step, or when the time limit passes with steps left (it stalled). The headless
// backend runs on it, and so does the demo in a real window, so both play the very same game.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/backend/backend.h"
#include "platform/headless/script_player.h"

namespace platform::headless {

class ScriptRun {
 public:
  ScriptRun(const Options& options, detail::KeyState& keys, ScriptPlayer::Output& output)
      : options_(options), script_(keys, output) {
    script_.Append(options.script);
  }

  // The clock (a reference that follows it, for the sound device's effects).
  const uint32_t& Now() const { return now_; }
  ScriptPlayer& Script() { return script_; }
  const ScriptPlayer& Script() const { return script_; }

  // Moves the clock on and plays the steps due meanwhile. True once when the run should end
  // (the script is over, or the time limit passed), and once more if the game carried on
  // after the first until the limit.
  bool Advance(uint32_t milliseconds);
  // A poll of the game's: the clock moves the poll step.
  bool Poll() { return Advance(options_.millisecondsPerPoll); }
  // How far the clock moves while the game waits for a message: a poll step, stopping at the
  // next timer tick, so the script keeps its pace while the game sleeps.
  uint32_t WaitStep(std::optional<uint32_t> timerDue) const;
  // The step in progress when the time limit passed, if it did with steps left.
  std::optional<int> TimedOutLine() const { return timedOutLine_; }
  // Once the run is over: the first step not played (see StalledScriptLine).
  std::optional<int> StalledLine() const {
    return timedOutLine_ ? timedOutLine_ : script_.UnplayedLine();
  }

 private:
  const Options& options_;
  ScriptPlayer script_;
  uint32_t now_ = 0;
  bool scriptEndReported_ = false;
  bool timeLimitReported_ = false;
  std::optional<int> timedOutLine_;
};

}  // namespace platform::headless
