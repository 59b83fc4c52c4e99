#include "data_set.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>
#include <queue>

namespace datacheck {

std::string DataDir() {
  const char* overridden = std::getenv("TAMSEL_DATA_DIR");
  return overridden && *overridden ? overridden : TAMSEL_DATA_DIR;
}

std::string ReadWholeFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint16_t Map::At(int column, int row) const {
  if (column < 0 || row < 0 || column >= width || row >= height) return 0xFFFF;
  return cells[size_t(row) * size_t(width) + size_t(column)];
}

std::optional<Map> LoadMap(const std::string& fileName) {
  const std::string bytes = ReadWholeFile(DataDir() + "/maps/" + fileName);
  auto le32 = [&](size_t at) {
    uint32_t value = 0;
    for (int i = 3; i >= 0; --i) value = value << 8 | uint8_t(bytes[at + size_t(i)]);
    return int32_t(value);
  };
  if (bytes.size() < 48) return std::nullopt;
  Map map{le32(32), le32(36), int8_t(bytes[40]), {}};
  if (map.width <= 0 || map.height <= 0 || map.width > 1024 || map.height > 1024) return std::nullopt;
  const size_t cells = size_t(map.width) * size_t(map.height);
  if (bytes.size() < 48 + 2 * cells) return std::nullopt;
  for (size_t i = 0; i < cells; ++i)
    map.cells.push_back(uint16_t(uint8_t(bytes[48 + 2 * i]) | uint8_t(bytes[49 + 2 * i]) << 8));
  return map;
}

namespace {

struct FieldFile {
  std::string text;
  size_t position = 0;
  std::vector<std::string> labels;
  bool broken = false;

  std::string Next() {
    if (position + 11 > text.size()) {
      broken = true;
      position = text.size();
      return {};
    }
    labels.push_back(text.substr(position, 11));
    position += 11;
    const size_t semicolon = text.find(';', position), lineEnd = text.find('\n', position);
    if (semicolon == std::string::npos || lineEnd < semicolon) broken = true;
    const size_t end = std::min(semicolon, text.size());
    std::string value = text.substr(position, end - position);
    const size_t next = text.find('\n', end);
    position = next == std::string::npos ? text.size() : next + 1;
    return value;
  }
  void Read(int& number) { number = std::atoi(Next().c_str()); }
  void Read(std::string& value) { value = Next(); }
};

// Reads `count` records of the file, each ending in a line whose value is ignored.
template <typename Record, typename ReadRecord>
std::vector<Record> LoadRecords(const std::string& path, std::vector<std::string>* labels,
                                ReadRecord read) {
  FieldFile file;
  file.text = ReadWholeFile(path);
  int count = 0;
  file.Read(count);
  std::vector<Record> records;
  for (int i = 0; i < count && !file.broken && file.position < file.text.size(); ++i) {
    Record r;
    read(file, r);
    file.Next();
    records.push_back(r);
  }
  if (file.broken || int(records.size()) != count) records.clear();
  if (labels) *labels = file.labels;
  return records;
}

}  // namespace

std::vector<Npc> LoadNpcs(const std::string& fileName, std::vector<std::string>* labels) {
  return LoadRecords<Npc>(DataDir() + "/maps/" + fileName, labels, [](FieldFile& f, Npc& n) {
    for (int* field : {&n.talkId, &n.picture, &n.hostile, &n.talkState, &n.walk, &n.active}) f.Read(*field);
    f.Read(n.name);
    for (int* field : {&n.frameWidth, &n.frameHeight, &n.x, &n.y, &n.lastX, &n.lastY, &n.direction,
                       &n.frame, &n.level, &n.exp, &n.life, &n.maxLife, &n.attack, &n.defense, &n.speed})
      f.Read(*field);
    f.Read(n.goods);
    f.Read(n.money);
  });
}

std::vector<Goods> LoadGoods(std::vector<std::string>* labels) {
  return LoadRecords<Goods>(DataDir() + "/text/goods.dat", labels, [](FieldFile& f, Goods& g) {
    f.Read(g.id);
    f.Read(g.name);
    f.Read(g.text);
    for (int* field : {&g.value, &g.addExp, &g.addLife, &g.addAttack, &g.addDefense}) f.Read(*field);
  });
}

std::optional<std::string> FindTalk(const std::string& text, int talkId, int entry) {
  const std::string key = "[" + std::to_string(talkId) + "]";
  std::string token;
  size_t i = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (c != ' ' && c != '\n' && c != ';') {
      token.push_back(c);
    } else if (token == key) {
      break;
    } else {
      token.clear();
    }
  }
  if (i >= text.size()) return std::nullopt;
  for (int step = 0; step <= entry; ++step) {  // from the separator that ended the key
    const size_t lineFeed = text.find('\n', i + 1);
    if (lineFeed == std::string::npos) return std::nullopt;
    i = lineFeed + 1;
  }
  const size_t end = text.find(';', i);
  if (end == std::string::npos || end - i > 1023) return std::nullopt;
  return text.substr(i, end - i);
}

