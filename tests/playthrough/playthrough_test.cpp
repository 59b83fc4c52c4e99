// The whole story, played by the demo that ships with the game: the real program, headless, on
// the generated data set, from a new game to the ending and back on the title. The milestones'
// state dumps prove the story happened; the screenshots stay in the build directory under
// playthrough/ for a person to look at. A demo that no longer plays through (the game or the
// data changed under it) ends with exit code 3 and fails here: record it again with
// tools/playthrough/record_playthrough.py.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "program_run.h"

namespace {

namespace fs = std::filesystem;

using tamsel_test::DumpNumber;
using tamsel_test::ReadFile;
using tamsel_test::RunCommand;

constexpr int kWood = 2;
constexpr int kPalace = 4;

std::string Screen(const std::string& json) {
  const size_t at = json.find("\"screen\":\"");
  if (at == std::string::npos) return "";
  return json.substr(at + 10, json.find('"', at + 10) - at - 10);
}

TEST(Playthrough, TheDemoPlaysTheStoryFromANewGameToTheEndingAndBackToTheTitle) {
  const fs::path out = fs::path(TAMSEL_BUILD_DIR) / "playthrough";
  fs::remove_all(out);
  // The demo's script is found in the data folder, as an installed game finds it.
  const auto run = RunCommand(std::string(TAMSEL_BUILD_DIR) + "/tamsel --headless --demo --shots " +
                              out.string() + " --data " + TAMSEL_DATA_DIR);
  ASSERT_EQ(run.exitCode, 0) << run.output;

  struct Milestone {
    const char* state;
    const char* screen;
    int map;           // -1: any
    int storyFlag;     // the palace gate: 1 once the tree demon is beaten
    int leastLevel;
  };
  const Milestone milestones[] = {
      {"01_home.json", "world", 0, 0, 1},
      {"02_market_won.json", "world", 1, 0, 2},  // the two-fight encounter
      {"04_wood.json", "world", kWood, 0, 2},    // through the gate it opened
      {"05_before_the_demon.json", "world", kWood, 0, 6},
      {"06_the_gate_opens.json", "story", kWood, 0, 6},
      {"06_tree_demon_beaten.json", "world", kWood, 1, 6},
      {"07_palace.json", "world", kPalace, 1, 6},  // through the palace gate
      // Only the palace master's defeat types a story screen in the palace: the red ending.
      {"09_the_ending.json", "story", kPalace, 1, 6},
      {"10_title.json", "title", -1, -1, 0},
  };
  for (const Milestone& milestone : milestones) {
    SCOPED_TRACE(milestone.state);
    const std::string json = ReadFile(out / milestone.state);
    ASSERT_FALSE(json.empty()) << "not written";
    EXPECT_EQ(Screen(json), milestone.screen);
    if (milestone.map >= 0) { EXPECT_EQ(DumpNumber(json, "", "nMap"), milestone.map); }
    if (milestone.storyFlag >= 0) { EXPECT_EQ(DumpNumber(json, "", "nStoryFlag"), milestone.storyFlag); }
    EXPECT_GE(DumpNumber(json, "hero", "nLevel"), milestone.leastLevel);
    EXPECT_TRUE(fs::exists(out / (fs::path(milestone.state).stem().string() + ".png")));
  }
}

// In a window (SDL's dummy driver here) the demo starts, plays, and ends at once when the
// player closes the window (Ctrl+C arrives as a close).
TEST(Playthrough, TheDemoInAWindowEndsWhenClosed) {
  const fs::path home = fs::path(TAMSEL_BUILD_DIR) / "playthrough_home";
  fs::create_directories(home);  // the game makes its folders below an existing home only
  const auto run = RunCommand("HOME=" + home.string() + " timeout --preserve-status -k 10 -s INT 2 " + TAMSEL_BUILD_DIR +
                              "/tamsel --demo --windowed --no-sound --data " + TAMSEL_DATA_DIR);
  EXPECT_EQ(run.exitCode, 0) << run.output;
}

}  // namespace
