// Reading the readable sound sources: lines split into words, a word starting with '#' starts a
// comment, and every complaint names the file and line so a mistake in a note list stops the
// build with a clear message.
#pragma once

#include <stdexcept>
#include <string>
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

[[noreturn]] void FailAt(const std::string& file, int line, const std::string& message);

// A decimal number, or a SourceError naming what was expected.
double ParseNumber(const std::string& word, const std::string& file, int line);

// "key=value" split at the first '='; throws when there is none.
std::pair<std::string, std::string> SplitKeyValue(const std::string& word, const std::string& file,
                                                  int line);

}  // namespace sounds
