// Running the real program as a player's shell would, and reading back the files and state dumps it wrote.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace tamsel_test {

struct Outcome {
  int exitCode = -1;
  std::string output;  // standard output and standard error together
};

inline Outcome RunCommand(const std::string& command) {
  Outcome outcome;
  std::FILE* pipe = popen((command + " 2>&1").c_str(), "r");
  if (!pipe) return outcome;
  char buffer[4096];
  for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) outcome.output.append(buffer, got);
  const int status = pclose(pipe);
  outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return outcome;
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A number field of a state dump, looked for after the given section ("" for the top level,
// "hero" for the hero's record, "battle" for the fight's).
inline long long DumpNumber(const std::string& json, const std::string& section, const std::string& name) {
  const size_t from = section.empty() ? 0 : json.find("\"" + section + "\":");
  const std::string key = "\"" + name + "\":";
  const size_t at = from == std::string::npos ? from : json.find(key, from);
  if (at == std::string::npos) {
    ADD_FAILURE() << "no field " << section << "." << name;
    return -1;
  }
  return std::atoll(json.c_str() + at + key.size());
}

}  // namespace tamsel_test
