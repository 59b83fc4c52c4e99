#include "platform/backend/message_queue.h"

#include <algorithm>

namespace platform::detail {

bool MessageQueue::RemoveFirst(int message) {
  const auto found = std::find_if(posted_.begin(), posted_.end(),
                                  [message](const Msg& msg) { return msg.message == message; });
  if (found == posted_.end()) return false;
  posted_.erase(found);
  return true;
}

void MessageQueue::PostQuit(int exitCode) {
  quitPosted_ = true;
  exitCode_ = exitCode;
}

void MessageQueue::SetTimer(int id, uint32_t periodMs, uint32_t now) {
  const uint32_t period = std::max<uint32_t>(periodMs, 1);
  const Timer timer{id, period, now + period, false};
  const auto existing = std::find_if(timers_.begin(), timers_.end(),
                                     [id](const Timer& t) { return t.id == id; });
  if (existing != timers_.end()) *existing = timer;
  else timers_.push_back(timer);
}

void MessageQueue::UpdateTimers(uint32_t now) {
  for (Timer& timer : timers_) {
    if (!ReachedTime(now, timer.nextDue)) continue;
    timer.pending = true;
    // Ticks missed while nobody looked merge into this one; the timer keeps its rhythm.
    const uint32_t late = now - timer.nextDue;
    timer.nextDue += (late / timer.period + 1) * timer.period;
  }
}

std::optional<uint32_t> MessageQueue::NextTimerDue() const {
  std::optional<uint32_t> next;
  for (const Timer& timer : timers_) {
    if (!next || int32_t(timer.nextDue - *next) < 0) next = timer.nextDue;
  }
  return next;
}

bool MessageQueue::HasMessage() const {
  return !posted_.empty() || quitPosted_ ||
         std::any_of(timers_.begin(), timers_.end(), [](const Timer& t) { return t.pending; });
}

bool MessageQueue::Take(Msg& msg) {
  if (!posted_.empty()) {
    msg = posted_.front();
    posted_.pop_front();
    return true;
  }
  if (quitPosted_) {
    msg = Msg{WM_QUIT, exitCode_, 0};
    return true;
  }
  for (Timer& timer : timers_) {
    if (!timer.pending) continue;
    timer.pending = false;
    msg = Msg{WM_TIMER, timer.id, 0};
    return true;
  }
  return false;
}

}  // namespace platform::detail
