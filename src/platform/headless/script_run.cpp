#include "platform/headless/script_run.h"

#include <algorithm>
#include <cstdio>

namespace platform::headless {

bool ScriptRun::Advance(uint32_t milliseconds) {
  now_ += milliseconds;
  script_.Update(now_);
  bool end = false;
  if (options_.quitWhenScriptEnds && !scriptEndReported_ && script_.Ended()) {
    scriptEndReported_ = true;
    end = true;
  }
  if (!timeLimitReported_ && now_ >= options_.quitAfterMilliseconds) {
    timeLimitReported_ = true;
    if (!script_.Finished()) {
      // Most often a tap of a key the game never asked about.
      timedOutLine_ = script_.CurrentLine();
      std::fprintf(stderr, "headless run: stalled at script line %d: %u ms of game time passed\n",
                   *timedOutLine_, options_.quitAfterMilliseconds);
    }
    end = true;
  }
  return end;
}

uint32_t ScriptRun::WaitStep(std::optional<uint32_t> timerDue) const {
  uint32_t step = std::max<uint32_t>(options_.millisecondsPerPoll, 1);
  if (timerDue && int32_t(*timerDue - now_) > 0) step = std::min(step, *timerDue - now_);
  return step;
}

}  // namespace platform::headless
