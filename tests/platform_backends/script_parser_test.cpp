#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/backend.h"
#include "platform/system.h"

using namespace platform;
using headless::ParseScript;
using headless::Step;

TEST(ScriptParser, ReadsEveryStepFormWithCommentsBlankLinesAndCrLf) {
  const std::string text =
      "# a walk to the shop\n"
      "wait 500\r\n"
      "\n"
      "tap RETURN   # confirm\n"
      "press up\n"
      "release UP\n"
      "  hold RIGHT 250\n"
      "shot title_1\n"
      "state after-walk.json\n"
      "tap LBUTTON\n"
      "tap control\n"
      "tap down 3\n";
  std::vector<Step> steps;
  std::string error;
  ASSERT_TRUE(ParseScript(text, steps, error)) << error;
  const Step expected[] = {
      {Step::Kind::Wait, 0, 500, "", 2},         {Step::Kind::Tap, VK_RETURN, 0, "", 4},
      {Step::Kind::Press, VK_UP, 0, "", 5},      {Step::Kind::Release, VK_UP, 0, "", 6},
      {Step::Kind::Hold, VK_RIGHT, 250, "", 7},  {Step::Kind::Shot, 0, 0, "title_1", 8},
      {Step::Kind::State, 0, 0, "after-walk.json", 9}, {Step::Kind::Tap, VK_LBUTTON, 0, "", 10},
      {Step::Kind::Tap, VK_CONTROL, 0, "", 11}, {Step::Kind::Tap, VK_DOWN, 0, "", 12},
      {Step::Kind::Tap, VK_DOWN, 0, "", 12},     {Step::Kind::Tap, VK_DOWN, 0, "", 12}};
  ASSERT_EQ(steps.size(), std::size(expected));
  for (size_t i = 0; i < steps.size(); ++i) {
    const Step& e = expected[i];
    EXPECT_TRUE(steps[i].kind == e.kind && steps[i].key == e.key &&
                steps[i].milliseconds == e.milliseconds && steps[i].name == e.name &&
                steps[i].line == e.line)
        << "step " << i << ": kind " << int(steps[i].kind) << " key " << steps[i].key << " ms "
        << steps[i].milliseconds << " name " << steps[i].name << " line " << steps[i].line;
  }
  EXPECT_TRUE(error.empty());
  // A script may take ten minutes of game time beyond its own waits and holds.
  EXPECT_EQ(headless::ScriptTimeLimit(steps), 600000u + 500 + 250);
  // Long enough to overflow a 32-bit sum: the limit saturates instead of wrapping round.
  const std::vector<Step> days(60, Step{Step::Kind::Wait, 0, 86400000, "", 1});
  EXPECT_EQ(headless::ScriptTimeLimit(days), UINT32_MAX);
}

TEST(ScriptParser, NamesTheLineOfEachMalformedForm) {
  struct Case {
    std::string text;
    std::string expectedStart;
  };
  const std::vector<Case> cases = {
      {"jump 3\n", "line 1: unknown step 'jump'"},
      {"wait 1\n\nwait\n", "line 3: expected 'wait MS'"},
      {"wait 10 20\n", "line 1: expected 'wait MS'"},
      {"wait -5\n", "line 1: bad milliseconds '-5'"},
      {"wait 1.5\n", "line 1: bad milliseconds '1.5'"},
      {"wait 99999999999\n", "line 1: bad milliseconds"},
      {"tap SPACE\n", "line 1: unknown key 'SPACE'"},
      {"tap\n", "line 1: expected 'tap KEY [N]'"},
      {"press UP DOWN\n", "line 1: expected 'press KEY'"},
      {"hold UP\n", "line 1: expected 'hold KEY MS'"},
      {"hold 100 UP\n", "line 1: unknown key '100'"},
      {"# fine\nshot ../../etc/x\n", "line 2: bad name '../../etc/x'"},
      {"shot\n", "line 1: expected 'shot NAME'"},
      {"state /tmp/x.json\n", "line 1: bad name '/tmp/x.json'"},
      {"state .hidden\n", "line 1: bad name '.hidden'"},
      {"WAIT 10\n", "line 1: unknown step 'WAIT'"},
      {"tap UP 0\n", "line 1: bad count '0'"},
      {"tap UP 10001\n", "line 1: bad count '10001'"},
      {"tap UP two\n", "line 1: bad count 'two'"},
      {"tap UP 2 2\n", "line 1: expected 'tap KEY [N]'"},
      {"hold UP 5 2\n", "line 1: expected 'hold KEY MS'"},
  };
  for (const Case& c : cases) {
    std::vector<Step> steps = {Step{}};
    std::string error;
    EXPECT_FALSE(ParseScript(c.text, steps, error)) << c.text;
    EXPECT_EQ(error.rfind(c.expectedStart, 0), 0u) << c.text << " gave: " << error;
    EXPECT_EQ(steps.size(), 1u) << "steps must be left alone on failure";
  }
}
