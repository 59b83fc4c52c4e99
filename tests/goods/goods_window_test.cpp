// The goods window and the status panel, driven by scripted keys on the headless backend.
#include <gtest/gtest.h>

#include <climits>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "app/open_screen.h"
#include "app/state_dump.h"
#include "goods/goods_window.h"
#include "goods/status.h"
#include "goods_fixture.h"
#include "platform/system.h"
#include "video/display.h"
#include "video/draw.h"
#include "world/world_view.h"

namespace goods_test {
namespace {

using platform::VK_A;
using platform::VK_CONTROL;
using platform::VK_DOWN;
using platform::VK_ESCAPE;
using platform::VK_LEFT;
using platform::VK_RIGHT;
using platform::VK_UP;
using platform::headless::GetLog;
using platform::headless::Step;

class GoodsWindowTest : public GoodsTest {
 protected:
  void TearDown() override {
    platform::SetStateDumper(nullptr);
    GoodsTest::TearDown();
  }

  // Opens the window, taps the keys after it has settled, then ESC; returns its result.
  int RunWithKeys(const std::vector<int>& keys) {
    std::vector<Step> steps = {Wait(20)};
    for (int key : keys) steps.push_back(Tap(key));
    steps.push_back(Tap(VK_ESCAPE));
    UseScript(steps);
    return RunGoodsWindow();
  }

