// The real program on the real data set, driven by a script: a new game, the opening story and
// the first talk, then out of the home into the city and back, and into a shop and out. Each "state" step of the script
// leaves the game state as JSON; each "shot" step leaves a screenshot for a person to look at
// (kept in the build directory under world_scripted_run/).
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "program_run.h"

namespace {

namespace fs = std::filesystem;

using tamsel_test::DumpNumber;
using tamsel_test::ReadFile;

struct Expected {
  const char* state;
  int map, heroX, heroY, viewCol, viewRow, storyStage;
};

TEST(ScriptedRun, ANewGameWalksFromTheHomeIntoTheCityAndBack) {
  const fs::path program = fs::path(TAMSEL_BUILD_DIR) / "tamsel";
  const fs::path script = fs::path(TAMSEL_SOURCE_DIR) / "tests/scripts/home_to_city_and_back.txt";
  const fs::path out = fs::path(TAMSEL_BUILD_DIR) / "world_scripted_run";
  ASSERT_TRUE(fs::exists(program)) << program;
  ASSERT_TRUE(fs::exists(fs::path(TAMSEL_DATA_DIR) / "maps" / "home.map"));
  fs::remove_all(out);
  fs::create_directories(out);

  const std::string command = program.string() + " --headless --script " + script.string() +
                              " --shots " + out.string() + " --data " + TAMSEL_DATA_DIR + " > " +
                              (out / "output.txt").string() + " 2>&1";
  const int status = std::system(command.c_str());
  ASSERT_EQ(status, 0) << ReadFile(out / "output.txt");

  const Expected steps[] = {
      // After the first talk: the home, the hero where a new game puts it.
      {"01_home.json", 0, 180, 164, 0, 0, 0},
      // Through the home's door: the city's north street, in front of the house.
      {"02_city.json", 1, 384, 100, 14, 0, 0},
      // Through the house door again: back inside on the doormat, the way out behind.
      {"03_home_again.json", 0, 410, 400, 0, 0, 0},
      {"04_city_again.json", 1, 384, 100, 14, 0, 0},
      // Round the first shop's building and in through its door.
      {"05_shop.json", 5, 300, 400, 0, 0, 0},
      // Out of the shop: in the street right below its door.
      {"06_city_from_shop.json", 1, 384, 256, 14, 0, 0},
  };
  for (const Expected& step : steps) {
    SCOPED_TRACE(step.state);
    const std::string json = ReadFile(out / step.state);
    ASSERT_FALSE(json.empty()) << "no state written";
    EXPECT_EQ((std::vector<long long>{DumpNumber(json, "", "nMap"), DumpNumber(json, "hero", "nX"),
                                      DumpNumber(json, "hero", "nY"), DumpNumber(json, "", "nViewCol"),
                                      DumpNumber(json, "", "nViewRow"), DumpNumber(json, "", "nStoryStage")}),
              (std::vector<long long>{step.map, step.heroX, step.heroY, step.viewCol, step.viewRow, step.storyStage}));
  }
  for (const char* shot : {"00_title.png", "01_story.png", "02_first_talk.png", "03_home.png",
                           "04_city.png", "05_home_again.png", "06_shop.png",
                           "07_city_from_shop.png"}) {
    EXPECT_GT(fs::exists(out / shot) ? fs::file_size(out / shot) : 0u, 1000u) << shot;
  }
}

}  // namespace
