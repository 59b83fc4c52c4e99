// Environment variables set for one test and put back as they were when it ends.
#pragma once

#include <cstdlib>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tamsel_test {

class EnvironmentGuard {
 public:
  EnvironmentGuard() = default;
  EnvironmentGuard(const EnvironmentGuard&) = delete;
  EnvironmentGuard& operator=(const EnvironmentGuard&) = delete;
  ~EnvironmentGuard() {
    for (auto it = saved_.rbegin(); it != saved_.rend(); ++it) Put(it->first, it->second ? it->second->c_str() : nullptr);
  }
  // Sets the variable, or removes it for nullptr.
  void Set(const std::string& name, const char* value) {
    const char* old = std::getenv(name.c_str());
    saved_.emplace_back(name, old ? std::optional<std::string>(old) : std::nullopt);
    Put(name, value);
  }

 private:
  static void Put(const std::string& name, const char* value) { value ? setenv(name.c_str(), value, 1) : unsetenv(name.c_str()); }
  std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

}  // namespace tamsel_test
