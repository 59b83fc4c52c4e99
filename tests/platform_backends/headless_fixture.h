// A fresh headless backend for each test, running until the test says otherwise.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/system.h"

namespace tamsel_test {

inline platform::headless::Options OpenEndedOptions() {
  platform::headless::Options options;
  options.quitWhenScriptEnds = false;
  return options;
}

inline std::vector<platform::headless::Step> Script(const std::string& text) {
  std::vector<platform::headless::Step> steps;
  std::string error;
  EXPECT_TRUE(platform::headless::ParseScript(text, steps, error)) << error;
  return steps;
}

class HeadlessTest : public ::testing::Test {
 protected:
  void SetUp() override { platform::headless::UseHeadlessBackend(OpenEndedOptions()); }
};

}  // namespace tamsel_test
