// Writes the game's icon at one size from the hero's sheet of the generated data set:
//   make_icon PLAYER_BMP OUT_PNG SCALE        (the icon is 48 × SCALE pixels square)
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/pixels/game_icon.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fputs("usage: make_icon PLAYER_BMP OUT_PNG SCALE\n", stderr);
    return 2;
  }
  const int scale = std::atoi(argv[3]);
  const auto sheet = platform::LoadBitmapFile(argv[1]);
  if (!sheet) {
    std::fprintf(stderr, "make_icon: cannot read the hero's sheet %s\n", argv[1]);
    return 1;
  }
  const auto icon = platform::GameIcon(*sheet, scale);
  if (!icon || !platform::WriteRgbaPng(argv[2], *icon)) {
    std::fprintf(stderr, "make_icon: cannot write %s at scale %s\n", argv[2], argv[3]);
    return 1;
  }
  return 0;
}
