#include "platform/sdl/sdl_keys.h"

#include <algorithm>

#include "platform/system.h"

namespace platform::sdl {

int VirtualKeyFor(SDL_Keycode key) {
  switch (key) {
    case SDLK_UP: return VK_UP;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_RETURN:
    case SDLK_RETURN2:
    case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_LCTRL:
    case SDLK_RCTRL: return VK_CONTROL;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_a: return VK_A;
    default: return 0;
  }
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
