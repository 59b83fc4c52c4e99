#include <random>

#include "world/map_files.h"
#include "world_fixture.h"

using MapFileTest = DataDirectoryTest;

TEST_F(MapFileTest, ReadsHeaderAndGridOfEveryMapAndKeepsAccessInsideTheGrid) {
  WriteAllMaps();
  // A 25 × 20 map, stored row by row: column 3, row 2 is element 53.
  std::vector<uint16_t> tiles(25 * 20, 0);
  tiles[53] = 0xA123;
  tiles[499] = 0xF004;
  Write("city.map", MapFileBytes("city of tests", 25, 20, 7, tiles) + "bytes after the grid are ignored");
  // Ground tiles are kept to the ten rows of the ground sheet.
  for (auto [m, ground] : {std::pair<int, int8_t>{0, 9}, {2, 10}, {3, -3}, {4, int8_t(0x85)}})
    Write(std::string(kMapNames[m]) + ".map", MapFileBytes("g", 20, 15, ground, {}));

  ASSERT_EQ(LoadMaps(), 1);
  const MapInfo& city = mapTable[1];
  EXPECT_STREQ(city.szName, "city of tests");
  EXPECT_EQ((std::vector<int>{city.nWidth, city.nHeight, city.nGroundTile, TileAt(city, 3, 2),
                              TileAt(city, 24, 19), TileAt(city, 2, 3)}),
            (std::vector<int>{25, 20, 7, 0xA123, 0xF004, 0}));
  EXPECT_EQ(city.lpTiles.size(), 500u);
  for (int m = 5; m < kMapCount; ++m) EXPECT_EQ(TileAt(mapTable[m], 5, 1), 100 * m + 25) << m;
  EXPECT_EQ((std::vector<int>{mapTable[0].nGroundTile, mapTable[2].nGroundTile, mapTable[3].nGroundTile,
                              mapTable[4].nGroundTile}),
            (std::vector<int>{9, 9, 0, 0}));

  // Outside the grid a map reads as plain ground and takes no writes.
  MapInfo& shop = mapTable[5];
  EXPECT_EQ(TileAt(shop, -1, 0) + TileAt(shop, 20, 0) + TileAt(shop, 0, 15), 0);
  SetTileAt(shop, 20, 0, 0x1234);
  SetTileAt(shop, 0, -1, 0x1234);
  SetTileAt(shop, 19, 14, 0xA12E);
  EXPECT_EQ((std::vector<int>{shop.lpTiles[299], shop.lpTiles[0], shop.lpTiles[20]}),
            (std::vector<int>{0xA12E, 500, 520}));
}

TEST_F(MapFileTest, AMissingOrNonsenseMapStopsTheLoadingThere) {
  const std::pair<int32_t, int32_t> sizes[] = {{0, 15}, {20, 0}, {-20, 15}, {20, -1}, {INT32_MIN, 15},
                                               {0x7FFFFFFF, 0x7FFFFFFF}, {1025, 15}, {-65536, -65536},
                                               {0, 0} /* an empty file */, {0, -2} /* no file */};
  for (auto [width, height] : sizes) {
    SCOPED_TRACE(testing::Message() << width << " x " << height);
    WriteAllMaps();
    for (MapInfo& map : mapTable) map = MapInfo{};
    mapTable[5].nWidth = 77;
    if (height == -2) Remove("palace.map");
    else Write("palace.map", width || height ? MapFileBytes("bad", width, height, 0, std::vector<uint16_t>(300, 5)) : "");
    EXPECT_EQ(LoadMaps(), 0);
    EXPECT_EQ(mapTable[3].nWidth, 20);
    EXPECT_EQ(mapTable[4].nWidth, 0);
    EXPECT_TRUE(mapTable[4].lpTiles.empty());
    EXPECT_EQ(mapTable[5].nWidth, 77);  // maps after the bad one are left as they were
  }
}

TEST_F(MapFileTest, ShortFileGivesPlainGroundForMissingCells) {
  WriteAllMaps();
  const std::string bytes = MapFileBytes("short", 20, 15, 2, std::vector<uint16_t>(20 * 15, 0xA001));
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

TEST_F(MapFileTest, ReloadingGivesFreshMapsAndCharacters) {
  WriteAllMaps();
  Write("home.npc", Field("1") + NpcLines(SampleNpcValues("10001", "guard")));
  ASSERT_EQ(LoadMaps() + LoadNpcs(), 2);
  mapTable[0].abReserved[0] = 9;  // restored by a saved game; the files never set it
  SetTileAt(mapTable[0], 4, 4, 0xA12E);
  mapTable[0].lpNpcs[0].bActive = 0;
  mapTable[0].lpNpcs[0].nX = 500;

  ASSERT_EQ(LoadMaps() + LoadNpcs(), 2);
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
    if (round % 2 == 0 && bytes.size() >= 40)  // sizes that pass, with random grids
      bytes.replace(32, 8, MapFileBytes("", int32_t(1 + random() % 40), int32_t(1 + random() % 40), 0, {}).substr(32, 8));
    Write("shop03.map", bytes);
    const MapInfo& map = mapTable[7];
    if (LoadMaps() == 1) {
      EXPECT_EQ(map.lpTiles.size(), size_t(map.nWidth) * size_t(map.nHeight));
      EXPECT_TRUE(map.nGroundTile >= 0 && map.nGroundTile <= 9) << int(map.nGroundTile);
    }
  }
}
