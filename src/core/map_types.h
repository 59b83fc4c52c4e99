// The character record, the map entry and the map table.
#pragma once

#include <cstdint>
#include <vector>

// A handle to a sprite sheet surface: 0 none, 1 the hero's sheet, 2 + k character sheet k.
// Records keep a 4-byte handle instead of a pointer, so a record is the same 144 bytes in
// memory, in a map file's character list and in a saved game, and a damaged file can never
// smuggle in a pointer. video/display.h resolves it.
using SurfaceHandle = uint32_t;
constexpr SurfaceHandle kNoSheet = 0;
constexpr SurfaceHandle kHeroSheet = 1;
constexpr int kNpcSheetCount = 15;
// The handle of character sheet nPicture (0 to 14); kNoSheet for any other value.
constexpr SurfaceHandle NpcSheetHandle(int32_t nPicture) {
  return nPicture >= 0 && nPicture < kNpcSheetCount ? SurfaceHandle(2 + nPicture) : kNoSheet;
}

// One character of a map, or the hero. 144 bytes, copied whole by fights, shops and saves.
struct NpcRecord {
  int32_t nTalkId;
  int32_t nPicture;
  int32_t bHostile;
  int32_t nTalkState;
  int32_t nWalk;
  int32_t bActive;
  char szName[32];
  int32_t nFrameWidth;
  int32_t nFrameHeight;
  int32_t nX;
  int32_t nY;
  int32_t nLastX;
  int32_t nLastY;
  int32_t nDirection;
  int32_t nFrame;
  int32_t nLevel;
  int32_t nExp;
  int32_t nLife;
  int32_t nMaxLife;
  int32_t nAttack;
  int32_t nDefense;
  int32_t nSpeed;
  char szGoods[20];
  int32_t nMoney;
  SurfaceHandle lpSurface;
};
static_assert(sizeof(NpcRecord) == 144, "a character record is a 144-byte image");

constexpr int kMapCount = 8;
constexpr int kCellSize = 32;

// One map: name, size in cells, ground tile, tile grid and characters.
struct MapInfo {
  char szName[32];
  int32_t nWidth;
  int32_t nHeight;
  int8_t nGroundTile;
  uint8_t abReserved[7];
  std::vector<uint16_t> lpTiles;  // nWidth × nHeight codes, row-major
  int32_t nNpcCount;              // records in use; never more than lpNpcs.size()
  std::vector<NpcRecord> lpNpcs;
};

extern MapInfo mapTable[kMapCount];

// The tile code of cell (column, row) of a map; 0 (plain ground) outside the grid.
uint16_t TileAt(const MapInfo& map, int column, int row);
// Sets a cell's code; cells outside the grid are left alone.
void SetTileAt(MapInfo& map, int column, int row, uint16_t code);
// The number of records that may be used: nNpcCount bounded by the list's size.
int NpcCount(const MapInfo& map);
