// Gamepads through SDL's game-controller interface, plugged in before or while the game
// runs: the d-pad and the left stick are the arrow keys, the south button (A on an Xbox pad,
// cross on a PlayStation pad) ENTER, the west button CTRL, the east button and Back ESC, the
// north button the A key.
#pragma once

#include <SDL.h>

#include <map>
#include <memory>

#include "platform/sdl/sdl_keys.h"

namespace platform::sdl {

// The game's virtual key for a controller button, or 0 for a button the game does not use.
int VirtualKeyForButton(int button);

class Gamepads {
 public:
  explicit Gamepads(PhysicalKeys& keys) : keys_(keys) {}
  // Handles a controller event; false for any other event.
  bool Handle(const SDL_Event& event);

 private:
  struct Closer {
    void operator()(SDL_GameController* pad) const { SDL_GameControllerClose(pad); }
  };

  void Add(int deviceIndex);
  void Remove(SDL_JoystickID pad);
  void Axis(SDL_JoystickID pad, int axis, int value);

  PhysicalKeys& keys_;
  std::map<SDL_JoystickID, std::unique_ptr<SDL_GameController, Closer>> open_;
};

}  // namespace platform::sdl
