#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/game_state.h"

TEST(GameStateTest, NewGameSetsHeroAndPositionButLeavesTheMaps) {
  std::memset(&hero, 0x5A, sizeof hero);
  for (int32_t* word : {&nMap, &nViewCol, &nViewRow, &nLastViewCol, &nLastViewRow, &nScrollX,
                        &nScrollY, &nLastScrollX, &nLastScrollY, &nStoryStage, &nStoryFlag})
    *word = 7;
  mapTable[0].nWidth = 33;
  mapTable[0].lpTiles.assign(4, 0xA001);

  InitNewGame();

  EXPECT_EQ(hero.nTalkId, 999);
  EXPECT_EQ(hero.nPicture, 999);
  EXPECT_EQ(hero.bHostile, 0);
  EXPECT_EQ(hero.nTalkState, 0);
  EXPECT_EQ(hero.nWalk, 1);
  EXPECT_EQ(hero.bActive, 1);
  // "小飞刀" in GBK, padded with zero bytes.
  const char name[32] = "\xD0\xA1\xB7\xC9\xB5\xB6";
  EXPECT_EQ(std::memcmp(hero.szName, name, sizeof name), 0);
  EXPECT_EQ(hero.nFrameWidth, 32);
  EXPECT_EQ(hero.nFrameHeight, 48);
  EXPECT_EQ(hero.nX, 180);
  EXPECT_EQ(hero.nY, 164);
  EXPECT_EQ(hero.nLastX, 180);
  EXPECT_EQ(hero.nLastY, 164);
  EXPECT_EQ(hero.nDirection, 0);
  EXPECT_EQ(hero.nFrame, 0);
  EXPECT_EQ(hero.nLevel, 1);
  EXPECT_EQ(hero.nExp, 0);
  EXPECT_EQ(hero.nLife, 50);
  EXPECT_EQ(hero.nMaxLife, 50);
  EXPECT_EQ(hero.nAttack, 10);
  EXPECT_EQ(hero.nDefense, 10);
  EXPECT_EQ(hero.nSpeed, 8);
  EXPECT_EQ(std::string(hero.szGoods, 20), std::string(16, ' ') + std::string(4, '\0'));
  EXPECT_EQ(hero.nMoney, 50);
  EXPECT_EQ(hero.lpSurface, kHeroSheet);

  for (int32_t word : {nMap, nViewCol, nViewRow, nLastViewCol, nLastViewRow, nScrollX, nScrollY,
                       nLastScrollX, nLastScrollY, nStoryStage, nStoryFlag})
    EXPECT_EQ(word, 0);
  EXPECT_EQ(mapTable[0].nWidth, 33);
  EXPECT_EQ(mapTable[0].lpTiles.size(), 4u);
  mapTable[0] = MapInfo{};
}

TEST(GameStateTest, CurrentMapStaysInsideTheTable) {
  nMap = 4;
  EXPECT_EQ(&CurrentMap(), &mapTable[4]);
  nMap = -3;
  EXPECT_EQ(&CurrentMap(), &mapTable[0]);
  nMap = 8;
  EXPECT_EQ(&CurrentMap(), &mapTable[7]);
  nMap = 0;
}

TEST(GameStateTest, NpcCountNeverExceedsTheList) {
  MapInfo map;
  map.lpNpcs.resize(2);
  map.nNpcCount = 5;
  EXPECT_EQ(NpcCount(map), 2);
  map.nNpcCount = -1;
  EXPECT_EQ(NpcCount(map), 0);
  map.nNpcCount = 1;
  EXPECT_EQ(NpcCount(map), 1);
}
