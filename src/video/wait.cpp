// Busy waits on the keyboard and on the tick counter; no window messages run meanwhile.
#include <cstdint>

#include "video/draw.h"

void WaitKey(int virtualKey, int alreadyDown) {
  if (!alreadyDown) {
    while (platform::GetAsyncKeyState(virtualKey) == 0) {
    }
  }
  while (platform::GetAsyncKeyState(virtualKey) != 0) {
  }
}

void MoveMenuCursor(int& cursor, int count, const std::function<void()>& redraw) {
  if (platform::GetAsyncKeyState(platform::VK_DOWN)) {
    WaitKey(platform::VK_DOWN, 1);
    cursor = (cursor + 1) % count;
    redraw();
  }
  if (platform::GetAsyncKeyState(platform::VK_UP)) {
    WaitKey(platform::VK_UP, 1);
    cursor = cursor == 0 ? count - 1 : cursor - 1;
    redraw();
  }
}

void Delay(int milliseconds) {
  const uint32_t start = platform::GetTickCount();
  // Elapsed time as a signed count, so the wait stays right when the counter wraps.
  while (static_cast<int32_t>(platform::GetTickCount() - start) < milliseconds) {
  }
}
