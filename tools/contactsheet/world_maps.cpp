#include "world_maps.h"

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <queue>
#include <set>
#include <utility>
#include <sstream>
#include <vector>

namespace contactsheet {
namespace {

struct Character {
  int picture = 0, active = 0, x = 0, y = 0, direction = 0, frame = 0, walk = 0;
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
    out.push_back({field(1), field(5), field(9), field(10), field(13), field(14), field(4)});
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

// Where the hero enters each map (door arrivals as map positions: x of the frame's left edge,
// y of its feet line), from which the walkable area is found.
const std::map<std::string, std::vector<std::pair<int, int>>>& Entries() {
  static const std::map<std::string, std::vector<std::pair<int, int>>> entries = {
      {"home", {{180, 164}, {410, 400}}},
      {"city", {{574, 802}, {832, 100}, {832, 256}, {96, 512}, {832, 448}}},
      {"wood", {{32, 64}, {1068, 802}}},
      {"f_wood", {{130, 270}}},
      {"palace", {{310, 1410}}},
      {"shop01", {{300, 400}}},
      {"shop02", {{300, 400}}},
      {"shop03", {{200, 400}}},
  };
  return entries;
}

void Tint(RgbPicture& pic, int x0, int y0, int w, int h, int r, int g, int b) {
  for (int y = y0; y < y0 + h && y < pic.h; ++y)
    for (int x = x0; x < x0 + w && x < pic.w; ++x) {
      std::uint8_t* p = &pic.rgb[(static_cast<std::size_t>(y) * pic.w + x) * 3];
      p[0] = static_cast<std::uint8_t>((p[0] + r) / 2);
      p[1] = static_cast<std::uint8_t>((p[1] + g) / 2);
      p[2] = static_cast<std::uint8_t>((p[2] + b) / 2);
    }
}

// The map as the hero's feet know it: solid cells tinted red, doors blue, and a green dot at
// the feet of every place the hero can walk to from the map's ways in (8 pixels a step, his
// 8 × 8 collision square 12 to 20 pixels right of his frame's left edge and above his feet,
// kept 25 pixels from every person who stands still).
RgbPicture WalkPicture(RgbPicture pic, int w, int h, const std::vector<std::uint16_t>& cells,
                       const std::vector<Character>& people, const std::vector<std::pair<int, int>>& entries) {
  auto code = [&](int i, int j) -> int { return i < 0 || j < 0 || i >= w || j >= h ? 0xFFFF : cells[j * w + i]; };
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) {
      if (code(i, j) >= 0xA000) Tint(pic, i * 32, j * 32, 32, 32, 255, 0, 0);
      else if (code(i, j) >= 0x5000 && code(i, j) <= 0x5010) Tint(pic, i * 32, j * 32, 32, 32, 0, 80, 255);
    }
  auto fits = [&](int x, int y) {
    for (int dx : {12, 20})
      for (int dy : {20, 12})
        if (code((x + dx) / 32, (y - dy) / 32) >= 0xA000) return false;
    for (const Character& c : people)
      if (c.active == 1 && c.walk <= 0 && std::abs(x - c.x) <= 24 && std::abs(y - c.y) <= 24) return false;
    return x >= 0 && y >= 32 && x <= w * 32 - 32 && y <= h * 32;
  };
  std::set<std::pair<int, int>> seen;
  std::queue<std::pair<int, int>> queue;
  for (const auto& e : entries)
    if (seen.insert(e).second) queue.push(e);
  while (!queue.empty()) {
    const auto [x, y] = queue.front();
    queue.pop();
    pic.Set(x + 16, y - 1, 40, 230, 60);
    pic.Set(x + 17, y - 1, 40, 230, 60);
    const int feet = code((x + 16) / 32, (y - 16) / 32);
    if (feet >= 0x5000 && feet <= 0x5010) continue;  // a door leads away
    for (const auto& [dx, dy] : {std::pair{8, 0}, {-8, 0}, {0, 8}, {0, -8}}) {
      const std::pair<int, int> next{x + dx, y + dy};
      if (fits(next.first, next.second) && seen.insert(next).second) queue.push(next);
    }
  }
  return pic;
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
    const std::vector<Character> people = ReadCharacters(npc.string());
    for (const Character& c : people) {
      if (c.active != 1 || c.picture < 0 || c.picture > 14) continue;
      char name[32];
      std::snprintf(name, sizeof name, "npc%02d.bmp", c.picture + 1);
      Blit(out, pics.at(name), 32 * (c.frame & 1), 32 * (c.direction & 3), 32, 32, c.x, c.y - 32, true);
    }
    const std::string name = entry.path().stem().string();
    written += WritePng(out_dir + "/map_" + name + ".png", out, 1);
    std::vector<std::uint16_t> cells(static_cast<std::size_t>(w) * h);
    for (std::size_t k = 0; k < cells.size(); ++k) cells[k] = static_cast<std::uint16_t>(b[48 + 2 * k] | (b[49 + 2 * k] << 8));
    const auto found = Entries().find(name);
    const std::vector<std::pair<int, int>> none;
    written += WritePng(out_dir + "/walk_" + name + ".png",
                        WalkPicture(out, w, h, cells, people, found == Entries().end() ? none : found->second), 1);
  }
  return written;
}

}  // namespace contactsheet
