// tamsel: the game on the desktop, or a scripted run of it without a screen.
#include <pwd.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/command_line.h"
#include "app/main_loop.h"
#include "app/state_dump.h"
#include "core/game_state.h"
#include "platform/backend/backend.h"
#include "platform/files/regular_file.h"
#include "platform/font/font_locator.h"
#include "platform/settings.h"
#include "platform/system.h"

#ifndef TAMSEL_DATA_DIR
#define TAMSEL_DATA_DIR ""
#endif

namespace {

// Something the game needs is missing: a display, the Chinese font, the data folder.
constexpr int kExitMissing = 1;
constexpr int kExitBadArguments = 2;
constexpr int kExitScriptStalled = 3;
constexpr int kExitUnwrittenOutput = 4;

// Reads and parses the headless script; on failure prints why and gives false.
bool LoadScript(const std::string& file, std::vector<platform::headless::Step>& steps) {
  std::string why;
  std::FILE* in = platform::OpenRegularFile(file, why);
  if (in == nullptr) {
    std::fprintf(stderr, "tamsel: cannot read the script '%s' (%s)\n",
                 platform::Excerpt(file, platform::kLongestPathExcerpt).c_str(), why.c_str());
    return false;
  }
  std::string text(platform::headless::kLongestScriptBytes + 1, '\0');
  text.resize(std::fread(text.data(), 1, text.size(), in));
  const bool readError = std::ferror(in) != 0;
  std::fclose(in);
  std::string error;
  if (readError) error = "cannot be read";
  if (readError || !platform::headless::ParseScript(text, steps, error)) {
    std::fprintf(stderr, "tamsel: %s: %s\n", platform::Excerpt(file, platform::kLongestPathExcerpt).c_str(),
                 error.c_str());
    return false;
  }
  return true;
}

// The player's settings file (written with the defaults on the first run) under the
// command line's overrides. Headless runs never come here: they keep the defaults.
platform::Settings PlayerSettings(const CommandLine& commandLine) {
  platform::Settings settings = platform::LoadSettingsFile(platform::SettingsFilePath(), stderr);
  ApplySettingOverrides(commandLine.settings, settings);
  return settings;
}

// The player's home folder: $HOME, else the account's home; nothing when that folder is not
// there (the game makes its folders below a home, never the home itself).
const char* HomeFolder() {
  const char* home = std::getenv("HOME");
  if (home == nullptr || home[0] == '\0') {
    const passwd* account = ::getpwuid(::getuid());
    home = account != nullptr ? account->pw_dir : nullptr;
  }
  std::error_code error;
  return home != nullptr && std::filesystem::is_directory(home, error) ? home : nullptr;
}

// The folders of the data set that a data folder must hold, or which of them it lacks.
std::string MissingDataFolders(const std::string& dataDirectory) {
  std::string missing;
  for (const char* folder : {"pic", "maps", "text", "voc"}) {
    std::error_code error;
    if (!std::filesystem::is_directory(std::filesystem::path(dataDirectory) / folder, error)) {
      missing += std::string(missing.empty() ? "" : ", ") + folder + "/";
    }
  }
  return missing;
}

// Without a Chinese font every text of the game draws nothing. A scripted run may go on (its
// pictures then show no words); on the desktop the game does not start unreadable.
bool ChineseFontFound(bool desktop) {
  if (platform::FindCjkFontFile()) return true;
  const char* text =
      "No Chinese font was found, so the game's texts cannot be shown.\n"
      "Install the package fonts-wqy-zenhei (sudo apt install fonts-wqy-zenhei).";
  if (desktop) {
    platform::MessageBox(text, "Tamsel");
  } else {
    std::fprintf(stderr, "tamsel: %s\n", text);
  }
  return false;
}

// The program's own file, for the data set installed beside it.
std::string ExecutablePath() {
  std::error_code error;
  const std::filesystem::path path = std::filesystem::read_symlink("/proc/self/exe", error);
  return error ? std::string() : path.string();
}

}  // namespace

int main(int argc, char** argv) {
  CommandLine commandLine;
  std::string error;
  if (!ParseCommandLine(std::vector<std::string>(argv + 1, argv + argc), commandLine, error)) {
    std::fprintf(stderr, "tamsel: %s\n%s", error.c_str(), UsageText());
    return kExitBadArguments;
  }
  const std::string dataDirectory = ChooseDataDirectory(
      commandLine.data, DataDirectoryCandidates(ExecutablePath(), TAMSEL_DATA_DIR));
  const std::string saves =
      ChooseSaveDirectory(commandLine, std::getenv("XDG_DATA_HOME"), HomeFolder());
  if (commandLine.help) {
    std::fputs(UsageText(), stdout);
    std::printf("Data folder: %s\nSaved games: %s\nSettings file: %s\n", dataDirectory.c_str(),
                saves.c_str(), platform::SettingsFilePath().c_str());
    return 0;
  }

  if (const std::string missing = MissingDataFolders(dataDirectory); !missing.empty()) {
    std::fprintf(stderr, "tamsel: the data folder %s has no %s; name the game's data with --data DIR\n",
                 platform::Excerpt(dataDirectory, platform::kLongestPathExcerpt).c_str(), missing.c_str());
    return kExitMissing;
  }
  platform::SetDataDirectory(dataDirectory);
  if (saves.empty()) {
    std::fputs("tamsel: no home folder to keep saved games in; name one with --save DIR\n", stderr);
    return kExitBadArguments;
  }
  platform::SetSaveDirectory(saves);

  const std::string script =
      commandLine.demo ? DemoScriptPath(dataDirectory) : commandLine.script;
  platform::headless::Options options;
  if (!script.empty()) {
    if (!LoadScript(script, options.script)) return kExitBadArguments;
    options.shotDirectory = commandLine.shots;
    options.seed = commandLine.seed;
    options.quitAfterMilliseconds = platform::headless::ScriptTimeLimit(options.script);
  }
  if (commandLine.headless) {
    std::error_code ignored;
    std::filesystem::create_directories(options.shotDirectory, ignored);
    platform::headless::UseHeadlessBackend(options);
    ChineseFontFound(false);
  } else {
    platform::UseSettings(PlayerSettings(commandLine));
    if (!platform::CurrentSettings().soundOn) bSoundOn = 0;  // as without a sound device
    const bool started = commandLine.demo
                             ? platform::UseSdlDemoBackend(platform::CurrentSettings(), options)
                             : platform::UseSdlBackend(platform::CurrentSettings());
    if (!started) {
      std::fputs("tamsel: no display to open. Run it on a desktop, or replay a script without "
                 "a screen with --headless --script FILE (see --help).\n",
                 stderr);
      return kExitMissing;
    }
    if (!ChineseFontFound(true)) return kExitMissing;
  }
  platform::SetStateDumper(DumpGameState);
  const int exitCode = WinMain();
  // A script that could not be played through fails the run.
  if (const std::optional<int> stalledLine = platform::headless::StalledScriptLine()) {
    std::fprintf(stderr, "tamsel: %s: line %d: the run ended before this step was played\n",
                 script.c_str(), *stalledLine);
    return kExitScriptStalled;
  }
  if (commandLine.headless && platform::headless::GetLog().unwrittenFiles > 0) {
    std::fprintf(stderr, "tamsel: %d screenshots or state files could not be written in %s\n",
                 platform::headless::GetLog().unwrittenFiles,
                 platform::Excerpt(options.shotDirectory, platform::kLongestPathExcerpt).c_str());
    return kExitUnwrittenOutput;
  }
  return exitCode;
}
