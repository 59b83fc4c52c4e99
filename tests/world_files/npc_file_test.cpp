#include <cstring>
#include <random>

#include "world/map_files.h"
#include "world_fixture.h"

namespace {

class NpcFileTest : public DataDirectoryTest {
 protected:
  void SetUp() override {
    DataDirectoryTest::SetUp();
    WriteAllMaps();
    ASSERT_EQ(LoadMaps(), 1);
  }
  // Writes city.npc and loads every character file; returns the city's list.
  const MapInfo& LoadCity(const std::string& text) {
    Write("city.npc", text);
    EXPECT_EQ(LoadNpcs(), 1);
    return mapTable[1];
  }
};

// Every number of a record, in record order.
std::vector<int32_t> Numbers(const NpcRecord& r) {
  return {r.nTalkId, r.nPicture, r.bHostile, r.nTalkState, r.nWalk,  r.bActive,  r.nFrameWidth,
          r.nFrameHeight, r.nX, r.nY, r.nLastX, r.nLastY, r.nDirection, r.nFrame, r.nLevel, r.nExp,
          r.nLife, r.nMaxLife, r.nAttack, r.nDefense, r.nSpeed, r.nMoney};
}

}  // namespace

TEST_F(NpcFileTest, ReadsEveryFieldOfEachRecordInOrderWithEitherLineEnd) {
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
  // Files that are missing give empty lists.
  for (int m : {2, 3, 4, 5, 6, 7}) EXPECT_EQ(NpcCount(mapTable[m]), 0) << m;
}

TEST_F(NpcFileTest, OddValuesReadAsDecimalPrefixesAndCutTexts) {
  std::vector<std::string> values = SampleNpcValues("10003", std::string(40, 'N'));
  values[1] = "15";                     // nPicture past the last sheet: no sheet
  for (auto [field, value] : {std::pair{7, " 12"}, {8, "12abc"}, {9, ""}, {10, "-7"}, {11, "\t+8"},
                              {12, "abc"}, {16, "99999999999"}, {17, "-99999999999"}})
    values[size_t(field)] = value;
  values[22] = std::string(30, '7');    // goods
  values[24] = "anything at all";       // the closing line
  std::vector<std::string> second = SampleNpcValues("10002", std::string(31, 'M'));
  second[1] = "-1";
  const MapInfo& city = LoadCity(Field(" 2") + NpcLines(values) + NpcLines(second));
  ASSERT_EQ(NpcCount(city), 2);
  const NpcRecord& npc = city.lpNpcs[0];
  const std::vector<int32_t> numbers = Numbers(npc);
  // nFrameWidth to nLastY, nExp and nLife.
  EXPECT_EQ(std::vector<int32_t>(numbers.begin() + 6, numbers.begin() + 12),
            (std::vector<int32_t>{12, 12, 0, -7, 8, 0}));
  EXPECT_EQ(npc.nExp, INT32_MAX);
  EXPECT_EQ(npc.nLife, INT32_MIN);
  EXPECT_EQ(npc.nMoney, 75);  // the long name and goods did not run into the next fields
  EXPECT_EQ(std::string(npc.szName), std::string(31, 'N'));
  EXPECT_EQ(std::string(npc.szGoods), std::string(19, '7'));
  EXPECT_EQ(npc.lpSurface, kNoSheet);
  EXPECT_EQ(std::string(city.lpNpcs[1].szName), std::string(31, 'M'));
  EXPECT_EQ(city.lpNpcs[1].lpSurface, kNoSheet);
}

TEST_F(NpcFileTest, CountsAndCutFilesAreBoundedByTheText) {
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
  EXPECT_EQ(city.lpNpcs[1].nMoney, 75);
  const NpcRecord& cut = city.lpNpcs[2];
  EXPECT_EQ((std::vector<int>{cut.nTalkId, cut.nPicture, cut.bHostile, cut.nMoney, cut.szName[0]}),
            (std::vector<int>{10002, 3, 0, 0, 0}));

  // Without the ';' on the closing line, the next record's first field is swallowed by it.
  std::string first = one;
  first.replace(first.rfind("0;"), 2, "0 ");
  const MapInfo& swallowed = LoadCity(Field("2") + first + NpcLines(SampleNpcValues("10002", "b")));
  ASSERT_EQ(NpcCount(swallowed), 2);
  EXPECT_EQ(swallowed.lpNpcs[0].nMoney, 75);
  EXPECT_NE(swallowed.lpNpcs[1].nTalkId, 10002);
}

TEST_F(NpcFileTest, RandomTextNeverReadsOutsideTheFile) {
  std::mt19937 random(777);
  const std::string alphabet = "0123456789;;;\n\n\r -+abc";
  for (int round = 0; round < 200; ++round) {
    std::string text = Field(std::to_string(int(random() % 9) - 2));
    for (size_t i = 0, length = random() % 3000; i < length; ++i)
      text += round % 2 ? char(random()) : alphabet[random() % alphabet.size()];
    const MapInfo& city = LoadCity(text);
    ASSERT_LE(NpcCount(city), 11);  // a record takes at least 300 bytes
    for (int i = 0; i < NpcCount(city); ++i) {
      EXPECT_LT(std::strlen(city.lpNpcs[size_t(i)].szName), sizeof(NpcRecord::szName));
      EXPECT_LT(std::strlen(city.lpNpcs[size_t(i)].szGoods), sizeof(NpcRecord::szGoods));
    }
  }
}
