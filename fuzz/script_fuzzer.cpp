// A headless script: parsed whole; a refused script names its line, and names given to
// shots and state files never leave the output folder.
#include <cstdint>
#include <string>
#include <vector>

#include "fuzz_world.h"
#include "platform/backend/backend.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  std::vector<platform::headless::Step> steps;
  std::string error;
  const bool parsed = platform::headless::ParseScript(text, steps, error);
  fuzz::Require(parsed == error.empty(), "a refused script says why, an accepted one does not");
  for (const platform::headless::Step& step : steps) {
    fuzz::Require(step.name.find('/') == std::string::npos && (step.name.empty() || step.name[0] != '.'),
                  "output names stay in the output folder");
    fuzz::Require(step.milliseconds >= 0, "no step waits a negative time");
  }
  return 0;
}
