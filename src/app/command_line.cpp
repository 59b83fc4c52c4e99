#include "app/command_line.h"

#include <filesystem>

namespace {

bool ParseSeed(const std::string& text, uint32_t& seed) {
  if (text.empty() || text.size() > 10) return false;
  uint64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return false;
    value = value * 10 + uint64_t(c - '0');
  }
  if (value > UINT32_MAX) return false;
  seed = uint32_t(value);
  return true;
}

}  // namespace

const char* UsageText() {
  return "usage: tamsel [--windowed] [--data DIR]\n"
         "       tamsel --headless --script FILE [--shots DIR] [--seed N] [--data DIR]\n"
         "       tamsel --help\n"
         "  --windowed     play in a window instead of full screen (Alt+Enter switches)\n"
         "  --data DIR     the directory holding pic, maps, text, voc and save\n"
         "  --headless     run without a screen, on a virtual clock, driven by a script\n"
         "  --script FILE  the key script of a headless run\n"
         "  --shots DIR    where a headless run writes its screenshots (default: .)\n"
         "  --seed N       the random seed of a headless run (default: 1)\n";
}

bool ParseCommandLine(const std::vector<std::string>& arguments, CommandLine& commandLine,
                      std::string& error) {
  commandLine = CommandLine{};
  bool shotsGiven = false;
  bool seedGiven = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    const std::string& option = arguments[i];
    const bool takesValue =
        option == "--data" || option == "--script" || option == "--shots" || option == "--seed";
    if (takesValue && i + 1 >= arguments.size()) {
      error = option + " needs a value";
      return false;
    }
    if (option == "--help" || option == "-h") {
      commandLine.help = true;
    } else if (option == "--windowed") {
      commandLine.windowed = true;
    } else if (option == "--headless") {
      commandLine.headless = true;
    } else if (option == "--data") {
      commandLine.data = arguments[++i];
    } else if (option == "--script") {
      commandLine.script = arguments[++i];
    } else if (option == "--shots") {
      commandLine.shots = arguments[++i];
      shotsGiven = true;
    } else if (option == "--seed") {
      if (!ParseSeed(arguments[++i], commandLine.seed)) {
        error = "--seed needs a whole number from 0 to 4294967295, not '" + arguments[i] + "'";
        return false;
      }
      seedGiven = true;
    } else {
      error = "unknown argument '" + option + "'";
      return false;
    }
  }
  if (commandLine.help) return true;
  if (commandLine.headless) {
    if (commandLine.script.empty()) {
      error = "--headless needs --script FILE";
      return false;
    }
    if (commandLine.windowed) {
      error = "--windowed has no meaning with --headless";
      return false;
    }
    if (!shotsGiven) commandLine.shots = ".";
  } else if (!commandLine.script.empty() || shotsGiven || seedGiven) {
    error = "--script, --shots and --seed belong to a --headless run";
    return false;
  }
  return true;
}

std::string ChooseDataDirectory(const std::string& given, const std::string& builtIn) {
  if (!given.empty()) return given;
  std::error_code ignored;
  if (!builtIn.empty() && std::filesystem::is_directory(builtIn, ignored)) return builtIn;
  return ".";
}
