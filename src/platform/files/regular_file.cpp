#include "platform/files/regular_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace platform {

std::FILE* OpenRegularFile(const std::string& path, std::string& why) {
  // O_NONBLOCK: opening a FIFO nobody writes into returns at once instead of waiting.
  const int descriptor = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (descriptor < 0) {
    why = std::strerror(errno);
    return nullptr;
  }
  struct stat status {};
  if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) {
    why = "not a regular file";
    ::close(descriptor);
    errno = EINVAL;
    return nullptr;
  }
  ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK);
  std::FILE* file = ::fdopen(descriptor, "rb");
  if (file == nullptr) {
    const int error = errno;
    why = std::strerror(error);
    ::close(descriptor);
    errno = error;
  }
  return file;
}

std::string Excerpt(std::string_view bytes, size_t longest) {
  std::string excerpt;
  for (const char c : bytes) {
    if (excerpt.size() >= longest) return excerpt + "...";
    const auto byte = static_cast<unsigned char>(c);
    if (byte >= 0x20 && byte < 0x7F) {
      excerpt += c;
    } else {
      static constexpr char kHex[] = "0123456789abcdef";
      excerpt += {'\\', 'x', kHex[byte >> 4], kHex[byte & 15]};
    }
  }
  return excerpt;
}

}  // namespace platform
