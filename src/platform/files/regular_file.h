// Opening a file for reading only when it is a plain file. A FIFO would hold the game until
// someone writes into it, a device such as /dev/zero never ends, and a folder reads as
// nothing: such names are refused with a reason instead.
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace platform {

// The file opened for reading in binary mode, or nullptr with the reason in why ("No such
// file or directory", "not a regular file", ...) and errno set (ENOENT when nothing has
// the name). Never blocks on what it opens.
std::FILE* OpenRegularFile(const std::string& path, std::string& why);

// A short printable excerpt of bytes from a file or a command line, for a message: at most
// `longest` characters (forty for a word, more for a path), anything but printable ASCII
// shown as \xNN, "..." when cut.
constexpr size_t kLongestWordExcerpt = 40;
constexpr size_t kLongestPathExcerpt = 400;
std::string Excerpt(std::string_view bytes, size_t longest = kLongestWordExcerpt);

}  // namespace platform
