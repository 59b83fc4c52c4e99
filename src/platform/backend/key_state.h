// The asynchronous key state: which keys are held, and which were pressed since the game last
// asked about them, so that a tap between two polls is never lost. A press nobody asks about
// goes stale: once its key has been up for longer than kPressLifeMs, the mark is dropped, so
// a key tapped where no screen reads it never acts later on another screen.
#pragma once

#include <array>
#include <cstdint>

namespace platform::detail {

class KeyState {
 public:
  // Longer than the longest pause between two polls of a key on a screen that reads it (a
  // frame of the world is 30 ms, the typed story polls every 80 ms), shorter than a person
  // takes from one key to the next.
  static constexpr uint32_t kPressLifeMs = 150;

  // The clock as the backend stands at a poll; releases are stamped with it.
  void SetTime(uint32_t now) { now_ = now; }
  void Press(int virtualKey);
  void Release(int virtualKey);
  void ReleaseAll();
  // Every key up, and no press left waiting for the game to see it.
  void Clear();
  bool IsHeld(int virtualKey) const;
  // Non-zero while held (0x8000) or when pressed since the previous query (1), as long as the
  // press has not gone stale; the query clears the "pressed since" mark.
  int Query(int virtualKey);

 private:
  static constexpr int kKeyCount = 256;
  static bool Valid(int virtualKey) { return virtualKey >= 0 && virtualKey < kKeyCount; }
  std::array<bool, kKeyCount> held_{};
  std::array<bool, kKeyCount> pressedSinceQuery_{};
  std::array<uint32_t, kKeyCount> releasedAt_{};
  uint32_t now_ = 0;
};

}  // namespace platform::detail
