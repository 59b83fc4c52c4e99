// Reading the readable data sources: UTF-8 text files of lines, with "--" comment lines, and
// the error that names the file and line a problem was found on.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace datagen {

// A problem in a source file; the message names the file and the line.
class SourceError : public std::runtime_error {
 public:
  SourceError(const std::filesystem::path& file, int line, const std::string& what);
};

struct SourceLine {
  int number = 0;    // counted from 1
  std::string text;  // without the line end
};

// The lines of a source file that carry something: blank lines and lines starting with "--"
// are dropped, a CR before the LF is removed. Throws SourceError when the file cannot be read.
std::vector<SourceLine> ReadSourceLines(const std::filesystem::path& file);

// The text without leading and trailing blanks.
std::string_view Trim(std::string_view text);

// Splits at runs of blanks.
std::vector<std::string> SplitWords(std::string_view text);

// A whole decimal number (optionally signed), or throws SourceError.
int ParseInteger(const std::filesystem::path& file, int line, std::string_view text);

// Writes bytes to a file, creating nothing but the file itself.
void WriteBytes(const std::filesystem::path& file, std::string_view bytes);

}  // namespace datagen
