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

std::string CrLf(const std::string& text) {
  std::string out;
  for (char c : text) {
    if (c == '\n') out += '\r';
    out += c;
  }
  return out;
}

}  // namespace

TEST_F(NpcFileTest, ReadsEveryFieldOfEachRecordInOrder) {
  const MapInfo& city = LoadCity(Field("2", " two of them") +
                                 NpcLines(SampleNpcValues("20006", "  two spaces")) +
                                 NpcLines(SampleNpcValues("59999", "\xC9\xCC\xC8\xCB")));
  ASSERT_EQ(NpcCount(city), 2);
  const NpcRecord& first = city.lpNpcs[0];
  EXPECT_EQ(Numbers(first), (std::vector<int32_t>{20006, 3, 1, 2, 1, 1, 32, 32, 96, 128, 96, 128,
                                                  1, 0, 4, 100, 30, 40, 12, 9, 4, 75}));
  EXPECT_STREQ(first.szName, "  two spaces");
  EXPECT_EQ(std::string(first.szGoods, 17), std::string("12  34          \0", 17));
  EXPECT_EQ(first.lpSurface, NpcSheetHandle(3));
  EXPECT_EQ(city.lpNpcs[1].nTalkId, 59999);
  EXPECT_STREQ(city.lpNpcs[1].szName, "\xC9\xCC\xC8\xCB");
  // Files that are missing give empty lists.
  for (int m : {0, 2, 3, 4, 5, 6, 7}) EXPECT_EQ(NpcCount(mapTable[m]), 0) << m;
}

TEST_F(NpcFileTest, CrLfLineEndsLoadLikeLf) {
  const std::string text = Field("2") + NpcLines(SampleNpcValues("10001", "Ann")) +
                           NpcLines(SampleNpcValues("10002", "Bo\nrn"));
  Write("home.npc", text);
  Write("city.npc", CrLf(text));
  ASSERT_EQ(LoadNpcs(), 1);
  ASSERT_EQ(NpcCount(mapTable[0]), 2);
  ASSERT_EQ(NpcCount(mapTable[1]), 2);
  EXPECT_EQ(std::memcmp(mapTable[0].lpNpcs.data(), mapTable[1].lpNpcs.data(),
                        2 * sizeof(NpcRecord)), 0);
  EXPECT_STREQ(mapTable[1].lpNpcs[1].szName, "Bo\nrn");  // a value running over two lines
  EXPECT_EQ(mapTable[1].lpNpcs[1].nMoney, 75);
}

TEST_F(NpcFileTest, NumbersReadAsDecimalPrefixes) {
  std::vector<std::string> values = SampleNpcValues("10003", "n");
  values[7] = " 12";     // nFrameWidth
  values[8] = "12abc";   // nFrameHeight
  values[9] = "";        // nX
  values[10] = "-7";     // nY
  values[11] = "\t+8";   // nLastX
  values[12] = "abc";    // nLastY
  values[16] = "99999999999";    // nExp
  values[17] = "-99999999999";   // nLife
  values[24] = "anything at all";  // the closing line
  const MapInfo& city = LoadCity(Field(" 1") + NpcLines(values));
  ASSERT_EQ(NpcCount(city), 1);
  const NpcRecord& npc = city.lpNpcs[0];
  const std::vector<int32_t> numbers = Numbers(npc);
  // nFrameWidth to nLastY.
  EXPECT_EQ(std::vector<int32_t>(numbers.begin() + 6, numbers.begin() + 12),
            (std::vector<int32_t>{12, 12, 0, -7, 8, 0}));
  EXPECT_EQ(npc.nExp, INT32_MAX);
  EXPECT_EQ(npc.nLife, INT32_MIN);
  EXPECT_EQ(npc.nMoney, 75);
}

TEST_F(NpcFileTest, ClosingLineMustStillHaveTheFieldForm) {
  // Without the ';' on the closing line, the next record's first field is swallowed by it.
  std::string first = NpcLines(SampleNpcValues("10001", "a"));
  first.replace(first.rfind("0;"), 2, "0 ");
  const MapInfo& city =
      LoadCity(Field("2") + first + NpcLines(SampleNpcValues("10002", "b")));
  ASSERT_EQ(NpcCount(city), 2);
  EXPECT_EQ(city.lpNpcs[0].nMoney, 75);
  EXPECT_NE(city.lpNpcs[1].nTalkId, 10002);
}

