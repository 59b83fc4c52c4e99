// The demo in a real window: the playthrough script plays instead of the player. Its clock is
// the headless run's virtual clock (a millisecond a poll, standing still through a fade), so the
// demo is that very run, down to where every wandering character steps; the clock is only held
// back to the wall clock, so that the story plays at the game's own pace. It writes no files.
#pragma once

#include <cstdint>
#include <optional>

#include "platform/backend/backend.h"
#include "platform/headless/script_run.h"

namespace platform::sdl {

class DemoRun final : private headless::ScriptPlayer::Output {
 public:
  DemoRun(const headless::Options& options, detail::KeyState& keys);

  uint32_t Now() const { return run_.Now(); }
  uint32_t Seed() const { return options_.seed; }
  // A poll of the game's, and a wait for a message: each moves the clock on once the wall
  // clock has caught up with it. True when the demo is over.
  bool Poll() { return Advance(options_.millisecondsPerPoll); }
  bool Wait(std::optional<uint32_t> timerDue) { return Advance(run_.WaitStep(timerDue)); }
  void NoteKeyQuery(int virtualKey, bool down) { run_.Script().NoteKeyQuery(virtualKey, down); }
  // The step the demo stalled on, when its time limit passed with steps left.
  std::optional<int> TimedOutLine() const { return run_.TimedOutLine(); }

 private:
  bool Advance(uint32_t milliseconds);
  void WriteShot(const headless::Step& /*step*/) override {}
  void WriteState(const headless::Step& /*step*/) override {}

  headless::Options options_;
  headless::ScriptRun run_;
  uint64_t origin_ = 0;  // performance counter when the clock stood at 0
};

}  // namespace platform::sdl
