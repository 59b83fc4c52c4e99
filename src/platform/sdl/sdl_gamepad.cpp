#include "platform/sdl/sdl_gamepad.h"

#include "platform/system.h"

namespace platform::sdl {

namespace {

// Each pad's buttons get physical codes of their own, above every keyboard scancode: 64 codes
// a pad, the first ones its buttons, then the four directions of the left stick.
constexpr int kFirstPadCode = 1 << 20;
constexpr int kCodesPerPad = 64;
constexpr int kStickLeft = 40;
constexpr int kStickRight = 41;
constexpr int kStickUp = 42;
constexpr int kStickDown = 43;

// The stick counts as pushed past about half way and as let go below a quarter, so that a
// stick held near the edge does not flicker between the two.
constexpr int kStickPushed = 16000;
constexpr int kStickLetGo = 8000;

int PadCode(SDL_JoystickID pad, int code) {
  return kFirstPadCode + int(uint32_t(pad) % 0x3FFF) * kCodesPerPad + code;
}

}  // namespace

int VirtualKeyForButton(int button) {
  switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP: return VK_UP;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return VK_DOWN;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return VK_LEFT;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return VK_RIGHT;
    case SDL_CONTROLLER_BUTTON_A: return VK_RETURN;
    case SDL_CONTROLLER_BUTTON_X: return VK_CONTROL;
    case SDL_CONTROLLER_BUTTON_B:
    case SDL_CONTROLLER_BUTTON_BACK: return VK_ESCAPE;
    case SDL_CONTROLLER_BUTTON_Y: return VK_A;
    default: return 0;
  }
}

bool Gamepads::Handle(const SDL_Event& event) {
  switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED:
      Add(event.cdevice.which);
      return true;
    case SDL_CONTROLLERDEVICEREMOVED:
      Remove(event.cdevice.which);
      return true;
    case SDL_CONTROLLERBUTTONDOWN:
      keys_.Down(PadCode(event.cbutton.which, event.cbutton.button),
                 VirtualKeyForButton(event.cbutton.button));
      return true;
    case SDL_CONTROLLERBUTTONUP:
      keys_.Up(PadCode(event.cbutton.which, event.cbutton.button));
      return true;
    case SDL_CONTROLLERAXISMOTION:
      Axis(event.caxis.which, event.caxis.axis, event.caxis.value);
      return true;
    default:
      return false;
  }
}

void Gamepads::Add(int deviceIndex) {
  SDL_GameController* pad = SDL_GameControllerOpen(deviceIndex);
  if (pad == nullptr) return;
  const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(pad));
  open_[id].reset(pad);  // a pad announced twice is opened once
}

void Gamepads::Remove(SDL_JoystickID pad) {
  for (int code = 0; code < kCodesPerPad; ++code) keys_.Up(PadCode(pad, code));
  open_.erase(pad);
}

void Gamepads::Axis(SDL_JoystickID pad, int axis, int value) {
  int lower;
  int higher;
  if (axis == SDL_CONTROLLER_AXIS_LEFTX) {
    lower = kStickLeft;
    higher = kStickRight;
  } else if (axis == SDL_CONTROLLER_AXIS_LEFTY) {
    lower = kStickUp;
    higher = kStickDown;
  } else {
    return;
  }
  const int virtualKeys[] = {VK_LEFT, VK_RIGHT, VK_UP, VK_DOWN};
  const auto direction = [&](int code, bool pushed, bool letGo) {
    if (pushed) keys_.Down(PadCode(pad, code), virtualKeys[code - kStickLeft]);
    if (letGo) keys_.Up(PadCode(pad, code));
  };
  direction(lower, value <= -kStickPushed, value > -kStickLetGo);
  direction(higher, value >= kStickPushed, value < kStickLetGo);
}

}  // namespace platform::sdl
