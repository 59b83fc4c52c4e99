// The goods table and the About text of the generated data set.
#include <gtest/gtest.h>

#include "data_files.h"

namespace datacheck {
namespace {

TEST(GoodsTable, FitsTheTableAndItsWindows) {
  std::vector<std::string> labels;
  const std::vector<Goods> goods = LoadGoods(&labels);
  ASSERT_FALSE(goods.empty()) << "unreadable goods table in " << DataDir();
  EXPECT_LE(goods.size(), 18u) << "goods indices run from 2 to 19";
  for (const std::string& label : labels) EXPECT_EQ(label.size(), 11u);
  for (const Goods& g : goods) {
    SCOPED_TRACE(g.id);
    EXPECT_TRUE(!g.name.empty() && g.name.size() <= 31 && IsWholeGbk(g.name));
    EXPECT_LE(g.text.size(), 99u);
    EXPECT_TRUE(IsWholeGbk(g.text));
    EXPECT_TRUE(BreaksBetweenCharacters(g.text, 22)) << "a character straddles a row of 22";
    EXPECT_EQ(RowStartingWithCloser(g.text, 22), 0) << "a row of 22 starts with closing punctuation";
    EXPECT_GE(g.value, 0);
    // The goods windows show each effect in three places.
    for (int effect : {g.addExp, g.addLife, g.addAttack, g.addDefense})
      EXPECT_TRUE(effect > -100 && effect < 1000) << effect;
  }
}

TEST(AboutText, ScrollsInWholeRowsOf36Bytes) {
  const std::string text = ReadWholeFile(DataDir() + "/text/gp.txt");
  ASSERT_FALSE(text.empty());
  EXPECT_TRUE(IsWholeGbk(text));
  EXPECT_TRUE(BreaksBetweenCharacters(text, 36));
  EXPECT_EQ(RowStartingWithCloser(text, 36), 0) << "a row starts with closing punctuation";
  EXPECT_EQ(text.find('\n'), std::string::npos) << "line ends do not start rows there";
  // The window scrolls 1401 pixels: rows after about the 80th never show.
  EXPECT_LE(text.size(), size_t(80 * 36));
}

}  // namespace
}  // namespace datacheck
