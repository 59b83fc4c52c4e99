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

TEST_F(ProgramTest, HelpWrongArgumentsAndBadScripts) {
  Outcome help = RunTamsel("--help");
  EXPECT_EQ(help.exitCode, 0);
  EXPECT_NE(help.output.find("--headless --script FILE"), std::string::npos);

  // Each mistake ends with code 2 and names what is wrong, and where.
  const std::string script = Write("bad.txt", "# a comment\nwait 100\nfly UP\nwait 5\n");
  const std::pair<std::string, std::vector<std::string>> wrong[] = {
      {"--colour blue", {"--colour", "usage:"}},
      {"--headless --script " + script, {"bad.txt", "line 3"}},
      {"--headless --script " + (directory_ / "none.txt").string(), {"none.txt"}}};
  for (const auto& [arguments, words] : wrong) {
    Outcome outcome = RunTamsel(arguments);
    EXPECT_EQ(outcome.exitCode, 2) << arguments;
    for (const std::string& word : words)
      EXPECT_NE(outcome.output.find(word), std::string::npos) << outcome.output;
  }
}

TEST_F(ProgramTest, NoDesktopTellsWhatToDo) {
  Outcome outcome =
      RunTamsel("", "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER SDL_VIDEODRIVER=none");
  EXPECT_EQ(outcome.exitCode, 1);
  EXPECT_NE(outcome.output.find("--headless"), std::string::npos) << outcome.output;
}

TEST_F(ProgramTest, ScriptedRunIsDeterministic) {
  const std::string script =
      Write("run.txt", "wait 2400\nstate s.json\nwait 100\n");
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

TEST_F(ProgramTest, AScriptTheRunCannotFinishFailsWithTheLine) {
  // The title's last entry ends the game before the screenshot is taken.
  const std::string script =
      Write("quit.txt", "wait 1000\ntap UP\ntap RETURN\nwait 500\nshot after_quit\n");
  Outcome run = RunTamsel("--headless --data " + std::string(TAMSEL_DATA_DIR) + " --shots " +
                          directory_.string() + " --script " + script);
  EXPECT_EQ(run.exitCode, 3) << run.output;
  EXPECT_NE(run.output.find("quit.txt: line 5"), std::string::npos) << run.output;
  EXPECT_FALSE(fs::exists(directory_ / "after_quit.png"));
}
