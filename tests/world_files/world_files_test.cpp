// The field-line reader of the text data files, and the map and character files read into the
// map table from a throw-away data directory. That no file, however damaged, is read outside
// its bytes is left to the fuzz targets of fuzz/.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <fstream>

#include "core/map_types.h"
#include "core/read_field.h"
#include "platform/system.h"
#include "world/map_files.h"

namespace {

const char* const kMapNames[kMapCount] = {"home", "city", "wood", "f_wood", "palace", "shop01", "shop02", "shop03"};

// The bytes of a map file: name, width, height, ground tile, 7 reserved bytes, then the grid.
std::string MapFileBytes(const std::string& name, int32_t width, int32_t height, int8_t ground,
                         const std::vector<uint16_t>& tiles) {
  std::string bytes(48, '\0');
  bytes.replace(0, std::min<size_t>(name.size(), 32), name.substr(0, 32));
  for (int i = 0; i < 4; ++i) {
    bytes[size_t(32 + i)] = char(uint32_t(width) >> (8 * i));
    bytes[size_t(36 + i)] = char(uint32_t(height) >> (8 * i));
  }
  bytes[40] = char(ground);
  bytes.replace(41, 7, "RESERVD");
  for (uint16_t code : tiles) bytes += {char(code & 0xFF), char(code >> 8)};
  return bytes;
}

// One field line: an 11-byte label, the value, ';', a remark, LF.
std::string Field(const std::string& value, const std::string& remark = " remark") {
  return "label:    =" + value + ";" + remark + "\n";
}
// The 25 lines of one character; values in record order, the closing line last.
std::string NpcLines(const std::vector<std::string>& values) {
  std::string text;
  for (const std::string& value : values) text += Field(value);
  return text;
}
std::vector<std::string> SampleNpcValues(const std::string& talkId, const std::string& name) {
  return {talkId, "3", "1", "2", "1", "1", name, "32", "32", "96", "128", "96", "128", "1", "0", "4",
          "100", "30", "40", "12", "9", "4", "12  34          ", "75", "0"};
}
std::vector<int32_t> Numbers(const NpcRecord& r) {  // every number of a record, in record order
  return {r.nTalkId, r.nPicture, r.bHostile, r.nTalkState, r.nWalk, r.bActive, r.nFrameWidth, r.nFrameHeight,
          r.nX, r.nY, r.nLastX, r.nLastY, r.nDirection, r.nFrame, r.nLevel, r.nExp, r.nLife, r.nMaxLife,
          r.nAttack, r.nDefense, r.nSpeed, r.nMoney};
}

class WorldFilesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    directory_ = std::filesystem::temp_directory_path() /
                 (std::string("tamsel_") + std::to_string(::getpid()) + "_" + info->name());
    std::filesystem::remove_all(directory_);
    std::filesystem::create_directories(directory_ / "maps");
    platform::SetDataDirectory(directory_.string());
    // Eight 20 × 15 maps; cell i of map m holds code 100 × m + i.
    for (int m = 0; m < kMapCount; ++m) {
      mapTable[m] = MapInfo{};
      std::vector<uint16_t> tiles(20 * 15);
      for (size_t i = 0; i < tiles.size(); ++i) tiles[i] = uint16_t(100 * m + int(i));
      Write(std::string(kMapNames[m]) + ".map", MapFileBytes(kMapNames[m], 20, 15, 1, tiles));
    }
  }
  void TearDown() override {
    for (MapInfo& map : mapTable) map = MapInfo{};
    std::filesystem::remove_all(directory_);
  }
  void Write(const std::string& file, const std::string& bytes) {
    std::ofstream(directory_ / "maps" / file, std::ios::binary | std::ios::trunc) << bytes;
  }
  // Writes city.npc and loads every character file; returns the city's list.
  const MapInfo& LoadCity(const std::string& text) {
    Write("city.npc", text);
    EXPECT_EQ(LoadNpcs(), 1);
    return mapTable[1];
  }
  std::filesystem::path directory_;
};

