// The program's command line: the real game on the desktop, or a scripted run without one.
//   tamsel [--windowed | --fullscreen] [--scale N] [--scaling MODE] [--no-sound] [--data DIR]
//          [--save DIR]
//   tamsel --headless --script FILE [--shots DIR] [--seed N] [--data DIR] [--save DIR]
//   tamsel --demo [display and sound options | --headless [--shots DIR]] [--data DIR]
//   tamsel --help
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/settings.h"

// A setting given on the command line, as it would stand in the settings file.
struct SettingOverride {
  std::string section;
  std::string name;
  std::string value;
};

struct CommandLine {
  bool help = false;
  bool headless = false;
  bool demo = false;       // the story plays itself, from the data set's demo script
  std::vector<SettingOverride> settings;  // desktop runs: overrides of the settings file
  std::string script;      // headless: the script file
  std::string shots;       // headless: where screenshots go
  uint32_t seed = 1;       // headless: the fixed random seed
  std::string data;        // the data directory; empty: the default
  std::string save;        // where saved games go; empty: the default
};

// Reads the arguments after the program name. False with a one-line message in error when
// they make no sense.
bool ParseCommandLine(const std::vector<std::string>& arguments, CommandLine& commandLine,
                      std::string& error);

// The usage text shown by --help and after a wrong command line.
const char* UsageText();

// Applies the command line's settings over those of the file.
void ApplySettingOverrides(const std::vector<SettingOverride>& overrides,
                           platform::Settings& settings);

// The folders that may hold the data set, in the order they are tried when no --data is given:
// the working directory, the installed data set beside the program
// (<program's folder>/../share/games/tamsel), and the data set the game was built with.
std::vector<std::string> DataDirectoryCandidates(const std::string& executable,
                                                 const std::string& builtIn);
// The data directory to use: the one given, else the first candidate holding pic/, else the
// working directory.
std::string ChooseDataDirectory(const std::string& given, const std::vector<std::string>& candidates);

// The demo's script, shipped in the data set.
std::string DemoScriptPath(const std::string& dataDirectory);

// Where saved games go: the one given; else, for a headless run, "save" beside its screenshots,
// so that scripted runs never touch the player's games; else $XDG_DATA_HOME/tamsel/save
// (an absolute XDG_DATA_HOME only), else <home>/.local/share/tamsel/save. Empty when there is
// no home either.
std::string ChooseSaveDirectory(const CommandLine& commandLine, const char* xdgDataHome,
                                const char* home);