std::vector<Segment> SplitSegments(const std::string& entry) {
  std::vector<Segment> segments;
  size_t i = 0;
  while (i < entry.size() && (entry[i] == '{' || entry[i] == '}')) {
    const size_t end = std::min(entry.find_first_of("{}@", i + 1), entry.size());
    segments.push_back({entry[i], entry.substr(i + 1, end - i - 1)});
    i = end;
  }
  return segments;
}

bool IsWholeGbk(const std::string& bytes) {
  for (size_t i = 0; i < bytes.size(); ++i) {
    const uint8_t b = uint8_t(bytes[i]);
    if (b < 0x80) continue;
    if (b == 0x80 || b == 0xFF || i + 1 >= bytes.size()) return false;
    const uint8_t t = uint8_t(bytes[++i]);
    if (t < 0x40 || t == 0x7F || t == 0xFF) return false;
  }
  return true;
}

bool BreaksBetweenCharacters(const std::string& bytes, int rowBytes) {
  for (size_t i = 0; i < bytes.size(); ++i) {
    if (uint8_t(bytes[i]) < 0x80) continue;
    if (int(i % size_t(rowBytes)) == rowBytes - 1) return false;
    ++i;
  }
  return true;
}

int RowStartingWithCloser(const std::string& bytes, int rowBytes) {
  // Narrow literals of this program are GBK, as the data set's texts are.
  static const char* const kClosers[] = {"。", "，", "、", "！", "？", "；", "：", "）", "」", "』",
                                         "…", "”", "’", "》", "】", ",", ".", "!", "?", ";", ":", ")"};
  for (size_t row = 1; row * size_t(rowBytes) < bytes.size(); ++row)
    for (const char* closer : kClosers)
      if (bytes.compare(row * size_t(rowBytes), std::strlen(closer), closer) == 0) return int(row) + 1;
  return 0;
}

namespace {

// Where each character of the text starts: a byte below 0x80 stands alone, a GBK lead byte
// takes the next byte with it.
std::vector<size_t> CharacterStarts(const std::string& bytes) {
  std::vector<size_t> starts;
  for (size_t i = 0; i < bytes.size(); i += uint8_t(bytes[i]) < 0x80 ? 1 : 2) starts.push_back(i);
  return starts;
}

}  // namespace

int RowSplittingWord(const std::string& bytes, int rowBytes, const std::vector<std::string>& words) {
  const std::vector<size_t> starts = CharacterStarts(bytes);
  const size_t row = size_t(rowBytes);
  int first = 0;
  for (const std::string& word : words)
    for (size_t at = bytes.find(word); at != std::string::npos; at = bytes.find(word, at + 1)) {
      // A match that starts on a trail byte is no word of the text.
      if (!std::binary_search(starts.begin(), starts.end(), at)) continue;
      const size_t cut = (at / row + 1) * row;  // the first row end after the word's start
      if (cut < at + word.size() && (first == 0 || int(cut / row) + 1 < first)) first = int(cut / row) + 1;
    }
  return first;
}

int ShortRow(const std::string& bytes, int rowBytes) {
  const size_t row = size_t(rowBytes);
  if (bytes.size() <= row) return 0;
  std::vector<int> shown((bytes.size() + row - 1) / row, 0);
  for (size_t i : CharacterStarts(bytes)) {
    const bool blank = bytes[i] == ' ' || bytes.compare(i, 2, "\xA1\xA1") == 0;
    if (!blank) ++shown[i / row];
  }
  for (size_t r = 0; r < shown.size(); ++r)
    if (shown[r] == 1 || shown[r] == 2) return int(r) + 1;
  return 0;
}

