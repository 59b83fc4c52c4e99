// The goods file, damaged copies of it, goods slot bytes and the goods in the state dump.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "app/state_dump.h"
#include "goods_fixture.h"
#include "platform/system.h"

namespace goods_test {
namespace {

// The names of entries 0 to 19, "-" for an entry that holds nothing at all.
std::string Names() {
  static const GoodsRecord kZero{};
  std::string names;
  for (const GoodsRecord& goods : aGoods)
    names += std::memcmp(&goods, &kZero, sizeof goods) == 0 ? std::string("-") : goods.szName + std::string("|");
  return names;
}

TEST_F(GoodsTest, TheGeneratedTableFillsIndicesTwoToNineteen) {
  platform::SetDataDirectory(TAMSEL_DATA_DIR);
  LoadGoods();
  EXPECT_EQ(Names().substr(0, 7), "--馒头|");
  EXPECT_STREQ(aGoods[19].szName, "夜明珠");
  EXPECT_EQ(aGoods[19].nId, 19);
  EXPECT_EQ(aGoods[2].nAddLife, 25);
}

// What Names() gives for a table filled from index 2 with these names.
std::string Table(const std::vector<std::string>& names) {
  std::string table = "--";
  for (const std::string& name : names) table += name + "|";
  return table + std::string(size_t(kGoodsCount) - 2 - names.size(), '-');
}

std::string Repeat(const std::string& piece, int times) {
  std::string text;
  for (int k = 0; k < times; ++k) text += piece;
  return text;
}

TEST_F(GoodsTest, TablesLoadWhatTheyHoldAndNoMore) {
  std::string twenty;
  std::vector<std::string> first18;
  for (int k = 2; k < 22; ++k) {
    twenty += GoodsLines("g" + std::to_string(k), "t", 1, 0, 0, 0, 0);
    if (k < kGoodsCount) first18.push_back("g" + std::to_string(k));
  }
  const std::string ab = GoodsLines("a", "ta", 3, 0, 0, 0, 0) + GoodsLines("b", "tb", 4, 0, 0, 0, 0);
  std::string lostSemicolon = FieldLine("2") + ab;
  lostSemicolon.replace(lostSemicolon.find("a;"), 2, "a and more");
  const std::string han = "馒";  // two bytes, written "xx" below
  std::string longNames;
  for (const char* start : {"", "a", "ab"})
    longNames += GoodsLines(start + Repeat(han, 20), start + Repeat(han, 60), 1, 0, 0, 0, 0);
  const std::string fields = "label     :  two words ;comment\r\n" + FieldLine("") +
                             FieldLine(" 25abc") + FieldLine("-30") + FieldLine("+7");
  const struct {
    std::string file;  // empty: no file
    std::string names;
  } cases[] = {
      {FieldLine("3") + ab + ab, Table({"a", "b", "a"})},
      {FieldLine("25") + twenty, Table(first18)},
      {FieldLine("-4") + twenty, Table({})},
      {FieldLine("many") + twenty, Table({})},
      {FieldLine("3") + ab.substr(0, ab.size() / 2), Table({"a"})},
      {"", Table({})},
      {lostSemicolon, Table({"a and more", "b"})},
      {FieldLine("1") + FieldLine("2") + fields + fields, Table({"  two words "})},
      {FieldLine("3") + longNames, Table({Repeat("x", 30), "a" + Repeat("x", 30), "ab" + Repeat("x", 28)})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file.substr(0, 40));
    std::filesystem::remove_all(dataDirectory_ + "/text");
    if (!c.file.empty()) WriteFile("text/goods.dat", c.file);
    LoadGoods();
    std::string names = Names();
    for (size_t at; (at = names.find(han)) != std::string::npos;) names.replace(at, han.size(), "xx");
    EXPECT_EQ(names, c.names);
  }
  // The line that lost its ';' spoils only its own field; long texts keep whole characters;
  // numbers are read up to their first other character.
  WriteFile("text/goods.dat", lostSemicolon);
  LoadGoods();
  EXPECT_EQ(std::string(aGoods[2].szText) + std::to_string(aGoods[2].nValue) + aGoods[3].szText, "ta3tb");
  WriteFile("text/goods.dat", FieldLine("2") + longNames);
  LoadGoods();
  EXPECT_EQ(std::strlen(aGoods[2].szText), 98u);
  EXPECT_EQ(std::strlen(aGoods[3].szText), 99u);
  WriteFile("text/goods.dat", FieldLine("1") + FieldLine("2") + fields + fields);
  LoadGoods();
  const GoodsRecord& g = aGoods[2];
  EXPECT_EQ(std::to_string(g.nValue) + " " + std::to_string(g.nAddExp) + " " +
                std::to_string(g.nAddLife) + " " + std::to_string(g.nAddAttack) + "|" + g.szText + "|",
            "25 -30 7 0||");
}

// The goods index each slot byte names, '.' for none.
std::string Indices(const std::string& bytes) {
  std::string indices;
  for (char slot : bytes) {
    const GoodsRecord* goods = GoodsOfSlot(slot);
    indices += goods == nullptr ? '.' : char('0' + (goods - aGoods));
  }
  return indices;
}

TEST_F(GoodsTest, SlotBytesThatNameNoFilledGoodsAreEmpty) {
  // The fixture fills indices 2 to 7.
  const std::string bytes("2 \xFF" "7\0" "01" "8CD/\x80", 12);
  EXPECT_EQ(Indices(bytes), "2..7........");

  SetHeroSlots(bytes.substr(0, 5));
  EXPECT_EQ(CountGoods(hero), 2);
  AddGoods(hero, '5');
  AddGoods(hero, '6');
  EXPECT_EQ(std::string(hero.szGoods, 17), std::string("256" "7            \0", 17));
  SetHeroSlots(std::string(16, '3'));
  AddGoods(hero, '2');
  EXPECT_EQ(std::string(hero.szGoods, 16), std::string(16, '3')) << "a full set takes nothing";

  // Goods the file defined with an empty name are goods all the same; a record the file ends
  // before is not.
  WriteFile("text/goods.dat", FieldLine("3") + GoodsLines("", "", 0, 0, 0, 0, 0) +
                                  GoodsLines("b", "tb", 4, 0, 0, 0, 0));
  LoadGoods();
  EXPECT_EQ(Indices("2345"), "23..");
  SetHeroSlots("2");
  AddGoods(hero, '3');
  EXPECT_EQ(std::string(hero.szGoods, 3), "23 ") << "the nameless goods keep their slot";
}

TEST_F(GoodsTest, TheStateDumpListsTheFilledGoods) {
  EXPECT_NE(DumpGameState().find("\"goodsCount\":6,\"goods\":[{\"index\":2,\"szName\":\"c2f8cdb7\"},"),
            std::string::npos);
  std::filesystem::remove_all(dataDirectory_ + "/text");
  LoadGoods();
  EXPECT_NE(DumpGameState().find("\"goodsCount\":0,\"goods\":[],"), std::string::npos);
}

}  // namespace
}  // namespace goods_test
