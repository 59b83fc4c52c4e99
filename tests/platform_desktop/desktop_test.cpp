// The desktop side: the settings file (every setting, damaged and strange files, where it lives
// and what happens on the first run), the player's folders, the game's icon and screenshots.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/files/user_dirs.h"
#include "platform/pixels/game_icon.h"
#include "platform/pixels/screenshot.h"
#include "platform/settings.h"
#include "environment_guard.h"
#include "program_run.h"

using namespace platform;
namespace fs = std::filesystem;

namespace {

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// A scratch folder of its own, and environment variables put back afterwards.
class SettingsFileTest : public ::testing::Test {
 protected:
  void SetUp() override { fs::create_directories(folder_); }
  void TearDown() override { fs::remove_all(folder_); }
  // Loads the file and returns what was written on the warnings stream.
  std::string Load(const fs::path& path, Settings& settings) {
    std::FILE* warnings = std::tmpfile();
    settings = LoadSettingsFile(path.string(), warnings);
    std::string text(size_t(std::ftell(warnings)), '\0');
    std::rewind(warnings);
    text.resize(std::fread(text.data(), 1, text.size(), warnings));
    std::fclose(warnings);
    return text;
  }
  const fs::path folder_ = fs::temp_directory_path() / ("tamsel_settings_" + std::to_string(::getpid()) + "_" +
                                                        testing::UnitTest::GetInstance()->current_test_info()->name());
  tamsel_test::EnvironmentGuard environment_;
};

}  // namespace

TEST(SettingsTest, EverySettingIsReadAndWrittenBack) {
  std::vector<std::string> warnings;
  const Settings read = ParseSettings(Joined({"# mine", "[display]", "fullscreen = no", "window_scale = 3", "scaling = integer",
                                              "", "[sound]", "sound = off", "music_volume = 0", "effects_volume = 55", "[keys]",
                                              "up = W, Keypad 8", "down = S", "left = Q", "right = D", "enter = Space",
                                              "ctrl = Left Shift", "esc = Backspace", "a = X"}), warnings);
  EXPECT_TRUE(warnings.empty()) << Joined(warnings);
  const Settings expected{.fullscreen = false, .windowScale = 3, .integerScaling = true, .soundOn = false, .musicVolume = 0,
                          .effectsVolume = 55, .keys = {{{SDLK_w, SDLK_KP_8}, {SDLK_s}, {SDLK_q}, {SDLK_d}, {SDLK_SPACE},
                                                         {SDLK_LSHIFT}, {SDLK_BACKSPACE}, {SDLK_x}}}};
  EXPECT_EQ(read, expected);

  // What the game writes reads back the same, without a warning, for defaults and changes.
  for (const Settings& settings : {Settings{}, expected}) {
    warnings.clear();
    EXPECT_EQ(ParseSettings(SettingsText(settings), warnings), settings);
    EXPECT_TRUE(warnings.empty()) << Joined(warnings);
  }
}

