// contactsheet: turns the generated pictures into PNGs for review.
//   contactsheet DATA_DIR OUT_DIR [SCALE]
// Writes OUT_DIR/NAME.png for every DATA_DIR/pic/NAME.bmp at SCALE times its size (default 2) (transparent pixels as
// a grey checkerboard), OUT_DIR/cast.png (every character sheet), OUT_DIR/mock_*.png (game screens
// composed from the tiles and boxes) and OUT_DIR/map_*.png (each map of DATA_DIR/maps, whole).
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <string>

#include "indexed_bitmap.h"
#include "mock_screens.h"
#include "world_maps.h"
#include "png_out.h"

namespace {

bool IsKeyColour(const std::array<std::uint8_t, 3>& c) { return c[0] == 255 && c[1] == 238 && c[2] == 187; }

contactsheet::RgbPicture Show(const contactsheet::IndexedBitmap& bmp, bool keyed) {
  contactsheet::RgbPicture out(bmp.w, bmp.h);
  for (int y = 0; y < bmp.h; ++y)
    for (int x = 0; x < bmp.w; ++x) {
      const auto& c = bmp.colours[bmp.At(x, y)];
      if (keyed && IsKeyColour(c)) {
        const std::uint8_t v = ((x / 4 + y / 4) % 2) ? 96 : 128;
        out.Set(x, y, v, v, v);
      } else {
        out.Set(x, y, c[0], c[1], c[2]);
      }
    }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  const int scale = argc == 4 ? std::atoi(argv[3]) : 2;
  if ((argc != 3 && argc != 4) || scale < 1 || scale > 16) {
    std::fprintf(stderr, "usage: contactsheet DATA_DIR OUT_DIR [SCALE]\n");
    return 2;
  }
  namespace fs = std::filesystem;
  const fs::path pic_dir = fs::path(argv[1]) / "pic";
  const std::string out_dir = argv[2];
  std::error_code ec;
  fs::create_directories(out_dir, ec);
  contactsheet::PictureSet pics;
  for (const auto& entry : fs::directory_iterator(pic_dir, ec)) {
    if (entry.path().extension() != ".bmp") continue;
    auto bmp = contactsheet::ReadIndexedBitmap(entry.path().string());
    if (!bmp) {
      std::fprintf(stderr, "contactsheet: %s is not an 8-bit bitmap\n", entry.path().c_str());
      continue;
    }
    const std::string name = entry.path().filename().string();
    const bool keyed = name != "title.bmp" && name != "map1.bmp" && name != "fightbar.bmp" && name != "mainmenu.bmp";
    contactsheet::WritePng(out_dir + "/" + entry.path().stem().string() + ".png", Show(*bmp, keyed), scale);
    pics.emplace(name, std::move(*bmp));
  }
  // All character sheets side by side, the hero first, to compare the cast at a glance.
  if (pics.count("player.bmp") != 0) {
    contactsheet::RgbPicture cast(96 + 15 * 68, 192);
    auto paste = [&](const contactsheet::IndexedBitmap& bmp, int at) {
      const contactsheet::RgbPicture shown = Show(bmp, true);
      for (int y = 0; y < bmp.h; ++y)
        for (int x = 0; x < bmp.w; ++x) {
          const std::uint8_t* p = &shown.rgb[(static_cast<std::size_t>(y) * bmp.w + x) * 3];
          cast.Set(at + x, y, p[0], p[1], p[2]);
        }
    };
    paste(pics.at("player.bmp"), 0);
    for (int k = 1; k <= 15; ++k) {
      char name[32];
      std::snprintf(name, sizeof name, "npc%02d.bmp", k);
      if (pics.count(name) != 0) paste(pics.at(name), 100 + (k - 1) * 68);
    }
    contactsheet::WritePng(out_dir + "/cast.png", cast, scale);
  }
  int mocks = 0;
  try {
    mocks = contactsheet::WriteMockScreens(pics, out_dir);
    mocks += contactsheet::WriteWorldMaps(pics, argv[1], out_dir);
  } catch (const std::out_of_range&) {
    std::fprintf(stderr, "contactsheet: some pictures are missing, no mock screens\n");
  }
  std::printf("%zu pictures and %d mock screens and maps written to %s\n", pics.size(), mocks, out_dir.c_str());
  return pics.empty() ? 1 : 0;
}