const World& TheWorld() {
  static const World world = [] {
    World w;
    w.complete = true;
    for (size_t m = 0; m < kMapCount; ++m) {
      const std::string name = kMapNames[m];
      const auto map = LoadMap(name + ".map");
      w.complete = w.complete && map;
      if (map) w.maps[m] = *map;
      w.npcs[m] = LoadNpcs(name + ".npc", &w.npcLabels[m]);
    }
    return w;
  }();
  return world;
}

const std::vector<Door>& Doors() {
  static const std::vector<Door> doors = {
      {0x5000, kWood, 32, 64, 0, 0, 0x5001, +1},      {0x5001, kCity, 350, 450, 7, 11, 0x5000, -1},
      {0x5002, kCity, 384, 100, 14, 0, 0x5003, +1},   {0x5003, kHome, 410, 400, 0, 0, 0x5002, -1},
      {0x5009, kPalace, 310, 450, 0, 30, 0x500A, -1}, {0x500A, kWood, 620, 450, 14, 11, 0x5009, +1},
      {0x500B, kShop1, 300, 400, 0, 0, 0x500C, -1},   {0x500C, kCity, 384, 256, 14, 0, 0x500B, +1},
      {0x500D, kShop2, 300, 400, 0, 0, 0x500E, -1},   {0x500E, kCity, 96, 256, 0, 8, 0x500D, +1},
      {0x500F, kShop3, 200, 400, 0, 0, 0x5010, -1},   {0x5010, kCity, 384, 256, 14, 6, 0x500F, +1},
  };
  return doors;
}

namespace {
// Whether the square `inset` to 32 - inset pixels right of x and above y is clear of walls.
bool SquareFits(const Map& map, int x, int y, int inset) {
  for (int dx : {inset, 32 - inset})
    for (int dy : {inset, 32 - inset})
      if (IsSolid(map.At((x + dx) / 32, (y - dy) / 32))) return false;
  return true;
}
}  // namespace

bool HeroFits(const Map& map, Point p) { return SquareFits(map, p.x, p.y, 12); }
bool NpcFits(const Map& map, const Npc& npc) { return SquareFits(map, npc.x, npc.y, 8); }
std::array<int, 2> FeetCell(Point p) { return {(p.x + 16) / 32, (p.y - 16) / 32}; }

bool CrowdedBy(const std::vector<Npc>& npcs, Point p) {
  for (const Npc& npc : npcs)
    if (npc.active == 1 && std::abs(p.x - npc.x) <= 24 && std::abs(p.y - npc.y) <= 24) return true;
  return false;
}

bool ClearGround(const Map& map, const std::vector<Npc>& npcs, Point p) {
  const auto feet = FeetCell(p);
  return HeroFits(map, p) && !IsEvent(map.At(feet[0], feet[1])) && !CrowdedBy(npcs, p);
}

std::set<std::pair<int, int>> ReachablePlaces(const Map& map, const std::vector<Npc>& npcs,
                                              const std::vector<Point>& from) {
  std::vector<Npc> standing;
  for (const Npc& npc : npcs)
    if (npc.walk <= 0 || npc.speed == 0) standing.push_back(npc);
  std::set<std::pair<int, int>> seen;
  std::queue<Point> queue;
  for (Point p : from)
    if (seen.insert({p.x, p.y}).second) queue.push(p);
  for (; !queue.empty(); queue.pop()) {
    const Point p = queue.front();
    const auto feet = FeetCell(p);
    if (IsEvent(map.At(feet[0], feet[1]))) continue;
    for (auto [dx, dy] : {std::pair{0, 8}, {0, -8}, {8, 0}, {-8, 0}}) {
      const Point next{p.x + dx, p.y + dy};
      if (next.x < 0 || next.y < 32 || next.x > map.width * 32 - 32 || next.y > map.height * 32) continue;
      if (HeroFits(map, next) && !CrowdedBy(standing, next) && seen.insert({next.x, next.y}).second)
        queue.push(next);
    }
  }
  return seen;
}

const Npc* DataSet::Find(int map, int talkId) const {
  for (const Npc& npc : world.npcs[size_t(map)])
    if (npc.talkId == talkId) return &npc;
  return nullptr;
}

}  // namespace datacheck
