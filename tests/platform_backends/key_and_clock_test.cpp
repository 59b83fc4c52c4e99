#include <gtest/gtest.h>

#include <vector>

#include "headless_fixture.h"

using namespace platform;
using tamsel_test::HeadlessTest;

using KeyStateTest = HeadlessTest;

TEST_F(KeyStateTest, KeysLatchATapBetweenPollsAndReadHeldKeysUntilReleased) {
  // A tap between polls is seen once, then forgotten; each key keeps its own mark.
  headless::PressKey(VK_RETURN);
  headless::ReleaseKey(VK_RETURN);
  headless::PressKey(VK_ESCAPE);
  headless::ReleaseKey(VK_ESCAPE);
  EXPECT_EQ(GetAsyncKeyState(VK_A), 0);
  EXPECT_NE(GetAsyncKeyState(VK_RETURN), 0);
  EXPECT_NE(GetAsyncKeyState(VK_ESCAPE), 0);
  EXPECT_EQ(GetAsyncKeyState(VK_RETURN), 0);
  EXPECT_EQ(GetAsyncKeyState(VK_ESCAPE), 0);

  headless::PressKey(VK_UP);
  for (int i = 0; i < 3; ++i) EXPECT_NE(GetAsyncKeyState(VK_UP), 0);
  headless::ReleaseKey(VK_UP);
  EXPECT_EQ(GetAsyncKeyState(VK_UP), 0);
  // Letting go of everything also drops a tap the game has not seen yet.
  headless::PressKey(VK_DOWN);
  headless::ReleaseKey(VK_DOWN);
  headless::PressKey(VK_A);
  headless::ReleaseAllKeys();
  EXPECT_EQ(GetAsyncKeyState(VK_DOWN), 0);
  EXPECT_EQ(GetAsyncKeyState(VK_A), 0);
  // Codes outside the key table read as up instead of reaching past it.
  EXPECT_EQ(GetAsyncKeyState(-1), 0);
  EXPECT_EQ(GetAsyncKeyState(100000), 0);
}

TEST(VirtualClock, MovesOnlyWithPollsByTheConfiguredStep) {
  headless::Options options = tamsel_test::OpenEndedOptions();
  options.millisecondsPerPoll = 5;
  options.seed = 1234;
  headless::UseHeadlessBackend(options);
  EXPECT_EQ(headless::Now(), 0u);
  EXPECT_EQ(GetTickCount(), 5u);
  EXPECT_EQ(GetTickCount(), 10u);
  GetAsyncKeyState(VK_LEFT);
  EXPECT_EQ(headless::Now(), 15u);
  PeekMessage();
  EXPECT_EQ(headless::Now(), 20u);
  headless::AdvanceClock(100);
  EXPECT_EQ(GetTickCount(), 125u);
  // The calendar answers the fixed seed, so random sequences repeat.
  EXPECT_EQ(CalendarTimeSeconds(), 1234u);
  EXPECT_EQ(CalendarTimeSeconds(), 1234u);
}

TEST(VirtualClock, AnObserverSeesEveryPollAndCanEndTheRun) {
  struct Seen {
    uint32_t now;
    bool inMessageLoop;
  };
  std::vector<Seen> seen;
  headless::Options options = tamsel_test::OpenEndedOptions();
  options.observer = [&](uint32_t now, bool inMessageLoop) {
    seen.push_back({now, inMessageLoop});
    return now < 3;
  };
  headless::UseHeadlessBackend(options);
  GetTickCount();
  PeekMessage();
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].now, 1u);
  EXPECT_FALSE(seen[0].inMessageLoop);
  EXPECT_TRUE(seen[1].inMessageLoop);
  EXPECT_THROW(GetAsyncKeyState(VK_UP), QuitRequested);  // the observer said no more at 3
  headless::UseHeadlessBackend(tamsel_test::OpenEndedOptions());
}
