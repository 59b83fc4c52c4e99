#include "platform/headless/script_player.h"

#include "platform/backend/message_queue.h"

namespace platform::headless {

void ScriptPlayer::Append(const std::vector<Step>& steps) {
  steps_.insert(steps_.end(), steps.begin(), steps.end());
}

void ScriptPlayer::Update(uint32_t now) {
  while (next_ < steps_.size()) {
    const Step& step = steps_[next_];
    if (!started_) {
      started_ = true;
      Start(step, now);
    }
    if (!Done(step, now)) return;
    ++next_;
    started_ = false;
    playedAny_ = true;
  }
}

void ScriptPlayer::Start(const Step& step, uint32_t now) {
  deadline_ = now + uint32_t(step.milliseconds > 0 ? step.milliseconds : 0);
  switch (step.kind) {
    case Step::Kind::Tap:
      tapReleased_ = false;
      seen_ = false;
      keys_.Press(step.key);
      break;
    case Step::Kind::Press:
    case Step::Kind::Hold:
      keys_.Press(step.key);
      break;
    case Step::Kind::Release:
      keys_.Release(step.key);
      break;
    case Step::Kind::Shot:
      output_.WriteShot(step);
      break;
    case Step::Kind::State:
      output_.WriteState(step);
      break;
    case Step::Kind::Wait:
      break;
  }
}

bool ScriptPlayer::Done(const Step& step, uint32_t now) {
  switch (step.kind) {
    case Step::Kind::Wait:
      return detail::ReachedTime(now, deadline_);
    case Step::Kind::Hold:
      if (!detail::ReachedTime(now, deadline_)) return false;
      keys_.Release(step.key);
      return true;
    case Step::Kind::Tap:
      if (!tapReleased_) {
        if (!seen_) return false;
        keys_.Release(step.key);
        tapReleased_ = true;
        seen_ = false;
        deadline_ = now + kTapReleaseWaitMs;
        return false;
      }
      // A screen that never asks about the key again must not stall the script.
      return seen_ || detail::ReachedTime(now, deadline_);
    default:
      return true;
  }
}

std::optional<int> ScriptPlayer::UnplayedLine() const {
  for (size_t i = next_; i < steps_.size(); ++i) {
    const Step& step = steps_[i];
    const bool underway = i == next_ && started_;
    if (step.kind == Step::Kind::Wait) continue;
    if (underway && (step.kind != Step::Kind::Tap || tapReleased_ || seen_)) continue;
    return step.line;
  }
  return std::nullopt;
}

void ScriptPlayer::NoteKeyQuery(int virtualKey, bool down) {
  if (!started_ || next_ >= steps_.size()) return;
  const Step& step = steps_[next_];
  if (step.kind != Step::Kind::Tap || step.key != virtualKey) return;
  if (down != tapReleased_) seen_ = true;
}

}  // namespace platform::headless
