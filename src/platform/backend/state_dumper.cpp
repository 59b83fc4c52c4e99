#include "platform/backend/state_dumper.h"

#include <functional>

#include "platform/system.h"

namespace platform {

namespace {

std::function<std::string()>& Dumper() {
  static std::function<std::string()> dumper;
  return dumper;
}

}  // namespace

void SetStateDumper(std::function<std::string()> dumper) { Dumper() = std::move(dumper); }

std::optional<std::string> detail::DumpGameState() {
  if (!Dumper()) return std::nullopt;
  return Dumper()();
}

}  // namespace platform
