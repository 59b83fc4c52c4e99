#include "platform/files/user_dirs.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace platform {

namespace {

bool IsAbsolute(const char* path) { return path != nullptr && path[0] == '/'; }

}  // namespace

std::string HomeDirectory() {
  const char* home = std::getenv("HOME");
  if (home != nullptr && home[0] != '\0') return home;
  if (const passwd* entry = getpwuid(getuid()); entry != nullptr && IsAbsolute(entry->pw_dir)) {
    return entry->pw_dir;
  }
  return ".";
}

std::string XdgBaseDirectory(const char* variable, const char* fallbackUnderHome) {
  // Relative values are to be ignored, as the base-directory convention says.
  const char* value = std::getenv(variable);
  if (IsAbsolute(value)) return value;
  return HomeDirectory() + "/" + fallbackUnderHome;
}

std::string UserDirsValue(const std::string& fileText, const std::string& key,
                          const std::string& home) {
  std::istringstream lines(fileText);
  std::string line;
  const std::string start = key + "=\"";
  while (std::getline(lines, line)) {
    if (line.rfind(start, 0) != 0) continue;
    const size_t end = line.find('"', start.size());
    if (end == std::string::npos) continue;
    std::string value = line.substr(start.size(), end - start.size());
    if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
    return IsAbsolute(value.c_str()) ? value : std::string();
  }
  return {};
}

std::string PicturesDirectory() {
  const char* given = std::getenv("XDG_PICTURES_DIR");
  if (IsAbsolute(given)) return given;
  const std::string home = HomeDirectory();
  std::ifstream file(XdgBaseDirectory("XDG_CONFIG_HOME", ".config") + "/user-dirs.dirs");
  std::ostringstream text;
  text << file.rdbuf();
  const std::string configured = UserDirsValue(text.str(), "XDG_PICTURES_DIR", home);
  return configured.empty() ? home + "/Pictures" : configured;
}

}  // namespace platform
