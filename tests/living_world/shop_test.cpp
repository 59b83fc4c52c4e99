// The shops: buying from a copy of the keeper's stock, selling at half price, the messages, and
// the hero's slots filling and emptying.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "core/open_screen.h"
#include "goods/shop.h"
#include "living_fixture.h"

namespace world_test {
namespace {

using platform::headless::ScriptFinished;

class ShopTest : public LivingWorldTest {
 protected:
  void SetUp() override {
    LivingWorldTest::SetUp();
    SetGoods(2, "Pin", 1);
    SetGoods(3, "Cup", 5);
    SetGoods(4, "Hat", 7);
    SetGoods(5, "Sword", 30);
    PlaceHero(300, 300);
    OnState([this] {
      money_.push_back(hero.nMoney);
      messages_.push_back(ShopMessageShown());
      EXPECT_STREQ(OpenScreen(), "shop");
    });
  }
  static NpcRecord Keeper(const char* stock) {
    NpcRecord keeper = MakeNpc(6, 0, 0, "Keeper");
    std::memcpy(keeper.szGoods, stock, 16);
    return keeper;
  }
  // Each key with a look once the shop has answered it, then ESC to leave.
  static Steps Keys(const std::vector<int>& keys) {
    Steps steps = {Wait(10)};
    for (int key : keys) {
      steps.push_back(Tap(key));
      steps.push_back(Wait(50));
      steps.push_back(Look());
    }
    steps.push_back(Tap(platform::VK_ESCAPE));
    return steps;
  }
  std::vector<int> money_;
  std::vector<bool> messages_;
};

constexpr int kCtrl = platform::VK_CONTROL;

TEST_F(ShopTest, BuyingTakesTheExactPriceAndFillsTheFirstEmptySlot) {
  const NpcRecord keeper = Keeper("5    4         ");
  hero.nMoney = 30;
  std::memcpy(hero.szGoods, "2 3             ", 16);
  // Buy the sword; round to slot 15 and back; the same slot again: nothing, not a word; on to
  // the hat, with no money left.
  UseScript(Keys({kCtrl, platform::VK_LEFT, platform::VK_RIGHT, kCtrl, platform::VK_RIGHT, platform::VK_RIGHT,
                  platform::VK_RIGHT, platform::VK_RIGHT, platform::VK_RIGHT, kCtrl}));
  EXPECT_EQ(RunShop(keeper, 1), 1);
  EXPECT_TRUE(ScriptDone());
  EXPECT_EQ(money_[0], 0);
  EXPECT_EQ(std::string(hero.szGoods), "253             ");
  EXPECT_EQ(messages_, (std::vector<bool>{true, false, false, false, false, false, false, false, false, true}));
  EXPECT_EQ(CountGoods(hero), 3);

  // The next visit finds the stock whole again.
  hero.nMoney = 30;
  money_.clear();
  UseScript(Keys({kCtrl}));
  EXPECT_EQ(RunShop(keeper, 1), 1);
  EXPECT_EQ(money_[0], 0);
  EXPECT_EQ(std::string(hero.szGoods), "2535            ");
}

TEST_F(ShopTest, AHeroWithEverySlotFullCannotBuyEvenFromAnEmptySlot) {
  std::memcpy(hero.szGoods, "2222222222222222", 16);
  UseScript(Keys({platform::VK_RIGHT, kCtrl}));
  EXPECT_EQ(RunShop(Keeper("5               "), 1), 0);
  EXPECT_EQ(messages_, (std::vector<bool>{false, true}));
  EXPECT_EQ(hero.nMoney, 50);
}

TEST_F(ShopTest, SellingPaysHalfTheValueRoundedDown) {
  std::memcpy(hero.szGoods, "23 45           ", 16);
  hero.nMoney = 50;
  // Pin (1) for 0, Cup (5) for 2, an empty slot, Hat (7) for 3, Sword (30) for 15.
  UseScript(Keys({kCtrl, platform::VK_RIGHT, kCtrl, platform::VK_RIGHT, kCtrl, platform::VK_RIGHT, kCtrl,
                  platform::VK_RIGHT, kCtrl, platform::VK_RIGHT}));
  EXPECT_EQ(RunShop(hero, 2), 1);
  EXPECT_TRUE(ScriptDone());
  const std::vector<int> afterEachSale = {money_[0], money_[2], money_[4], money_[6], money_[8]};
  EXPECT_EQ(afterEachSale, (std::vector<int>{50, 52, 52, 55, 70}));
  EXPECT_EQ(messages_[4], true);  // "nothing here" on the empty slot
  EXPECT_EQ(CountGoods(hero), 0);

  UseScript(Keys({}));  // leaving without a trade
  EXPECT_EQ(RunShop(hero, 2), 0);
}

}  // namespace
}  // namespace world_test
