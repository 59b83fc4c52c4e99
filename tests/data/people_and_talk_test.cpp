// The characters of the generated data set and what they say: the records the story events
// address by index, the talk entries the game asks for, and the byte rules of the dialogue.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "world_fixture.h"

namespace datacheck {
namespace {

constexpr int kRow = 50;  // bytes per row of the talk box and the story screens

class PeopleAndTalk : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(world.complete) << "maps missing in " << DataDir(); }
  const World& world = TheWorld();
  const Dialogue talk{ReadWholeFile(DataDir() + "/text/talk.txt")};
};

const Npc* FindByTalk(const std::vector<Npc>& npcs, int talkId) {
  for (const Npc& npc : npcs)
    if (npc.talkId == talkId) return &npc;
  return nullptr;
}

TEST_F(PeopleAndTalk, CharacterFilesAreWholeWithElevenByteLabels) {
  for (int m = 0; m < kMapCount; ++m) {
    SCOPED_TRACE(kMapNames[size_t(m)]);
    EXPECT_FALSE(world.npcs[size_t(m)].empty()) << "unreadable or empty character file";
    for (const std::string& label : world.npcLabels[size_t(m)]) EXPECT_EQ(label.size(), 11u);
    for (const Npc& npc : world.npcs[size_t(m)]) {
      EXPECT_TRUE(npc.picture >= 0 && npc.picture <= 14) << npc.picture;
      EXPECT_EQ(npc.frameWidth, 32);
      EXPECT_EQ(npc.frameHeight, 32);
      EXPECT_TRUE(npc.talkId >= 10000 && npc.talkId <= 99999);
      EXPECT_TRUE(!npc.name.empty() && npc.name.size() <= 31 && IsWholeGbk(npc.name));
      EXPECT_EQ(npc.lastX, npc.x);
      EXPECT_EQ(npc.lastY, npc.y);
    }
  }
}

TEST_F(PeopleAndTalk, StoryEventsFindTheirPeopleAtTheirIndices) {
  const auto& city = world.npcs[kCity];
  ASSERT_GE(city.size(), 6u) << "the gate talk uses city record 5";
  EXPECT_EQ(city[2].talkId, 70003);
  EXPECT_EQ(city[3].talkId, 70004);
  EXPECT_EQ(city[4].talkId, 70005);
  ASSERT_GE(world.npcs[kPalace].size(), 12u) << "the closing talks use palace records 5 and 11";
  EXPECT_GE(world.npcs[kHome].size(), 1u);
  EXPECT_GE(world.npcs[kWood].size(), 1u);

  // The two story enemies must be able to attack: hostile, present and walking.
  for (auto [m, id] : {std::pair{kWood, 20006}, {kPalace, 40006}}) {
    const Npc* enemy = FindByTalk(world.npcs[size_t(m)], id);
    ASSERT_NE(enemy, nullptr) << id;
    EXPECT_EQ(enemy->hostile, 1);
    EXPECT_EQ(enemy->active, 1);
    EXPECT_EQ(enemy->walk, 1) << "a character that never walks never attacks";
  }
  EXPECT_NE(FindByTalk(world.npcs[kShop1], 59999), nullptr);
  EXPECT_NE(FindByTalk(world.npcs[kShop2], 69999), nullptr);
  EXPECT_NE(FindByTalk(world.npcs[kShop3], 79999), nullptr);
}

TEST_F(PeopleAndTalk, GoodsFieldsAreStockOrLootOfExistingGoods) {
  const size_t goodsCount = LoadGoods().size();
  ASSERT_GT(goodsCount, 0u);
  auto isGoods = [&](char c) { return c - '0' >= 2 && size_t(c - '0') < 2 + goodsCount; };
  for (int m = 0; m < kMapCount; ++m)
    for (const Npc& npc : world.npcs[size_t(m)]) {
      SCOPED_TRACE(::testing::Message() << kMapNames[size_t(m)] << " " << npc.talkId);
      const bool seller = npc.talkId == 59999 || npc.talkId == 69999 || npc.talkId == 79999;
      const bool fighter = npc.hostile == 1 || npc.talkId == 70004 || npc.talkId == 70005;
      if (seller) {
        ASSERT_EQ(npc.goods.size(), 16u) << "16 slot bytes";
        for (char c : npc.goods) EXPECT_TRUE(c == ' ' || isGoods(c)) << "slot byte " << c;
      } else if (fighter && npc.goods != "0") {
        // Loot is read byte by byte up to 16: every byte before the end must name goods.
        EXPECT_LE(npc.goods.size(), 16u);
        for (char c : npc.goods) EXPECT_TRUE(isGoods(c)) << "loot byte " << int(c);
      }
    }
}

