// The game installed with `cmake --install` into a scratch prefix, started as a player would:
// from another folder, with its own home.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include "program_run.h"

namespace {

namespace fs = std::filesystem;

using tamsel_test::Outcome;
using tamsel_test::ReadFile;
using tamsel_test::RunCommand;

// Every file under a folder, as paths relative to it.
std::set<std::string> FilesUnder(const fs::path& folder) {
  std::set<std::string> files;
  std::error_code error;
  for (const auto& entry : fs::recursive_directory_iterator(folder, error)) {
    if (entry.is_regular_file()) files.insert(fs::relative(entry.path(), folder).string());
  }
  return files;
}

class InstalledGameTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    root_ = fs::temp_directory_path() / ("tamsel_installed_" + std::to_string(::getpid()));
    fs::remove_all(root_);
    fs::create_directories(root_ / "elsewhere");
    install_ = RunCommand("cmake --install " + std::string(TAMSEL_BUILD_DIR) + " --prefix " +
                   (root_ / "prefix").string());
  }
  static void TearDownTestSuite() { fs::remove_all(root_); }
  void SetUp() override {
    ASSERT_EQ(install_.exitCode, 0) << install_.output;
    fs::remove_all(root_ / "home");
    fs::create_directories(root_ / "home");
  }

  // The installed program started from an empty folder, with a home of its own and no
  // desktop-folder variables of the person running the tests.
  static Outcome Play(const std::string& arguments, const std::string& environment = "") {
    return RunCommand("cd " + (root_ / "elsewhere").string() + " && env -u XDG_CONFIG_HOME -u XDG_DATA_HOME" +
               " -u XDG_PICTURES_DIR HOME=" + (root_ / "home").string() + " " + environment + " " +
               (root_ / "prefix" / "games" / "tamsel").string() + " " + arguments);
  }

  static inline fs::path root_;
  static inline Outcome install_;
};

}  // namespace

TEST_F(InstalledGameTest, EverythingLandsWhereTheDesktopLooksForIt) {
  const fs::path prefix = root_ / "prefix";
  // The data set itself is compared whole below.
  for (const char* file : {"games/tamsel", "share/applications/tamsel.desktop", "share/metainfo/tamsel.metainfo.xml",
                           "share/icons/hicolor/48x48/apps/tamsel.png", "share/icons/hicolor/96x96/apps/tamsel.png",
                           "share/icons/hicolor/192x192/apps/tamsel.png", "share/man/man6/tamsel.6.gz",
                           "share/doc/tamsel/copyright", "share/doc/tamsel/changelog.gz"}) {
    EXPECT_TRUE(fs::is_regular_file(prefix / file)) << file;
  }
  // The installed data set is the built one, without a save folder (saves are the player's).
  ASSERT_TRUE(FilesUnder(TAMSEL_DATA_DIR).count("demo/playthrough.txt"));
  EXPECT_EQ(FilesUnder(prefix / "share/games/tamsel"), FilesUnder(TAMSEL_DATA_DIR));
  EXPECT_FALSE(fs::exists(prefix / "share/games/tamsel/save"));
  EXPECT_NE(ReadFile(prefix / "share/applications/tamsel.desktop").find("\nExec=tamsel\n"), std::string::npos);
}

TEST_F(InstalledGameTest, StartedFromAnotherFolderItPlaysOnItsOwnData) {
  // It names the data it found (the installed set, not the build folder's) and the player's
  // folders for saved games and settings.
  const Outcome help = Play("--help");
  EXPECT_EQ(help.exitCode, 0);
  for (const std::string& line : {"Data folder: " + (root_ / "prefix/share/games/tamsel").string(),
                                  "Saved games: " + (root_ / "home/.local/share/tamsel/save").string(),
                                  "Settings file: " + (root_ / "home/.config/tamsel/tamsel.ini").string()}) {
    EXPECT_NE(help.output.find(line + "\n"), std::string::npos) << help.output;
  }
  const Outcome xdg = Play("--help", "XDG_DATA_HOME=/srv/data XDG_CONFIG_HOME=/srv/config");
  EXPECT_NE(xdg.output.find("Saved games: /srv/data/tamsel/save\n"), std::string::npos) << xdg.output;
  EXPECT_NE(xdg.output.find("Settings file: /srv/config/tamsel/tamsel.ini\n"), std::string::npos);

  const fs::path data = root_ / "prefix/share/games/tamsel";
  const auto dataBefore = FilesUnder(data);
  std::ofstream(root_ / "elsewhere/run.txt") << "wait 1000\nshot title\nstate title.json\n";
  const Outcome run = Play("--headless --script run.txt --shots shots");
  ASSERT_EQ(run.exitCode, 0) << run.output;
  const std::string state = ReadFile(root_ / "elsewhere/shots/title.json");
  EXPECT_NE(state.find("\"screen\":\"title\""), std::string::npos) << state;
  EXPECT_EQ(state.find("\"nWidth\":0,"), std::string::npos) << "a map was not read";
  EXPECT_GT(fs::file_size(root_ / "elsewhere/shots/title.png"), 10000u);

  // A headless run leaves the player's home alone (no settings, no saves) and never writes
  // into the installed data.
  EXPECT_TRUE(FilesUnder(root_ / "home").empty());
  EXPECT_EQ(FilesUnder(data), dataBefore);
}

TEST_F(InstalledGameTest, DesktopRunWritesDefaultSettingsAndReportsADamagedFile) {
  // On SDL's dummy video driver the game runs without a screen until Ctrl+C ends it; without
  // sound it does not wait for the music's sound font to load before it ends.
  const std::string dummy = "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy timeout --preserve-status -k 30 -s INT 2";
  const fs::path settings = root_ / "home/.config/tamsel/tamsel.ini";
  const Outcome first = Play("--no-sound", dummy);
  EXPECT_EQ(first.exitCode, 0) << first.output;
  const std::string written = ReadFile(settings);
  // Options change no file.
  for (const char* line : {"[display]\n", "fullscreen = yes\n", "sound = yes\n"})
    EXPECT_NE(written.find(line), std::string::npos) << written;
  const std::string damaged = "[display]\nwindow_scale = lots\n\x01\x02\n";
  std::ofstream(settings, std::ios::binary) << damaged;
  const Outcome second = Play("--no-sound --windowed", dummy);
  EXPECT_EQ(second.exitCode, 0) << second.output;
  for (const char* line : {": line 2:", ": line 3:"})
    EXPECT_NE(second.output.find(settings.string() + line), std::string::npos) << second.output;
  EXPECT_EQ(ReadFile(settings), damaged);  // the player's file is kept
}