TEST_F(WorldFilesTest, ReadsHeaderAndGridOfEveryMapAndKeepsAccessInsideTheGrid) {
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
  EXPECT_EQ((std::vector<int>{city.nWidth, city.nHeight, city.nGroundTile, TileAt(city, 3, 2), TileAt(city, 24, 19),
                              TileAt(city, 2, 3), int(city.lpTiles.size())}),
            (std::vector<int>{25, 20, 7, 0xA123, 0xF004, 0, 500}));
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

TEST_F(WorldFilesTest, AMissingOrNonsenseMapStopsTheLoadingThereAndAShortOneReadsAsGround) {
  const std::pair<int32_t, int32_t> sizes[] = {{0, 15}, {20, 0}, {-20, 15}, {20, -1}, {INT32_MIN, 15},
                                               {0x7FFFFFFF, 0x7FFFFFFF}, {1025, 15}, {-65536, -65536},
                                               {0, 0} /* an empty file */, {0, -2} /* no file */};
  for (auto [width, height] : sizes) {
    SCOPED_TRACE(testing::Message() << width << " x " << height);
    SetUp();
    mapTable[5].nWidth = 77;
    if (height == -2) std::filesystem::remove(directory_ / "maps" / "palace.map");
    else Write("palace.map", width || height ? MapFileBytes("bad", width, height, 0, std::vector<uint16_t>(300, 5)) : "");
    EXPECT_EQ(LoadMaps(), 0);
    EXPECT_EQ((std::vector<int>{mapTable[3].nWidth, mapTable[4].nWidth, int(mapTable[4].lpTiles.size()),
                                mapTable[5].nWidth /* maps after the bad one are left as they were */}),
              (std::vector<int>{20, 0, 0, 77}));
  }
  SetUp();
  const std::string bytes = MapFileBytes("short", 20, 15, 2, std::vector<uint16_t>(20 * 15, 0xA001));
  Write("home.map", bytes.substr(0, 48 + 2 * 30 + 1));  // 30 cells and half of the next
  Write("city.map", bytes.substr(0, 48));               // header only
  Write("wood.map", bytes.substr(0, 44));               // header cut inside the reserved bytes
  ASSERT_EQ(LoadMaps(), 1);
  EXPECT_EQ((std::vector<int>{TileAt(mapTable[0], 9, 1), TileAt(mapTable[0], 10, 1), TileAt(mapTable[0], 19, 14),
                              mapTable[2].nWidth}),
            (std::vector<int>{0xA001, 0, 0, 20}));
  EXPECT_EQ(mapTable[1].lpTiles, std::vector<uint16_t>(300, 0));
  EXPECT_EQ(mapTable[2].lpTiles, std::vector<uint16_t>(300, 0));
}

TEST_F(WorldFilesTest, ReloadingGivesFreshMapsAndCharacters) {
  Write("home.npc", Field("1") + NpcLines(SampleNpcValues("10001", "guard")));
  ASSERT_EQ(LoadMaps() + LoadNpcs(), 2);
  mapTable[0].abReserved[0] = 9;  // restored by a saved game; the files never set it
  SetTileAt(mapTable[0], 4, 4, 0xA12E);
  mapTable[0].lpNpcs[0].bActive = 0;
  mapTable[0].lpNpcs[0].nX = 500;
  ASSERT_EQ(LoadMaps() + LoadNpcs(), 2);
  ASSERT_EQ(NpcCount(mapTable[0]), 1);
  EXPECT_EQ((std::vector<int>{TileAt(mapTable[0], 4, 4), mapTable[0].lpNpcs[0].bActive, mapTable[0].lpNpcs[0].nX,
                              mapTable[0].abReserved[0]}),
            (std::vector<int>{84, 1, 96, 9}));
}

TEST_F(WorldFilesTest, ReadsEveryFieldOfEachRecordInOrderWithEitherLineEnd) {
  ASSERT_EQ(LoadMaps(), 1);
  const std::string text = Field("2", " two of them") + NpcLines(SampleNpcValues("20006", "  two spaces")) +
                           NpcLines(SampleNpcValues("59999", "Bo\nrn"));  // a value over two lines
  std::string crLf;
  for (char c : text) crLf += c == '\n' ? std::string("\r\n") : std::string(1, c);
  Write("home.npc", text);
  const MapInfo& city = LoadCity(crLf);
  ASSERT_EQ(NpcCount(city), 2);
  const NpcRecord& first = city.lpNpcs[0];
  EXPECT_EQ(Numbers(first), (std::vector<int32_t>{20006, 3, 1, 2, 1, 1, 32, 32, 96, 128, 96, 128,
                                                  1, 0, 4, 100, 30, 40, 12, 9, 4, 75}));
  EXPECT_STREQ(first.szName, "  two spaces");
  EXPECT_EQ(std::string(first.szGoods, 17), std::string("12  34          \0", 17));
  EXPECT_EQ(first.lpSurface, NpcSheetHandle(3));
  EXPECT_STREQ(city.lpNpcs[1].szName, "Bo\nrn");
  EXPECT_EQ(city.lpNpcs[1].nMoney, 75);
  ASSERT_EQ(NpcCount(mapTable[0]), 2);
  EXPECT_EQ(std::memcmp(mapTable[0].lpNpcs.data(), city.lpNpcs.data(), 2 * sizeof(NpcRecord)), 0);
  for (int m : {2, 3, 4, 5, 6, 7}) EXPECT_EQ(NpcCount(mapTable[m]), 0) << m;  // missing files: empty lists
}

TEST_F(WorldFilesTest, OddValuesReadAsDecimalPrefixesAndCutTexts) {
  ASSERT_EQ(LoadMaps(), 1);
  std::vector<std::string> values = SampleNpcValues("10003", std::string(40, 'N'));
  values[1] = "15";  // nPicture past the last sheet: no sheet
  for (auto [field, value] : {std::pair{7, " 12"}, {8, "12abc"}, {9, ""}, {10, "-7"}, {11, "\t+8"},
                              {12, "abc"}, {16, "99999999999"}, {17, "-99999999999"}})
    values[size_t(field)] = value;
  values[22] = std::string(30, '7');  // goods
  values[24] = "anything at all";     // the closing line
  std::vector<std::string> second = SampleNpcValues("10002", std::string(31, 'M'));
  second[1] = "-1";
  const MapInfo& city = LoadCity(Field(" 2") + NpcLines(values) + NpcLines(second));
  ASSERT_EQ(NpcCount(city), 2);
  const NpcRecord& npc = city.lpNpcs[0];
  const std::vector<int32_t> numbers = Numbers(npc);
  // nFrameWidth to nLastY, nExp and nLife, and nMoney: the long texts did not run into it.
  EXPECT_EQ(std::vector<int32_t>(numbers.begin() + 6, numbers.begin() + 12), (std::vector<int32_t>{12, 12, 0, -7, 8, 0}));
  EXPECT_EQ((std::vector<int32_t>{npc.nExp, npc.nLife, npc.nMoney}), (std::vector<int32_t>{INT32_MAX, INT32_MIN, 75}));
  EXPECT_EQ(std::string(npc.szName), std::string(31, 'N'));
  EXPECT_EQ(std::string(npc.szGoods), std::string(19, '7'));
  EXPECT_EQ(std::string(city.lpNpcs[1].szName), std::string(31, 'M'));
  EXPECT_EQ(npc.lpSurface, kNoSheet);
  EXPECT_EQ(city.lpNpcs[1].lpSurface, kNoSheet);
}

TEST_F(WorldFilesTest, CountsAndCutFilesAreBoundedByTheText) {
  ASSERT_EQ(LoadMaps(), 1);
  const std::string one = NpcLines(SampleNpcValues("10001", "a"));
  for (const char* count : {"0", "-5"}) EXPECT_EQ(NpcCount(LoadCity(Field(count) + one)), 0) << count;
  EXPECT_EQ(NpcCount(LoadCity("")), 0);
  // A count far beyond the text: only what the text could hold.
  const MapInfo& huge = LoadCity(Field("2147483647") + one);
  EXPECT_GE(NpcCount(huge), 1);
  EXPECT_LE(NpcCount(huge), 3);
  EXPECT_EQ(huge.lpNpcs[0].nTalkId, 10001);
  for (int i = 1; i < NpcCount(huge); ++i) EXPECT_EQ(huge.lpNpcs[size_t(i)].bActive, 0);
  // A file ending inside a record leaves the rest of it zero.
  const std::string half = NpcLines(SampleNpcValues("10002", "b")).substr(0, 40);
  const MapInfo& city = LoadCity(Field("3") + one + one + half);
  ASSERT_EQ(NpcCount(city), 3);
  const NpcRecord& cut = city.lpNpcs[2];
  EXPECT_EQ((std::vector<int>{city.lpNpcs[1].nMoney, cut.nTalkId, cut.nPicture, cut.bHostile, cut.nMoney, cut.szName[0]}),
            (std::vector<int>{75, 10002, 3, 0, 0, 0}));
  // Without the ';' on the closing line, the next record's first field is swallowed by it.
  std::string first = one;
  first.replace(first.rfind("0;"), 2, "0 ");
  const MapInfo& swallowed = LoadCity(Field("2") + first + NpcLines(SampleNpcValues("10002", "b")));
  ASSERT_EQ(NpcCount(swallowed), 2);
  EXPECT_EQ(swallowed.lpNpcs[0].nMoney, 75);
  EXPECT_NE(swallowed.lpNpcs[1].nTalkId, 10002);
}

TEST(ReadFieldTest, ValuesRunToTheSemicolonThenPastTheLineEndAndStayInBounds) {
  const std::string longText = "label:     " + std::string(5000, 'x') + ";\nnext";
  struct Case {
    std::string text;
    size_t from;
    int skip, room;  // room: the destination's size; -1 for none, to read a number
    int result;
    std::string value;  // "#" when the destination must be left alone
    size_t to;
  } cases[] = {
      {"label:     first\nsecond; rest\nthird;\n", 0, 11, 64, 1, "first\nsecond", 30},
      {"label:     first\nsecond; rest\nthird;\n", 30, 0, 64, 1, "third", 37},  // skip 0, as the dialogue reads it
      {"label:     no semicolon at all", 0, 11, 64, 1, "no semicolon at all", 30},
      {"label:     42;no line feed", 0, 11, -1, 42, "#", 26},
      {"abc", 4, 11, -1, 0, "#", 3},  // a position past the end
      {"short", 0, 11, 64, 1, "", 5},  // a skip past the end
      {longText, 0, 11, 2000, 1, std::string(1023, 'x'), longText.size() - 4},
      {"label:     abcdef;\n", 0, 11, 4, 1, "abc", 19},
      {"label:     abc;\n", 0, 11, 0, 1, "#", 16},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text.substr(0, 30));
    std::string destination(size_t(std::max(c.room, 1)), '#');
    size_t position = c.from;
    EXPECT_EQ(ReadField(c.text, position, c.room < 0 ? nullptr : destination.data(), size_t(std::max(c.room, 0)), c.skip),
              c.result);
    EXPECT_EQ(c.room > 0 ? std::string(destination.c_str()) : destination, c.value);
    EXPECT_EQ(position, c.to);
  }
}

}  // namespace
