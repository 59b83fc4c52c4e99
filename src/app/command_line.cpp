#include "app/command_line.h"

#include <filesystem>

#include "platform/files/regular_file.h"

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

// The options that stand for settings of the settings file. Sets matched when the argument
// at i is one of them (moving i past its value); false with a message when it is wrong.
bool ParseSettingOption(const std::vector<std::string>& arguments, size_t& i,
                        std::vector<SettingOverride>& settings, bool& matched, std::string& error) {
  struct Option {
    const char* option;
    SettingOverride setting;  // value empty: the option takes the value as its argument
  };
  static const Option kOptions[] = {
      {"--windowed", {"display", "fullscreen", "no"}},
      {"--fullscreen", {"display", "fullscreen", "yes"}},
      {"--scale", {"display", "window_scale", ""}},
      {"--scaling", {"display", "scaling", ""}},
      {"--no-sound", {"sound", "sound", "no"}},
  };
  matched = false;
  for (const Option& option : kOptions) {
    if (arguments[i] != option.option) continue;
    matched = true;
    SettingOverride setting = option.setting;
    if (setting.value.empty()) {
      if (i + 1 >= arguments.size()) {
        error = arguments[i] + " needs a value";
        return false;
      }
      setting.value = arguments[++i];
    }
    platform::Settings check;
    std::string problem;
    if (!platform::ApplySetting(check, setting.section, setting.name, setting.value, problem)) {
      // The settings file brings a number into range; the command line refuses it instead.
      if (const size_t using_ = problem.find("; using"); using_ != std::string::npos) problem.erase(using_);
      error = std::string(option.option) + ": " + problem;
      return false;
    }
    settings.push_back(setting);
    return true;
  }
  return true;
}

}  // namespace

void ApplySettingOverrides(const std::vector<SettingOverride>& overrides,
                           platform::Settings& settings) {
  std::string ignored;  // the values were checked when the command line was read
  for (const SettingOverride& setting : overrides) {
    platform::ApplySetting(settings, setting.section, setting.name, setting.value, ignored);
  }
}

const char* UsageText() {
  return "usage: tamsel [--windowed | --fullscreen] [--scale N] [--scaling integer|aspect]\n"
         "              [--no-sound] [--data DIR] [--save DIR]\n"
         "       tamsel --headless --script FILE [--shots DIR] [--seed N] [--data DIR] [--save DIR]\n"
         "       tamsel --demo [--headless --shots DIR] [other options as above]\n"
         "       tamsel --help\n"
         "  --windowed     play in a window (Alt+Enter switches while playing)\n"
         "  --fullscreen   play on the whole desktop\n"
         "  --scale N      the window is 640 x 480 times N (1 to 8)\n"
         "  --scaling M    integer: whole multiples only; aspect: as large as fits\n"
         "  --no-sound     no sound effects and no music\n"
         "  --data DIR     the directory holding pic, maps, text and voc\n"
         "  --save DIR     where saved games go (default: $XDG_DATA_HOME/tamsel/save, or\n"
         "                 ~/.local/share/tamsel/save; for --headless: DIR of --shots/save)\n"
         "  --headless     run without a screen, on a virtual clock, driven by a script\n"
         "  --script FILE  the key script of a headless run\n"
         "  --shots DIR    where a headless run writes its screenshots (default: .)\n"
         "  --seed N       the random seed of a headless run (default: 1)\n"
         "  --demo         the story plays itself from a new game to its end (the script\n"
         "                 demo/playthrough.txt of the data folder); with --headless it\n"
         "                 leaves its screenshots and state files in DIR of --shots\n"
         "Settings are read from $XDG_CONFIG_HOME/tamsel/tamsel.ini (by default\n"
         "~/.config/tamsel/tamsel.ini); the options above override it for one run.\n"
         "F12 saves a screenshot in the pictures folder.\n";
}

