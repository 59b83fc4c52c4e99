// The program's command line: the real game on the desktop, or a scripted run without one.
//   tamsel [--windowed | --fullscreen] [--scale N] [--scaling MODE] [--no-sound] [--data DIR]
//   tamsel --headless --script FILE [--shots DIR] [--seed N] [--data DIR]
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
  std::vector<SettingOverride> settings;  // desktop runs: overrides of the settings file
  std::string script;      // headless: the script file
  std::string shots;       // headless: where screenshots go
  uint32_t seed = 1;       // headless: the fixed random seed
  std::string data;        // the data directory; empty: the default
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

// The data directory to use: the one given, else the installed game's, else builtIn when it
// exists, else the working directory.
std::string ChooseDataDirectory(const std::string& given, const std::string& builtIn);
