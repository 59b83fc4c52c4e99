#include "datagen/world/map_builder.h"

#include <array>
#include <cstdint>
#include <map>

#include "datagen/common/catalog.h"
#include "datagen/world/source_file.h"

namespace datagen {
namespace {

constexpr int kMinWidth = 20, kMinHeight = 15;  // the view is 20 × 15 cells
constexpr uint16_t kSolid = 0xA000;
constexpr uint16_t kChest = 0xF000;
constexpr size_t kNameBytes = 32;
constexpr size_t kHeaderBytes = 48;

struct NamedCode {
  std::string_view name;
  int code;
};

constexpr std::array kEvents{
    NamedCode{"gate_to_wood", 0x5000},       NamedCode{"door_to_city_south", 0x5001},
    NamedCode{"door_to_city_north", 0x5002}, NamedCode{"door_to_home", 0x5003},
    NamedCode{"gate_to_palace", 0x5009},     NamedCode{"door_to_wood_south", 0x500A},
    NamedCode{"door_to_shop1", 0x500B},      NamedCode{"door_out_of_shop1", 0x500C},
    NamedCode{"door_to_shop2", 0x500D},      NamedCode{"door_out_of_shop2", 0x500E},
    NamedCode{"door_to_shop3", 0x500F},      NamedCode{"door_out_of_shop3", 0x5010},
};

constexpr std::array kGrounds{
    NamedCode{"grass", kGroundGrass},         NamedCode{"dirt", kGroundDirt},
    NamedCode{"cobble", kGroundCobble},       NamedCode{"wood_floor", kGroundWoodFloor},
    NamedCode{"forest", kGroundForest},       NamedCode{"marble", kGroundMarble},
    NamedCode{"sand", kGroundSand},           NamedCode{"arena", kGroundArena},
    NamedCode{"carpet", kGroundCarpet},       NamedCode{"stone_floor", kGroundStoneFloor},
};

template <size_t N>
int FindCode(const std::array<NamedCode, N>& table, std::string_view name) {
  for (const NamedCode& entry : table)
    if (entry.name == name) return entry.code;
  return -1;
}

const TileInfo* FindTile(std::string_view name) {
  for (const TileInfo& tile : kTiles)
    if (tile.name == name) return &tile;
  return nullptr;
}

// What a legend symbol puts in its cells: one code, or plain ground of which about one cell in
// three gets one of a few walkable overlays, chosen by the cell's place so that a large square
// does not repeat one picture like wallpaper.
struct Legend {
  uint16_t code = 0;
  std::vector<uint16_t> variants;

