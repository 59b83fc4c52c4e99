// Game file names ("pic\title.bmp", "text/goods.dat", "save\1.sav") mapped onto the data
// directory, or for saved games onto the save directory.
#include <algorithm>
#include <cerrno>
#include <mutex>
#include <set>
#include <string>

#include "platform/files/regular_file.h"
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

// A data file the game cannot read is named once on standard error, beside whatever the game
// itself shows. A slot file that is not there is an empty slot and is not reported; one that
// is there but is no regular file is. The music thread opens files too.
void ReportUnreadable(const std::string& gameName, const std::string& path, const std::string& why,
                      bool missing) {
  if (missing && gameName.starts_with(kSavePrefix)) return;
  static std::mutex lock;
  static std::set<std::string> reported;
  const std::lock_guard hold(lock);
  if (!reported.insert(path).second) return;
  std::fprintf(stderr, "tamsel: cannot read %s (%s)%s\n", Excerpt(path, kLongestPathExcerpt).c_str(), why.c_str(),
               gameName.starts_with(kSavePrefix) ? "; the slot is passed over" : "");
}

std::string GameName(const char* gameName) {
  std::string name = gameName != nullptr ? gameName : "";
  std::replace(name.begin(), name.end(), '\\', '/');
  return name;
}

}  // namespace

void SetDataDirectory(const std::string& directory) {
  Directory() = directory.empty() ? std::string(".") : directory;
}

const std::string& DataDirectory() { return Directory(); }

void SetSaveDirectory(const std::string& directory) { SaveFolder() = directory; }

const std::string& SaveDirectory() { return SaveFolder(); }

std::string HostPath(const char* gameName) {
  const std::string name = GameName(gameName);
  const std::string& saves = SaveFolder();
  if (!saves.empty() && name.starts_with(kSavePrefix))
    return Join(saves, name.substr(sizeof kSavePrefix - 1));
  return Join(Directory(), name);
}

std::FILE* OpenGameFile(const char* gameName, const char* mode) {
  if (gameName == nullptr || mode == nullptr) return nullptr;
  const std::string path = HostPath(gameName);
  if (std::string_view(mode) != "rb") return std::fopen(path.c_str(), mode);
  std::string why;
  std::FILE* file = OpenRegularFile(path, why);
  if (file == nullptr) ReportUnreadable(GameName(gameName), path, why, errno == ENOENT);
  return file;
}

void ReportUnusableGameFile(const char* gameName, const std::string& why) {
  if (gameName != nullptr) ReportUnreadable(GameName(gameName), HostPath(gameName), why, false);
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
