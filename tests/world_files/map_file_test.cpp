#include <random>

#include "world/map_files.h"
#include "world_fixture.h"

using MapFileTest = DataDirectoryTest;

TEST_F(MapFileTest, ReadsHeaderAndGridOfEveryMap) {
  WriteAllMaps();
  // A 25 × 20 map, stored row by row: column 3, row 2 is element 53.
  std::vector<uint16_t> tiles(25 * 20, 0);
  tiles[53] = 0xA123;
  tiles[499] = 0xF004;
  Write("city.map", MapFileBytes("city of tests", 25, 20, 7, tiles) + "bytes after the grid are ignored");

  ASSERT_EQ(LoadMaps(), 1);
  const MapInfo& city = mapTable[1];
  EXPECT_STREQ(city.szName, "city of tests");
  EXPECT_EQ(city.nWidth, 25);
  EXPECT_EQ(city.nHeight, 20);
  EXPECT_EQ(city.nGroundTile, 7);
  ASSERT_EQ(city.lpTiles.size(), 500u);
  EXPECT_EQ(TileAt(city, 3, 2), 0xA123);
  EXPECT_EQ(TileAt(city, 24, 19), 0xF004);
  EXPECT_EQ(TileAt(city, 2, 3), 0);

  for (int m = 0; m < kMapCount; ++m) {
    if (m == 1) continue;
    EXPECT_EQ(mapTable[m].nWidth, 20) << m;
    EXPECT_EQ(TileAt(mapTable[m], 5, 1), 100 * m + 25) << m;
  }
}

TEST_F(MapFileTest, TileAccessOutsideTheGridIsPlainGround) {
  WriteAllMaps();
  ASSERT_EQ(LoadMaps(), 1);
  MapInfo& home = mapTable[0];
  EXPECT_EQ(TileAt(home, -1, 0), 0);
  EXPECT_EQ(TileAt(home, 20, 0), 0);
  EXPECT_EQ(TileAt(home, 0, 15), 0);
  SetTileAt(home, 20, 0, 0x1234);
  SetTileAt(home, 0, -1, 0x1234);
  SetTileAt(home, 19, 14, 0xA12E);
  EXPECT_EQ(home.lpTiles[299], 0xA12E);
  EXPECT_EQ(home.lpTiles[0], 0);
  EXPECT_EQ(home.lpTiles[20], 20);
}

TEST_F(MapFileTest, MissingMapStopsTheLoadingThere) {
  WriteAllMaps();
  Remove("wood.map");
  mapTable[5].nWidth = 77;
  EXPECT_EQ(LoadMaps(), 0);
  EXPECT_EQ(mapTable[0].nWidth, 20);
  EXPECT_EQ(mapTable[1].nWidth, 20);
  EXPECT_EQ(mapTable[2].nWidth, 0);
  EXPECT_EQ(mapTable[5].nWidth, 77);  // maps after the missing one are left as they were
}

TEST_F(MapFileTest, ShortFileGivesPlainGroundForMissingCells) {
  WriteAllMaps();
  std::vector<uint16_t> tiles(20 * 15, 0xA001);
  std::string bytes = MapFileBytes("short", 20, 15, 2, tiles);
  Write("home.map", bytes.substr(0, 48 + 2 * 30 + 1));  // 30 cells and half of the next
  Write("city.map", bytes.substr(0, 48));               // header only
  Write("wood.map", bytes.substr(0, 44));               // header cut inside the reserved bytes
  ASSERT_EQ(LoadMaps(), 1);
  EXPECT_EQ(TileAt(mapTable[0], 9, 1), 0xA001);
  EXPECT_EQ(TileAt(mapTable[0], 10, 1), 0);
  EXPECT_EQ(TileAt(mapTable[0], 19, 14), 0);
  EXPECT_EQ(mapTable[1].lpTiles, std::vector<uint16_t>(300, 0));
  EXPECT_EQ(mapTable[2].nWidth, 20);
  EXPECT_EQ(mapTable[2].lpTiles, std::vector<uint16_t>(300, 0));
}

