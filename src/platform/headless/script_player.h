// Plays a headless script against the virtual clock: presses and releases keys at the right
// moments and hands screenshots and state dumps to the backend.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/backend/key_state.h"

namespace platform::headless {

class ScriptPlayer {
 public:
  // Where "shot" and "state" steps go.
  class Output {
   public:
    virtual void WriteShot(const Step& step) = 0;
    virtual void WriteState(const Step& step) = 0;

   protected:
    ~Output() = default;
  };

  ScriptPlayer(detail::KeyState& keys, Output& output) : keys_(keys), output_(output) {}

  void Append(const std::vector<Step>& steps);
  // Plays every step that is due by now; steps that take no time run back to back.
  void Update(uint32_t now);
  // What the game saw when it asked about a key: a tap waits for this.
  void NoteKeyQuery(int virtualKey, bool down);

  bool Finished() const { return next_ >= steps_.size(); }
  // The script line of the step in progress (0 when none).
  int CurrentLine() const { return Finished() ? 0 : steps_[next_].line; }
  // The line of the first step not played (nothing when none), where a tap whose press the
  // game saw counts as played, and so does every wait.
  std::optional<int> UnplayedLine() const;
  // The script has played at least one step and has none left.
  bool Ended() const { return playedAny_ && Finished(); }

 private:
  // How long a tapped key waits, once released, for the game to see it up.
  static constexpr uint32_t kTapReleaseWaitMs = 1000;

  void Start(const Step& step, uint32_t now);
  bool Done(const Step& step, uint32_t now);

  detail::KeyState& keys_;
  Output& output_;
  std::vector<Step> steps_;
  size_t next_ = 0;
  bool started_ = false;
  uint32_t deadline_ = 0;
  bool tapReleased_ = false;  // a tap has seen its key down and let it go
  bool seen_ = false;         // the game saw the tapped key in the state the tap waits for
  bool playedAny_ = false;
};

}  // namespace platform::headless
