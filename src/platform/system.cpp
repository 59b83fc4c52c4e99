// The free functions of the platform, each handed to the backend in use.
#include "platform/system.h"

#include "platform/backend/backend_interface.h"

namespace platform {

using detail::CurrentBackend;

int GetAsyncKeyState(int virtualKey) { return CurrentBackend().GetAsyncKeyState(virtualKey); }
uint32_t GetTickCount() { return CurrentBackend().GetTickCount(); }
uint32_t CalendarTimeSeconds() { return CurrentBackend().CalendarTimeSeconds(); }

bool CreateMainWindow(WindowProc proc) { return CurrentBackend().CreateMainWindow(proc); }
bool WindowExists() { return CurrentBackend().WindowExists(); }
bool PeekMessage() { return CurrentBackend().PeekMessage(); }
bool GetMessage(Msg& msg) { return CurrentBackend().GetMessage(msg); }
intptr_t DispatchMessage(const Msg& msg) { return CurrentBackend().DispatchMessage(msg); }
intptr_t DefWindowProc(int message, intptr_t wParam, intptr_t lParam) {
  return CurrentBackend().DefWindowProc(message, wParam, lParam);
}
void PostMessage(int message, intptr_t wParam, intptr_t lParam) {
  CurrentBackend().PostMessage(message, wParam, lParam);
}
void PostQuitMessage(int exitCode) { CurrentBackend().PostQuitMessage(exitCode); }
int QuitExitCode() { return CurrentBackend().QuitExitCode(); }
void WaitMessage() { CurrentBackend().WaitMessage(); }
void DestroyWindow() { CurrentBackend().DestroyWindow(); }
void SetTimer(int id, int milliseconds) { CurrentBackend().SetTimer(id, milliseconds); }
void HideCursor() { CurrentBackend().HideCursor(); }

void MessageBox(const char* text, const char* caption) {
  CurrentBackend().MessageBox(text != nullptr ? text : "", caption != nullptr ? caption : "");
}
void OutputDebugString(const char* text) {
  if (text != nullptr) CurrentBackend().OutputDebugString(text);
}
void SendMciCommand(const char* command) {
  if (command != nullptr) CurrentBackend().SendMciCommand(command);
}

}  // namespace platform