bool ParseCommandLine(const std::vector<std::string>& arguments, CommandLine& commandLine,
                      std::string& error) {
  commandLine = CommandLine{};
  bool shotsGiven = false;
  bool seedGiven = false;
  for (size_t i = 0; i < arguments.size(); ++i) {
    bool settingOption = false;
    if (!ParseSettingOption(arguments, i, commandLine.settings, settingOption, error)) return false;
    if (settingOption) continue;
    const std::string& option = arguments[i];
    const bool takesValue =
        option == "--data" || option == "--save" || option == "--script" || option == "--shots" ||
        option == "--seed";
    if (takesValue && i + 1 >= arguments.size()) {
      error = option + " needs a value";
      return false;
    }
    if (option == "--help" || option == "-h") {
      commandLine.help = true;
    } else if (option == "--headless") {
      commandLine.headless = true;
    } else if (option == "--demo") {
      commandLine.demo = true;
    } else if (option == "--data") {
      commandLine.data = arguments[++i];
    } else if (option == "--save") {
      commandLine.save = arguments[++i];
    } else if (option == "--script") {
      commandLine.script = arguments[++i];
    } else if (option == "--shots") {
      commandLine.shots = arguments[++i];
      shotsGiven = true;
    } else if (option == "--seed") {
      if (!ParseSeed(arguments[++i], commandLine.seed)) {
        error = "--seed needs a whole number from 0 to 4294967295, not '" + platform::Excerpt(arguments[i]) + "'";
        return false;
      }
      seedGiven = true;
    } else {
      error = "unknown argument '" + platform::Excerpt(option) + "'";
      return false;
    }
  }
  if (commandLine.help) return true;
  if (commandLine.demo && !commandLine.script.empty()) {
    error = "--demo plays its own script: leave out --script";
    return false;
  }
  if (commandLine.demo && seedGiven) {
    error = "--demo plays with the seed its script was recorded with: leave out --seed";
    return false;
  }
  if (commandLine.headless) {
    if (commandLine.script.empty() && !commandLine.demo) {
      error = "--headless needs --script FILE or --demo";
      return false;
    }
    if (!commandLine.settings.empty()) {
      error = "the screen and sound options have no meaning with --headless";
      return false;
    }
    if (!shotsGiven) commandLine.shots = ".";
  } else if (!commandLine.script.empty() || shotsGiven || seedGiven) {
    error = "--script, --shots and --seed belong to a --headless run";
    return false;
  }
  return true;
}

std::vector<std::string> DataDirectoryCandidates(const std::string& executable,
                                                 const std::string& builtIn) {
  std::vector<std::string> candidates = {"."};
  if (!executable.empty()) {
    const std::filesystem::path folder = std::filesystem::path(executable).parent_path();
    candidates.push_back((folder / ".." / "share" / "games" / "tamsel").lexically_normal().string());
  }
  if (!builtIn.empty()) candidates.push_back(builtIn);
  return candidates;
}

std::string ChooseDataDirectory(const std::string& given, const std::vector<std::string>& candidates) {
  if (!given.empty()) return given;
  for (const std::string& candidate : candidates) {
    std::error_code ignored;
    if (std::filesystem::is_directory(std::filesystem::path(candidate) / "pic", ignored))
      return candidate;
  }
  return ".";
}

std::string DemoScriptPath(const std::string& dataDirectory) {
  return (std::filesystem::path(dataDirectory) / "demo" / "playthrough.txt").string();
}

std::string ChooseSaveDirectory(const CommandLine& commandLine, const char* xdgDataHome,
                                const char* home) {
  if (!commandLine.save.empty()) return commandLine.save;
  if (commandLine.headless) return (std::filesystem::path(commandLine.shots) / "save").string();
  if (xdgDataHome != nullptr && xdgDataHome[0] == '/')
    return (std::filesystem::path(xdgDataHome) / "tamsel" / "save").string();
  if (home != nullptr && home[0] != '\0')
    return (std::filesystem::path(home) / ".local" / "share" / "tamsel" / "save").string();
  return "";
}
