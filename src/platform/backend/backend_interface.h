// The backend behind the free functions of system.h: the part every backend shares (the one
// window, its message queue and timers, the key state, how a close request reaches the game)
// and the hooks each backend fills in (its clock, its events, its screen, its reports).
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/backend/backend.h"
#include "platform/backend/key_state.h"
#include "platform/backend/message_queue.h"
#include "platform/backend/sound_device.h"
#include "platform/system.h"

namespace platform::detail {

// A fade is 256 palette loads; one every 2 ms makes it last about half a second, on the
// screen and on the headless clock alike.
constexpr uint32_t kPaletteLoadMilliseconds = 2;

class Backend {
 public:
  Backend() = default;
  Backend(const Backend&) = delete;
  Backend& operator=(const Backend&) = delete;
  virtual ~Backend() = default;

  // ---- shared behaviour (backend_base.cpp) ----
  int GetAsyncKeyState(int virtualKey);
  uint32_t GetTickCount();
  // A load into the palette attached to the screen. It is shown and paced like a step of a
  // fade, and it is a poll: a close request ends a fade at once.
  void PaletteLoaded();

  bool CreateMainWindow(WindowProc proc);
  bool WindowExists() const { return windowExists_; }
  bool PeekMessage();
  bool GetMessage(Msg& msg);
  intptr_t DispatchMessage(const Msg& msg);
  intptr_t DefWindowProc(int message, intptr_t wParam, intptr_t lParam);
  void PostMessage(int message, intptr_t wParam, intptr_t lParam);
  void PostQuitMessage(int exitCode) { queue_.PostQuit(exitCode); }
  int QuitExitCode() const { return queue_.QuitExitCode(); }
  void WaitMessage();
  void DestroyWindow();
  void SetTimer(int id, int milliseconds);

  // The sound device, open between OpenSound and CloseSound (nullptr otherwise). A backend
  // closes it in its own destructor, before its audio system ends.
  bool OpenSound();
  void CloseSound() { sound_.reset(); }
  SoundDevice* Sound() { return sound_.get(); }

  // ---- what each backend provides ----
  virtual uint32_t CalendarTimeSeconds() = 0;
  virtual void HideCursor() = 0;
  virtual void MessageBox(const char* text, const char* caption) = 0;
  virtual void OutputDebugString(const char* text) = 0;
  virtual void SendMciCommand(const char* command) = 0;
  virtual const headless::Faults* ActiveFaults() const { return nullptr; }
  // A scripted run that could not be played through: the first step it never played.
  virtual std::optional<int> StalledScriptLine() const { return std::nullopt; }
  virtual void OnFlip() = 0;

 protected:
  enum class Poll { Key, Clock, Message, PaletteLoad };

  // The clock as it stands, without polling.
  virtual uint32_t ClockNow() const = 0;
  // Brings the backend up to date at a poll: events, scripted input, showing the screen,
  // and for a palette load the pace of a fade.
  virtual void Pump(Poll poll) = 0;
  // Waits a little for something to happen; the next tick of a timer is due at timerDue.
  virtual void WaitForEvent(std::optional<uint32_t> timerDue) = 0;
  virtual bool OpenWindow() = 0;
  virtual void CloseWindow() = 0;
  // A new sound device; nullptr when there is none to open.
  virtual std::unique_ptr<SoundDevice> MakeSoundDevice() = 0;
  // Tells the backend what a key query answered (the headless script watches this).
  virtual void KeyQueried(int /*virtualKey*/, bool /*down*/) {}

  // The player asked to close the window: the message loop gets WM_CLOSE, a screen's own
  // polling loop gets QuitRequested.
  void RequestClose() { pendingQuit_ = PendingQuit::Close; }
  // The run is over (end of a headless script): the next poll of any kind throws
  // QuitRequested, unless the game has already posted its quit message.
  void RequestQuit() { pendingQuit_ = PendingQuit::Throw; }

  KeyState keys_;

 private:
  enum class PendingQuit { None, Close, Throw };

  void PollInput(Poll poll);
  void PumpMessages();

  MessageQueue queue_;
  std::unique_ptr<SoundDevice> sound_;
  WindowProc proc_ = nullptr;
  bool windowExists_ = false;
  bool destroying_ = false;
  PendingQuit pendingQuit_ = PendingQuit::None;
  bool closeQueued_ = false;  // a WM_CLOSE of the player's waits in the queue
};

// The backend in use; an inert stand-in that reports its use when none is installed.
Backend& CurrentBackend();
// Installs a backend, ending the one in use first.
void InstallBackend(std::unique_ptr<Backend> backend);
// The backend in use when it is of this kind, otherwise nullptr.
template <typename T>
T* CurrentBackendAs() {
  return dynamic_cast<T*>(&CurrentBackend());
}

}  // namespace platform::detail
