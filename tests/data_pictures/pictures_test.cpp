// The generated pictures as the game loads them: plain 8-bit bitmaps of the right sizes with one
// shared game palette whose colour key is unambiguous, the same bytes every build, and painted
// wherever the maps, characters and goods refer to them by number.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "../../tools/datagen/common/catalog.h"

namespace {

using Rgb = std::array<std::uint8_t, 3>;

struct Bitmap {
  std::vector<std::uint8_t> bytes;
  std::uint32_t offset = 0, info = 0, compression = 0, used = 0, bits = 0;
  int w = 0, h = 0;  // positive height: rows stored bottom-up
  std::array<Rgb, 256> colours{};
  std::vector<std::uint8_t> px;  // top row first
  int key = -1;                  // the colour key's entry

  std::uint8_t At(int x, int y) const { return px[std::size_t(y) * w + x]; }
  int Painted(int x, int y, int cw, int ch) const {  // pixels of the rectangle not in the key colour
    int n = 0;
    for (int j = y; j < y + ch; ++j)
      for (int i = x; i < x + cw; ++i) n += At(i, j) != key;
    return n;
  }
  int Differences(int x0, int y0, int x1, int y1, int cw, int ch) const {  // between two rectangles
    int n = 0;
    for (int y = 0; y < ch; ++y)
      for (int x = 0; x < cw; ++x) n += At(x0 + x, y0 + y) != At(x1 + x, y1 + y);
    return n;
  }
};

std::string PicturePath(const std::string& name) { return std::string(TAMSEL_DATA_DIR) + "/pic/" + name; }
std::vector<std::uint8_t> Bytes(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// The colour table read the way the game reads it: raw bytes right after a 40-byte info header.
// A failure when the file is missing, short or its rows would run past its end.
Bitmap Load(const std::string& name) {
  Bitmap bmp;
  bmp.bytes = Bytes(PicturePath(name));
  const auto& b = bmp.bytes;
  if (b.size() < 54 + 1024 || b[0] != 'B' || b[1] != 'M') return ADD_FAILURE() << name << " is no bitmap", bmp;
  auto le = [&](std::size_t at) { return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | std::uint32_t(b[at + 3]) << 24; };
  bmp.offset = le(10), bmp.info = le(14), bmp.w = int(le(18)), bmp.h = int(le(22));
  bmp.bits = b[28] | b[29] << 8, bmp.compression = le(30), bmp.used = le(46);
  for (int i = 0; i < 256; ++i) {
    bmp.colours[i] = {b[54 + 4 * i + 2], b[54 + 4 * i + 1], b[54 + 4 * i]};
    if (bmp.key < 0 && bmp.colours[i] == Rgb{255, 238, 187}) bmp.key = i;
  }
  const std::size_t stride = (std::size_t(bmp.w) + 3) & ~std::size_t{3};
  if (bmp.bits != 8 || bmp.w <= 0 || bmp.h <= 0 || bmp.w > 4096 || bmp.h > 4096 ||
      bmp.offset + stride * std::size_t(bmp.h) > b.size())
    return ADD_FAILURE() << name << ": no 8-bit rows", bmp;
  for (int y = 0; y < bmp.h; ++y)
    for (int x = 0; x < bmp.w; ++x) bmp.px.push_back(b[bmp.offset + (bmp.h - 1 - y) * stride + x]);
  return bmp;
}

std::string NpcSheet(int k) {
  char name[16];
  std::snprintf(name, sizeof name, "npc%02d.bmp", k);
  return name;
}

struct Expected {
  std::string name;
  int w, h;
  bool keyed;
};
std::vector<Expected> AllPictures() {
  std::vector<Expected> all = {{"title.bmp", 640, 480, false},    {"player.bmp", 96, 192, true},
                               {"map1.bmp", 32, 320, false},      {"maps.bmp", 640, 1536, true},
                               {"talkbar.bmp", 640, 96, true},    {"sbar.bmp", 420, 320, true},
                               {"fightbar.bmp", 448, 112, false}, {"bomb.bmp", 540, 50, true},
                               {"goods.bmp", 384, 192, true},     {"mainmenu.bmp", 150, 200, false}};
  for (int k = 1; k <= 15; ++k) all.push_back({NpcSheet(k), 64, 128, true});
  return all;
}

// All but the title carry the game palette: entry 0 black (fades and clearing rely on it), the
// fixed colours, and nothing near the colour key, or nearest-colour matching could key the wrong
// pixels. Unkeyed pictures never use the key. The generator writes the same bytes again.
TEST(PictureFormat, EveryPictureIsAPlain8BitBitmapWithTheGamePaletteAndTheSameBytesEveryRun) {
  const Bitmap player = Load("player.bmp");
  const auto& pal = player.colours;
  auto has = [](const auto& colours, Rgb c) { return std::find(colours.begin(), colours.end(), c) != colours.end(); };
  for (const Rgb& needed : {Rgb{255, 255, 255}, Rgb{255, 255, 0}, Rgb{255, 0, 0}, Rgb{0, 0, 100}})
    EXPECT_TRUE(has(pal, needed)) << int(needed[0]) << "," << int(needed[1]) << "," << int(needed[2]);
  ASSERT_GE(player.key, 0);
  for (int i = 0; i < 256; ++i) {
    int d = 0;
    for (int c = 0; c < 3; ++c) d += (pal[i][c] - pal[player.key][c]) * (pal[i][c] - pal[player.key][c]);
    EXPECT_TRUE(i == player.key || d > 32 * 32) << "entry " << i << " is close to the key";
  }
  namespace fs = std::filesystem;
  const fs::path out = fs::temp_directory_path() / ("tamsel_pictures_" + std::to_string(::getpid()));
  ASSERT_EQ(std::system((std::string(TAMSEL_BUILD_DIR) + "/tools/datagen_pictures --sources " + TAMSEL_SOURCE_DIR +
                         "/data --out " + out.string())
                            .c_str()),
            0);
  for (const Expected& e : AllPictures()) {
    SCOPED_TRACE(e.name);
    const Bitmap bmp = Load(e.name);
    EXPECT_EQ((std::vector<std::uint32_t>{bmp.info, bmp.bits, bmp.compression, bmp.offset, std::uint32_t(bmp.w),
                                          std::uint32_t(bmp.h)}),
              (std::vector<std::uint32_t>{40, 8, 0, 14 + 40 + 1024, std::uint32_t(e.w), std::uint32_t(e.h)}));
    EXPECT_TRUE(bmp.used == 256 || bmp.used == 0);
    EXPECT_EQ(bmp.bytes.size(), bmp.offset + ((std::size_t(e.w) + 3) & ~std::size_t{3}) * e.h);
    EXPECT_EQ(bmp.colours[0], (Rgb{0, 0, 0}));
    EXPECT_TRUE(e.name == "title.bmp" || bmp.colours == pal) << "does not carry the game palette";
    EXPECT_TRUE(e.keyed || bmp.key < 0 || bmp.px.empty() || bmp.Painted(0, 0, e.w, e.h) == e.w * e.h) << "uses the key";
    EXPECT_EQ(bmp.bytes, Bytes((out / "pic" / e.name).string())) << "not the same bytes again";
  }
  fs::remove_all(out);
  // The load menu draws the menu box onto the title picture while the title's colours show, and
  // the main menu writes white and yellow over it: those colours must be the same there.
  const Bitmap title = Load("title.bmp"), menu = Load("mainmenu.bmp");
  for (const int i : std::set<int>(menu.px.begin(), menu.px.end()))
    EXPECT_EQ(title.colours[i], menu.colours[i]) << "entry " << i;
  EXPECT_TRUE(has(title.colours, Rgb{255, 255, 255}) && has(title.colours, Rgb{255, 255, 0}));
}

// Catalogued tiles and goods icons are painted, the rest see-through; the chests, the cursor,
// the ground tiles and the explosion's frames are what the game expects of them.
TEST(PictureContent, TilesIconsGroundAndExplosionArePaintedWhereTheDataRefersToThem) {
  const Bitmap maps = Load("maps.bmp");
  ASSERT_FALSE(maps.px.empty());
  std::set<int> listed;
  for (const auto& tile : datagen::kTiles) {
    listed.insert(tile.number);
    EXPECT_TRUE(tile.number == 0 || maps.Painted(32 * (tile.number % 20), 32 * (tile.number / 20), 32, 32) >= 40)
        << "tile " << tile.number << " (" << tile.name << ") is nearly empty";
  }
  for (int n = 0; n < 20 * 48; ++n)
    EXPECT_TRUE((listed.count(n) && n) || maps.Painted(32 * (n % 20), 32 * (n / 20), 32, 32) == 0)
        << "tile " << n << " should be see-through";
  EXPECT_GT(maps.Differences(32 * 1, 32 * 15, 32 * 2, 32 * 15, 32, 32), 100) << "the two chests look alike";

  const Bitmap ground = Load("map1.bmp");
  for (int g = 0; g < 10 && !ground.px.empty(); ++g) {
    std::set<int> colours;
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) colours.insert(ground.At(x, 32 * g + y));
    EXPECT_TRUE(colours.size() >= 3 && !colours.count(0)) << "ground tile " << g << " is flat or has black holes";
  }

  const Bitmap goods = Load("goods.bmp");
  ASSERT_FALSE(goods.px.empty());
  EXPECT_GT(goods.Painted(0, 0, 48, 48), 48 * 40) << "the empty slot";
  // The cursor is a frame: painted border, see-through middle so the icon shows.
  EXPECT_TRUE(goods.Painted(48, 0, 48, 48) > 100 && goods.At(48 + 24, 24) == goods.key) << "the cursor";
  for (const auto& icon : datagen::kGoodsIcons)
    EXPECT_GE(goods.Painted(48 * (icon.index % 8), 48 * (icon.index / 8), 48, 48), 150) << icon.name;
  for (int k = 20; k < 32; ++k) EXPECT_EQ(goods.Painted(48 * (k % 8), 48 * (k / 8), 48, 48), 0) << "cell " << k;

  const Bitmap bomb = Load("bomb.bmp");
  for (int f = 0; f < 10 && !bomb.px.empty(); ++f) {
    EXPECT_GT(bomb.Painted(54 * f, 0, 54, 50), 30) << "explosion frame " << f;
    EXPECT_TRUE(f == 9 || bomb.Differences(54 * f, 0, 54 * (f + 1), 0, 54, 50) > 50) << "explosion frame " << f;
  }
}

// The first and last painted rows of a frame.
std::pair<int, int> PaintedRows(const Bitmap& sheet, int x, int y, int w, int h) {
  int top = -1, bottom = -1;
  for (int row = 0; row < h; ++row)
    if (sheet.Painted(x, y + row, w, 1) > 0) bottom = row, top = top < 0 ? row : top;
  return {top, bottom};
}

// Every sheet has a row of walking frames for each direction, and everyone is drawn at one
// scale with the feet on the frame's bottom line: the hero stands about 37 pixels tall in his
// 48-pixel frame; a grown-up, drawn with the same head, fills the 32-pixel frame; the children
// and small creatures stay smaller.
TEST(PictureContent, EveryoneIsDrawnInEveryDirectionAndStrideAtOneScale) {
  const Bitmap hero = Load("player.bmp");
  ASSERT_FALSE(hero.px.empty());
  for (int row = 0; row < 4; ++row) {
    SCOPED_TRACE(testing::Message() << "hero row " << row);
    for (int frame = 0; frame < 3; ++frame) EXPECT_GE(hero.Painted(32 * frame, 48 * row, 32, 48), 150) << frame;
    EXPECT_GT(hero.Differences(32, 48 * row, 64, 48 * row, 32, 48), 4) << "the strides are the same";
    EXPECT_GT(hero.Differences(0, 48 * row, 32, 48 * row, 32, 48), 4) << "standing equals striding";
    const auto [top, bottom] = PaintedRows(hero, 0, 48 * row, 32, 48);
    EXPECT_TRUE(bottom == 47 && bottom - top + 1 >= 34 && bottom - top + 1 <= 39) << top << " to " << bottom;
  }
  EXPECT_GT(hero.Differences(0, 48, 0, 96, 32, 48), 20) << "left and right are the same picture";

  const std::set<int> grownUps = {1, 2, 3, 4, 6, 7, 8, 12, 13, 15}, small = {5, 9, 10, 14};
  for (int k = 1; k <= 15; ++k) {
    SCOPED_TRACE(NpcSheet(k));
    const Bitmap sheet = Load(NpcSheet(k));
    ASSERT_FALSE(sheet.px.empty());
    for (int row = 0; row < 4; ++row) {
      for (int frame = 0; frame < 2; ++frame)
        EXPECT_GE(sheet.Painted(32 * frame, 32 * row, 32, 32), 60) << "row " << row << " frame " << frame;
      EXPECT_GT(sheet.Differences(0, 32 * row, 32, 32 * row, 32, 32), 4) << "row " << row << " has no walk";
    }
    EXPECT_GT(sheet.Differences(0, 0, 0, 64, 32, 32), 20) << "facing down and up look the same";
    const auto [top, bottom] = PaintedRows(sheet, 0, 0, 32, 32);
    EXPECT_TRUE(!grownUps.count(k) || bottom == 31) << "does not stand on the frame's bottom line";
    EXPECT_TRUE(!grownUps.count(k) || bottom - top + 1 >= 28) << "looks like a child beside the hero";
    EXPECT_TRUE(!small.count(k) || bottom - top + 1 <= 28) << "as tall as a grown-up";
  }
}

}  // namespace
