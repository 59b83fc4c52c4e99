// The random generator's sequence and range, and the busy waits on keys and the clock.
#include <gtest/gtest.h>

#include "platform/backend.h"
#include "platform/system.h"
#include "video/draw.h"
#include "video_fixture.h"

namespace {

using platform::headless::Step;

// The seed whose next draw is r: solves state × 214013 + 2531011 = r << 16 (mod 2^32).
uint32_t SeedYielding(uint32_t r) {
  uint32_t inverse = 214013u;  // Newton's iteration for the inverse of an odd number mod 2^32
  for (int i = 0; i < 5; ++i) inverse *= 2u - 214013u * inverse;
  return ((r << 16) - 2531011u) * inverse;
}

TEST(RandomTest, KnownSeedGivesTheKnownSequence) {
  SeedRandom(1);
  const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
  for (int value : expected) EXPECT_EQ(RandomUpTo(32767), value);
}

TEST(RandomTest, DrawsScaleIntoZeroToNWithTheTopOnlyFromTheLargestDraw) {
  const struct { uint32_t draw; int n, expected; } cases[] = {
      {32767, 100, 100}, {32766, 100, 99}, {0, 100, 0}, {16384, 10, 5}, {32767, 1000000, 1000000},
  };
  for (const auto& c : cases) {
    SeedRandom(SeedYielding(c.draw));
    EXPECT_EQ(RandomUpTo(c.n), c.expected) << c.draw << " of " << c.n;
  }
  SeedRandom(12345);
  for (int i = 0; i < 5000; ++i) {
    const int value = RandomUpTo(2000000000);
    ASSERT_GE(value, 0);
    ASSERT_LE(value, 2000000000);
  }
  EXPECT_EQ(RandomUpTo(0), 0);
}

class WaitTest : public VideoTest {};

TEST_F(WaitTest, WithoutTheFlagTheKeyMustBePressedAndReleased) {
  platform::headless::AddSteps({Step{Step::Kind::Wait, 0, 50, "", 0},
                                Step{Step::Kind::Hold, platform::VK_RETURN, 30, "", 0}});
  const uint32_t start = platform::headless::Now();
  WaitKey(platform::VK_RETURN, 0);
  EXPECT_GE(platform::headless::Now() - start, 80u);
  EXPECT_EQ(platform::GetAsyncKeyState(platform::VK_RETURN), 0);
}

TEST_F(WaitTest, WithTheDownFlagOnlyAHeldKeyIsWaitedForUntilReleased) {
  uint32_t start = platform::headless::Now();
  WaitKey(platform::VK_RETURN, 1);
  EXPECT_LT(platform::headless::Now() - start, 5u);

  platform::headless::PressKey(platform::VK_CONTROL);
  platform::headless::AddSteps({Step{Step::Kind::Wait, 0, 40, "", 0},
                                Step{Step::Kind::Release, platform::VK_CONTROL, 0, "", 0}});
  start = platform::headless::Now();
  WaitKey(platform::VK_CONTROL, 1);
  EXPECT_GE(platform::headless::Now() - start, 40u);
}

TEST_F(WaitTest, DelayLastsAtLeastItsTimeWhateverMessagesWait) {
  for (int i = 0; i < 5; ++i) platform::PostMessage(platform::WM_TIMER, 1);
  uint32_t start = platform::headless::Now();
  Delay(80);
  EXPECT_GE(platform::headless::Now() - start, 80u);
  EXPECT_LT(platform::headless::Now() - start, 90u);

  start = platform::headless::Now();
  Delay(0);
  Delay(-5);
  EXPECT_LT(platform::headless::Now() - start, 5u);
}

}  // namespace
