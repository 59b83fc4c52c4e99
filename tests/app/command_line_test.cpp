#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/command_line.h"

namespace {

bool Parse(const std::vector<std::string>& arguments, CommandLine& commandLine,
           std::string* error = nullptr) {
  std::string message;
  const bool ok = ParseCommandLine(arguments, commandLine, message);
  if (error) *error = message;
  return ok;
}

}  // namespace

TEST(CommandLineTest, AcceptsTheThreeForms) {
  CommandLine commandLine;
  ASSERT_TRUE(Parse({}, commandLine));
  EXPECT_FALSE(commandLine.headless);
  EXPECT_TRUE(commandLine.settings.empty());
  EXPECT_EQ(commandLine.data, "");

  ASSERT_TRUE(Parse({"--windowed", "--data", "/games/tamsel"}, commandLine));
  EXPECT_EQ(commandLine.settings.size(), 1u);
  EXPECT_EQ(commandLine.data, "/games/tamsel");

  ASSERT_TRUE(Parse({"--headless", "--script", "run.txt", "--seed", "4294967295", "--shots",
                     "out", "--data", "d"},
                    commandLine));
  EXPECT_TRUE(commandLine.headless);
  EXPECT_EQ(commandLine.script, "run.txt");
  EXPECT_EQ(commandLine.seed, 4294967295u);
  EXPECT_EQ(commandLine.shots, "out");
  EXPECT_EQ(commandLine.data, "d");

  ASSERT_TRUE(Parse({"--script", "s", "--headless"}, commandLine));
  EXPECT_EQ(commandLine.seed, 1u);
  EXPECT_EQ(commandLine.shots, ".");

  // The demo, in a window or headless, plays the script of the data folder.
  ASSERT_TRUE(Parse({"--demo", "--windowed"}, commandLine));
  EXPECT_TRUE(commandLine.demo);
  EXPECT_FALSE(commandLine.headless);
  ASSERT_TRUE(Parse({"--demo", "--headless", "--shots", "out"}, commandLine));
  EXPECT_TRUE(commandLine.demo && commandLine.headless);
  EXPECT_EQ(DemoScriptPath("/usr/share/games/tamsel"), "/usr/share/games/tamsel/demo/playthrough.txt");

  ASSERT_TRUE(Parse({"--help"}, commandLine));
  EXPECT_TRUE(commandLine.help);
}

TEST(CommandLineTest, RejectsWhatMakesNoSense) {
  CommandLine commandLine;
  std::string error;
  const std::vector<std::vector<std::string>> wrong = {
      {"--headless"},                                  // no script
      {"--script", "s"},                               // script without --headless
      {"--seed", "3"},                                 // seed without --headless
      {"--headless", "--script", "s", "--windowed"},   // a window without a screen
      {"--headless", "--script", "s", "--no-sound"},
      {"--scale"},                                     // value missing
      {"--scale", "0"},                                // out of range
      {"--scale", "two"},
      {"--scaling", "stretch"},
      {"--headless", "--script", "s", "--seed", "-1"},
      {"--headless", "--script", "s", "--seed", "4294967296"},
      {"--headless", "--script", "s", "--seed", "12x"},
      {"--demo", "--script", "s"},                     // the demo has its own script
      {"--demo", "--headless", "--seed", "2"},         // and its own seed
      {"--demo", "--shots", "out"},                    // shots without --headless
      {"--data"},                                      // value missing
      {"--colour"},                                    // unknown
      {"game.sav"},
  };
  for (const auto& arguments : wrong) {
    EXPECT_FALSE(Parse(arguments, commandLine, &error)) << arguments[0];
    EXPECT_FALSE(error.empty());
  }
}

TEST(CommandLineTest, ScreenAndSoundOptionsOverrideTheSettingsFile) {
  CommandLine commandLine;
  ASSERT_TRUE(Parse({"--scale", "3", "--no-sound", "--windowed", "--scaling", "integer"}, commandLine));
  platform::Settings settings;
  settings.musicVolume = 40;  // as read from the file
  ApplySettingOverrides(commandLine.settings, settings);
  EXPECT_FALSE(settings.fullscreen);
  EXPECT_EQ(settings.windowScale, 3);
  EXPECT_TRUE(settings.integerScaling);
  EXPECT_FALSE(settings.soundOn);
  EXPECT_EQ(settings.musicVolume, 40);

  // The last of two contradicting options wins.
  ASSERT_TRUE(Parse({"--windowed", "--fullscreen"}, commandLine));
  settings.fullscreen = false;
  ApplySettingOverrides(commandLine.settings, settings);
  EXPECT_TRUE(settings.fullscreen);
}

TEST(CommandLineTest, DataDirectoryIsTheFirstCandidateHoldingPictures) {
  namespace fs = std::filesystem;
  const fs::path root = fs::temp_directory_path() / ("tamsel_data_choice_" + std::to_string(::getpid()));
  fs::create_directories(root / "built" / "pic");
  fs::create_directories(root / "share" / "games" / "tamsel" / "pic");
  fs::create_directories(root / "empty");
  const std::string built = (root / "built").string();
  const std::string program = (root / "bin" / "tamsel").string();

  const std::vector<std::string> candidates = DataDirectoryCandidates(program, built);
  ASSERT_EQ(candidates.size(), 3u);
  EXPECT_EQ(candidates[0], ".");
  EXPECT_EQ(candidates[1], (root / "share" / "games" / "tamsel").string());
  EXPECT_EQ(candidates[2], built);

  EXPECT_EQ(ChooseDataDirectory("given", candidates), "given");
  EXPECT_EQ(ChooseDataDirectory("", {(root / "empty").string(), built}), built);
  EXPECT_EQ(ChooseDataDirectory("", {(root / "empty").string(), candidates[1], built}), candidates[1]);
  EXPECT_EQ(ChooseDataDirectory("", {(root / "empty").string(), (root / "none").string()}), ".");
  fs::remove_all(root);
}

TEST(CommandLineTest, SavedGamesGoToTheGivenOrThePlayersFolderButHeadlessRunsKeepTheirOwn) {
  CommandLine game;
  ASSERT_TRUE(Parse({}, game));
  EXPECT_EQ(ChooseSaveDirectory(game, "/xdg", "/home/p"), "/xdg/tamsel/save");
  EXPECT_EQ(ChooseSaveDirectory(game, nullptr, "/home/p"), "/home/p/.local/share/tamsel/save");
  EXPECT_EQ(ChooseSaveDirectory(game, "relative", "/home/p"), "/home/p/.local/share/tamsel/save");
  EXPECT_EQ(ChooseSaveDirectory(game, nullptr, nullptr), "");

  CommandLine headless;
  ASSERT_TRUE(Parse({"--headless", "--script", "s", "--shots", "out"}, headless));
  EXPECT_EQ(ChooseSaveDirectory(headless, "/xdg", "/home/p"), "out/save");

  for (const auto& arguments : std::vector<std::vector<std::string>>{
           {"--save", "/srv/saves"}, {"--headless", "--script", "s", "--save", "/srv/saves"}}) {
    CommandLine given;
    ASSERT_TRUE(Parse(arguments, given));
    EXPECT_EQ(ChooseSaveDirectory(given, "/xdg", "/home/p"), "/srv/saves");
  }
  EXPECT_FALSE(Parse({"--save"}, game));
}
