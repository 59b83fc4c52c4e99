#include "core/game_state.h"

#include <cstring>

NpcRecord hero;

int32_t nMap;
int32_t nViewCol;
int32_t nViewRow;
int32_t nLastViewCol;
int32_t nLastViewRow;
int32_t nScrollX;
int32_t nScrollY;
int32_t nLastScrollX;
int32_t nLastScrollY;
int32_t nStoryStage;
int32_t nStoryFlag;

int bAppActive = 1;
int bSoundOn = 1;

MapInfo& CurrentMap() {
  // A damaged saved game must not send the world outside the table.
  if (nMap < 0) return mapTable[0];
  if (nMap >= kMapCount) return mapTable[kMapCount - 1];
  return mapTable[nMap];
}

void InitNewGame() {
  std::memset(&hero, 0, sizeof hero);
  hero.nTalkId = 999;
  hero.nPicture = 999;
  hero.bHostile = 0;
  hero.nTalkState = 0;
  hero.nWalk = 1;
  hero.bActive = 1;
  std::strcpy(hero.szName, "小飞刀");
  hero.nFrameWidth = 32;
  hero.nFrameHeight = 48;
  hero.nX = 180;
  hero.nY = 164;
  hero.nLastX = 180;
  hero.nLastY = 164;
  hero.nDirection = 0;
  hero.nFrame = 0;
  hero.nLevel = 1;
  hero.nExp = 0;
  hero.nLife = 50;
  hero.nMaxLife = 50;
  hero.nAttack = 10;
  hero.nDefense = 10;
  hero.nSpeed = 8;
  std::memset(hero.szGoods, ' ', 16);  // 16 empty goods slots, then zero bytes
  hero.nMoney = 50;
  hero.lpSurface = kHeroSheet;

  nMap = 0;
  nViewCol = 0;
  nViewRow = 0;
  nLastViewCol = 0;
  nLastViewRow = 0;
  nScrollX = 0;
  nScrollY = 0;
  nLastScrollX = 0;
  nLastScrollY = 0;
  nStoryStage = 0;
  nStoryFlag = 0;
}
