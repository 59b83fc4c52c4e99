// The goods window and the status panel, driven by scripted keys on the headless backend.
#include <gtest/gtest.h>

#include <climits>
#include <string>

#include "core/open_screen.h"
#include "goods/goods_window.h"
#include "goods/status.h"
#include "goods_fixture.h"
#include "platform/system.h"
#include "video/draw.h"
#include "world/world_view.h"

namespace goods_test {
namespace {

using namespace platform;  // the key codes

class GoodsWindowTest : public GoodsTest {
 protected:
  void TearDown() override {
    SetStateDumper(nullptr);
    GoodsTest::TearDown();
  }
  // Opens the window, taps the keys once it has settled, then ESC; returns its result.
  int RunWithKeys(const std::vector<int>& keys) {
    std::vector<headless::Step> steps = {Wait(20)};
    for (int key : keys) steps.push_back(Tap(key));
    steps.push_back(Tap(VK_ESCAPE));
    UseScript(steps);
    return RunGoodsWindow();
  }
  int TextIn(int left, int top, int width, uint8_t index) const {
    return ScreenCount(left, top, width, 20, index);
  }
  uint8_t SlotPixel(int slot, int offset) const {
    return ScreenPixel(125 + 49 * (slot % 8) + offset, 270 + 49 * (slot / 8) + offset);
  }
};

TEST_F(GoodsWindowTest, SlotsShowTheirIconsAndBadBytesShowEmptyFrames) {
  SetHeroSlots(std::string("2 \xFF" "7\0" "8D5", 8));
  DrawGoodsWindow(3);
  std::string middles, corners;
  for (int slot = 0; slot < kGoodsSlots; ++slot) {
    const uint8_t middle = SlotPixel(slot, 24);
    middles += middle == kEmptyFrameIndex ? '.' : char('0' + (middle - IconIndex(0)));
    corners += SlotPixel(slot, 1) == kCursorIndex ? 'C' : '.';
  }
  EXPECT_EQ(middles, "2..7...5........");
  EXPECT_EQ(corners, "...C............");
  EXPECT_EQ(ScreenPixel(112, 82), GroundIndex(0)) << "the panel's colour key shows the world";
  EXPECT_GT(TextIn(120, 110, 400, kWhiteIndex), 0) << "name and worth";
  EXPECT_GT(TextIn(270, 170, 250, kYellowIndex), 0) << "the description";

  // An empty slot under the cursor, or a cursor on no slot, shows no goods; money always shows.
  for (int cursor : {1, 2, 4, -1, 16, INT_MIN}) {
    SCOPED_TRACE(cursor);
    DrawGoodsWindow(cursor);
    EXPECT_EQ(ScreenCount(110, 100, 420, 160, kWhiteIndex) + ScreenCount(110, 100, 420, 160, kYellowIndex), 0);
    EXPECT_GT(TextIn(130, 367, 390, kWhiteIndex), 0);
  }
}

TEST_F(GoodsWindowTest, CursorKeysWrapInBothAxes) {
  const struct {
    std::vector<int> keys;
    int slot;
  } cases[] = {{{}, 0},
               {{VK_LEFT}, 15},
               {{VK_LEFT, VK_RIGHT}, 0},
               {{VK_DOWN}, 8},
               {{VK_UP}, 8},
               {{VK_DOWN, VK_DOWN}, 0},
               {{VK_RIGHT, VK_UP, VK_UP}, 1},
               {{VK_LEFT, VK_DOWN}, 7},
               {{VK_UP, VK_LEFT, VK_RIGHT, VK_RIGHT}, 9}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.slot);
    SetHeroSlots(std::string(16, '6'));
    std::vector<int> keys = c.keys;
    keys.push_back(VK_CONTROL);  // uses the goods under the cursor
    EXPECT_EQ(RunWithKeys(keys), 1);
    EXPECT_EQ(std::string(hero.szGoods, 16).find(' '), size_t(c.slot));
  }
}

TEST_F(GoodsWindowTest, UsingGoodsChangesTheHeroAndThrowingThemAwayDoesNot) {
  const struct {
    std::string slots;
    int life;
    std::vector<int> keys;
    int used;
    std::string after;  // slots, life, exp, attack, defense
  } cases[] = {
      {"2", 40, {VK_CONTROL}, 1, "  50 0 10 10", },           // life capped
      {"3", 40, {VK_CONTROL}, 1, "  10 0 10 10"},             // poison lowers life
      {"3", 20, {VK_CONTROL}, 1, "  -10 0 10 10"},            // below zero too
      {"24", 30, {VK_CONTROL, VK_RIGHT, VK_CONTROL}, 1, "   50 80 13 12"},
      {" 2", 30, {VK_CONTROL}, 0, " 2 30 0 10 10"},           // CTRL on an empty slot
      {"\xFF", 30, {VK_CONTROL}, 0, "\xFF 30 0 10 10"},       // CTRL on a damaged byte
      {"2", 30, {}, 0, "2 30 0 10 10"},                       // ESC alone
      {"52", 30, {VK_A, VK_RIGHT, VK_A, VK_A}, 0, "   30 0 10 10"},
      {"52", 30, {VK_A, VK_RIGHT, VK_CONTROL}, 1, "   50 0 10 10"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.after);
    InitNewGame();
    SetHeroSlots(c.slots);
    hero.nLife = c.life;
    EXPECT_EQ(RunWithKeys(c.keys), c.used);
    const std::string after = std::string(hero.szGoods, c.slots.size()) + " " + std::to_string(hero.nLife) +
                              " " + std::to_string(hero.nExp) + " " + std::to_string(hero.nAttack) +
                              " " + std::to_string(hero.nDefense);
    EXPECT_EQ(after, c.after);
    EXPECT_EQ(hero.nMaxLife + hero.nLevel + hero.nMoney + hero.nSpeed, 50 + 1 + 50 + 8);
    // A use ends with the hero's figures over the window, and ESC leaves them there.
    const bool usedLast = c.used && c.keys.back() == VK_CONTROL;
    EXPECT_EQ(TextIn(270, 95, 120, kYellowIndex) > 0, usedLast);
  }
  // Figures stop at the ends of their range instead of wrapping round.
  SetHeroSlots("4");
  hero.nExp = INT_MAX - 10;
  RunWithKeys({VK_CONTROL});
  EXPECT_EQ(hero.nExp, INT_MAX);
}

TEST_F(GoodsWindowTest, TheWindowIsNamedWhileOpenAndAQuitLeavesNothingBehind) {
  std::vector<std::string> screens;
  SetStateDumper([&screens] { return screens.emplace_back(OpenScreen()); });
  SetHeroSlots("2");
  // The script ends with the window open; the backend then closes the game.
  UseScript({Wait(20), State("open.json"), Tap(VK_RIGHT)});
  EXPECT_THROW(RunGoodsWindow(), QuitRequested);
  EXPECT_EQ(screens, std::vector<std::string>{"goods"});
  EXPECT_STREQ(OpenScreen(), "world");
}

TEST_F(GoodsWindowTest, TheStatusPanelIsDrawnOnTheVisiblePageWithoutAFlip) {
  DrawWorld();
  FlipScreen();
  const int flips = headless::GetLog().flips;
  ShowStatus();
  EXPECT_EQ(headless::GetLog().flips, flips);
  EXPECT_EQ(ScreenPixel(525, 395), kPanelIndex);
  EXPECT_EQ(ScreenPixel(112, 82), GroundIndex(0));
  EXPECT_EQ(ScreenCount(130, 100, 32, 48, HeroFrameIndex(0, 0)), 32 * 48) << "first frame, facing down";
  for (int row = 0; row < 7; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(TextIn(240, 140 + 30 * row, 280, kWhiteIndex) > 0, row < 6);
    EXPECT_EQ(TextIn(240, 140 + 30 * row, 280, kYellowIndex) > 0, row == 6) << "money in yellow";
  }
  // A damaged frame size and a figure of eleven characters stay within the page.
  hero.nFrameWidth = INT_MAX;
  hero.nFrameHeight = -5;
  hero.nMoney = INT_MIN;
  ShowStatus();
  EXPECT_GT(TextIn(240, 320, 400, kYellowIndex), 0);
}

}  // namespace
}  // namespace goods_test
