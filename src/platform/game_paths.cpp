// Game file names ("pic\title.bmp", "text/goods.dat", "save\1.sav") mapped onto the data
// directory, or for saved games onto the save directory.
#include <algorithm>
#include <string>

#include "platform/system.h"

namespace platform {

namespace {

std::string& Directory() {
  static std::string directory = ".";
  return directory;
}

std::string& SaveFolder() {
  static std::string directory;
  return directory;
}

std::string Join(const std::string& directory, const std::string& name) {
  if (directory == ".") return name;
  if (directory.back() == '/') return directory + name;
  return directory + "/" + name;
}

constexpr char kSavePrefix[] = "save/";

}  // namespace

void SetDataDirectory(const std::string& directory) {
  Directory() = directory.empty() ? std::string(".") : directory;
}

const std::string& DataDirectory() { return Directory(); }

void SetSaveDirectory(const std::string& directory) { SaveFolder() = directory; }

const std::string& SaveDirectory() { return SaveFolder(); }

std::string HostPath(const char* gameName) {
  std::string name = gameName != nullptr ? gameName : "";
  std::replace(name.begin(), name.end(), '\\', '/');
  const std::string& saves = SaveFolder();
  if (!saves.empty() && name.starts_with(kSavePrefix))
    return Join(saves, name.substr(sizeof kSavePrefix - 1));
  return Join(Directory(), name);
}

std::FILE* OpenGameFile(const char* gameName, const char* mode) {
  if (gameName == nullptr || mode == nullptr) return nullptr;
  return std::fopen(HostPath(gameName).c_str(), mode);
}

std::optional<std::string> ReadGameFile(const char* gameName, size_t mostBytes) {
  const GameFile file(OpenGameFile(gameName, "rb"));
  if (!file) return std::nullopt;
  std::string bytes;
  char chunk[4096];
  while (bytes.size() < mostBytes) {
    const size_t got = std::fread(chunk, 1, std::min(sizeof chunk, mostBytes - bytes.size()), file.get());
    if (got == 0) break;
    bytes.append(chunk, got);
  }
  return bytes;
}

}  // namespace platform