TEST_F(MapFileTest, NonsenseSizesAreTakenForAnUnreadableMap) {
  const std::vector<std::pair<int32_t, int32_t>> sizes = {
      {0, 15}, {20, 0}, {-20, 15}, {20, -1}, {INT32_MIN, 15}, {0x7FFFFFFF, 0x7FFFFFFF},
      {1025, 15}, {-65536, -65536}};
  for (auto [width, height] : sizes) {
    WriteAllMaps();
    for (MapInfo& map : mapTable) map = MapInfo{};
    Write("palace.map", MapFileBytes("bad", width, height, 0, std::vector<uint16_t>(300, 5)));
    EXPECT_EQ(LoadMaps(), 0) << width << " x " << height;
    EXPECT_EQ(mapTable[3].nWidth, 20);
    EXPECT_EQ(mapTable[4].nWidth, 0);
    EXPECT_TRUE(mapTable[4].lpTiles.empty());
  }
  Write("palace.map", "");
  EXPECT_EQ(LoadMaps(), 0);
}

TEST_F(MapFileTest, GroundTileIsKeptToTheTenRowsOfTheGroundSheet) {
  WriteAllMaps();
  const int8_t written[] = {9, 10, -3, int8_t(0x85)};
  for (int m = 0; m < 4; ++m)
    Write(std::string(kMapNames[m]) + ".map", MapFileBytes("g", 20, 15, written[m], std::vector<uint16_t>(300)));
  ASSERT_EQ(LoadMaps(), 1);
  const int expected[] = {9, 9, 0, 0};
  for (int m = 0; m < 4; ++m) EXPECT_EQ(mapTable[m].nGroundTile, expected[m]) << int(written[m]);
}

TEST_F(MapFileTest, ReloadingGivesFreshMapsAndCharacters) {
  WriteAllMaps();
  Write("home.npc", Field("1") + NpcLines(SampleNpcValues("10001", "guard")));
  ASSERT_EQ(LoadMaps(), 1);
  ASSERT_EQ(LoadNpcs(), 1);
  mapTable[0].abReserved[0] = 9;  // restored by a saved game; the files never set it
  SetTileAt(mapTable[0], 4, 4, 0xA12E);
  mapTable[0].lpNpcs[0].bActive = 0;
  mapTable[0].lpNpcs[0].nX = 500;

  ASSERT_EQ(LoadMaps(), 1);
  ASSERT_EQ(LoadNpcs(), 1);
  EXPECT_EQ(TileAt(mapTable[0], 4, 4), 84);
  ASSERT_EQ(NpcCount(mapTable[0]), 1);
  EXPECT_EQ(mapTable[0].lpNpcs[0].bActive, 1);
  EXPECT_EQ(mapTable[0].lpNpcs[0].nX, 96);
  EXPECT_EQ(mapTable[0].abReserved[0], 9);
}

TEST_F(MapFileTest, RandomBytesNeverReadOutsideTheFile) {
  std::mt19937 random(12345);
  WriteAllMaps();
  for (int round = 0; round < 200; ++round) {
    std::string bytes(size_t(random() % 700), '\0');
    for (char& byte : bytes) byte = char(random());
    if (round % 2 == 0 && bytes.size() >= 40) {  // sizes that pass, with random grids
      const std::string size = MapFileBytes("", int32_t(1 + random() % 40),
                                            int32_t(1 + random() % 40), 0, {});
      bytes.replace(32, 8, size.substr(32, 8));
    }
    Write("shop03.map", bytes);
    const int result = LoadMaps();
    const MapInfo& map = mapTable[7];
    if (result == 1) {
      EXPECT_EQ(map.lpTiles.size(), size_t(map.nWidth) * size_t(map.nHeight));
      EXPECT_GE(map.nGroundTile, 0);
      EXPECT_LE(map.nGroundTile, 9);
    }
  }
}
