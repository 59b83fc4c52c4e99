// A key pressed where no screen reads it must not act later on another screen, while a tap
// shorter than one frame on a screen that does read it is still seen. Each case is a short
// headless run of the real program; presses are press / wait / release, because a tap waits
// until the game has read the key and a screen that never reads it would stall the script.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "program_run.h"

namespace {

namespace fs = std::filesystem;

using tamsel_test::DumpNumber;
using tamsel_test::ReadFile;
using tamsel_test::RunCommand;

// From the title into the world after the first talk, as a player starting a new game.
const char* const kIntoTheWorld =
    "wait 1000\ntap RETURN\nwait 45000\ntap RETURN\nwait 1000\n"
    "tap RETURN\ntap RETURN\ntap RETURN\ntap RETURN\ntap RETURN\ntap RETURN\nwait 500\n";

struct Case {
  const char* name;
  std::string script;       // ends with "state end.json"
  const char* screen;       // the screen open at the end
  long long heroStepsRight; // hero.nX at the end against "before.json", in 8-pixel steps
};

std::string Screen(const std::string& json) {
  const size_t at = json.find("\"screen\":\"");
  if (at == std::string::npos) return "";
  return json.substr(at + 10, json.find('"', at + 10) - at - 10);
}

TEST(StaleKeys, APressNoScreenReadsNeverActsLaterButAShortTapIsSeen) {
  const Case cases[] = {
      // The title ignores ESC; the load menu opened afterwards must stay open.
      {"title_escape", "wait 1000\nstate before.json\npress ESCAPE\nwait 40\nrelease ESCAPE\nwait 600\n"
                       "tap DOWN\nwait 300\ntap RETURN\nwait 600\nstate end.json\n",
       "load", 0},
      // RIGHT is ignored by the game menu; leaving the menu must not step the hero.
      {"menu_right", std::string(kIntoTheWorld) + "state before.json\ntap ESCAPE\nwait 300\n"
                         "press RIGHT\nwait 40\nrelease RIGHT\nwait 600\ntap ESCAPE\nwait 600\nstate end.json\n",
       "world", 0},
      // DOWN is ignored while the About text climbs; the menu under it keeps its cursor on
      // "back to the game", so the next ENTER returns to the world.
      {"about_down", std::string(kIntoTheWorld) + "state before.json\ntap ESCAPE\nwait 300\n"
                         "tap DOWN\nwait 200\ntap DOWN\nwait 200\ntap DOWN\nwait 200\ntap DOWN\nwait 300\n"
                         "tap RETURN\nwait 600\ntap RETURN\nwait 1000\npress DOWN\nwait 40\nrelease DOWN\n"
                         "wait 600\ntap RETURN\nwait 600\ntap RETURN\nwait 600\nstate end.json\n",
       "world", 0},
      // In the world a tap of 5 ms, shorter than a 30 ms frame, still walks one step.
      {"short_tap", std::string(kIntoTheWorld) + "state before.json\npress RIGHT\nwait 5\nrelease RIGHT\n"
                        "wait 600\nstate end.json\n",
       "world", 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const fs::path out = fs::path(TAMSEL_BUILD_DIR) / "stale_keys" / c.name;
    fs::remove_all(out);
    fs::create_directories(out);
    std::ofstream(out / "script.txt") << c.script;
    const auto run = RunCommand("cd " + out.string() + " && " + TAMSEL_BUILD_DIR + "/tamsel --headless --script " +
                                (out / "script.txt").string() + " --shots " + out.string() + " --data " +
                                TAMSEL_DATA_DIR);
    ASSERT_EQ(run.exitCode, 0) << run.output;
    const std::string before = ReadFile(out / "before.json");
    const std::string end = ReadFile(out / "end.json");
    ASSERT_FALSE(end.empty()) << run.output;
    EXPECT_EQ(Screen(end), c.screen);
    EXPECT_EQ(DumpNumber(end, "hero", "nX") + 32 * DumpNumber(end, "", "nViewCol") -
                  DumpNumber(before, "hero", "nX") - 32 * DumpNumber(before, "", "nViewCol"),
              8 * c.heroStepsRight);
  }
}

}  // namespace
