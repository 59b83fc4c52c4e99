// Replacing a game file whole or not at all: a crash, a power cut or a full disk while a saved
// game is written must never cost the game that was saved there before.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/system.h"

namespace platform {

namespace {

constexpr size_t kWriteChunk = 4096;

int failingStep = 0;

// Counts the steps of one replacement; the step chosen by a test fails.
class Steps {
 public:
  bool Next() { return ++done_ != failingStep; }

 private:
  int done_ = 0;
};

bool WriteAll(int descriptor, const char* bytes, size_t size, Steps& steps) {
  while (size > 0) {
    if (!steps.Next()) return false;
    const ssize_t written = ::write(descriptor, bytes, std::min(size, kWriteChunk));
    if (written < 0 && errno == EINTR) continue;
    if (written <= 0) return false;
    bytes += written;
    size -= size_t(written);
  }
  return true;
}

// Makes the rename itself survive a power cut. Failing here changes nothing for the player:
// the file under the name is whole, the old one or the new one.
void SyncDirectory(const std::filesystem::path& directory) {
  const int descriptor = ::open(directory.c_str(), O_RDONLY | O_DIRECTORY);
  if (descriptor < 0) return;
  ::fsync(descriptor);
  ::close(descriptor);
}

// The hidden name a new file gets beside the file it replaces: "." + its name + "." and six
// letters or digits (mkstemp's pattern).
std::string TemporaryPattern(const std::filesystem::path& target) {
  return "." + target.filename().string() + ".XXXXXX";
}

bool IsTemporaryOf(const std::string& name, const std::string& pattern) {
  const size_t stem = pattern.size() - 6;
  if (name.size() != pattern.size() || name.compare(0, stem, pattern, 0, stem) != 0) return false;
  return std::all_of(name.begin() + ptrdiff_t(stem), name.end(),
                     [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
}

// A game killed between making its new file and the rename leaves that file behind. The next
// replacement of the same file removes such leftovers: only names of this file's own pattern,
// only regular files, and only ones untouched for a while, so a save still being written by
// another copy of the game is left alone.
void RemoveLeftovers(const std::filesystem::path& target) {
  namespace fs = std::filesystem;
  constexpr auto kLeftAlone = std::chrono::minutes(1);
  const std::string pattern = TemporaryPattern(target);
  std::error_code error;
  const fs::path directory = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  const auto now = fs::file_time_type::clock::now();
  for (fs::directory_iterator it(directory, error), end; !error && it != end; it.increment(error)) {
    const fs::directory_entry& entry = *it;
    if (!IsTemporaryOf(entry.path().filename().string(), pattern)) continue;
    std::error_code ignored;
    if (!entry.is_regular_file(ignored) || entry.is_symlink(ignored)) continue;
    const auto written = fs::last_write_time(entry.path(), ignored);
    if (!ignored && now - written > kLeftAlone) fs::remove(entry.path(), ignored);
  }
}

// A slot file that is a symbolic link stays one: the new bytes replace the file it points to
// (followed through a few links, whether that file is there yet or not).
std::filesystem::path WhereTheBytesGo(std::filesystem::path file) {
  constexpr int kMostLinks = 8;
  for (int k = 0; k < kMostLinks; ++k) {
    std::error_code error;
    if (!std::filesystem::is_symlink(file, error)) break;
    const std::filesystem::path target = std::filesystem::read_symlink(file, error);
    if (error) break;
    file = target.is_absolute() ? target : file.parent_path() / target;
  }
  return file;
}

}  // namespace

void FailReplaceStepForTests(int step) { failingStep = step; }

bool ReplaceGameFile(const char* gameName, const void* bytes, size_t size) {
  if (gameName == nullptr || (bytes == nullptr && size > 0)) return false;
  const std::filesystem::path target = WhereTheBytesGo(HostPath(gameName));
  std::filesystem::path directory = target.parent_path();
  if (directory.empty()) directory = ".";
  Steps steps;

  std::error_code error;
  std::filesystem::create_directories(directory, error);
  if (!steps.Next() || error) return false;

  // The new file gets a hidden name of its own in the same directory, so that the rename
  // cannot cross file systems and two games saving at once do not share it.
  RemoveLeftovers(target);
  std::string pattern = (directory / TemporaryPattern(target)).string();
  std::vector<char> name(pattern.begin(), pattern.end());
  name.push_back('\0');
  const int descriptor = steps.Next() ? ::mkstemp(name.data()) : -1;
  if (descriptor < 0) return false;
  // The new file gets the permissions any file the player makes would get, not mkstemp's 0600.
  const mode_t mask = ::umask(0);
  ::umask(mask);
  ::fchmod(descriptor, 0666 & ~mask);

  bool whole = WriteAll(descriptor, static_cast<const char*>(bytes), size, steps) &&
               steps.Next() && ::fsync(descriptor) == 0;
  const bool closed = ::close(descriptor) == 0;
  whole = whole && steps.Next() && closed;
  whole = whole && steps.Next() && ::rename(name.data(), target.c_str()) == 0;
  if (!whole) {
    ::unlink(name.data());
    return false;
  }
  SyncDirectory(directory);
  return true;
}

}  // namespace platform
