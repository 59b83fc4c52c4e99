#include "platform/sdl/sdl_keys.h"

#include <algorithm>


namespace platform::sdl {

KeyMap::KeyMap(const Settings& settings) {
  for (int k = 0; k < kGameKeyCount; ++k) {
    for (SDL_Keycode key : settings.keys[size_t(k)]) {
      virtualKeys_.emplace(key, VirtualKeyOf(GameKey(k)));  // the first game key keeps it
    }
  }
}

int KeyMap::VirtualKeyFor(SDL_Keycode key) const {
  const auto found = virtualKeys_.find(key);
  return found != virtualKeys_.end() ? found->second : 0;
}

void PhysicalKeys::Down(int physical, int virtualKey) {
  if (virtualKey == 0 || down_.contains(physical)) return;
  down_[physical] = virtualKey;
  keys_.Press(virtualKey);
}

void PhysicalKeys::Up(int physical) {
  const auto found = down_.find(physical);
  if (found == down_.end()) return;
  const int virtualKey = found->second;
  down_.erase(found);
  const bool stillHeld = std::any_of(down_.begin(), down_.end(),
                                     [virtualKey](const auto& entry) { return entry.second == virtualKey; });
  if (!stillHeld) keys_.Release(virtualKey);
}

void PhysicalKeys::ReleaseAll() {
  down_.clear();
  keys_.ReleaseAll();
}

}  // namespace platform::sdl
