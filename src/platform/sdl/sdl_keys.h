// Physical keys, mouse buttons and gamepad buttons of SDL mapped onto the game's virtual keys.
// Several physical keys can share one virtual key (both Ctrl keys, Return and keypad Enter, a
// d-pad and a stick); the virtual key stays down while any of them is held.
#pragma once

#include <SDL.h>

#include <map>

#include "platform/backend/key_state.h"
#include "platform/settings.h"

namespace platform::sdl {

// The keyboard keys of the settings.
class KeyMap {
 public:
  explicit KeyMap(const Settings& settings);
  // The game's virtual key for an SDL key, or 0 for a key the game does not read.
  int VirtualKeyFor(SDL_Keycode key) const;

 private:
  std::map<SDL_Keycode, int> virtualKeys_;
};

class PhysicalKeys {
 public:
  explicit PhysicalKeys(detail::KeyState& keys) : keys_(keys) {}
  // A physical key (a scancode, or a code of its own for mouse and gamepad buttons) went
  // down or up.
  void Down(int physical, int virtualKey);
  void Up(int physical);
  // Everything is let go, as when the window loses the keyboard.
  void ReleaseAll();

 private:
  detail::KeyState& keys_;
  std::map<int, int> down_;  // physical code → virtual key
};

}  // namespace platform::sdl
