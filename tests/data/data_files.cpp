#include "data_files.h"

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

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

namespace {

int32_t Le32(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | uint8_t(bytes[at + size_t(i)]);
  return int32_t(value);
}

}  // namespace

std::optional<Map> LoadMap(const std::string& fileName) {
  const std::string bytes = ReadWholeFile(DataDir() + "/maps/" + fileName);
  if (bytes.size() < 48) return std::nullopt;
  Map map;
  map.name = bytes.substr(0, 32).c_str();
  map.width = Le32(bytes, 32);
  map.height = Le32(bytes, 36);
  map.ground = int8_t(bytes[40]);
  if (map.width <= 0 || map.height <= 0 || map.width > 1024 || map.height > 1024) return std::nullopt;
  const size_t cells = size_t(map.width) * size_t(map.height);
  if (bytes.size() < 48 + 2 * cells) return std::nullopt;
  for (size_t i = 0; i < cells; ++i)
    map.cells.push_back(uint16_t(uint8_t(bytes[48 + 2 * i]) | uint8_t(bytes[49 + 2 * i]) << 8));
  return map;
}

std::string FieldFile::Next() {
  if (position + 11 > text.size()) {
    broken = true;
    position = text.size();
    return {};
  }
  labels.push_back(text.substr(position, 11));
  position += 11;
  const size_t semicolon = text.find(';', position);
  const size_t lineEnd = text.find('\n', position);
  if (semicolon == std::string::npos || (lineEnd != std::string::npos && lineEnd < semicolon))
    broken = true;
  const size_t end = semicolon == std::string::npos ? text.size() : semicolon;
  std::string value = text.substr(position, end - position);
  const size_t next = text.find('\n', end);
  position = next == std::string::npos ? text.size() : next + 1;
  return value;
}

int FieldFile::NextNumber() { return std::atoi(Next().c_str()); }

std::vector<Npc> LoadNpcs(const std::string& fileName, std::vector<std::string>* labels) {
  FieldFile file;
  file.text = ReadWholeFile(DataDir() + "/maps/" + fileName);
  std::vector<Npc> npcs;
  const int count = file.NextNumber();
  for (int i = 0; i < count && !file.broken && file.position < file.text.size(); ++i) {
    Npc n;
    n.talkId = file.NextNumber();
    n.picture = file.NextNumber();
    n.hostile = file.NextNumber();
    n.talkState = file.NextNumber();
    n.walk = file.NextNumber();
    n.active = file.NextNumber();
    n.name = file.Next();
    n.frameWidth = file.NextNumber();
    n.frameHeight = file.NextNumber();
    n.x = file.NextNumber();
    n.y = file.NextNumber();
    n.lastX = file.NextNumber();
    n.lastY = file.NextNumber();
    n.direction = file.NextNumber();
    n.frame = file.NextNumber();
    n.level = file.NextNumber();
    n.exp = file.NextNumber();
    n.life = file.NextNumber();
    n.maxLife = file.NextNumber();
    n.attack = file.NextNumber();
    n.defense = file.NextNumber();
    n.speed = file.NextNumber();
    n.goods = file.Next();
    n.money = file.NextNumber();
    file.Next();
    npcs.push_back(n);
  }
  if (file.broken || int(npcs.size()) != count) npcs.clear();
  if (labels) *labels = file.labels;
  return npcs;
}

std::vector<Goods> LoadGoods(std::vector<std::string>* labels) {
  FieldFile file;
  file.text = ReadWholeFile(DataDir() + "/text/goods.dat");
  std::vector<Goods> goods;
  const int count = file.NextNumber();
  for (int i = 0; i < count && !file.broken && file.position < file.text.size(); ++i) {
    Goods g;
    g.id = file.NextNumber();
    g.name = file.Next();
    g.text = file.Next();
    g.value = file.NextNumber();
    g.addExp = file.NextNumber();
    g.addLife = file.NextNumber();
    g.addAttack = file.NextNumber();
    g.addDefense = file.NextNumber();
    file.Next();
    goods.push_back(g);
  }
  if (file.broken || int(goods.size()) != count) goods.clear();
  if (labels) *labels = file.labels;
  return goods;
}

std::optional<std::string> Dialogue::Find(int talkId, int entry) const {
  const std::string key = "[" + std::to_string(talkId) + "]";
  std::string token;
  size_t i = 0;
  for (; i < text_.size(); ++i) {
    const char c = text_[i];
    if (c == ' ' || c == '\n' || c == ';') {
      if (token == key) break;
      token.clear();
    } else {
      token.push_back(c);
    }
  }
  if (i >= text_.size()) return std::nullopt;
  // i is on the separator that ended the key.
  for (int step = 0; step <= entry; ++step) {
    i += 1;
    const size_t lineFeed = text_.find('\n', i);
    if (lineFeed == std::string::npos) return std::nullopt;
    i = lineFeed + 1;
  }
  const size_t end = text_.find(';', i);
  if (end == std::string::npos || end - i > 1023) return std::nullopt;
  return text_.substr(i, end - i);
}

std::vector<Segment> SplitSegments(const std::string& entry) {
  std::vector<Segment> segments;
  size_t i = 0;
  while (i < entry.size() && (entry[i] == '{' || entry[i] == '}')) {
    Segment s{entry[i], {}};
    ++i;
    while (i < entry.size() && entry[i] != '{' && entry[i] != '}' && entry[i] != '@')
      s.words.push_back(entry[i++]);
    segments.push_back(s);
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

}  // namespace datacheck
