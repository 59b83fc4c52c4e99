#include "datagen/world/source_file.h"

#include <charconv>
#include <fstream>
#include <iterator>

namespace datagen {

namespace {

// "file:line: what", or "file: what" when no line is known.
std::string Located(const std::filesystem::path& file, int line, const std::string& what) {
  std::string message = file.string();
  if (line > 0) {
    message += ':';
    message += std::to_string(line);
  }
  message += ": ";
  message += what;
  return message;
}

}  // namespace

SourceError::SourceError(const std::filesystem::path& file, int line, const std::string& what)
    : std::runtime_error(Located(file, line, what)) {}

std::vector<SourceLine> ReadSourceLines(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  if (!in) throw SourceError(file, 0, "cannot be read");
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};

  std::vector<SourceLine> lines;
  int number = 0;
  size_t start = 0;
  while (start < text.size()) {
    size_t end = text.find('\n', start);
    if (end == std::string::npos) end = text.size();
    std::string line = text.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    ++number;
    start = end + 1;
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.starts_with("--")) continue;
    lines.push_back({number, std::move(line)});
  }
  return lines;
}

std::string_view Trim(std::string_view text) {
  const size_t first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const size_t last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

std::vector<std::string> SplitWords(std::string_view text) {
  std::vector<std::string> words;
  size_t i = 0;
  while (i < text.size()) {
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    size_t j = i;
    while (j < text.size() && text[j] != ' ' && text[j] != '\t') ++j;
    if (j > i) words.emplace_back(text.substr(i, j - i));
    i = j;
  }
  return words;
}

int ParseInteger(const std::filesystem::path& file, int line, std::string_view text) {
  text = Trim(text);
  int value = 0;
  const char* begin = text.data();
  const char* end = text.data() + text.size();
  if (!text.empty() && text.front() == '+') ++begin;
  const auto [ptr, error] = std::from_chars(begin, end, value);
  if (text.empty() || error != std::errc() || ptr != end)
    throw SourceError(file, line, "'" + std::string(text) + "' is not a whole number");
  return value;
}

void WriteBytes(const std::filesystem::path& file, std::string_view bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(bytes.data(), std::streamsize(bytes.size()));
  if (!out) throw SourceError(file, 0, "cannot be written");
}

}  // namespace datagen
