// The generated pictures must load the way the game loads them: plain 8-bit bitmaps of the right
// sizes, one shared game palette whose colour key is unambiguous, and the same bytes every build.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "bitmap_file.h"

namespace {

struct Expected {
  std::string name;
  int w, h;
  bool keyed;
};

std::vector<Expected> AllPictures() {
  std::vector<Expected> all = {{"title.bmp", 640, 480, false},   {"player.bmp", 96, 192, true},
                               {"map1.bmp", 32, 320, false},     {"maps.bmp", 640, 1536, true},
                               {"talkbar.bmp", 640, 96, true},   {"sbar.bmp", 420, 320, true},
                               {"fightbar.bmp", 448, 112, false}, {"bomb.bmp", 540, 50, true},
                               {"goods.bmp", 384, 192, true},    {"mainmenu.bmp", 150, 200, false}};
  for (int k = 1; k <= 15; ++k) {
    char name[32];
    std::snprintf(name, sizeof name, "npc%02d.bmp", k);
    all.push_back({name, 64, 128, true});
  }
  return all;
}

int Distance2(const std::array<std::uint8_t, 3>& a, const std::array<std::uint8_t, 3>& b) {
  int d = 0;
  for (int c = 0; c < 3; ++c) d += (a[c] - b[c]) * (a[c] - b[c]);
  return d;
}

// Every picture is a plain bottom-up 8-bit bitmap of its size. All but the title carry the game
// palette: entry 0 black (fades and clearing rely on it), the fixed colours, and nothing near the
// colour key, or nearest-colour matching could key the wrong pixels. Unkeyed pictures never use
// the key.
TEST(PictureFormat, EveryPictureIsAPlain8BitBitmapWithTheGamePalette) {
  const auto player = LoadBitmapFile(PicturePath("player.bmp"));
  ASSERT_TRUE(player.has_value());
  const auto& pal = player->colours;
  using Rgb = std::array<std::uint8_t, 3>;
  auto has = [](const auto& colours, Rgb needed) { return std::find(colours.begin(), colours.end(), needed) != colours.end(); };
  for (const Rgb& needed : {Rgb{255, 255, 255}, Rgb{255, 255, 0}, Rgb{255, 0, 0}, Rgb{0, 0, 100}})
    EXPECT_TRUE(has(pal, needed)) << int(needed[0]) << "," << int(needed[1]) << "," << int(needed[2]);
  const int key = player->KeyIndex();
  ASSERT_GE(key, 0);
  for (int i = 0; i < 256; ++i)
    EXPECT_TRUE(i == key || Distance2(pal[i], pal[key]) > 32 * 32) << "entry " << i;

  for (const Expected& e : AllPictures()) {
    SCOPED_TRACE(e.name);
    const auto bmp = LoadBitmapFile(PicturePath(e.name));
    ASSERT_TRUE(bmp.has_value());
    EXPECT_EQ((std::vector<std::uint32_t>{bmp->info_size, std::uint32_t(bmp->bits), bmp->compression,
                                          bmp->data_offset, std::uint32_t(bmp->width), std::uint32_t(bmp->height)}),
              (std::vector<std::uint32_t>{40, 8, 0, 14 + 40 + 1024, std::uint32_t(e.w), std::uint32_t(e.h)}));
    EXPECT_TRUE(bmp->colours_used == 256 || bmp->colours_used == 0);
    const std::size_t stride = (static_cast<std::size_t>(e.w) + 3) & ~std::size_t{3};
    EXPECT_EQ(bmp->bytes.size(), bmp->data_offset + stride * e.h);
    EXPECT_EQ(bmp->colours[0], (Rgb{0, 0, 0}));
    EXPECT_TRUE(e.name == "title.bmp" || bmp->colours == pal) << "does not carry the game palette";
    EXPECT_TRUE(e.keyed || bmp->KeyIndex() < 0 || bmp->PaintedIn(0, 0, e.w, e.h) == e.w * e.h) << "uses the key";
  }

  // The load menu draws the menu box onto the title picture while the title's colours show, and
  // the main menu writes white and yellow over it: those colours must be the same there.
  const auto title = LoadBitmapFile(PicturePath("title.bmp"));
  const auto menu = LoadBitmapFile(PicturePath("mainmenu.bmp"));
  ASSERT_TRUE(title && menu);
  for (const int i : std::set<int>(menu->px.begin(), menu->px.end()))
    EXPECT_EQ(title->colours[i], menu->colours[i]) << "entry " << i;
  EXPECT_TRUE(has(title->colours, Rgb{255, 255, 255}) && has(title->colours, Rgb{255, 255, 0}));
}

TEST(PictureFormat, GeneratorWritesTheSameBytesEveryRun) {
  namespace fs = std::filesystem;
  const fs::path out = fs::temp_directory_path() / ("tamsel_pictures_" + std::to_string(::getpid()));
  const std::string cmd = std::string(TAMSEL_BUILD_DIR) + "/tools/datagen_pictures --sources " + TAMSEL_SOURCE_DIR +
                          "/data --out " + out.string();
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  for (const Expected& e : AllPictures()) {
    std::ifstream a(PicturePath(e.name), std::ios::binary), b(out / "pic" / e.name, std::ios::binary);
    const std::vector<char> first((std::istreambuf_iterator<char>(a)), std::istreambuf_iterator<char>());
    const std::vector<char> second((std::istreambuf_iterator<char>(b)), std::istreambuf_iterator<char>());
    EXPECT_EQ(first, second) << e.name;
  }
  fs::remove_all(out);
}

}  // namespace
