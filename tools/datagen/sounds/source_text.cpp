#include "source_text.h"

#include <cctype>
#include <cerrno>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace sounds {

std::vector<SourceLine> SplitSourceLines(const std::string& text) {
  std::vector<SourceLine> lines;
  std::istringstream in(text);
  std::string raw;
  int number = 0;
  while (std::getline(in, raw)) {
    ++number;
    // A comment starts at a '#' that begins a word, so sharps such as F#4 stay notes.
    for (std::size_t at = 0; at < raw.size(); ++at)
      if (raw[at] == '#' && (at == 0 || std::isspace(static_cast<unsigned char>(raw[at - 1])))) {
        raw.erase(at);
        break;
      }
    std::istringstream words(raw);
    SourceLine line{number, {}};
    for (std::string word; words >> word;) line.words.push_back(word);
    if (!line.words.empty()) lines.push_back(std::move(line));
  }
  return lines;
}

std::string ReadSourceFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw SourceError(path + ": cannot open");
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

void SourcePlace::Fail(const std::string& message) const {
  throw SourceError(file + ":" + std::to_string(line) + ": " + message);
}

double SourcePlace::Number(const std::string& word) const {
  const char* begin = word.c_str();
  char* end = nullptr;
  errno = 0;
  const double value = std::strtod(begin, &end);
  if (end == begin || *end != '\0' || errno != 0 || !std::isfinite(value))
    Fail("expected a number, found '" + word + "'");
  return value;
}

int SourcePlace::Whole(const std::string& word, int low, int high) const {
  const double value = Number(word);
  if (value != std::floor(value) || value < low || value > high)
    Fail("expected a whole number from " + std::to_string(low) + " to " + std::to_string(high) +
         ", found '" + word + "'");
  return static_cast<int>(value);
}

std::pair<std::string, std::string> SourcePlace::KeyValue(const std::string& word) const {
  const auto eq = word.find('=');
  if (eq == std::string::npos || eq == 0 || eq + 1 == word.size())
    Fail("expected key=value, found '" + word + "'");
  return {word.substr(0, eq), word.substr(eq + 1)};
}

}  // namespace sounds
