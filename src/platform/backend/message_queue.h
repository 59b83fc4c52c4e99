// The window's message queue with its repeating timers, on whatever clock the backend keeps.
// Posted messages come first, in order; then the quit message; then at most one WM_TIMER per
// timer, however many of its ticks fell due meanwhile (pending ticks merge).
#pragma once

#include <cstdint>
#include <deque>
#include <optional>
#include <vector>

#include "platform/system.h"

namespace platform::detail {

class MessageQueue {
 public:
  void Post(const Msg& msg) { posted_.push_back(msg); }
  void PostFront(const Msg& msg) { posted_.push_front(msg); }
  // Removes the first posted message of this kind; false when there is none.
  bool RemoveFirst(int message);

  void PostQuit(int exitCode);
  bool QuitPosted() const { return quitPosted_; }
  int QuitExitCode() const { return exitCode_; }

  // Starts (or restarts) the timer with this identifier; its first tick is due one period
  // after now. A period below 1 ms counts as 1 ms.
  void SetTimer(int id, uint32_t periodMs, uint32_t now);
  void KillTimers() { timers_.clear(); }
  // Marks every timer whose tick is due by now as pending.
  void UpdateTimers(uint32_t now);
  // The clock time of the next tick that is not yet pending, if any timer runs.
  std::optional<uint32_t> NextTimerDue() const;

  bool HasMessage() const;
  // Takes the next message. The quit message stays posted after it is taken, as the quit
  // state of the thread does.
  bool Take(Msg& msg);

 private:
  struct Timer {
    int id;
    uint32_t period;
    uint32_t nextDue;
    bool pending;
  };
  std::deque<Msg> posted_;
  std::vector<Timer> timers_;
  bool quitPosted_ = false;
  int exitCode_ = 0;
};

// True when clock time a is at or after b, on a clock that wraps.
inline bool ReachedTime(uint32_t now, uint32_t due) { return int32_t(now - due) >= 0; }

}  // namespace platform::detail