  uint16_t At(int column, int row) const {
    if (variants.empty()) return code;
    uint32_t h = uint32_t(column) * 73856093u ^ uint32_t(row) * 19349663u;
    h ^= h >> 13;
    h *= 0x5bd1e995u;
    h ^= h >> 15;
    return h % 3 == 0 ? variants[(h >> 8) % variants.size()] : code;
  }
};

// The cell code of one legend line's words (after the symbol).
uint16_t LegendCode(const std::filesystem::path& file, int line,
                    const std::vector<std::string>& words, const GoodsTable& goods) {
  auto fail = [&](const std::string& what) -> uint16_t { throw SourceError(file, line, what); };
  if (words.empty()) return fail("a legend line names what its symbol stands for");
  const std::string& kind = words[0];
  if (kind == "ground" && words.size() == 1) return 0;
  if (kind == "tile" && (words.size() == 2 || words.size() == 3)) {
    const TileInfo* tile = FindTile(words[1]);
    if (!tile || tile->number >= 301) return fail("no overlay tile is called '" + words[1] + "'");
    bool solid = tile->solid;
    if (words.size() == 3) {
      if (words[2] != "solid" && words[2] != "walkable")
        return fail("a tile is forced 'solid' or 'walkable', not '" + words[2] + "'");
      solid = words[2] == "solid";
    }
    if (!solid && tile->number == 0) return fail("the invisible tile on its own is plain ground");
    return uint16_t(solid ? kSolid + tile->number : tile->number);
  }
  if (kind == "event" && words.size() == 2) {
    const int code = FindCode(kEvents, words[1]);
    if (code < 0) return fail("no event cell is called '" + words[1] + "'");
    return uint16_t(code);
  }
  if (kind == "chest" && words.size() == 2) {
    if (words[1] == "money") return kChest;
    const int k = GoodsIndexByIconName(words[1]);
    if (k < 0) return fail("no goods icon is called '" + words[1] + "'");
    if (!goods.Has(k)) return fail("goods '" + words[1] + "' are not in the goods table");
    return uint16_t(kChest + k);
  }
  return fail("a legend line is 'ground', 'ground varied by TILE...', 'tile NAME [solid|walkable]', "
              "'event NAME' or 'chest money|GOODS'");
}

Legend LegendEntry(const std::filesystem::path& file, int line, const std::vector<std::string>& words,
                   const GoodsTable& goods) {
  if (words.size() < 3 || words[0] != "ground" || words[1] != "varied" || words[2] != "by")
    return {LegendCode(file, line, words, goods), {}};
  Legend legend;
  for (size_t i = 3; i < words.size(); ++i) {
    const uint16_t code = LegendCode(file, line, {"tile", words[i]}, goods);
    if (code >= kSolid) throw SourceError(file, line, "ground is varied only by walkable tiles");
    legend.variants.push_back(code);
  }
  if (legend.variants.empty()) throw SourceError(file, line, "'ground varied by' names its tiles");
  return legend;
}

void PutLittleEndian(std::string& bytes, uint32_t value, int size) {
  for (int i = 0; i < size; ++i) bytes.push_back(char((value >> (8 * i)) & 0xFF));
}

}  // namespace

int EventCodeByName(std::string_view name) { return FindCode(kEvents, name); }

MapSize BuildMap(const std::filesystem::path& source, const std::filesystem::path& out,
                 const GoodsTable& goods) {
  enum class Section { kHeader, kLegend, kGrid } section = Section::kHeader;
  std::string name;
  int ground = -1;
  std::map<char, Legend> legend;
  std::vector<std::string> rows;
  int lastLine = 0;

  for (const SourceLine& line : ReadSourceLines(source)) {
    lastLine = line.number;
    auto fail = [&](const std::string& what) { throw SourceError(source, line.number, what); };
    const std::vector<std::string> words = SplitWords(line.text);
    if (section != Section::kGrid && words.size() == 1 && words[0] == "legend") {
      section = Section::kLegend;
    } else if (section != Section::kGrid && words.size() == 1 && words[0] == "grid") {
      section = Section::kGrid;
    } else if (section == Section::kHeader) {
      if (words.size() == 2 && words[0] == "name") {
        name = words[1];
        if (name.size() >= kNameBytes) fail("a map name takes at most 31 bytes");
      } else if (words.size() == 2 && words[0] == "ground") {
        ground = FindCode(kGrounds, words[1]);
        if (ground < 0) fail("no ground tile is called '" + words[1] + "'");
      } else {
        fail("expected 'name', 'ground', 'legend' or 'grid'");
      }
    } else if (section == Section::kLegend) {
      const std::string_view text = Trim(line.text);
      const char symbol = text[0];
      if (text.size() < 2 || (text[1] != ' ' && text[1] != '\t'))
        fail("a legend line is one symbol, a blank and what the symbol stands for");
      if (legend.count(symbol)) fail(std::string("symbol '") + symbol + "' is given twice");
      legend[symbol] = LegendEntry(source, line.number, SplitWords(text.substr(1)), goods);
    } else {
      if (!rows.empty() && line.text.size() != rows[0].size())
        fail("this row is " + std::to_string(line.text.size()) + " cells wide, the first is " +
             std::to_string(rows[0].size()));
      for (char symbol : line.text)
        if (!legend.count(symbol)) fail(std::string("symbol '") + symbol + "' is not in the legend");
      rows.push_back(line.text);
    }
  }
  if (name.empty() || ground < 0) throw SourceError(source, 0, "a map needs a name and a ground");
  const int width = rows.empty() ? 0 : int(rows[0].size());
  const int height = int(rows.size());
  if (width < kMinWidth || height < kMinHeight)
    throw SourceError(source, lastLine, "a map is at least 20 × 15 cells, this one is " +
                                            std::to_string(width) + " × " +
                                            std::to_string(height));

  std::string bytes(name);
  bytes.resize(kNameBytes, '\0');
  PutLittleEndian(bytes, uint32_t(width), 4);
  PutLittleEndian(bytes, uint32_t(height), 4);
  bytes.push_back(char(ground));
  bytes.resize(kHeaderBytes, '\0');
  for (int row = 0; row < height; ++row)
    for (int column = 0; column < width; ++column)
      PutLittleEndian(bytes, legend.at(rows[size_t(row)][size_t(column)]).At(column, row), 2);
  WriteBytes(out, bytes);
  return {width, height};
}

}  // namespace datagen
