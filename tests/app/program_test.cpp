// The tamsel program as a player or a script runner starts it.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "program_run.h"

namespace {

namespace fs = std::filesystem;

using tamsel_test::Outcome;
using tamsel_test::ReadFile;

Outcome RunTamsel(const std::string& arguments, const std::string& environment = "") {
  return tamsel_test::RunCommand(environment + " timeout 60 " + TAMSEL_BUILD_DIR + "/tamsel " + arguments);
}

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    directory_ = fs::temp_directory_path() / (std::string("tamsel_program_") + std::to_string(::getpid()) + "_" + info->name());
    fs::remove_all(directory_);
    fs::create_directories(directory_);
  }
  void TearDown() override { fs::remove_all(directory_); }
  std::string Write(const std::string& name, const std::string& text) {
    std::ofstream(directory_ / name, std::ios::binary) << text;
    return (directory_ / name).string();
  }
  fs::path directory_;
};

}  // namespace

TEST_F(ProgramTest, EachWayOfStartingEndsWithItsCodeAndSaysWhy) {
  const std::string data = " --data " + std::string(TAMSEL_DATA_DIR) + " --shots " + directory_.string();
  const std::string bad = Write("bad.txt", "# a comment\nwait 100\nfly UP\nwait 5\n");
  // The title's last entry ends the game before the screenshot is taken.
  const std::string quit = Write("quit.txt", "wait 1000\ntap UP\ntap RETURN\nwait 500\nshot after_quit\n");
  const struct {
    std::string arguments, environment;
    int code;
    std::vector<std::string> words;
  } cases[] = {
      {"--help", "", 0, {"--headless --script FILE"}},
      {"--colour blue", "", 2, {"--colour", "usage:"}},
      {"--headless --script " + bad, "", 2, {"bad.txt", "line 3"}},
      {"--headless --script " + (directory_ / "none.txt").string(), "", 2, {"none.txt"}},
      {"", "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_VIDEODRIVER=none", 1, {"--headless"}},
      {"--headless --script " + quit + data, "", 3, {"quit.txt: line 5"}},
  };
  for (const auto& c : cases) {
    const Outcome outcome = RunTamsel(c.arguments, c.environment);
    EXPECT_EQ(outcome.exitCode, c.code) << c.arguments;
    for (const std::string& word : c.words)
      EXPECT_NE(outcome.output.find(word), std::string::npos) << outcome.output;
  }
  EXPECT_FALSE(fs::exists(directory_ / "after_quit.png"));
}

TEST_F(ProgramTest, ScriptedRunIsDeterministic) {
  const std::string script = Write("run.txt", "wait 2400\nstate s.json\nwait 100\n");
  std::string dumps[2];
  for (std::string& dump : dumps) {
    fs::remove(directory_ / "s.json");
    Outcome run = RunTamsel("--headless --seed 7 --data " + std::string(TAMSEL_DATA_DIR) +
                            " --shots " + directory_.string() + " --script " + script);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    dump = ReadFile(directory_ / "s.json");
  }
  ASSERT_NE(dumps[0].find("\"nMap\":"), std::string::npos) << dumps[0];
  EXPECT_NE(dumps[0].find("\"hero\":{"), std::string::npos);
  EXPECT_NE(dumps[0].find("\"paletteLoads\":"), std::string::npos);
  EXPECT_EQ(dumps[0], dumps[1]);
}
