// Reading the readable sound sources: lines split into words, a word starting with '#' starts a
// comment, and every complaint names the file and line so a mistake in a note list stops the
// build with a clear message.
#pragma once

#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace sounds {

struct SourceLine {
  int number = 0;                   // 1-based line number in its file
  std::vector<std::string> words;   // never empty
};

// A fault in a source file, already worded as "FILE:LINE: what is wrong".
class SourceError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The non-empty lines of a text, comments removed.
std::vector<SourceLine> SplitSourceLines(const std::string& text);

// Reads a whole file; throws SourceError when it cannot be opened.
std::string ReadSourceFile(const std::string& path);

// Where a line came from, for reading its words and complaining about them.
struct SourcePlace {
  const std::string& file;
  int line;

  [[noreturn]] void Fail(const std::string& message) const;
  double Number(const std::string& word) const;
  int Whole(const std::string& word, int low, int high) const;
  // "key=value" split at the first '='.
  std::pair<std::string, std::string> KeyValue(const std::string& word) const;
};

}  // namespace sounds
