// The tamsel program as a player or a script runner starts it.
#include <gtest/gtest.h>
#include <sys/stat.h>
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

// Each way of starting ends with its exit code and says why; where something the game needs is
// missing or is not what it should be the message says what, and nothing reads past its bounds.
TEST_F(ProgramTest, EachWayOfStartingEndsWithItsCodeAndSaysWhy) {
  const std::string data = " --data " + std::string(TAMSEL_DATA_DIR);
  const std::string shots = " --shots " + directory_.string();
  const std::string wait = Write("wait.txt", "wait 1500\n");
  const std::string shot = Write("shot.txt", "wait 100\nshot picture\n");
  const std::string bad = Write("bad.txt", "# a comment\nwait 100\nfly UP\nwait 5\n");
  // The title's last entry ends the game before the screenshot is taken.
  const std::string quit = Write("quit.txt", "wait 1000\ntap UP\ntap RETURN\nwait 500\nshot after_quit\n");
  const std::string noFonts = " FONTCONFIG_FILE=" + Write("fonts.conf", "<?xml version=\"1.0\"?>\n<fontconfig></fontconfig>\n");
  const std::string home = " HOME=" + directory_.string() + " XDG_CONFIG_HOME= XDG_DATA_HOME=";
  const std::string desktop = "env" + home + " SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy";
  std::string manySteps;
  for (int k = 0; k < 11; ++k) manySteps += "tap RETURN 10000\n";
  const std::string fifo = (directory_ / "fifo").string();
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
  fs::create_directories(directory_ / "empty");
  const struct {
    std::string arguments, environment;
    int code;
    std::vector<std::string> words, absent;
  } cases[] = {
      {"--help", "", 0, {"--headless --script FILE"}, {}},
      {"--colour blue", "", 2, {"--colour", "usage:"}, {}},
      {"--headless --script " + bad, "", 2, {"bad.txt", "line 3"}, {}},
      {"--headless --script " + (directory_ / "none.txt").string(), "", 2, {"none.txt"}, {}},
      {"--headless --script " + quit + data + shots, "", 3, {"quit.txt: line 5"}, {}},
      // no display: SDL's drawing-into-memory drivers serve only when asked for by name
      {"", "env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER" + home, 1, {"no display", "--headless"}, {}},
      // no Chinese font: the desktop refuses to start, a scripted run says so and goes on
      {"--windowed --no-sound" + data, desktop + noFonts, 1, {"fonts-wqy-zenhei"}, {}},
      {"--headless --script " + wait + data + shots, noFonts, 0, {"fonts-wqy-zenhei"}, {}},
      {"--headless --script " + wait + data + shots, "", 0, {}, {"fonts-wqy-zenhei"}},
      // a data folder without the data set
      {"--headless --script " + wait + shots + " --data " + (directory_ / "empty").string(), "", 1,
       {"pic/, maps/, text/, voc/"}, {}},
      // scripts that are no regular file, too long or of too many steps
      {"--headless --script " + directory_.string() + data, "", 2, {"not a regular file"}, {}},
      {"--headless --script /dev/zero" + data, "", 2, {"not a regular file"}, {}},
      {"--headless --script " + fifo + data, "", 2, {"not a regular file"}, {}},
      {"--headless --script " + Write("many.txt", manySteps) + data, "", 2, {"line 11", "100000 steps"}, {}},
      {"--headless --script " + Write("long.txt", std::string(1100000, '#')) + data, "", 2, {"longer than 1 MiB"}, {}},
      {"--headless --script " + Write("binary.txt", "\x01\xfe" + std::string(100000, 'x') + "\n") + data, "", 2,
       {"'\\x01\\xfexxx", "x...'"}, {std::string(100, 'x')}},
      // screenshots that cannot be written fail the run
      {"--headless --script " + shot + data + " --shots " + wait, "", 4, {"cannot write", "could not be written"}, {}},
      // one thing said about a number out of range
      {"--scale 999999999999", "", 2, {"outside 1 to 8"}, {"using"}},
      // a home folder that is not there is not made
      {"--windowed --no-sound" + data, "env XDG_CONFIG_HOME= XDG_DATA_HOME= HOME=" + (directory_ / "none/x").string(),
       2, {"no home folder"}, {}},
  };
  for (const auto& c : cases) {
    const Outcome outcome = RunTamsel(c.arguments, c.environment);
    EXPECT_EQ(outcome.exitCode, c.code) << c.environment << " " << c.arguments << "\n" << outcome.output;
    for (const std::string& word : c.words)
      EXPECT_NE(outcome.output.find(word), std::string::npos) << c.arguments << "\n" << outcome.output;
    for (const std::string& word : c.absent)
      EXPECT_EQ(outcome.output.find(word), std::string::npos) << c.arguments << "\n" << outcome.output.substr(0, 300);
  }
  EXPECT_FALSE(fs::exists(directory_ / "none"));
  EXPECT_FALSE(fs::exists(directory_ / "after_quit.png"));
}

// A data file that is missing or no regular file is named on standard error, beside the
// game's own message where it has one; the game never waits on a FIFO.
TEST_F(ProgramTest, UnreadableDataFilesAreNamed) {
  const std::string script = Write("wait.txt", "wait 3000\n");
  const struct {
    const char* file;
    bool fifo;
  } cases[] = {{"maps/home.map", false}, {"maps/home.npc", true}, {"pic/title.bmp", false},
               {"pic/title.bmp", true},  {"text/talk.txt", false}, {"text/goods.dat", true}};
  for (const auto& c : cases) {
    // The data set as links to its files, but for the one that is missing or a FIFO.
    const fs::path data = directory_ / "data";
    fs::remove_all(data);
    for (const auto& entry : fs::recursive_directory_iterator(TAMSEL_DATA_DIR)) {
      const fs::path copy = data / fs::relative(entry.path(), TAMSEL_DATA_DIR);
      if (entry.is_directory()) {
        fs::create_directories(copy);
      } else if (fs::relative(entry.path(), TAMSEL_DATA_DIR) != c.file) {
        fs::create_symlink(entry.path(), copy);
      }
    }
    if (c.fifo) {
      ASSERT_EQ(::mkfifo((data / c.file).c_str(), 0600), 0);
    }
    const Outcome outcome = RunTamsel("--headless --script " + script + " --data " + data.string() +
                                      " --shots " + directory_.string());
    EXPECT_NE(outcome.exitCode, -1) << c.file;  // ended, not stopped by the timeout
    EXPECT_NE(outcome.output.find((data / c.file).string() + (c.fifo ? " (not a regular file)" : " (")),
              std::string::npos)
        << c.file << "\n" << outcome.output;
  }
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
