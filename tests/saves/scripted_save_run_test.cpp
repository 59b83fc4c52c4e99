// The real program on the real data set saves into slot 3 from the in-game menu, plays on into
// the city, quits to the title and loads slot 3 there, then loads it again in play and saves it
// into slot 4 (tests/scripts/save_and_load.txt). Screenshots of every menu stay in the build
// directory under saves_scripted_run/ for a person to look at.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>

#include "program_run.h"

namespace {

namespace fs = std::filesystem;
using tamsel_test::ReadFile;

// A state dump without the logs of what was shown and played on the way.
std::string GameOf(const std::string& json) {
  static const std::regex kLogs(
      "\"(screen|flips|paletteLoads|effects|mciTimes|mciCommands)\":(\"[a-z]*\"|[0-9]+|\\[[^\\]]*\\]),?");
  return std::regex_replace(json, kLogs, "");
}

TEST(ScriptedSaveRun, AGameSavedInPlayComesBackWholeFromTheTitle) {
  const fs::path out = fs::path(TAMSEL_BUILD_DIR) / "saves_scripted_run";
  fs::remove_all(out);
  fs::create_directories(out / "home");
  // The player's own saves are somewhere else entirely: the run must not touch them.
  const auto run = tamsel_test::RunCommand(
      "env -u XDG_DATA_HOME HOME=" + (out / "home").string() + " " + TAMSEL_BUILD_DIR + "/tamsel --headless --script " +
      TAMSEL_SOURCE_DIR + "/tests/scripts/save_and_load.txt --shots " + out.string() + " --data " + TAMSEL_DATA_DIR);
  ASSERT_EQ(run.exitCode, 0) << run.output;
  EXPECT_TRUE(fs::is_empty(out / "home"));
  EXPECT_FALSE(fs::exists(fs::path(TAMSEL_DATA_DIR) / "save" / "3.sav"));
  const std::string slot3 = ReadFile(out / "save" / "3.sav");
  EXPECT_GT(slot3.size(), 188u);
  EXPECT_EQ(ReadFile(out / "save" / "4.sav"), slot3);  // loaded in play and saved again at once

  const std::string saved = ReadFile(out / "02_saved.json"), city = ReadFile(out / "03_city.json");
  ASSERT_FALSE(saved.empty());
  EXPECT_NE(saved.find("\"nX\":220"), std::string::npos);  // five steps from x 180
  EXPECT_NE(city.find("\"nMap\":1,"), std::string::npos);   // played on into the city
  EXPECT_NE(GameOf(city), GameOf(saved));
  EXPECT_NE(ReadFile(out / "04_title_after_cancel.json").find("\"screen\":\"title\""), std::string::npos);
  EXPECT_EQ(GameOf(ReadFile(out / "05_loaded.json")), GameOf(saved));
  EXPECT_TRUE(fs::exists(out / "23_menu_after_load_and_save.png"));
}

}  // namespace
