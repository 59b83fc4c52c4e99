#include "platform/settings.h"

#include <SDL_keyboard.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <string>

#include "platform/files/regular_file.h"
#include "platform/files/user_dirs.h"
#include "platform/system.h"

namespace platform {

namespace {

std::string Lower(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
  return lower;
}

std::string_view Trim(std::string_view text) {
  const auto space = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && space(text.front())) text.remove_prefix(1);
  while (!text.empty() && space(text.back())) text.remove_suffix(1);
  return text;
}

bool ParseYesNo(std::string_view text, bool& value, std::string& problem) {
  const std::string word = Lower(text);
  if (word == "yes" || word == "on" || word == "true" || word == "1") {
    value = true;
  } else if (word == "no" || word == "off" || word == "false" || word == "0") {
    value = false;
  } else {
    problem = "'" + Excerpt(text) + "' is neither yes nor no";
    return false;
  }
  return true;
}

// A whole number brought into [low, high]; out-of-range numbers are clamped and reported.
bool ParseNumber(std::string_view text, int low, int high, int& value, std::string& problem) {
  long long number = 0;
  const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
  if (text.empty() || error == std::errc::invalid_argument || end != text.data() + text.size()) {
    problem = "'" + Excerpt(text) + "' is not a whole number";
    return false;
  }
  const bool tooLarge = error == std::errc::result_out_of_range ? text.front() != '-' : number > high;
  const bool tooSmall = error == std::errc::result_out_of_range ? text.front() == '-' : number < low;
  if (tooLarge || tooSmall) {
    value = tooLarge ? high : low;
    problem = Excerpt(text) + " is outside " + std::to_string(low) + " to " +
              std::to_string(high) + "; using " + std::to_string(value);
    return false;
  }
  value = int(number);
  return true;
}

// A comma-separated list of keyboard key names as SDL names them ("Left Ctrl", "Return", "A").
bool ParseKeyList(std::string_view text, std::vector<SDL_Keycode>& keys, std::string& problem) {
  std::vector<SDL_Keycode> parsed;
  const auto report = [&problem](const std::string& what) {
    problem += (problem.empty() ? "" : "; ") + what;
  };
  // "," is itself a key name, so an item is split off only at a comma that follows a name.
  for (text = Trim(text); !text.empty(); text = Trim(text)) {
    const size_t comma = text.find(',', 1);
    const std::string name(Trim(text.substr(0, comma)));
    text = comma == std::string_view::npos ? std::string_view() : text.substr(comma + 1);
    const SDL_Keycode key = SDL_GetKeyFromName(name.c_str());
    if (key == SDLK_UNKNOWN) {
      report("no key is called '" + Excerpt(name) + "'");
    } else if (key == SDLK_F12) {
      report("F12 takes screenshots and cannot be a game key");
    } else if (std::find(parsed.begin(), parsed.end(), key) == parsed.end()) {
      parsed.push_back(key);
    }
  }
  if (parsed.size() > kMaxKeysPerGameKey) {
    parsed.resize(kMaxKeysPerGameKey);
    report("more than " + std::to_string(kMaxKeysPerGameKey) + " keys; using the first ones");
  }
  if (parsed.empty()) {
    report(problem.empty() ? "no key given; keeping the default" : "keeping the default");
    return false;
  }
  keys = parsed;
  return problem.empty();
}

std::string KeyListText(const std::vector<SDL_Keycode>& keys) {
  std::string text;
  for (SDL_Keycode key : keys) text += (text.empty() ? "" : ", ") + std::string(SDL_GetKeyName(key));
  return text;
}

std::string YesNo(bool value) { return value ? "yes" : "no"; }

struct Field {
  const char* section;
  const char* name;
  const char* comment;  // the lines above the setting in the written file
  bool (*parse)(Settings&, std::string_view, std::string&);
  std::string (*write)(const Settings&);
};

constexpr const char* kGameKeyNames[kGameKeyCount] = {"up",    "down", "left", "right",
                                                      "enter", "ctrl", "esc",  "a"};

template <GameKey key>
Field KeyField(const char* comment) {
  return Field{"keys", kGameKeyNames[size_t(key)], comment,
               [](Settings& s, std::string_view v, std::string& p) {
                 return ParseKeyList(v, s.keys[size_t(key)], p);
               },
               [](const Settings& s) { return KeyListText(s.keys[size_t(key)]); }};
}

const std::vector<Field>& Fields() {
  static const std::vector<Field> fields = {
      {"display", "fullscreen", "# yes: fill the desktop; no: a window (Alt+Enter switches while playing)",
       [](Settings& s, std::string_view v, std::string& p) { return ParseYesNo(v, s.fullscreen, p); },
       [](const Settings& s) { return YesNo(s.fullscreen); }},
      {"display", "window_scale", "# the window is 640 x 480 times this, 1 to 8 (smaller if the desktop is)",
       [](Settings& s, std::string_view v, std::string& p) {
         return ParseNumber(v, kMinWindowScale, kMaxWindowScale, s.windowScale, p);
       },
       [](const Settings& s) { return std::to_string(s.windowScale); }},
      {"display", "scaling",
       "# integer: whole multiples only, every pixel the same size, black borders;\n"
       "# aspect: as large as fits, the shape kept",
       [](Settings& s, std::string_view v, std::string& p) {
         const std::string word = Lower(v);
         if (word != "integer" && word != "aspect") {
           p = "'" + Excerpt(v) + "' is neither integer nor aspect";
           return false;
         }
         s.integerScaling = word == "integer";
         return true;
       },
       [](const Settings& s) { return std::string(s.integerScaling ? "integer" : "aspect"); }},
      {"sound", "sound", "# no: no sound effects and no music",
       [](Settings& s, std::string_view v, std::string& p) { return ParseYesNo(v, s.soundOn, p); },
       [](const Settings& s) { return YesNo(s.soundOn); }},
      {"sound", "music_volume", "# 0 (silent) to 100",
       [](Settings& s, std::string_view v, std::string& p) {
         return ParseNumber(v, 0, kMaxVolume, s.musicVolume, p);
       },
       [](const Settings& s) { return std::to_string(s.musicVolume); }},
      {"sound", "effects_volume", "# 0 (silent) to 100",
       [](Settings& s, std::string_view v, std::string& p) {
         return ParseNumber(v, 0, kMaxVolume, s.effectsVolume, p);
       },
       [](const Settings& s) { return std::to_string(s.effectsVolume); }},
      KeyField<GameKey::Up>("# the keyboard keys of each game key, up to four, separated by commas,\n"
                                  "# named as in SDL (Up, Return, Left Ctrl, Space, A, Keypad 8, ...)\n"
                                  "# walk and move cursors"),
      KeyField<GameKey::Down>(nullptr),
      KeyField<GameKey::Left>(nullptr),
      KeyField<GameKey::Right>(nullptr),
      KeyField<GameKey::Enter>("# act and confirm (as ctrl)"),
      KeyField<GameKey::Ctrl>("# act and confirm (as enter)"),
      KeyField<GameKey::Esc>("# open the menu, leave a screen"),
      KeyField<GameKey::A>("# throw goods away in the goods window"),
  };
  return fields;
}

// A keyboard key may serve one game key only: the first one that names it keeps it. A game key
// left without any key makes the whole [keys] section fall back to the defaults.
void CheckKeyConflicts(Settings& settings, std::vector<std::string>& warnings) {
  std::vector<SDL_Keycode> taken;
  bool emptied = false;
  for (size_t k = 0; k < kGameKeyCount; ++k) {
    auto& keys = settings.keys[k];
    for (auto it = keys.begin(); it != keys.end();) {
      if (std::find(taken.begin(), taken.end(), *it) != taken.end()) {
        warnings.push_back(std::string("[keys] ") + kGameKeyNames[k] + ": " + SDL_GetKeyName(*it) +
                           " already serves another game key");
        it = keys.erase(it);
      } else {
        taken.push_back(*it);
        ++it;
      }
    }
    emptied = emptied || keys.empty();
  }
  if (emptied) {
    warnings.push_back("[keys] a game key has no key left; using the default keys");
    settings.keys = Settings::DefaultKeys();
  }
}

constexpr size_t kLongestFile = 64 * 1024;
// A file of rubbish is reported in a few lines, not thousands.
constexpr size_t kMostWarningsShown = 10;

bool WriteDefaults(const std::string& path) {
  std::error_code ignored;
  // Folders are made below an existing home only, never a whole home that is not there.
  const std::string home = HomeDirectory();
  if (!path.starts_with(home + "/") || std::filesystem::is_directory(home, ignored)) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ignored);
  }
  // Written under another name first, so that no half-written file is ever left behind.
  const std::string temporary = path + ".new";
  std::FILE* out = std::fopen(temporary.c_str(), "wb");
  const std::string text = SettingsText(Settings{});
  bool written = out != nullptr && std::fwrite(text.data(), 1, text.size(), out) == text.size();
  if (out != nullptr) written = std::fclose(out) == 0 && written;
  if (written && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
  std::remove(temporary.c_str());
  return false;
}

}  // namespace

