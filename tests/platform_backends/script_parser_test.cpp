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
      "tap control\n";
  std::vector<Step> steps;
  std::string error;
  ASSERT_TRUE(ParseScript(text, steps, error)) << error;
  ASSERT_EQ(steps.size(), 9u);
  EXPECT_EQ(steps[0].kind, Step::Kind::Wait);
  EXPECT_EQ(steps[0].milliseconds, 500);
  EXPECT_EQ(steps[0].line, 2);
  EXPECT_EQ(steps[1].kind, Step::Kind::Tap);
  EXPECT_EQ(steps[1].key, VK_RETURN);
  EXPECT_EQ(steps[1].line, 4);
  EXPECT_EQ(steps[2].kind, Step::Kind::Press);
  EXPECT_EQ(steps[2].key, VK_UP);
  EXPECT_EQ(steps[3].kind, Step::Kind::Release);
  EXPECT_EQ(steps[4].kind, Step::Kind::Hold);
  EXPECT_EQ(steps[4].key, VK_RIGHT);
  EXPECT_EQ(steps[4].milliseconds, 250);
  EXPECT_EQ(steps[5].kind, Step::Kind::Shot);
  EXPECT_EQ(steps[5].name, "title_1");
  EXPECT_EQ(steps[6].kind, Step::Kind::State);
  EXPECT_EQ(steps[6].name, "after-walk.json");
  EXPECT_EQ(steps[7].key, VK_LBUTTON);
  EXPECT_EQ(steps[8].key, VK_CONTROL);
  EXPECT_TRUE(error.empty());
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
      {"tap\n", "line 1: expected 'tap KEY'"},
      {"press UP DOWN\n", "line 1: expected 'press KEY'"},
      {"hold UP\n", "line 1: expected 'hold KEY MS'"},
      {"hold 100 UP\n", "line 1: unknown key '100'"},
      {"# fine\nshot ../../etc/x\n", "line 2: bad name '../../etc/x'"},
      {"shot\n", "line 1: expected 'shot NAME'"},
      {"state /tmp/x.json\n", "line 1: bad name '/tmp/x.json'"},
      {"state .hidden\n", "line 1: bad name '.hidden'"},
      {"WAIT 10\n", "line 1: unknown step 'WAIT'"},
  };
  for (const Case& c : cases) {
    std::vector<Step> steps = {Step{}};
    std::string error;
    EXPECT_FALSE(ParseScript(c.text, steps, error)) << c.text;
    EXPECT_EQ(error.rfind(c.expectedStart, 0), 0u) << c.text << " gave: " << error;
    EXPECT_EQ(steps.size(), 1u) << "steps must be left alone on failure";
  }
}
