#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "core/game_state.h"

TEST(GameStateTest, NewGameSetsHeroAndPositionButLeavesTheMaps) {
  std::memset(&hero, 0x5A, sizeof hero);
  int32_t* const words[] = {&nMap,     &nViewCol,     &nViewRow,     &nLastViewCol,
                            &nLastViewRow, &nScrollX, &nScrollY,     &nLastScrollX,
                            &nLastScrollY, &nStoryStage, &nStoryFlag};
  for (int32_t* word : words) *word = 7;
  mapTable[0].nWidth = 33;
  mapTable[0].lpTiles.assign(4, 0xA001);

  InitNewGame();

  const NpcRecord& h = hero;
  // Every number of the record, in record order.
  const std::vector<int32_t> numbers = {
      h.nTalkId, h.nPicture, h.bHostile, h.nTalkState, h.nWalk,  h.bActive,   h.nFrameWidth,
      h.nFrameHeight, h.nX, h.nY, h.nLastX, h.nLastY, h.nDirection, h.nFrame, h.nLevel, h.nExp,
      h.nLife, h.nMaxLife, h.nAttack, h.nDefense, h.nSpeed, h.nMoney};
  EXPECT_EQ(numbers, (std::vector<int32_t>{999, 999, 0, 0, 1, 1, 32, 48, 180, 164, 180, 164, 0,
                                           0, 1, 0, 50, 50, 10, 10, 8, 50}));
  // "小飞刀" in GBK, padded with zero bytes.
  const char name[32] = "\xD0\xA1\xB7\xC9\xB5\xB6";
  EXPECT_EQ(std::memcmp(hero.szName, name, sizeof name), 0);
  EXPECT_EQ(std::string(hero.szGoods, 20), std::string(16, ' ') + std::string(4, '\0'));
  EXPECT_EQ(hero.lpSurface, kHeroSheet);

  for (int32_t* word : words) EXPECT_EQ(*word, 0);
  EXPECT_EQ(mapTable[0].nWidth, 33);
  EXPECT_EQ(mapTable[0].lpTiles.size(), 4u);
  mapTable[0] = MapInfo{};
}

TEST(GameStateTest, MapIndexAndCharacterCountStayInsideTheirTables) {
  for (auto [index, expected] : {std::pair{4, 4}, {-3, 0}, {8, 7}}) {
    nMap = index;
    EXPECT_EQ(&CurrentMap(), &mapTable[expected]) << index;
  }
  nMap = 0;

  MapInfo map;
  map.lpNpcs.resize(2);
  for (auto [count, expected] : {std::pair{5, 2}, {-1, 0}, {1, 1}}) {
    map.nNpcCount = count;
    EXPECT_EQ(NpcCount(map), expected) << count;
  }
}