TEST(SettingsTest, ProblemsAreReportedAndLeaveSensibleValues) {
  struct Case {
    std::string text;
    std::function<bool(const Settings&)> holds;
    std::vector<std::string> warned;  // words of the warnings, in order of appearance
  };
  const Settings defaults;
  const auto keysAre = [](GameKey key, std::vector<SDL_Keycode> keys) {
    return [=](const Settings& s) { return s.keys[size_t(key)] == keys; };
  };
  const auto defaultKeys = [&](const Settings& s) { return s.keys == defaults.keys; };
  const Case cases[] = {
      // values out of range are brought in; values not understood keep the default
      {"[display]\nwindow_scale = 12", [](const Settings& s) { return s.windowScale == 8; }, {"line 2", "1 to 8"}},
      {"window_scale = 0", [](const Settings& s) { return s.windowScale == 1; }, {"line 1", "using 1"}},
      {"window_scale = -99999999999999999999", [](const Settings& s) { return s.windowScale == 1; }, {"outside"}},
      {"window_scale = 2x", [](const Settings& s) { return s.windowScale == 2; }, {"not a whole number"}},
      {"[sound]\nmusic_volume = 101\neffects_volume = -1",
       [](const Settings& s) { return s.musicVolume == 100 && s.effectsVolume == 0; }, {"line 2", "line 3"}},
      {"fullscreen = maybe", [](const Settings& s) { return s.fullscreen; }, {"neither yes nor no"}},
      {"scaling = stretch", [](const Settings& s) { return !s.integerScaling; }, {"neither integer nor aspect"}},
      // unknown settings, settings in the wrong section, malformed lines
      {"[display]\nsound = no", [](const Settings& s) { return s.soundOn; }, {"no setting 'sound' in [display]"}},
      {"[sound]\ncolour = blue\nmusic_volume = 3", [](const Settings& s) { return s.musicVolume == 3; }, {"'colour'"}},
      {"[display\nfullscreen = no", [](const Settings& s) { return !s.fullscreen; }, {"']'"}},
      {"just some words\n= 5", [](const Settings&) { return true; }, {"line 1", "'name = value'", "line 2"}},
      {std::string("\0\xff\xfe=\x01\n\x80\x81", 8), [&](const Settings& s) { return s == defaults; }, {"line 1", "line 2"}},
      // case, spaces, Windows line ends and comments do not matter
      {"; note\r\n[Display]\r\n  FullScreen=No  \r\n# end", [](const Settings& s) { return !s.fullscreen; }, {}},
      // keyboard keys
      {"[keys]\nup = Nope", defaultKeys, {"'Nope'", "keeping the default"}},
      {"[keys]\nup = W, Nope", keysAre(GameKey::Up, {SDLK_w}), {"'Nope'"}},
      {"[keys]\nup = F12", defaultKeys, {"F12"}},
      {"[keys]\nup = W, X, Y, Z, Q", keysAre(GameKey::Up, {SDLK_w, SDLK_x, SDLK_y, SDLK_z}), {"more than 4"}},
      {"[keys]\nleft = ,, Keypad 4", keysAre(GameKey::Left, {SDLK_COMMA, SDLK_KP_4}), {}},
      // a key serves one game key: the first keeps it; a game key left with none → defaults
      {"[keys]\nctrl = Left Ctrl, Return", keysAre(GameKey::Ctrl, {SDLK_LCTRL}),
       {"ctrl: Return already serves"}},
      {"[keys]\nup = A", defaultKeys, {"a: A already serves", "default keys"}},
      {"window_scale = 3\n[display]\nWindow_Scale = 4", [](const Settings& s) { return s.windowScale == 4; },
       {"line 3", "'window_scale' is set a second time"}},
      {"fullscreen = " + std::string(100000, 'y') + "\x01", [](const Settings& s) { return s.fullscreen; },
       {"'" + std::string(40, 'y') + "...'"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> warnings;
    const Settings settings = ParseSettings(c.text, warnings);
    EXPECT_TRUE(c.holds(settings)) << c.text;
    const std::string all = Joined(warnings);
    size_t at = 0;
    for (const std::string& word : c.warned) {
      at = all.find(word, at);
      EXPECT_NE(at, std::string::npos) << c.text << "\nwanted: " << word << "\ngot: " << all;
    }
    EXPECT_TRUE(!c.warned.empty() || warnings.empty()) << c.text << "\n" << all;
  }
}

TEST_F(SettingsFileTest, FirstRunWritesTheDefaultsAndLaterRunsReadThem) {
  const fs::path path = folder_ / "config" / "tamsel" / "tamsel.ini";
  Settings settings;
  EXPECT_EQ(Load(path, settings), "");
  EXPECT_EQ(settings, Settings{});
  EXPECT_EQ(tamsel_test::ReadFile(path), SettingsText(Settings{}));
  EXPECT_FALSE(fs::exists(path.string() + ".new"));

  // The player's changes are read and the file is left as the player wrote it.
  std::ofstream(path, std::ios::binary) << "[display]\nwindow_scale = 4\nscaling = huge\n";
  const std::string warned = Load(path, settings);
  EXPECT_EQ(settings.windowScale, 4);
  EXPECT_NE(warned.find(path.string() + ": line 3:"), std::string::npos) << warned;
  EXPECT_EQ(tamsel_test::ReadFile(path), "[display]\nwindow_scale = 4\nscaling = huge\n");
}

TEST_F(SettingsFileTest, UnreadableHugeOrUnwritableFilesGiveWarningsNotFailures) {
  Settings settings;
  fs::create_directories(folder_ / "folder.ini");  // a folder where the file should be
  EXPECT_NE(Load(folder_ / "folder.ini", settings).find("cannot be read"), std::string::npos);
  EXPECT_EQ(settings, Settings{});
  // a FIFO nobody writes into is passed over at once
  ASSERT_EQ(::mkfifo((folder_ / "fifo.ini").c_str(), 0600), 0);
  EXPECT_NE(Load(folder_ / "fifo.ini", settings).find("not a regular file"), std::string::npos);

  // a file of rubbish: a few lines of warnings, then a count
  std::ofstream big(folder_ / "big.ini", std::ios::binary);
  big << "window_scale = 5\n";
  for (int i = 0; i < 100000; ++i) big << "rubbish\n";
  big.close();
  const std::string warned = Load(folder_ / "big.ini", settings);
  EXPECT_EQ(settings.windowScale, 5);
  EXPECT_NE(warned.find("64 KiB"), std::string::npos);
  EXPECT_NE(warned.find("more problems"), std::string::npos);
  EXPECT_LT(std::count(warned.begin(), warned.end(), '\n'), 15);

  // a place where nothing can be written (a file stands where its folder should be)
  std::ofstream(folder_ / "plain") << "x";
  EXPECT_NE(Load(folder_ / "plain" / "tamsel.ini", settings).find("cannot write"), std::string::npos);
  EXPECT_EQ(settings, Settings{});
}

TEST_F(SettingsFileTest, FoldersFollowTheDesktopConventions) {
  environment_.Set("HOME", "/home/player");
  environment_.Set("XDG_CONFIG_HOME", nullptr);
  EXPECT_EQ(SettingsFilePath(), "/home/player/.config/tamsel/tamsel.ini");
  environment_.Set("XDG_CONFIG_HOME", "relative/ignored");
  EXPECT_EQ(SettingsFilePath(), "/home/player/.config/tamsel/tamsel.ini");
  environment_.Set("XDG_CONFIG_HOME", "/etc/player");
  EXPECT_EQ(SettingsFilePath(), "/etc/player/tamsel/tamsel.ini");

  // pictures: the variable, else the user-dirs file, else ~/Pictures
  environment_.Set("XDG_PICTURES_DIR", nullptr);
  environment_.Set("XDG_CONFIG_HOME", folder_.c_str());
  EXPECT_EQ(PicturesDirectory(), "/home/player/Pictures");
  std::ofstream(folder_ / "user-dirs.dirs") << "# written by xdg-user-dirs-update\n"
                                               "XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n"
                                               "XDG_PICTURES_DIR=\"$HOME/Bilder\"\n";
  EXPECT_EQ(PicturesDirectory(), "/home/player/Bilder");
  environment_.Set("XDG_PICTURES_DIR", "/srv/shots");
  EXPECT_EQ(PicturesDirectory(), "/srv/shots");

  // relative or unterminated values in the file are passed over
  for (const char* line : {"XDG_PICTURES_DIR=\"pics\"", "XDG_PICTURES_DIR=\"$HOME/p", "XDG_PICTURES_DIRX=\"/a\""}) {
    EXPECT_EQ(UserDirsValue(line, "XDG_PICTURES_DIR", "/h"), "") << line;
  }
}

TEST(GameIconTest, TheFigureStandsInTheMiddleOnATransparentSquare) {
  // A sheet of key colour with a 2 × 4 figure in the top-left corner of the first frame and
  // a pixel in the second frame, which the icon must not show.
  DibBitmap sheet;
  sheet.width = 96;
  sheet.height = 48;
  sheet.colors.assign(96 * 48, 0xBBEEFF);
  for (int y = 0; y < 4; ++y) sheet.colors[size_t(y) * 96] = sheet.colors[size_t(y) * 96 + 1] = 0x00332211;
  sheet.colors[40] = 0x00FFFFFF;

  const auto icon = GameIcon(sheet, 3);
  ASSERT_TRUE(icon);
  ASSERT_EQ(icon->width, 144);
  ASSERT_EQ(icon->height, 144);
  size_t opaque = 0;
  int minX = 999, minY = 999;
  for (int y = 0; y < 144; ++y)
    for (int x = 0; x < 144; ++x) {
      const uint8_t* p = &icon->rgba[(size_t(y) * 144 + size_t(x)) * 4];
      if (p[3] == 0) continue;
      ++opaque;
      minX = std::min(minX, x);
      minY = std::min(minY, y);
      EXPECT_EQ(p[0] * 0x10000 + p[1] * 0x100 + p[2], 0x112233) << x << "," << y;
    }
  EXPECT_EQ(opaque, 2u * 4u * 9u);  // every pixel 3 × 3, nothing of the second frame
  EXPECT_EQ(minX, (48 - 2) / 2 * 3);
  EXPECT_EQ(minY, (48 - 4) / 2 * 3);

  // A sheet smaller than a frame, or with missing pixels, or a silly scale gives no icon.
  DibBitmap small = sheet, torn = sheet;
  small.width = 31;
  torn.colors.resize(10);
  for (const auto& [bitmap, scale] : {std::pair{&small, 1}, {&torn, 1}, {&sheet, 0}, {&sheet, 17}}) EXPECT_FALSE(GameIcon(*bitmap, scale)) << scale;
}

TEST(ScreenshotTest, NamedByTimeNeverOverwritingAndTheFolderIsMade) {
  const fs::path folder = fs::temp_directory_path() / ("tamsel_shots_" + std::to_string(::getpid())) / "Pictures";
  fs::remove_all(folder.parent_path());
  Surface page(640, 480);
  Palette palette{};
  const std::time_t when = 1780000000;
  const std::string first = SaveScreenshot(page, palette, folder.string(), when);
  const std::string second = SaveScreenshot(page, palette, folder.string(), when);
  ASSERT_FALSE(first.empty());
  EXPECT_EQ(fs::path(first).parent_path(), folder);
  EXPECT_EQ(fs::path(first).filename().string().rfind("tamsel-20", 0), 0u) << first;
  EXPECT_EQ(second, first.substr(0, first.size() - 4) + "-2.png");
  EXPECT_GT(fs::file_size(first), 100u);
  EXPECT_GT(fs::file_size(second), 100u);

  // No folder can be made under a plain file: nothing written, no crash.
  std::ofstream(folder / "file") << "x";
  EXPECT_EQ(SaveScreenshot(page, palette, (folder / "file" / "sub").string(), when), "");
  fs::remove_all(folder.parent_path());
}
