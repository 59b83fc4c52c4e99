#include "platform/sdl/modal_box.h"

#include <pthread.h>
#include <sys/prctl.h>
#include <unistd.h>

#include <mutex>

namespace platform::sdl {

namespace {

// The process about to fork, read again in the child to see whether it is still there.
pid_t forking = 0;

void BeforeFork() { forking = ::getpid(); }

void InChild() {
  ::prctl(PR_SET_PDEATHSIG, SIGKILL);
  if (::getppid() != forking) ::_exit(1);  // the game ended before the tie was made
  for (const int signal : {SIGTERM, SIGINT, SIGHUP}) ::signal(signal, SIG_DFL);
}

}  // namespace

void TieForkedHelpersToTheGame() {
  static std::once_flag once;
  std::call_once(once, [] { ::pthread_atfork(BeforeFork, nullptr, InChild); });
}

TerminationByDefault::TerminationByDefault() {
  struct sigaction byDefault {};
  byDefault.sa_handler = SIG_DFL;
  sigemptyset(&byDefault.sa_mask);
  for (int k = 0; k < 3; ++k) ::sigaction(kSignals[k], &byDefault, &before_[k]);
}

TerminationByDefault::~TerminationByDefault() {
  for (int k = 0; k < 3; ++k) ::sigaction(kSignals[k], &before_[k], nullptr);
}

}  // namespace platform::sdl