// The entries the game asks for, by talk id, gathered from the characters and the events.
std::map<int, std::set<int>> RequiredEntries(const World& world) {
  std::map<int, std::set<int>> need = {{10000, {0}}, {30001, {0, 1}}, {30002, {0}},
                                       {30003, {0}}, {30004, {0}},    {70003, {0, 1, 2}},
                                       {70004, {0, 1}}, {70005, {0}}};
  for (int m = 0; m < kMapCount; ++m)
    for (const Npc& npc : world.npcs[size_t(m)]) {
      std::set<int>& entries = need[npc.talkId];
      const bool seller = npc.talkId == 59999 || npc.talkId == 69999 || npc.talkId == 79999;
      if (seller) entries.insert({0, 1, 2, 3});
      else entries.insert(npc.talkState);
      if (npc.hostile == 1) entries.insert(1);  // said when beaten
      if (m == kCity) entries.insert(1);        // said by everyone once the gate is open
    }
  return need;
}

TEST_F(PeopleAndTalk, EveryTalkTheGameAsksForIsThereAsAWholeExchange) {
  for (const auto& [id, entries] : RequiredEntries(world))
    for (int entry : entries) {
      SCOPED_TRACE(::testing::Message() << "talk " << id << " entry " << entry);
      const auto text = talk.Find(id, entry);
      ASSERT_TRUE(text.has_value()) << "missing";
      EXPECT_EQ(text->find('\n'), std::string::npos) << "an entry runs into the next line";
      const auto segments = SplitSegments(*text);
      ASSERT_FALSE(segments.empty()) << "an exchange starts with '{' or '}'";
      size_t length = 0;
      for (const Segment& s : segments) {
        length += 1 + s.words.size();
        EXPECT_FALSE(s.words.empty());
        // A character whose second byte is '@', '{' or '}' would cut a line in half.
        EXPECT_TRUE(IsWholeGbk(s.words)) << "a line is cut inside a character";
        EXPECT_TRUE(BreaksBetweenCharacters(s.words, kRow)) << "a character straddles a row";
        EXPECT_LE(s.words.size(), size_t(4 * kRow)) << "more rows than the talk box holds";
      }
      EXPECT_EQ(length, text->size() - 1) << "the exchange ends before its entry does";
      EXPECT_EQ(text->back(), '@');
    }
}

TEST_F(PeopleAndTalk, EachShopkeeperLooksLikeNoOtherShopkeeper) {
  const Npc* grocer = FindByTalk(world.npcs[kShop1], 59999);
  const Npc* smith = FindByTalk(world.npcs[kShop2], 69999);
  const Npc* pawnbroker = FindByTalk(world.npcs[kShop3], 79999);
  ASSERT_TRUE(grocer && smith && pawnbroker);
  EXPECT_NE(grocer->picture, smith->picture);
  EXPECT_NE(grocer->picture, pawnbroker->picture);
  EXPECT_NE(smith->picture, pawnbroker->picture);
}

TEST_F(PeopleAndTalk, SpokenTalksOfTheEventsHaveTheirSpeakers) {
  // A talk's '{' lines show the record of the current map at the event's index.
  const std::vector<std::tuple<int, int, size_t>> events = {
      {10000, kHome, 0}, {30001, kCity, 5}, {30002, kWood, 0},
      {30003, kPalace, 5}, {30004, kPalace, 11}, {70003, kCity, 2}};
  for (auto [id, m, index] : events) {
    const auto text = talk.Find(id, 0);
    ASSERT_TRUE(text.has_value()) << id;
    if (text->find('{') != std::string::npos) {
      EXPECT_LT(index, world.npcs[size_t(m)].size()) << "talk " << id << " has no speaker";
    }
  }
}

TEST_F(PeopleAndTalk, StoryScreensFitTheScreen) {
  for (int id : {99001, 99002, 99003}) {
    SCOPED_TRACE(id);
    const auto text = talk.Find(id, 0);
    ASSERT_TRUE(text.has_value());
    EXPECT_FALSE(text->empty());
    EXPECT_EQ(text->find_first_of("{}@\n"), std::string::npos) << "a story is plain text";
    EXPECT_TRUE(IsWholeGbk(*text));
    EXPECT_TRUE(BreaksBetweenCharacters(*text, kRow));
    // Typed at y 100 in rows 20 pixels apart: 17 rows reach y 440.
    EXPECT_LE(text->size(), size_t(17 * kRow));
  }
}

TEST_F(PeopleAndTalk, NoRowOfATalkOrStoryStartsWithClosingPunctuation) {
  // Every entry of the file, each spoken line on its own rows, a story screen as one text.
  std::istringstream lines(ReadWholeFile(DataDir() + "/text/talk.txt"));
  int checked = 0;
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == '[' || line.back() != ';') continue;
    line.pop_back();
    std::vector<std::string> texts;
    for (const Segment& s : SplitSegments(line)) texts.push_back(s.words);
    if (texts.empty()) texts.push_back(line);
    for (const std::string& text : texts) {
      ++checked;
      EXPECT_EQ(RowStartingWithCloser(text, kRow), 0) << "reword: " << text.substr(0, 40);
    }
  }
  EXPECT_GT(checked, 50);
}

}  // namespace
}  // namespace datacheck
