// datagen_world: writes the world's part of the data set (maps, characters, dialogue, goods
// and the About text) from the readable sources.
//   datagen_world --sources DIR --out DIR
// reads DIR/maps/*.txt, DIR/characters/*.txt and DIR/text/{talk,goods,about}.txt and writes
// OUT/maps/*.map, OUT/maps/*.npc, OUT/text/talk.txt, OUT/text/goods.dat and OUT/text/gp.txt.
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string_view>

#include "datagen/world/about_builder.h"
#include "datagen/world/goods_builder.h"
#include "datagen/world/map_builder.h"
#include "datagen/world/npc_builder.h"
#include "datagen/world/source_file.h"
#include "datagen/world/talk_builder.h"

namespace fs = std::filesystem;

namespace {

// The maps of the game, by the names of their files.
constexpr std::string_view kMaps[] = {"home",   "city",   "wood",   "f_wood",
                                      "palace", "shop01", "shop02", "shop03"};

void Generate(const fs::path& sources, const fs::path& out) {
  fs::create_directories(out / "maps");
  fs::create_directories(out / "text");
  const datagen::GoodsTable goods =
      datagen::BuildGoods(sources / "text" / "goods.txt", out / "text" / "goods.dat");
  for (std::string_view name : kMaps) {
    const std::string file(name);
    const datagen::MapSize size =
        datagen::BuildMap(sources / "maps" / (file + ".txt"), out / "maps" / (file + ".map"), goods);
    datagen::BuildNpcs(sources / "characters" / (file + ".txt"), out / "maps" / (file + ".npc"),
                       size, goods);
  }
  datagen::BuildTalk(sources / "text" / "talk.txt", out / "text" / "talk.txt");
  datagen::BuildAbout(sources / "text" / "about.txt", out / "text" / "gp.txt");
}

}  // namespace

int main(int argc, char** argv) {
  fs::path sources, out;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::strcmp(argv[i], "--sources") == 0) sources = argv[i + 1];
    else if (std::strcmp(argv[i], "--out") == 0) out = argv[i + 1];
  }
  if (sources.empty() || out.empty()) {
    std::fprintf(stderr, "usage: datagen_world --sources DIR --out DIR\n");
    return 2;
  }
  try {
    Generate(sources, out);
  } catch (const std::exception& error) {
    std::fprintf(stderr, "datagen_world: %s\n", error.what());
    return 1;
  }
  return 0;
}
