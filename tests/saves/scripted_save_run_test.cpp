// The real program on the real data set saves into slot 3 from the in-game menu, plays on, quits
// to the title and loads slot 3 there, then loads it once more in play and saves it into slot 4
// (script tests/scripts/save_and_load.txt). Screenshots of every menu stay in the build directory
// under saves_scripted_run/ for a person to look at.
#include <gtest/gtest.h>

#include <cstdlib>
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
      "\"(screen|flips|paletteLoads|effects|mciCommands)\":(\"[a-z]*\"|[0-9]+|\\[[^\\]]*\\]),?");
  return std::regex_replace(json, kLogs, "");
}

TEST(ScriptedSaveRun, AGameSavedInPlayComesBackWholeFromTheTitle) {
  const fs::path program = fs::path(TAMSEL_BUILD_DIR) / "tamsel";
  const fs::path script = fs::path(TAMSEL_SOURCE_DIR) / "tests/scripts/save_and_load.txt";
  const fs::path out = fs::path(TAMSEL_BUILD_DIR) / "saves_scripted_run";
  const fs::path home = out / "home";
  fs::remove_all(out);
  fs::create_directories(home);

  // The player's own saves are somewhere else entirely: the run must not touch them.
  const std::string command = "env -u XDG_DATA_HOME HOME=" + home.string() + " " + program.string() +
                              " --headless --script " + script.string() + " --shots " + out.string() +
                              " --data " + TAMSEL_DATA_DIR + " > " + (out / "output.txt").string() + " 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << ReadFile(out / "output.txt");
  EXPECT_TRUE(fs::is_empty(home));
  const std::string slot3 = ReadFile(out / "save" / "3.sav");
  EXPECT_GT(slot3.size(), 188u);
  EXPECT_EQ(ReadFile(out / "save" / "4.sav"), slot3);  // loaded in play and saved again at once
  EXPECT_FALSE(fs::exists(fs::path(TAMSEL_DATA_DIR) / "save" / "3.sav"));

  const std::string saved = ReadFile(out / "02_saved.json");
  const std::string city = ReadFile(out / "03_city.json");
  const std::string loaded = ReadFile(out / "05_loaded.json");
  ASSERT_FALSE(saved.empty());
  ASSERT_FALSE(loaded.empty());
  EXPECT_NE(saved.find("\"nX\":220"), std::string::npos);  // five steps from x 180
  EXPECT_NE(city.find("\"nMap\":1,"), std::string::npos);   // played on into the city
  EXPECT_NE(GameOf(city), GameOf(saved));
  EXPECT_NE(ReadFile(out / "04_title_after_cancel.json").find("\"screen\":\"title\""), std::string::npos);
  EXPECT_EQ(GameOf(loaded), GameOf(saved));

  for (const char* shot : {"10_menu", "11_status", "12_menu_again", "13_about", "14_about_text",
                           "15_goods", "16_save_menu", "17_menu_after_save", "18_city",
                           "19_title_again", "20_title_after_cancel", "21_load_menu", "22_loaded",
                           "23_menu_after_load_and_save"}) {
    EXPECT_TRUE(fs::exists(out / (std::string(shot) + ".png"))) << shot;
  }
}

}  // namespace
