// datagen_pictures: paints every picture of the game into OUT/pic.
//   datagen_pictures --sources DIR --out DIR
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>

#include "bmp_writer.h"
#include "palette.h"
#include "sheets.h"

namespace {

bool Write(const std::filesystem::path& dir, const std::string& name, const pictures::Image& img,
           const pictures::Palette& palette) {
  const std::string path = (dir / name).string();
  if (!pictures::WriteBmp(path, img, palette)) {
    std::fprintf(stderr, "datagen_pictures: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  std::string out;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--out") == 0) out = argv[i + 1];
    // --sources is accepted for symmetry with the other generators; the pictures need no sources.
  }
  if (out.empty()) {
    std::fprintf(stderr, "usage: datagen_pictures --sources DIR --out DIR\n");
    return 2;
  }
  const std::filesystem::path dir = std::filesystem::path(out) / "pic";
  std::error_code ec;
  std::filesystem::create_directories(dir, ec);

  using namespace pictures;
  const Palette& game = GamePalette();
  bool ok = Write(dir, "title.bmp", PaintTitle(), TitlePalette());
  ok = Write(dir, "player.bmp", PaintHeroSheet(), game) && ok;
  for (int k = 0; k < 15; ++k) {
    char name[32];
    std::snprintf(name, sizeof name, "npc%02d.bmp", k + 1);
    ok = Write(dir, name, PaintCharacterSheet(k), game) && ok;
  }
  ok = Write(dir, "map1.bmp", PaintGroundSheet(), game) && ok;
  ok = Write(dir, "maps.bmp", PaintOverlaySheet(), game) && ok;
  ok = Write(dir, "talkbar.bmp", PaintTalkBar(), game) && ok;
  ok = Write(dir, "sbar.bmp", PaintPanel(), game) && ok;
  ok = Write(dir, "fightbar.bmp", PaintFightBar(), game) && ok;
  ok = Write(dir, "bomb.bmp", PaintExplosion(), game) && ok;
  ok = Write(dir, "goods.bmp", PaintGoodsSheet(), game) && ok;
  ok = Write(dir, "mainmenu.bmp", PaintMainMenu(), game) && ok;
  return ok ? 0 : 1;
}
