// The backend in use, and the inert stand-in answering when the program installed none:
// it says so once on standard error, shows no window, holds no keys and keeps a real clock,
// so a forgotten start-up call is reported instead of crashing or hanging.
#include <chrono>
#include <cstdio>
#include <ctime>

#include "platform/backend/backend_interface.h"

namespace platform::detail {

namespace {

class NoBackend final : public Backend {
 public:
  uint32_t CalendarTimeSeconds() override { return uint32_t(std::time(nullptr)); }
  void HideCursor() override { Report(); }
  void MessageBox(const char* text, const char* caption) override {
    Report();
    std::fprintf(stderr, "%s: %s\n", caption != nullptr ? caption : "",
                 text != nullptr ? text : "");
  }
  void OutputDebugString(const char* text) override {
    if (text != nullptr) std::fputs(text, stderr);
  }
  void SendMciCommand(const char*) override { Report(); }
  void OnFlip() override {}

 protected:
  uint32_t ClockNow() const override {
    const auto elapsed = std::chrono::steady_clock::now() - start_;
    return uint32_t(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
  }
  void Pump(Poll) override { Report(); }
  // Nothing will ever arrive: the message loop ends as if the window had been closed.
  void WaitForEvent(std::optional<uint32_t>) override {
    PostQuitMessage(0);
  }
  bool OpenWindow() override {
    Report();
    return false;
  }
  void CloseWindow() override {}
  std::unique_ptr<SoundDevice> MakeSoundDevice() override {
    Report();
    return nullptr;
  }

 private:
  void Report() {
    if (reported_) return;
    reported_ = true;
    std::fputs("platform: no backend in use (start with the SDL or the headless backend)\n",
               stderr);
  }
  std::chrono::steady_clock::time_point start_ = std::chrono::steady_clock::now();
  bool reported_ = false;
};

std::unique_ptr<Backend>& Installed() {
  static std::unique_ptr<Backend> backend;
  return backend;
}

}  // namespace

Backend& CurrentBackend() {
  static NoBackend none;
  std::unique_ptr<Backend>& installed = Installed();
  return installed ? *installed : static_cast<Backend&>(none);
}

void InstallBackend(std::unique_ptr<Backend> backend) {
  Installed().reset();
  Installed() = std::move(backend);
}

}  // namespace platform::detail
