// Reading a headless script: one step a line, '#' starts a comment.
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <sstream>
#include <string>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/files/regular_file.h"
#include "platform/system.h"

namespace platform::headless {

namespace {

struct KeyName {
  const char* name;
  int key;
};
constexpr KeyName kKeyNames[] = {
    {"UP", VK_UP},         {"DOWN", VK_DOWN},       {"LEFT", VK_LEFT},
    {"RIGHT", VK_RIGHT},   {"RETURN", VK_RETURN},   {"CONTROL", VK_CONTROL},
    {"ESCAPE", VK_ESCAPE}, {"A", VK_A},             {"LBUTTON", VK_LBUTTON},
};

std::string Upper(std::string word) {
  for (char& c : word) c = char(std::toupper(static_cast<unsigned char>(c)));
  return word;
}

bool ParseKey(const std::string& word, int& key) {
  const std::string upper = Upper(word);
  for (const KeyName& entry : kKeyNames) {
    if (upper == entry.name) {
      key = entry.key;
      return true;
    }
  }
  return false;
}

// A count of milliseconds: decimal digits only, at most a day.
bool ParseMilliseconds(const std::string& word, int& milliseconds) {
  constexpr long kLimit = 24L * 60 * 60 * 1000;
  if (word.empty() || word.size() > 9) return false;
  long value = 0;
  for (char c : word) {
    if (!std::isdigit(static_cast<unsigned char>(c))) return false;
    value = value * 10 + (c - '0');
  }
  if (value > kLimit) return false;
  milliseconds = int(value);
  return true;
}

// A repeat count: 1 to 10000.
bool ParseCount(const std::string& word, int& count) {
  int value = 0;
  if (!ParseMilliseconds(word, value) || value < 1 || value > 10000) return false;
  count = value;
  return true;
}

// Output names stay inside the output directory: letters, digits, '_', '-' and '.',
// not starting with '.'.
bool ValidOutputName(const std::string& word) {
  if (word.empty() || word.front() == '.') return false;
  for (char c : word) {
    const bool ok = std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.';
    if (!ok) return false;
  }
  return true;
}

struct StepForm {
  const char* word;
  Step::Kind kind;
  bool takesKey;
  bool takesMilliseconds;
  bool takesName;
  bool takesCount;  // an optional repeat count at the end
};
constexpr StepForm kForms[] = {
    {"wait", Step::Kind::Wait, false, true, false, false},
    {"tap", Step::Kind::Tap, true, false, false, true},
    {"press", Step::Kind::Press, true, false, false, false},
    {"release", Step::Kind::Release, true, false, false, false},
    {"hold", Step::Kind::Hold, true, true, false, false},
    {"shot", Step::Kind::Shot, false, false, true, false},
    {"state", Step::Kind::State, false, false, true, false},
};

std::string Usage(const StepForm& form) {
  std::string usage = form.word;
  if (form.takesKey) usage += " KEY";
  if (form.takesMilliseconds) usage += " MS";
  if (form.takesName) usage += form.kind == Step::Kind::Shot ? " NAME" : " FILE";
  if (form.takesCount) usage += " [N]";
  return usage;
}

// Parses one line's words into a step and how many times it is repeated; returns an empty
// string or what is wrong.
std::string ParseStep(const std::vector<std::string>& words, Step& step, int& count) {
  const std::string command = words[0];
  const StepForm* form = nullptr;
  for (const StepForm& candidate : kForms) {
    if (command == candidate.word) form = &candidate;
  }
  if (form == nullptr) return "unknown step '" + Excerpt(command) + "'";
  const size_t wanted = 1 + size_t(form->takesKey) + size_t(form->takesMilliseconds) +
                        size_t(form->takesName);
  const bool counted = form->takesCount && words.size() == wanted + 1;
  if (words.size() != wanted && !counted) return "expected '" + Usage(*form) + "'";

  step.kind = form->kind;
  size_t next = 1;
  if (form->takesKey && !ParseKey(words[next++], step.key)) {
    return "unknown key '" + Excerpt(words[next - 1]) +
           "' (keys: UP DOWN LEFT RIGHT RETURN CONTROL ESCAPE A LBUTTON)";
  }
  if (form->takesMilliseconds && !ParseMilliseconds(words[next++], step.milliseconds)) {
    return "bad milliseconds '" + Excerpt(words[next - 1]) + "' (a whole number from 0 to 86400000)";
  }
  if (form->takesName) {
    step.name = words[next++];
    if (!ValidOutputName(step.name)) {
      return "bad name '" + Excerpt(step.name) + "' (letters, digits, '_', '-' and '.', no path)";
    }
  }
  count = 1;
  if (counted && !ParseCount(words[next], count)) {
    return "bad count '" + Excerpt(words[next]) + "' (a whole number from 1 to 10000)";
  }
  return {};
}

}  // namespace

bool ParseScript(const std::string& text, std::vector<Step>& steps, std::string& error) {
  if (text.size() > kLongestScriptBytes) {
    error = "longer than " + std::to_string(kLongestScriptBytes >> 20) + " MiB";
    return false;
  }
  std::vector<Step> parsed;
  std::istringstream lines(text);
  std::string line;
  int lineNumber = 0;
  while (std::getline(lines, line)) {
    ++lineNumber;
    const size_t comment = line.find('#');
    if (comment != std::string::npos) line.erase(comment);
    std::istringstream wordStream(line);
    std::vector<std::string> words;
    for (std::string word; wordStream >> word;) words.push_back(word);
    if (words.empty()) continue;

    Step step;
    step.line = lineNumber;
    int count = 1;
    const std::string problem = ParseStep(words, step, count);
    if (!problem.empty()) {
      error = "line " + std::to_string(lineNumber) + ": " + problem;
      return false;
    }
    if (parsed.size() + size_t(count) > kMostScriptSteps) {
      error = "line " + std::to_string(lineNumber) + ": the script has more than " +
              std::to_string(kMostScriptSteps) + " steps, repeats counted";
      return false;
    }
    parsed.insert(parsed.end(), size_t(count), step);
  }
  steps = std::move(parsed);
  error.clear();
  return true;
}

uint32_t ScriptTimeLimit(const std::vector<Step>& steps) {
  constexpr uint64_t kGameTime = 600000;
  uint64_t limit = kGameTime;
  for (const Step& step : steps) {
    if (step.kind == Step::Kind::Wait || step.kind == Step::Kind::Hold) limit += uint64_t(step.milliseconds);
  }
  return uint32_t(std::min<uint64_t>(limit, UINT32_MAX));
}

}  // namespace platform::headless