TEST_F(NpcFileTest, CountsAreBoundedByTheFile) {
  const std::string one = NpcLines(SampleNpcValues("10001", "a"));
  // Count 0: an empty list, whatever follows.
  EXPECT_EQ(NpcCount(LoadCity(Field("0") + one)), 0);
  EXPECT_EQ(NpcCount(LoadCity(Field("-5") + one)), 0);
  EXPECT_EQ(NpcCount(LoadCity("")), 0);
  // A count far beyond the text: only what the text could hold.
  const MapInfo& huge = LoadCity(Field("2147483647") + one);
  EXPECT_GE(NpcCount(huge), 1);
  EXPECT_LE(NpcCount(huge), 3);
  EXPECT_EQ(huge.lpNpcs[0].nTalkId, 10001);
  for (int i = 1; i < NpcCount(huge); ++i) EXPECT_EQ(huge.lpNpcs[size_t(i)].bActive, 0);
}

TEST_F(NpcFileTest, FileEndingEarlyLeavesTheRestZero) {
  const std::string one = NpcLines(SampleNpcValues("10001", "a"));
  const std::string half = NpcLines(SampleNpcValues("10002", "b")).substr(0, 40);
  const MapInfo& city = LoadCity(Field("3") + one + one + half);
  ASSERT_EQ(NpcCount(city), 3);
  EXPECT_EQ(city.lpNpcs[1].nMoney, 75);
  const NpcRecord& cut = city.lpNpcs[2];
  EXPECT_EQ(cut.nTalkId, 10002);
  EXPECT_EQ(cut.nPicture, 3);
  EXPECT_EQ(cut.bHostile, 0);
  EXPECT_EQ(cut.nMoney, 0);
  EXPECT_STREQ(cut.szName, "");
}

TEST_F(NpcFileTest, LongTextFieldsAreCutAndBadPicturesGetNoSheet) {
  std::vector<std::string> values = SampleNpcValues("10001", std::string(40, 'N'));
  values[1] = "15";                    // nPicture past the last sheet
  values[22] = std::string(30, '7');   // goods
  std::vector<std::string> second = SampleNpcValues("10002", std::string(31, 'M'));
  second[1] = "-1";
  const MapInfo& city = LoadCity(Field("2") + NpcLines(values) + NpcLines(second));
  ASSERT_EQ(NpcCount(city), 2);
  const NpcRecord& npc = city.lpNpcs[0];
  EXPECT_EQ(std::string(npc.szName), std::string(31, 'N'));
  EXPECT_EQ(std::string(npc.szGoods), std::string(19, '7'));
  EXPECT_EQ(npc.nFrameWidth, 32);  // the long name did not run into the next field
  EXPECT_EQ(npc.nMoney, 75);
  EXPECT_EQ(npc.lpSurface, kNoSheet);
  EXPECT_EQ(std::string(city.lpNpcs[1].szName), std::string(31, 'M'));
  EXPECT_EQ(city.lpNpcs[1].lpSurface, kNoSheet);
}

TEST_F(NpcFileTest, RandomTextNeverReadsOutsideTheFile) {
  std::mt19937 random(777);
  const std::string alphabet = "0123456789;;;\n\n\r -+abc";
  for (int round = 0; round < 200; ++round) {
    std::string text = Field(std::to_string(int(random() % 9) - 2));
    const size_t length = random() % 3000;
    for (size_t i = 0; i < length; ++i)
      text += round % 2 ? char(random()) : alphabet[random() % alphabet.size()];
    const MapInfo& city = LoadCity(text);
    ASSERT_LE(NpcCount(city), 11);  // a record takes at least 300 bytes
    for (int i = 0; i < NpcCount(city); ++i) {
      const NpcRecord& npc = city.lpNpcs[size_t(i)];
      EXPECT_LT(std::strlen(npc.szName), sizeof npc.szName);
      EXPECT_LT(std::strlen(npc.szGoods), sizeof npc.szGoods);
    }
  }
}
