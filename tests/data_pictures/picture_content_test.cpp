// What the maps, characters and goods refer to by number must actually be painted there.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <utility>

#include "../../tools/datagen/common/catalog.h"
#include "bitmap_file.h"

namespace {

BitmapFile Load(const std::string& name) {
  auto bmp = LoadBitmapFile(PicturePath(name));
  if (!bmp || bmp->px.empty()) ADD_FAILURE() << name << " cannot be read";
  return bmp && !bmp->px.empty() ? *bmp : BitmapFile{};
}

// Different pixels between two same-sized rectangles of a picture.
int Differences(const BitmapFile& bmp, int x0, int y0, int x1, int y1, int w, int h) {
  int n = 0;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) n += bmp.At(x0 + x, y0 + y) != bmp.At(x1 + x, y1 + y);
  return n;
}

TEST(PictureContent, CatalogueTilesArePaintedAndOthersAreTransparent) {
  const BitmapFile maps = Load("maps.bmp");
  ASSERT_FALSE(maps.px.empty());
  std::set<int> listed;
  for (const auto& tile : datagen::kTiles) {
    listed.insert(tile.number);
    if (tile.number == 0) continue;
    const int painted = maps.PaintedIn(32 * (tile.number % 20), 32 * (tile.number / 20), 32, 32);
    EXPECT_GE(painted, 40) << "tile " << tile.number << " (" << tile.name << ") is nearly empty";
  }
  for (int n = 0; n < 20 * 48; ++n) {
    if (listed.count(n) == 0 || n == 0) {
      EXPECT_EQ(maps.PaintedIn(32 * (n % 20), 32 * (n / 20), 32, 32), 0) << "tile " << n << " should be see-through";
    }
  }
  // The two chests must be told apart at a glance.
  EXPECT_GT(Differences(maps, 32 * 1, 32 * 15, 32 * 2, 32 * 15, 32, 32), 100);
}

TEST(PictureContent, GroundTilesFillTheirCells) {
  const BitmapFile ground = Load("map1.bmp");
  ASSERT_FALSE(ground.px.empty());
  for (int g = 0; g < 10; ++g) {
    std::set<int> colours;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) colours.insert(ground.At(x, 32 * g + y));
    EXPECT_GE(colours.size(), 3u) << "ground tile " << g << " is flat";
    EXPECT_EQ(colours.count(0), 0u) << "ground tile " << g << " has black holes";
  }
}

// The first and last painted rows of a frame.
std::pair<int, int> PaintedRows(const BitmapFile& sheet, int x, int y, int w, int h) {
  int top = -1, bottom = -1;
  for (int row = 0; row < h; ++row)
    if (sheet.PaintedIn(x, y + row, w, 1) > 0) {
      if (top < 0) top = row;
      bottom = row;
    }
  return {top, bottom};
}

// Every sheet has a row of walking frames for each direction, and everyone is drawn at one
// scale with the feet on the frame's bottom line: the hero stands about 37 pixels tall in his
// 48-pixel frame; a grown-up, drawn with the same head, fills the 32-pixel frame; the children
// and small creatures stay smaller.
TEST(PictureContent, EveryoneIsDrawnInEveryDirectionAndStrideAtOneScale) {
  const BitmapFile hero = Load("player.bmp");
  ASSERT_FALSE(hero.px.empty());
  for (int row = 0; row < 4; ++row) {
    SCOPED_TRACE(testing::Message() << "hero row " << row);
    for (int frame = 0; frame < 3; ++frame) EXPECT_GE(hero.PaintedIn(32 * frame, 48 * row, 32, 48), 150) << frame;
    EXPECT_GT(Differences(hero, 32, 48 * row, 64, 48 * row, 32, 48), 4) << "the strides are the same";
    EXPECT_GT(Differences(hero, 0, 48 * row, 32, 48 * row, 32, 48), 4) << "standing equals striding";
    const auto [top, bottom] = PaintedRows(hero, 0, 48 * row, 32, 48);
    EXPECT_EQ(bottom, 47);
    EXPECT_TRUE(bottom - top + 1 >= 34 && bottom - top + 1 <= 39) << bottom - top + 1;
  }
  // Left and right rows are separate drawings, not the same picture.
  EXPECT_GT(Differences(hero, 0, 48, 0, 96, 32, 48), 20);

  const std::set<int> grownUps = {1, 2, 3, 4, 6, 7, 8, 12, 13, 15}, small = {5, 9, 10, 14};
  for (int k = 1; k <= 15; ++k) {
    char name[32];
    std::snprintf(name, sizeof name, "npc%02d.bmp", k);
    SCOPED_TRACE(name);
    const BitmapFile sheet = Load(name);
    ASSERT_FALSE(sheet.px.empty());
    for (int row = 0; row < 4; ++row) {
      for (int frame = 0; frame < 2; ++frame)
        EXPECT_GE(sheet.PaintedIn(32 * frame, 32 * row, 32, 32), 60) << "row " << row << " frame " << frame;
      EXPECT_GT(Differences(sheet, 0, 32 * row, 32, 32 * row, 32, 32), 4) << "row " << row << " has no walk";
    }
    EXPECT_GT(Differences(sheet, 0, 0, 0, 64, 32, 32), 20) << "facing down and up look the same";
    const auto [top, bottom] = PaintedRows(sheet, 0, 0, 32, 32);
    if (grownUps.count(k)) {
      EXPECT_EQ(bottom, 31) << "does not stand on the frame's bottom line";
      EXPECT_GE(bottom - top + 1, 28) << "looks like a child beside the hero";
    }
    EXPECT_TRUE(!small.count(k) || bottom - top + 1 <= 28) << "as tall as a grown-up";
  }
}

TEST(PictureContent, GoodsSlotsCursorAndIconsArePainted) {
  const BitmapFile goods = Load("goods.bmp");
  ASSERT_FALSE(goods.px.empty());
  const int key = goods.KeyIndex();
  EXPECT_GT(goods.PaintedIn(0, 0, 48, 48), 48 * 40) << "the empty slot";
  // The cursor is a frame: painted border, see-through middle so the icon shows.
  EXPECT_GT(goods.PaintedIn(48, 0, 48, 48), 100);
  EXPECT_EQ(goods.At(48 + 24, 24), key);
  for (const auto& icon : datagen::kGoodsIcons)
    EXPECT_GE(goods.PaintedIn(48 * (icon.index % 8), 48 * (icon.index / 8), 48, 48), 150) << icon.name;
  for (int k = 20; k < 32; ++k) EXPECT_EQ(goods.PaintedIn(48 * (k % 8), 48 * (k / 8), 48, 48), 0) << "cell " << k;
}

TEST(PictureContent, ExplosionHasTenFrames) {
  const BitmapFile bomb = Load("bomb.bmp");
  ASSERT_FALSE(bomb.px.empty());
  for (int f = 0; f < 10; ++f) EXPECT_GT(bomb.PaintedIn(54 * f, 0, 54, 50), 30) << "frame " << f;
  for (int f = 0; f + 1 < 10; ++f) EXPECT_GT(Differences(bomb, 54 * f, 0, 54 * (f + 1), 0, 54, 50), 50) << "frame " << f;
}

}  // namespace
