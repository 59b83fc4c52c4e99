// A message box holds the game until it is answered. SDL shows it from a helper process of its
// own (a forked copy of the game on X11, zenity on Wayland) and waits for it; meanwhile SDL's
// signal handlers would turn SIGTERM into a close request nobody reads, and a game killed
// while the box is up would leave the helper behind.
#pragma once

#include <csignal>

namespace platform::sdl {

// Once per process: every child forked from now on dies with the process that forked it, and
// takes SIGTERM, SIGINT and SIGHUP as any program does.
void TieForkedHelpersToTheGame();

// While one lives, SIGTERM, SIGINT and SIGHUP end the game at once (and with it the box's
// helper); the handlers before it come back when it ends.
class TerminationByDefault {
 public:
  TerminationByDefault();
  ~TerminationByDefault();
  TerminationByDefault(const TerminationByDefault&) = delete;
  TerminationByDefault& operator=(const TerminationByDefault&) = delete;

 private:
  static constexpr int kSignals[] = {SIGTERM, SIGINT, SIGHUP};
  struct sigaction before_[3];
};

}  // namespace platform::sdl
