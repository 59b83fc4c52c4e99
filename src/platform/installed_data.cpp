#include "platform/installed_data.h"

#include <filesystem>

// The data folder relative to the folder of the installed program, set by the build from the
// install layout; by default games/ beside share/.
#ifndef TAMSEL_DATA_FROM_PROGRAM
#define TAMSEL_DATA_FROM_PROGRAM "../share/games/tamsel"
#endif

namespace platform {

std::string InstalledDataDirectoryFor(const std::string& programPath) {
  namespace fs = std::filesystem;
  if (programPath.empty()) return {};
  const fs::path data = (fs::path(programPath).parent_path() / TAMSEL_DATA_FROM_PROGRAM).lexically_normal();
  std::error_code ignored;
  if (!fs::is_directory(data / "pic", ignored)) return {};
  std::string text = data.string();
  if (text.size() > 1 && text.back() == '/') text.pop_back();
  return text;
}

std::string InstalledDataDirectory() {
  // The kernel's link to the running program, with symbolic links resolved, so a link in
  // some bin folder to /usr/games/tamsel still finds /usr/share/games/tamsel.
  std::error_code error;
  const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : InstalledDataDirectoryFor(program.string());
}

}  // namespace platform
