// The goods file, goods slot bytes and the goods in the state dump.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <string>

#include "app/game_state.h"
#include "app/state_dump.h"
#include "goods_fixture.h"
#include "platform/system.h"

namespace goods_test {
namespace {

bool IsEmptyEntry(const GoodsRecord& goods) {
  static const GoodsRecord kZero{};
  return std::memcmp(&goods, &kZero, sizeof goods) == 0;
}

int FilledCount() {
  int count = 0;
  for (int k = 0; k < kGoodsCount; ++k) count += GoodsOfSlot(char('0' + k)) != nullptr;
  return count;
}

std::string Repeat(const std::string& piece, int times) {
  std::string text;
  for (int k = 0; k < times; ++k) text += piece;
  return text;
}

TEST_F(GoodsTest, TheGeneratedTableFillsIndicesTwoToNineteen) {
  platform::SetDataDirectory(TAMSEL_DATA_DIR);
  LoadGoods();
  EXPECT_EQ(FilledCount(), 18);
  EXPECT_TRUE(IsEmptyEntry(aGoods[0]) && IsEmptyEntry(aGoods[1]));
  EXPECT_STREQ(aGoods[2].szName, "馒头");
  EXPECT_EQ(aGoods[2].nValue, 8);
  EXPECT_EQ(aGoods[2].nAddLife, 25);
  EXPECT_STREQ(aGoods[19].szName, "夜明珠");
  EXPECT_EQ(aGoods[19].nId, 19);
}

TEST_F(GoodsTest, FieldLinesAreReadFromLabelToSemicolon) {
  const std::string record =
      FieldLine("2") + "label     :  two words ;comment\r\n" + FieldLine("") + FieldLine(" 25abc") +
      FieldLine("-30") + FieldLine("") + FieldLine("+7") + FieldLine("x") + FieldLine("end");
  WriteFile("text/goods.dat", FieldLine("3") + record + record + record + record);
  LoadGoods();
  for (int k : {2, 3, 4}) {
    SCOPED_TRACE(k);
    EXPECT_STREQ(aGoods[k].szName, "  two words ");
    EXPECT_STREQ(aGoods[k].szText, "");
    EXPECT_EQ(aGoods[k].nValue, 25);
    EXPECT_EQ(aGoods[k].nAddExp, -30);
    EXPECT_EQ(aGoods[k].nAddLife, 0);
    EXPECT_EQ(aGoods[k].nAddAttack, 7);
    EXPECT_EQ(aGoods[k].nAddDefense, 0);
  }
  EXPECT_TRUE(IsEmptyEntry(aGoods[5]));
}

TEST_F(GoodsTest, DamagedTablesLoadWhatFitsAndNoMore) {
  std::vector<GoodsLines> twenty;
  for (int k = 0; k < 20; ++k) twenty.push_back({"g" + std::to_string(k + 2), "t", 1, 0, 0, 0, 0});
  std::string noSemicolon = GoodsFileText("2", {{"a", "ta", 3, 0, 0, 0, 0}, {"b", "tb", 4, 0, 0, 0, 0}});
  noSemicolon.replace(noSemicolon.find("a;"), 2, "a and more");
  const std::string oneOfThree = GoodsFileText("3", {{"only", "t", 1, 0, 0, 0, 0}});

  struct Case {
    const char* what;
    std::string file;  // empty: no file at all
    int filled;
    const char* nameOf2;
    const char* nameOf19;
  };
  const Case cases[] = {
      {"count beyond the table", GoodsFileText("25", twenty), 18, "g2", "g19"},
      {"negative count", GoodsFileText("-4", twenty), 0, "", ""},
      {"count without digits", GoodsFileText("many", twenty), 0, "", ""},
      {"file ends early", oneOfThree, 1, "only", ""},
      {"missing file", "", 0, "", ""},
      {"a line without ';'", noSemicolon, 2, "a and more", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove_all(dataDirectory_ + "/text");
    if (!c.file.empty()) WriteFile("text/goods.dat", c.file);
    aGoods[7].nValue = 99;  // left over from before: loading starts from an empty table
    LoadGoods();
    EXPECT_EQ(FilledCount(), c.filled);
    EXPECT_STREQ(aGoods[2].szName, c.nameOf2);
    EXPECT_STREQ(aGoods[19].szName, c.nameOf19);
    EXPECT_TRUE(IsEmptyEntry(aGoods[0]) && IsEmptyEntry(aGoods[1]));
    EXPECT_EQ(aGoods[7].nValue, c.filled >= 6 ? 1 : 0);
  }
  // The line that lost its ';' spoils only its own field.
  WriteFile("text/goods.dat", noSemicolon);
  LoadGoods();
  EXPECT_STREQ(aGoods[2].szText, "ta");
  EXPECT_EQ(aGoods[2].nValue, 3);
  EXPECT_STREQ(aGoods[3].szName, "b");
  EXPECT_EQ(aGoods[3].nValue, 4);
}

TEST_F(GoodsTest, LongNamesAndTextsAreCutBetweenCharacters) {
  const std::string han = "馒";  // two bytes
  struct Case {
    std::string name, text;
    size_t nameBytes, textBytes;
  };
  const Case cases[] = {
      {Repeat(han, 20), Repeat(han, 60), 30, 98},
      {"a" + Repeat(han, 20), "a" + Repeat(han, 60), 31, 99},
      {"ab" + Repeat(han, 20), "ab" + Repeat(han, 60), 30, 98},
      {Repeat("x", 40), Repeat("x", 1500), 31, 99},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    WriteFile("text/goods.dat", GoodsFileText("1", {{c.name, c.text, 1, 0, 0, 0, 0}}));
    LoadGoods();
    EXPECT_EQ(std::strlen(aGoods[2].szName), c.nameBytes);
    EXPECT_EQ(std::string(aGoods[2].szName), c.name.substr(0, c.nameBytes));
    EXPECT_EQ(std::strlen(aGoods[2].szText), c.textBytes);
    EXPECT_EQ(std::string(aGoods[2].szText), c.text.substr(0, c.textBytes));
    EXPECT_EQ(aGoods[2].nValue, 1);
  }
}

TEST_F(GoodsTest, SlotBytesThatNameNoFilledGoodsAreEmpty) {
  // The fixture's table fills indices 2 to 7.
  const struct {
    char slot;
    int index;  // -1: empty
  } cases[] = {{' ', -1}, {'\0', -1}, {'0', -1}, {'1', -1}, {'2', 2},  {'7', 7},
               {'8', -1}, {'C', -1},  {'D', -1}, {'/', -1}, {'\xFF', -1}, {'\x80', -1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(int(static_cast<unsigned char>(c.slot)));
    const GoodsRecord* goods = GoodsOfSlot(c.slot);
    EXPECT_EQ(goods == nullptr ? -1 : int(goods - aGoods), c.index);
  }

  SetHeroSlots(std::string("2 \xFF" "7D", 5));  // the rest of the field is zero bytes
  EXPECT_EQ(CountGoods(hero), 2);
  AddGoods(hero, '5');
  EXPECT_EQ(std::string(hero.szGoods, 17), std::string("25\xFF" "7D           \0", 17))
      << "the first empty slot takes the goods and the short field is padded";
  AddGoods(hero, '6');
  EXPECT_EQ(hero.szGoods[2], '6');

  SetHeroSlots(std::string(16, '3'));
  AddGoods(hero, '2');
  EXPECT_EQ(std::string(hero.szGoods, 16), std::string(16, '3')) << "a full set takes nothing";
}

TEST_F(GoodsTest, TheStateDumpListsTheFilledGoods) {
  std::string dump = DumpGameState();
  EXPECT_NE(dump.find("\"goodsCount\":6,\"goods\":[{\"index\":2,\"szName\":\"c2f8cdb7\"},"),
            std::string::npos)
      << dump;
  EXPECT_NE(dump.find("{\"index\":7,\"szName\":\"d2b9c3f7d6e9\"}],"), std::string::npos);

  std::filesystem::remove_all(dataDirectory_ + "/text");
  LoadGoods();
  dump = DumpGameState();
  EXPECT_NE(dump.find("\"goodsCount\":0,\"goods\":[],"), std::string::npos);
}

}  // namespace
}  // namespace goods_test
