// Physical keys and mouse buttons of SDL mapped onto the game's virtual keys. Two physical
// keys can share one virtual key (both Ctrl keys, Return and keypad Enter); the virtual key
// stays down while either is held.
#pragma once

#include <SDL.h>

#include <map>

#include "platform/key_state.h"

namespace platform::sdl {

// The game's virtual key for an SDL key, or 0 for a key the game does not read.
int VirtualKeyFor(SDL_Keycode key);

class PhysicalKeys {
 public:
  explicit PhysicalKeys(detail::KeyState& keys) : keys_(keys) {}
  // A physical key (or mouse button, as a negative code) went down or up.
  void Down(int physical, int virtualKey);
  void Up(int physical);
  // Everything is let go, as when the window loses the keyboard.
  void ReleaseAll();

 private:
  detail::KeyState& keys_;
  std::map<int, int> down_;  // physical code → virtual key
};

}  // namespace platform::sdl
