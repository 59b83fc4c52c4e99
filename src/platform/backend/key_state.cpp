#include "platform/backend/key_state.h"

namespace platform::detail {

void KeyState::Press(int virtualKey) {
  if (!Valid(virtualKey)) return;
  held_[virtualKey] = true;
  pressedSinceQuery_[virtualKey] = true;
}

void KeyState::Release(int virtualKey) {
  if (!Valid(virtualKey) || !held_[virtualKey]) return;
  held_[virtualKey] = false;
  releasedAt_[virtualKey] = now_;
}

void KeyState::ReleaseAll() {
  for (int key = 0; key < kKeyCount; ++key) Release(key);
}

void KeyState::Clear() {
  held_.fill(false);
  pressedSinceQuery_.fill(false);
}

bool KeyState::IsHeld(int virtualKey) const { return Valid(virtualKey) && held_[virtualKey]; }

int KeyState::Query(int virtualKey) {
  if (!Valid(virtualKey)) return 0;
  // Up time as a signed count, so a press stays fresh across a wrap of the clock.
  const bool stale = !held_[virtualKey] &&
                     int32_t(now_ - releasedAt_[virtualKey]) > int32_t(kPressLifeMs);
  const bool pressed = pressedSinceQuery_[virtualKey] && !stale;
  const int result = (held_[virtualKey] ? 0x8000 : 0) | (pressed ? 1 : 0);
  pressedSinceQuery_[virtualKey] = false;
  return result;
}

}  // namespace platform::detail
