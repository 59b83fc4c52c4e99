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

// What a parsed command line asks for, in one line.
std::string Described(const CommandLine& c) {
  return std::string(c.help ? "help " : "") + (c.headless ? "headless " : "") + (c.demo ? "demo " : "") +
         std::to_string(c.settings.size()) + " settings, script " + c.script + ", shots " + c.shots +
         ", seed " + std::to_string(c.seed) + ", data " + c.data + ", save " + c.save;
}

}  // namespace

TEST(CommandLineTest, AcceptsTheThreeForms) {
  const struct {
    std::vector<std::string> arguments;
    std::string described;
  } cases[] = {
      {{}, "0 settings, script , shots , seed 1, data , save "},
      {{"--windowed", "--data", "/games/tamsel"}, "1 settings, script , shots , seed 1, data /games/tamsel, save "},
      {{"--headless", "--script", "run.txt", "--seed", "4294967295", "--shots", "out", "--data", "d"},
       "headless 0 settings, script run.txt, shots out, seed 4294967295, data d, save "},
      {{"--script", "s", "--headless"}, "headless 0 settings, script s, shots ., seed 1, data , save "},
      // The demo, in a window or headless, plays the script of the data folder.
      {{"--demo", "--windowed"}, "demo 1 settings, script , shots , seed 1, data , save "},
      {{"--demo", "--headless", "--shots", "out"},
       "headless demo 0 settings, script , shots out, seed 1, data , save "},
      {{"--help"}, "help 0 settings, script , shots , seed 1, data , save "},
  };
  CommandLine commandLine;  // each parse starts afresh
  for (const auto& c : cases) {
    ASSERT_TRUE(Parse(c.arguments, commandLine));
    EXPECT_EQ(Described(commandLine), c.described);
  }
  EXPECT_EQ(DemoScriptPath("/usr/share/games/tamsel"), "/usr/share/games/tamsel/demo/playthrough.txt");
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
      {"--headless", "--script", "s", "--seed", "00000000007"},  // more than ten digits
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
