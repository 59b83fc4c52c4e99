// The characters, goods and texts of the generated data set: the records the story events
// address by index, the talk entries the game asks for, and how every text is set in its window.
#include <map>
#include <set>
#include <sstream>

#include "data_set.h"

namespace datacheck {
namespace {

constexpr int kRow = 50;  // bytes per row of the talk box and the story screens

// The names and the two- and three-character words of the game's texts that a row end could cut
// in two: a row must end between them.
const std::vector<std::string> kWords = {
    // people and places
    "小飞刀", "飞刀", "苏婉", "黑虎", "瘦猴", "城主", "宫主", "卫兵", "铁匠", "樵夫", "客商", "村妇",
    "宫女", "刀客", "青石城", "雾隐林", "影月宫", "老槐妖", "老槐树", "塔姆瑟", "吸血蝠", "绿粘怪",
    "灰狼", "南门", "城门", "宫门", "大殿", "偏殿", "长廊", "集市", "当铺", "杂货铺", "兵器铺",
    "铁匠铺", "林子", "树洞", "小溪",
    // goods and the game's terms
    "飞刀谱", "伤药", "干粮", "草药", "馒头", "木箱", "宝箱", "金币", "银子", "价钱", "铁剑", "藤牌",
    "玉佩", "人参", "攻击", "防御", "生命", "经验", "功夫", "功力", "物品", "物品栏",
    // words the texts cut before they were set right
    "失踪", "凶恶", "欺负", "识相", "本事", "送命", "小心", "尽管", "一起", "回来", "进来", "出城",
    "恢复", "结实", "养血", "避祸", "家伙", "趁手", "不安", "开身", "面具", "真面目", "把握",
    "等急", "好东西", "推不开", "不见", "拿去", "力气", "无赖", "告示", "一半", "很多", "备足",
    "戴着", "住着", "用后",
};

bool IsSeller(const Npc& npc) { return npc.talkId == 59999 || npc.talkId == 69999 || npc.talkId == 79999; }

using PeopleAndTalk = DataSet;

TEST_F(PeopleAndTalk, CharacterFilesAreWholeAndTheStoryFindsItsPeople) {
  for (size_t m = 0; m < kMapCount; ++m) {
    SCOPED_TRACE(kMapNames[m]);
    EXPECT_FALSE(world.npcs[m].empty()) << "unreadable or empty character file";
    for (const std::string& label : world.npcLabels[m]) EXPECT_EQ(label.size(), 11u);
    for (const Npc& npc : world.npcs[m]) {
      EXPECT_TRUE(npc.picture >= 0 && npc.picture <= 14) << npc.picture;
      EXPECT_EQ(npc.frameWidth, 32);
      EXPECT_EQ(npc.frameHeight, 32);
      EXPECT_TRUE(npc.talkId >= 10000 && npc.talkId <= 99999);
      EXPECT_TRUE(!npc.name.empty() && npc.name.size() <= 31 && IsWholeGbk(npc.name));
      // The talk bar writes the name under the portrait from x 18: four characters reach x 98,
      // short of the words at x 120.
      EXPECT_LE(npc.name.size(), 8u) << "a name longer than four characters runs into the words";
      EXPECT_EQ(npc.lastX, npc.x);
      EXPECT_EQ(npc.lastY, npc.y);
    }
  }
  // The story's events address city records 2 to 5 and palace records 5 and 11.
  const auto& city = world.npcs[kCity];
  ASSERT_GE(city.size(), 6u);
  EXPECT_EQ((std::vector<int>{city[2].talkId, city[3].talkId, city[4].talkId}),
            (std::vector<int>{70003, 70004, 70005}));
  ASSERT_GE(world.npcs[kPalace].size(), 12u);
  // A talk's '{' lines show the record of the current map at the event's index.
  for (auto [id, m, index] : {std::tuple{10000, kHome, 0}, {30001, kCity, 5}, {30002, kWood, 0},
                              {30003, kPalace, 5}, {30004, kPalace, 11}, {70003, kCity, 2}}) {
    const auto text = Talk(id, 0);
    ASSERT_TRUE(text.has_value()) << id;
    EXPECT_TRUE(text->find('{') == std::string::npos || size_t(index) < world.npcs[size_t(m)].size())
        << "talk " << id << " has no speaker";
  }
  // The two story enemies must be able to attack: hostile, present and walking.
  for (auto [m, id] : {std::pair{kWood, 20006}, {kPalace, 40006}}) {
    const Npc* enemy = Find(m, id);
    ASSERT_NE(enemy, nullptr) << id;
    EXPECT_EQ((std::array{enemy->hostile, enemy->active, enemy->walk}), (std::array{1, 1, 1}))
        << "talk " << id << ": a character that never walks never attacks";
  }
  // Three shopkeepers, each looking like no other.
  const Npc* grocer = Find(kShop1, 59999);
  const Npc* smith = Find(kShop2, 69999);
  const Npc* pawnbroker = Find(kShop3, 79999);
  ASSERT_TRUE(grocer && smith && pawnbroker);
  EXPECT_EQ(std::set<int>({grocer->picture, smith->picture, pawnbroker->picture}).size(), 3u);
}

TEST_F(PeopleAndTalk, GoodsFieldsAreStockOrLootOfExistingGoods) {
  const size_t goodsCount = LoadGoods().size();
  ASSERT_GT(goodsCount, 0u);
  auto isGoods = [&](char c) { return c - '0' >= 2 && size_t(c - '0') < 2 + goodsCount; };
  for (size_t m = 0; m < kMapCount; ++m)
    for (const Npc& npc : world.npcs[m]) {
      SCOPED_TRACE(::testing::Message() << kMapNames[m] << " " << npc.talkId);
      if (IsSeller(npc)) {
        ASSERT_EQ(npc.goods.size(), 16u) << "16 slot bytes";
        for (char c : npc.goods) EXPECT_TRUE(c == ' ' || isGoods(c)) << "slot byte " << c;
      } else if ((npc.hostile == 1 || npc.talkId == 70004 || npc.talkId == 70005) && npc.goods != "0") {
        // Loot is read byte by byte up to 16: every byte before the end must name goods.
        EXPECT_LE(npc.goods.size(), 16u);
        for (char c : npc.goods) EXPECT_TRUE(isGoods(c)) << "loot byte " << int(c);
      }
    }
}

TEST_F(PeopleAndTalk, EveryTalkTheGameAsksForIsThereAsAWholeExchange) {
  // The entries the game asks for, by talk id: the events' and each character's.
  std::map<int, std::set<int>> need = {{10000, {0}}, {30001, {0, 1}}, {30002, {0}},
                                       {30003, {0}}, {30004, {0}},    {70003, {0, 1, 2}},
                                       {70004, {0, 1}}, {70005, {0}}};
  for (size_t m = 0; m < kMapCount; ++m)
    for (const Npc& npc : world.npcs[m]) {
      std::set<int>& entries = need[npc.talkId];
      if (IsSeller(npc)) entries.insert({0, 1, 2, 3});
      else entries.insert(npc.talkState);
      if (npc.hostile == 1) entries.insert(1);  // said when beaten
      // Said by everyone in the city once the gate is open (entry 1); the troublemakers are
      // gone by then.
      if (m == kCity && npc.talkId != 70004 && npc.talkId != 70005) entries.insert(1);
    }
  for (const auto& [id, entries] : need)
    for (int entry : entries) {
      SCOPED_TRACE(::testing::Message() << "talk " << id << " entry " << entry);
      const auto text = Talk(id, entry);
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

TEST_F(PeopleAndTalk, EveryTextIsSetInWholeRowsOfItsWindow) {
  struct Text {
    std::string what, bytes;
    int rowBytes;
    size_t most;  // bytes the window can show; 0 when checked elsewhere
  };
  std::vector<Text> texts;
  std::vector<std::string> labels;
  const std::vector<Goods> goods = LoadGoods(&labels);
  ASSERT_FALSE(goods.empty()) << "unreadable goods table in " << DataDir();
  EXPECT_LE(goods.size(), 18u) << "goods indices run from 2 to 19";
  for (const std::string& label : labels) EXPECT_EQ(label.size(), 11u);
  for (const Goods& g : goods) {
    EXPECT_TRUE(!g.name.empty() && g.name.size() <= 31 && IsWholeGbk(g.name)) << g.id;
    // A chest tells its goods in one row of the talk bar: 43 bytes of message show around the
    // name, so three characters fit and the message's closing "^_&" stays on its row.
    EXPECT_LE(g.name.size(), 6u) << g.id << ": the chest message runs onto a second row";
    EXPECT_GE(g.value, 0) << g.id;
    // The goods windows show each effect in three places.
    for (int effect : {g.addExp, g.addLife, g.addAttack, g.addDefense})
      EXPECT_TRUE(effect > -100 && effect < 1000) << g.id << ": " << effect;
    texts.push_back({"goods " + std::to_string(g.id), g.text, 22, 99});
  }
  // The About window scrolls 1401 pixels: rows after about the 80th never show.
  texts.push_back({"about", ReadWholeFile(DataDir() + "/text/gp.txt"), 36, 80 * 36});
  EXPECT_FALSE(texts.back().bytes.empty());
  // Story screens are typed at y 100 in rows 20 pixels apart: 17 rows reach y 440.
  for (int id : {99001, 99002, 99003}) {
    texts.push_back({"story " + std::to_string(id), Talk(id, 0).value_or(""), kRow, 17 * kRow});
    EXPECT_FALSE(texts.back().bytes.empty());
    EXPECT_EQ(texts.back().bytes.find_first_of("{}@"), std::string::npos) << "a story is plain text";
  }
  // Every entry of the dialogue file, each spoken line on its own rows, a story as one text.
  std::istringstream lines(talk);
  for (std::string line; std::getline(lines, line);) {
    if (line.empty() || line[0] == '[' || line.back() != ';') continue;
    line.pop_back();
    const auto segments = SplitSegments(line);
    if (segments.empty()) texts.push_back({"talk", line, kRow, 0});
    for (const Segment& s : segments) texts.push_back({"talk line", s.words, kRow, 0});
  }
  EXPECT_GT(texts.size(), 60u);
  for (const Text& t : texts) {
    SCOPED_TRACE(t.what + ": " + t.bytes.substr(0, 40));
    if (t.most > 0) {
      EXPECT_LE(t.bytes.size(), t.most);
      EXPECT_EQ(t.bytes.find('\n'), std::string::npos) << "line ends do not start rows there";
    }
    EXPECT_TRUE(IsWholeGbk(t.bytes));
    EXPECT_TRUE(BreaksBetweenCharacters(t.bytes, t.rowBytes)) << "a character straddles a row";
    EXPECT_EQ(RowStartingWithCloser(t.bytes, t.rowBytes), 0) << "reword: a row starts with closing punctuation";
    EXPECT_EQ(RowSplittingWord(t.bytes, t.rowBytes, kWords), 0) << "reword: a row starts inside a word";
    EXPECT_EQ(ShortRow(t.bytes, t.rowBytes), 0) << "reword: one or two characters left alone on a row";
  }
}

// The row checks on texts made to fail them, in rows of 8 or 10 bytes (4 or 5 characters).
TEST(TextRows, EachCheckFindsTheRowAtFault) {
  struct Case {
    const char* what;
    std::string bytes;
    int rowBytes;
    int closer, split, lone;  // the row each check names, 0 for none
  };
  const Case cases[] = {
      {"rows ending at phrases", "青石城的南门很远", 8, 0, 0, 0},
      {"a padded row", "年轻人，　失踪了吗", 10, 0, 0, 0},
      {"one short row alone", "快走吧！", 8, 0, 0, 0},
      {"an empty row between paragraphs", "城门关了        还没开呢", 8, 0, 0, 0},
      {"a name cut", "我的小飞刀呢", 6, 0, 2, 0},
      {"a word cut", "年轻人，失踪了吗", 10, 0, 2, 0},
      {"a word cut on a later row", "年轻人，　他们四人失踪了吗", 10, 0, 3, 0},
      {"a lone character and its stop", "快走吧，来。", 8, 0, 0, 2},
      {"a row starting with a stop", "走吧走吧。好的好", 8, 2, 0, 0},
      {"a stop alone", "走吧走吧。", 8, 2, 0, 2},
      {"a blank row and a lone word", "城门关了　　　　出城", 8, 0, 0, 3},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(RowStartingWithCloser(c.bytes, c.rowBytes), c.closer);
    EXPECT_EQ(RowSplittingWord(c.bytes, c.rowBytes, kWords), c.split);
    EXPECT_EQ(ShortRow(c.bytes, c.rowBytes), c.lone);
  }
}

}  // namespace
}  // namespace datacheck