  int WhiteIn(int left, int top, int width, int height) const {
    return ScreenCount(left, top, width, height, kWhiteIndex);
  }
  int YellowIn(int left, int top, int width, int height) const {
    return ScreenCount(left, top, width, height, kYellowIndex);
  }
};

TEST_F(GoodsWindowTest, SlotsShowTheirIconsAndBadBytesShowEmptyFrames) {
  SetHeroSlots(std::string("2 \xFF" "7" "\0" "8" "D5", 8));
  DrawGoodsWindow(3);
  const struct {
    int slot;
    uint8_t middle;
  } slots[] = {{0, IconIndex(2)},      {1, kEmptyFrameIndex}, {2, kEmptyFrameIndex},
               {3, IconIndex(7)},      {4, kEmptyFrameIndex}, {5, kEmptyFrameIndex},
               {6, kEmptyFrameIndex},  {7, IconIndex(5)},     {15, kEmptyFrameIndex}};
  for (const auto& s : slots) {
    SCOPED_TRACE(s.slot);
    EXPECT_EQ(ScreenPixel(SlotX(s.slot) + 24, SlotY(s.slot) + 24), s.middle);
    EXPECT_EQ(ScreenPixel(SlotX(s.slot) + 1, SlotY(s.slot) + 1),
              s.slot == 3 ? kCursorIndex : kEmptyFrameIndex);
  }
  EXPECT_EQ(ScreenPixel(525, 395), kPanelIndex);
  EXPECT_EQ(ScreenPixel(112, 82), GroundIndex(0)) << "the panel's colour key shows the world";
  EXPECT_GT(WhiteIn(120, 110, 400, 20), 0) << "name and worth";
  EXPECT_GT(WhiteIn(140, 170, 120, 80), 0) << "the four effects";
  EXPECT_GT(YellowIn(270, 170, 250, 60), 0) << "the description";
  EXPECT_GT(WhiteIn(130, 367, 390, 20), 0) << "the money line";

  // An empty slot under the cursor, and cursors that name no slot, show no goods at all.
  for (int cursor : {1, 2, 4, -1, 16, INT_MIN}) {
    SCOPED_TRACE(cursor);
    DrawGoodsWindow(cursor);
    EXPECT_EQ(WhiteIn(110, 100, 420, 160) + YellowIn(110, 100, 420, 160), 0);
    EXPECT_GT(WhiteIn(130, 367, 390, 20), 0);
  }
  EXPECT_EQ(ScreenPixel(SlotX(0) + 1, SlotY(0) + 1), kEmptyFrameIndex);
}

TEST_F(GoodsWindowTest, CursorKeysWrapInBothAxes) {
  const struct {
    std::vector<int> keys;
    int slot;
  } cases[] = {
      {{}, 0},
      {{VK_RIGHT}, 1},
      {{VK_LEFT}, 15},
      {{VK_LEFT, VK_RIGHT}, 0},
      {{VK_DOWN}, 8},
      {{VK_UP}, 8},
      {{VK_DOWN, VK_DOWN}, 0},
      {{VK_RIGHT, VK_UP, VK_UP}, 1},
      {{VK_LEFT, VK_DOWN}, 7},
      {{VK_DOWN, VK_LEFT, VK_LEFT}, 6},
      {{VK_UP, VK_LEFT, VK_RIGHT, VK_RIGHT}, 9},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.slot);
    SetHeroSlots(std::string(16, '6'));
    std::vector<int> keys = c.keys;
    keys.push_back(VK_CONTROL);  // uses the goods under the cursor
    EXPECT_EQ(RunWithKeys(keys), 1);
    std::string expected(16, '6');
    expected[size_t(c.slot)] = ' ';
    EXPECT_EQ(std::string(hero.szGoods, 16), expected);
  }
}

TEST_F(GoodsWindowTest, UsingGoodsChangesTheHeroAndThrowingThemAwayDoesNot) {
  struct Case {
    const char* what;
    std::string slots;
    int life;
    std::vector<int> keys;
    int used;
    std::string slotsAfter;
    int lifeAfter, expAfter, attackAfter, defenseAfter;
  };
  const Case cases[] = {
      {"life is capped", "2", 40, {VK_CONTROL}, 1, " ", 50, 0, 10, 10},
      {"poison lowers life", "3", 40, {VK_CONTROL}, 1, " ", 10, 0, 10, 10},
      {"below zero too", "3", 20, {VK_CONTROL}, 1, " ", -10, 0, 10, 10},
      {"figures added", "4", 50, {VK_CONTROL}, 1, " ", 50, 80, 13, 12},
      {"two uses", "24", 30, {VK_CONTROL, VK_RIGHT, VK_CONTROL}, 1, "  ", 50, 80, 13, 12},
      {"CTRL on an empty slot", " 2", 30, {VK_CONTROL}, 0, " 2", 30, 0, 10, 10},
      {"CTRL on a damaged byte", "\xFF", 30, {VK_CONTROL}, 0, "\xFF", 30, 0, 10, 10},
      {"ESC alone", "2", 30, {}, 0, "2", 30, 0, 10, 10},
      {"A throws away", "52", 30, {VK_A, VK_RIGHT, VK_A, VK_A}, 0, "  ", 30, 0, 10, 10},
      {"A, then a use", "52", 30, {VK_A, VK_RIGHT, VK_CONTROL}, 1, "  ", 50, 0, 10, 10},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    InitNewGame();
    SetHeroSlots(c.slots);
    hero.nLife = c.life;
    EXPECT_EQ(RunWithKeys(c.keys), c.used);
    EXPECT_EQ(std::string(hero.szGoods, c.slotsAfter.size()), c.slotsAfter);
    EXPECT_EQ(hero.nLife, c.lifeAfter);
    EXPECT_EQ(hero.nExp, c.expAfter);
    EXPECT_EQ(hero.nAttack, c.attackAfter);
    EXPECT_EQ(hero.nDefense, c.defenseAfter);
    EXPECT_EQ(hero.nMaxLife, 50);
    EXPECT_EQ(hero.nLevel, 1);
    EXPECT_EQ(hero.nMoney, 50);
    // A use ends with the hero's figures over the window, which ESC leaves on screen.
    EXPECT_EQ(YellowIn(270, 95, 120, 20) > 0, c.keys.empty() ? false : c.keys.back() == VK_CONTROL && c.used);
  }

  // Figures stop at the ends of their range instead of wrapping round.
  SetHeroSlots("4");
  hero.nExp = INT_MAX - 10;
  EXPECT_EQ(RunWithKeys({VK_CONTROL}), 1);
  EXPECT_EQ(hero.nExp, INT_MAX);
}

TEST_F(GoodsWindowTest, TheWindowIsNamedWhileOpenAndAQuitLeavesNothingBehind) {
  std::vector<std::string> screens;
  platform::SetStateDumper([&screens] {
    screens.push_back(OpenScreen());
    return DumpGameState();
  });
  SetHeroSlots("2");
  UseScript({Wait(20), State("open.json"), Tap(VK_RIGHT)});
  // The script ends with the window open; the backend then closes the game.
  EXPECT_THROW(RunGoodsWindow(), platform::QuitRequested);
  EXPECT_EQ(screens, std::vector<std::string>{"goods"});
  EXPECT_STREQ(OpenScreen(), "world");
  EXPECT_EQ(hero.szGoods[0], '2');
}

TEST_F(GoodsWindowTest, TheStatusPanelIsDrawnOnTheVisiblePageWithoutAFlip) {
  DrawWorld();
  FlipScreen();
  const int flips = GetLog().flips;
  ShowStatus();
  EXPECT_EQ(GetLog().flips, flips);
  EXPECT_EQ(ScreenPixel(525, 395), kPanelIndex);
  EXPECT_EQ(ScreenPixel(112, 82), GroundIndex(0));
  EXPECT_EQ(ScreenCount(130, 100, 32, 48, HeroFrameIndex(0, 0)), 32 * 48) << "first frame, facing down";
  for (int row = 0; row < 6; ++row) {
    SCOPED_TRACE(row);
    EXPECT_GT(WhiteIn(240, 140 + 30 * row, 280, 20), 0);
    EXPECT_EQ(YellowIn(240, 140 + 30 * row, 280, 20), 0);
  }
  EXPECT_GT(YellowIn(240, 320, 280, 20), 0) << "money in yellow";

  // A damaged frame size or figures of eleven characters stay within the page.
  hero.nFrameWidth = INT_MAX;
  hero.nFrameHeight = -5;
  hero.nMoney = INT_MIN;
  ShowStatus();
  EXPECT_GT(YellowIn(240, 320, 400, 20), 0);
}

}  // namespace
}  // namespace goods_test
