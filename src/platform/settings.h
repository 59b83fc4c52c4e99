// The player's settings: screen mode and scaling, sound, and the keyboard keys of the eight
// game keys. They live in an INI file (see SettingsFilePath) that the game writes with its
// defaults on the first run; command-line options override it for one run. Headless runs use
// the defaults and never touch the file.
#pragma once

#include <SDL_keycode.h>

#include <array>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The keys the game reads, in the order of the [keys] section.
enum class GameKey { Up, Down, Left, Right, Enter, Ctrl, Esc, A };
constexpr int kGameKeyCount = 8;
// The game's virtual-key code of a game key (VK_UP … VK_A).
int VirtualKeyOf(GameKey key);

constexpr int kMinWindowScale = 1;
constexpr int kMaxWindowScale = 8;
constexpr int kMaxVolume = 100;
// A game key can have this many keyboard keys at most.
constexpr size_t kMaxKeysPerGameKey = 4;

struct Settings {
  bool fullscreen = true;
  int windowScale = 2;          // the window is 640 × 480 times this (when it fits the desktop)
  bool integerScaling = false;  // whole multiples only (borders), or as large as fits (aspect kept)
  bool soundOn = true;          // false: no effects and no music, as without a sound device
  int musicVolume = 80;         // 0 to 100
  int effectsVolume = 100;      // 0 to 100
  std::array<std::vector<SDL_Keycode>, kGameKeyCount> keys = DefaultKeys();

  static std::array<std::vector<SDL_Keycode>, kGameKeyCount> DefaultKeys();
  bool operator==(const Settings&) const = default;
};

// Reads settings text. Lines are "name = value" under "[section]" headers; lines starting with
// '#' or ';' are comments. Every problem (a malformed line, an unknown setting, a value that is
// not understood or out of range, a keyboard key given to two game keys) adds one warning
// naming its line, and the setting keeps its default or is brought into range.
Settings ParseSettings(std::string_view text, std::vector<std::string>& warnings);

// Sets one setting from its section, name and value as they would stand in the file. False
// with the reason in problem when the value is not taken as given (it may still be clamped).
bool ApplySetting(Settings& settings, std::string_view section, std::string_view name,
                  std::string_view value, std::string& problem);

// The whole file for these settings, with a comment on every setting.
std::string SettingsText(const Settings& settings);

// $XDG_CONFIG_HOME/tamsel/tamsel.ini, by default ~/.config/tamsel/tamsel.ini.
std::string SettingsFilePath();

// Reads the file at path; when there is none, writes one with the defaults. Problems are
// reported on warnings as "tamsel: FILE: line N: ..." lines; a damaged file gives the
// defaults for what it does not say properly, never a failure.
Settings LoadSettingsFile(const std::string& path, std::FILE* warnings);

// The settings of this run, read by the SDL backend and the sound code. The defaults until
// UseSettings is called.
const Settings& CurrentSettings();
void UseSettings(const Settings& settings);

}  // namespace platform