int VirtualKeyOf(GameKey key) {
  static constexpr int kVirtualKeys[kGameKeyCount] = {VK_UP,     VK_DOWN,    VK_LEFT,   VK_RIGHT,
                                                      VK_RETURN, VK_CONTROL, VK_ESCAPE, VK_A};
  return kVirtualKeys[size_t(key)];
}

std::array<std::vector<SDL_Keycode>, kGameKeyCount> Settings::DefaultKeys() {
  return {{{SDLK_UP}, {SDLK_DOWN}, {SDLK_LEFT}, {SDLK_RIGHT},
           {SDLK_RETURN, SDLK_KP_ENTER}, {SDLK_LCTRL, SDLK_RCTRL}, {SDLK_ESCAPE}, {SDLK_a}}};
}

bool ApplySetting(Settings& settings, std::string_view section, std::string_view name,
                  std::string_view value, std::string& problem) {
  const std::string wantedSection = Lower(section);
  const std::string wantedName = Lower(name);
  // Names are unique, so a setting above every section header is still understood.
  for (const Field& field : Fields()) {
    if ((wantedSection.empty() || wantedSection == field.section) && wantedName == field.name) {
      return field.parse(settings, Trim(value), problem);
    }
  }
  problem = "no setting '" + Excerpt(name) + "' in [" + Excerpt(section) + "]";
  return false;
}

