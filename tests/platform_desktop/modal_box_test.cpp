// A message box waits on a helper process (SDL forks one on X11, starts zenity on Wayland).
// A SIGTERM while it waits ends the game, and the helper with it; a helper ended on its own
// lets the game go on.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <fstream>
#include <string>

#include "platform/sdl/modal_box.h"

TEST(ModalBox, SigtermWhileTheBoxWaitsEndsTheGameAndItsHelper) {
  // Gone, or a zombie waiting for whoever inherited it, within three seconds.
  auto goneSoon = [](pid_t pid) {
    for (int k = 0; k < 300; ++k, ::usleep(10000)) {
      std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
      std::string number, name, state;
      if (!(stat >> number >> name >> state) || state == "Z") return true;
    }
    return false;
  };
  for (const bool killTheGame : {true, false}) {
    int channel[2];
    ASSERT_EQ(::pipe(channel), 0);
    const pid_t game = ::fork();
    ASSERT_GE(game, 0);
    if (game == 0) {
      ::signal(SIGTERM, [](int) {});  // as SDL has it: a close request nobody reads meanwhile
      platform::sdl::TieForkedHelpersToTheGame();
      const platform::sdl::TerminationByDefault endsTheGame;
      const pid_t helper = ::fork();  // the box
      while (helper == 0) ::pause();
      if (::write(channel[1], &helper, sizeof helper) != sizeof helper) ::_exit(2);
      int status = 0;
      while (::waitpid(helper, &status, 0) < 0 && errno == EINTR) {
      }
      ::_exit(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM ? 0 : 3);  // the game goes on
    }
    ::close(channel[1]);
    pid_t helper = 0;
    ASSERT_EQ(::read(channel[0], &helper, sizeof helper), ssize_t(sizeof helper));
    ::close(channel[0]);
    ::kill(killTheGame ? game : helper, SIGTERM);
    int status = 0;
    bool ended = false;
    for (int k = 0; k < 300 && !ended; ++k) ended = ::waitpid(game, &status, WNOHANG) == game || (::usleep(10000), false);
    if (!ended) ::kill(game, SIGKILL), ::waitpid(game, &status, 0);
    EXPECT_TRUE(ended) << "the game kept waiting on its box";
    EXPECT_TRUE(killTheGame ? WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM : WIFEXITED(status) && WEXITSTATUS(status) == 0)
        << status;
    const bool gone = goneSoon(helper);
    EXPECT_TRUE(gone) << "the box's helper outlived the game";
    if (!gone) ::kill(helper, SIGKILL);
  }
}
