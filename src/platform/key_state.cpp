#include "platform/key_state.h"

namespace platform::detail {

void KeyState::Press(int virtualKey) {
  if (!Valid(virtualKey)) return;
  held_[virtualKey] = true;
  pressedSinceQuery_[virtualKey] = true;
}

void KeyState::Release(int virtualKey) {
  if (Valid(virtualKey)) held_[virtualKey] = false;
}

void KeyState::ReleaseAll() { held_.fill(false); }

void KeyState::Clear() {
  held_.fill(false);
  pressedSinceQuery_.fill(false);
}

bool KeyState::IsHeld(int virtualKey) const { return Valid(virtualKey) && held_[virtualKey]; }

int KeyState::Query(int virtualKey) {
  if (!Valid(virtualKey)) return 0;
  const int result = (held_[virtualKey] ? 0x8000 : 0) | (pressedSinceQuery_[virtualKey] ? 1 : 0);
  pressedSinceQuery_[virtualKey] = false;
  return result;
}

}  // namespace platform::detail