Settings ParseSettings(std::string_view text, std::vector<std::string>& warnings) {
  Settings settings;
  std::string section;
  std::vector<std::string> named;  // each setting once; a second line for it wins, with a warning
  int lineNumber = 0;
  while (!text.empty()) {
    const size_t end = text.find('\n');
    std::string_view line = Trim(text.substr(0, end));
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    ++lineNumber;
    const std::string where = "line " + std::to_string(lineNumber) + ": ";
    if (line.empty() || line.front() == '#' || line.front() == ';') continue;
    if (line.front() == '[') {
      if (line.back() != ']') {
        warnings.push_back(where + "a section header needs a closing ']'");
        section.clear();
      } else {
        section = Lower(Trim(line.substr(1, line.size() - 2)));
      }
      continue;
    }
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) {
      warnings.push_back(where + "not a 'name = value' line");
      continue;
    }
    std::string problem;
    const std::string_view name = Trim(line.substr(0, equals));
    if (!ApplySetting(settings, section, name, line.substr(equals + 1), problem)) {
      warnings.push_back(where + problem);
    } else if (std::find(named.begin(), named.end(), Lower(name)) != named.end()) {
      warnings.push_back(where + "'" + Lower(name) + "' is set a second time; this value counts");
    } else {
      named.push_back(Lower(name));
    }
  }
  CheckKeyConflicts(settings, warnings);
  return settings;
}

std::string SettingsText(const Settings& settings) {
  std::string text =
      "# Tamsel settings. Written with the defaults on the first run; edit freely.\n"
      "# Lines are \"name = value\"; lines starting with # or ; are comments.\n"
      "# Command-line options (--windowed, --fullscreen, --scale N, --scaling MODE,\n"
      "# --no-sound) override this file for one run. Delete it to get the defaults back.\n";
  const char* section = "";
  for (const Field& field : Fields()) {
    if (std::string_view(section) != field.section) {
      section = field.section;
      text += std::string("\n[") + section + "]\n";
    }
    if (field.comment != nullptr) text += std::string(field.comment) + "\n";
    text += std::string(field.name) + " = " + field.write(settings) + "\n";
  }
  return text;
}

std::string SettingsFilePath() {
  return XdgBaseDirectory("XDG_CONFIG_HOME", ".config") + "/tamsel/tamsel.ini";
}

Settings LoadSettingsFile(const std::string& path, std::FILE* warnings) {
  std::error_code error;
  const bool exists = std::filesystem::symlink_status(path, error).type() !=
                      std::filesystem::file_type::not_found;
  if (!exists) {
    if (!WriteDefaults(path)) {
      std::fprintf(warnings, "tamsel: cannot write the settings file %s; playing with the defaults\n",
                   path.c_str());
    }
    return Settings{};
  }
  std::string text(kLongestFile + 1, '\0');
  std::string why;
  std::FILE* file = OpenRegularFile(path, why);
  const size_t got = file != nullptr ? std::fread(text.data(), 1, text.size(), file) : 0;
  const bool readError = file == nullptr || std::ferror(file) != 0;
  if (readError && why.empty()) why = "a read error";
  if (file != nullptr) std::fclose(file);
  text.resize(got);
  std::vector<std::string> problems;
  if (readError) {
    problems.push_back("cannot be read (" + why + "); using the defaults");
    text.clear();
  } else if (text.size() > kLongestFile) {
    problems.push_back("longer than 64 KiB; only the start is read");
    text.resize(kLongestFile);
  }
  const Settings settings = ParseSettings(text, problems);
  for (size_t i = 0; i < problems.size() && i < kMostWarningsShown; ++i) {
    std::fprintf(warnings, "tamsel: %s: %s\n", path.c_str(), problems[i].c_str());
  }
  if (problems.size() > kMostWarningsShown) {
    std::fprintf(warnings, "tamsel: %s: %zu more problems\n", path.c_str(),
                 problems.size() - kMostWarningsShown);
  }
  return settings;
}

namespace {
Settings& Current() {
  static Settings settings;
  return settings;
}
}  // namespace

const Settings& CurrentSettings() { return Current(); }
void UseSettings(const Settings& settings) { Current() = settings; }

}  // namespace platform
