// The asynchronous key state: which keys are held, and which were pressed since the game last
// asked about them, so that a tap between two polls is never lost.
#pragma once

#include <array>
#include <cstdint>

namespace platform::detail {

class KeyState {
 public:
  void Press(int virtualKey);
  void Release(int virtualKey);
  void ReleaseAll();
  // Every key up, and no press left waiting for the game to see it.
  void Clear();
  bool IsHeld(int virtualKey) const;
  // Non-zero while held (0x8000) or when pressed since the previous query (1); the query
  // clears the "pressed since" mark.
  int Query(int virtualKey);

 private:
  static constexpr int kKeyCount = 256;
  static bool Valid(int virtualKey) { return virtualKey >= 0 && virtualKey < kKeyCount; }
  std::array<bool, kKeyCount> held_{};
  std::array<bool, kKeyCount> pressedSinceQuery_{};
};

}  // namespace platform::detail
