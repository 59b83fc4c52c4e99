// What every backend does the same way: the one window and its procedure, the message queue
// with its timers, the key queries, and how a request to close reaches the game.
#include "platform/backend/backend_interface.h"

namespace platform::detail {

int Backend::GetAsyncKeyState(int virtualKey) {
  PollInput(Poll::Key);
  const int state = keys_.Query(virtualKey);
  KeyQueried(virtualKey, state != 0);
  return state;
}

uint32_t Backend::GetTickCount() {
  PollInput(Poll::Clock);
  return ClockNow();
}

void Backend::PaletteLoaded() { PollInput(Poll::PaletteLoad); }

// Inside a screen's own polling loop no message is dispatched, so a close request (or a
// player's WM_CLOSE still waiting in the queue) ends the screen by throwing.
void Backend::PollInput(Poll poll) {
  keys_.SetTime(ClockNow());
  Pump(poll);
  keys_.SetTime(ClockNow());
  if (queue_.QuitPosted()) return;  // the game is already ending
  if (pendingQuit_ != PendingQuit::None) {
    pendingQuit_ = PendingQuit::None;
    throw QuitRequested{};
  }
  if (closeQueued_) {
    queue_.RemoveFirst(WM_CLOSE);
    closeQueued_ = false;
    throw QuitRequested{};
  }
}

// In the message loop a close request becomes the next message, so the game closes its
// window the ordinary way.
void Backend::PumpMessages() {
  keys_.SetTime(ClockNow());
  Pump(Poll::Message);
  keys_.SetTime(ClockNow());
  if (queue_.QuitPosted()) return;
  if (pendingQuit_ == PendingQuit::Throw) {
    pendingQuit_ = PendingQuit::None;
    throw QuitRequested{};
  }
  if (pendingQuit_ == PendingQuit::Close) {
    pendingQuit_ = PendingQuit::None;
    queue_.PostFront(Msg{WM_CLOSE, 0, 0});
    closeQueued_ = true;
  }
}

bool Backend::CreateMainWindow(WindowProc proc) {
  if (windowExists_ || !OpenWindow()) return false;
  proc_ = proc;
  windowExists_ = true;
  return true;
}

bool Backend::PeekMessage() {
  PumpMessages();
  queue_.UpdateTimers(ClockNow());
  return queue_.HasMessage();
}

bool Backend::GetMessage(Msg& msg) {
  for (;;) {
    PumpMessages();
    queue_.UpdateTimers(ClockNow());
    if (queue_.Take(msg)) {
      if (msg.message == WM_CLOSE) closeQueued_ = false;
      return msg.message != WM_QUIT;
    }
    WaitForEvent(queue_.NextTimerDue());
  }
}

void Backend::WaitMessage() {
  for (;;) {
    PumpMessages();
    queue_.UpdateTimers(ClockNow());
    if (queue_.HasMessage()) return;
    WaitForEvent(queue_.NextTimerDue());
  }
}

intptr_t Backend::DispatchMessage(const Msg& msg) {
  // Messages left for a window that is gone are dropped.
  if (!windowExists_ || proc_ == nullptr || msg.message == WM_QUIT) return 0;
  return proc_(msg.message, msg.wParam, msg.lParam);
}

intptr_t Backend::DefWindowProc(int message, intptr_t /*wParam*/, intptr_t /*lParam*/) {
  if (message == WM_CLOSE) DestroyWindow();
  return 0;
}

void Backend::PostMessage(int message, intptr_t wParam, intptr_t lParam) {
  queue_.Post(Msg{message, wParam, lParam});
}

void Backend::DestroyWindow() {
  if (!windowExists_ || destroying_) return;
  struct Finish {
    Backend& backend;
    ~Finish() {
      backend.windowExists_ = false;
      backend.destroying_ = false;
      backend.queue_.KillTimers();
      backend.CloseWindow();
    }
  } finish{*this};
  destroying_ = true;
  if (proc_ != nullptr) proc_(WM_DESTROY, 0, 0);
}

bool Backend::OpenSound() {
  if (!sound_) sound_ = MakeSoundDevice();
  return sound_ != nullptr;
}

void Backend::SetTimer(int id, int milliseconds) {
  queue_.SetTimer(id, milliseconds > 0 ? uint32_t(milliseconds) : 0u, ClockNow());
}

}  // namespace platform::detail
