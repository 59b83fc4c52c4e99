// The game's state writer, registered through SetStateDumper, for the headless "state" step.
#pragma once

#include <optional>
#include <string>

namespace platform::detail {

// The game's state as its dumper writes it; nothing when no dumper is registered.
std::optional<std::string> DumpGameState();

}  // namespace platform::detail
