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

void Delay(int milliseconds) {
  const uint32_t start = platform::GetTickCount();
  // Elapsed time as a signed count, so the wait stays right when the counter wraps.
  while (static_cast<int32_t>(platform::GetTickCount() - start) < milliseconds) {
  }
}
