// Game file names ("pic\title.bmp", "text/goods.dat") mapped onto the data directory.
#include <algorithm>
#include <string>

#include "platform/system.h"

namespace platform {

namespace {

std::string& Directory() {
  static std::string directory = ".";
  return directory;
}

}  // namespace

void SetDataDirectory(const std::string& directory) {
  Directory() = directory.empty() ? std::string(".") : directory;
}

const std::string& DataDirectory() { return Directory(); }

std::string HostPath(const char* gameName) {
  std::string name = gameName != nullptr ? gameName : "";
  std::replace(name.begin(), name.end(), '\\', '/');
  const std::string& directory = Directory();
  if (directory == ".") return name;
  if (directory.back() == '/') return directory + name;
  return directory + "/" + name;
}

std::FILE* OpenGameFile(const char* gameName, const char* mode) {
  if (gameName == nullptr || mode == nullptr) return nullptr;
  return std::fopen(HostPath(gameName).c_str(), mode);
}

}  // namespace platform
