#include "xvfb_display.h"

#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

namespace {

// The server this program started; it is ended with the program.
struct Server {
  pid_t pid = -1;
  std::string display;
  ~Server() {
    if (pid <= 0) return;
    kill(pid, SIGTERM);
    waitpid(pid, nullptr, 0);
  }
};

Server gServer;

// Starts Xvfb on a free display of its own choosing; it writes the number to a pipe.
bool StartServer() {
  int fds[2];
  if (pipe(fds) != 0) return false;
  const pid_t pid = fork();
  if (pid < 0) return false;
  if (pid == 0) {
    close(fds[0]);
    prctl(PR_SET_PDEATHSIG, SIGTERM);  // a benchmark that is killed takes its server with it
    const std::string fd = std::to_string(fds[1]);
    execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1920x1200x24", "-nolisten", "tcp",
           static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  gServer.pid = pid;
  std::string number;
  char c = 0;
  while (read(fds[0], &c, 1) == 1 && c != '\n') number += c;
  close(fds[0]);
  if (number.empty()) return false;  // the server did not start
  gServer.display = ":" + number;
  return true;
}

}  // namespace

bool UseXvfbDisplay() {
  if (gServer.display.empty() && (gServer.pid > 0 || !StartServer())) return false;
  setenv("DISPLAY", gServer.display.c_str(), 1);
  return true;
}

double XvfbSeconds() {
  if (gServer.pid <= 0) return 0;
  std::ifstream in("/proc/" + std::to_string(gServer.pid) + "/stat");
  const std::string line{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  // The fields after the command name's closing bracket; user and system time are 14 and 15.
  const size_t close = line.rfind(')');
  if (close == std::string::npos) return 0;
  std::istringstream fields(line.substr(close + 2));
  std::string field;
  double ticks = 0;
  for (int n = 3; n <= 15 && fields >> field; ++n)
    if (n >= 14) ticks += std::strtod(field.c_str(), nullptr);
  return ticks / double(sysconf(_SC_CLK_TCK));
}
