#include "world_maps.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <vector>

namespace contactsheet {
namespace {

struct Character {
  int picture = 0, active = 0, x = 0, y = 0, direction = 0, frame = 0;
};

// Field lines: an 11-byte label, the value, ';'. The first line is the record count, then 25
// lines a record.
std::vector<Character> ReadCharacters(const std::string& path) {
  std::ifstream f(path, std::ios::binary);
  std::vector<std::string> values;
  for (std::string line; std::getline(f, line);) values.push_back(line.size() > 11 ? line.substr(11) : "");
  std::vector<Character> out;
  if (values.empty()) return out;
  const int count = std::atoi(values[0].c_str());
  for (int r = 0; r < count && 1 + (r + 1) * 25 <= static_cast<int>(values.size()); ++r) {
    auto field = [&](int k) { return std::atoi(values[1 + r * 25 + k].c_str()); };
    out.push_back({field(1), field(5), field(9), field(10), field(13), field(14)});
  }
  return out;
}

std::uint32_t Le32(const std::vector<std::uint8_t>& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

void Blit(RgbPicture& out, const IndexedBitmap& src, int sx, int sy, int w, int h, int dx, int dy, bool keyed) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      if (sx + x >= src.w || sy + y >= src.h) continue;
      const auto& c = src.colours[src.At(sx + x, sy + y)];
      if (keyed && c[0] == 255 && c[1] == 238 && c[2] == 187) continue;
      out.Set(dx + x, dy + y, c[0], c[1], c[2]);
    }
}

}  // namespace

int WriteWorldMaps(const PictureSet& pics, const std::string& data_dir, const std::string& out_dir) {
  namespace fs = std::filesystem;
  int written = 0;
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(fs::path(data_dir) / "maps", ec)) {
    if (entry.path().extension() != ".map") continue;
    std::ifstream f(entry.path(), std::ios::binary);
    const std::vector<std::uint8_t> b((std::istreambuf_iterator<char>(f)), std::istreambuf_iterator<char>());
    if (b.size() < 48) continue;
    const int w = static_cast<int>(Le32(b, 32)), h = static_cast<int>(Le32(b, 36));
    const int ground = static_cast<std::int8_t>(b[40]);
    if (w <= 0 || h <= 0 || w > 200 || h > 200 || b.size() < 48 + 2u * w * h) continue;
    RgbPicture out(w * 32, h * 32);
    for (int j = 0; j < h; ++j)
      for (int i = 0; i < w; ++i) {
        Blit(out, pics.at("map1.bmp"), 0, 32 * ground, 32, 32, i * 32, j * 32, false);
        const int t = b[48 + 2 * (j * w + i)] | (b[48 + 2 * (j * w + i) + 1] << 8);
        if (t == 0 || (t >= 0x5000 && t < 0xA000)) continue;
        int n = t < 0xA000 ? t : t - 0xA000;
        if (n >= 0x5000) n = 301;
        Blit(out, pics.at("maps.bmp"), 32 * (n % 20), 32 * (n / 20), 32, 32, i * 32, j * 32, true);
      }
    fs::path npc = entry.path();
    npc.replace_extension(".npc");
    for (const Character& c : ReadCharacters(npc.string())) {
      if (c.active != 1 || c.picture < 0 || c.picture > 14) continue;
      char name[32];
      std::snprintf(name, sizeof name, "npc%02d.bmp", c.picture + 1);
      Blit(out, pics.at(name), 32 * (c.frame & 1), 32 * (c.direction & 3), 32, 32, c.x, c.y - 32, true);
    }
    written += WritePng(out_dir + "/map_" + entry.path().stem().string() + ".png", out, 1);
  }
  return written;
}

}  // namespace contactsheet
