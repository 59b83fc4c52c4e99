// The goods table, read once at start from "text/goods.dat".
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>

#include "core/read_field.h"
#include "goods/goods.h"
#include "platform/font/gbk.h"
#include "platform/system.h"

GoodsRecord aGoods[kGoodsCount];
int nGoodsRead = 0;

namespace {

constexpr const char* kGoodsFile = "text/goods.dat";
// Indices 0 and 1 name the slot frames of the icon sheet, so the file fills 2 to 19.
constexpr int kFirstGoods = 2;
constexpr int kMaxRecords = kGoodsCount - kFirstGoods;
constexpr int kLabelSize = 11;
constexpr size_t kFieldSize = 1024;

// The next line of the file (without its line end), and the position moved past it. Every
// field is read from its own line, so a line that lost its ';' spoils only its own field
// instead of pulling the next line in and shifting every field after it.
std::string NextLine(const std::string& text, size_t& position) {
  const size_t end = std::min(text.find('\n', position), text.size());
  std::string line = text.substr(position, end - position);
  if (!line.empty() && line.back() == '\r') line.pop_back();
  position = std::min(end + 1, text.size());
  return line;
}

int ReadNumberLine(const std::string& text, size_t& position) {
  const std::string line = NextLine(text, position);
  size_t linePosition = 0;
  return ReadField(line, linePosition, nullptr, 0, kLabelSize);
}

// Copies a text field into a record field of `size` bytes, cut to whole GBK characters so
// that a long name never ends in half a character.
void ReadTextLine(const std::string& text, size_t& position, char* field, size_t size) {
  const std::string line = NextLine(text, position);
  size_t linePosition = 0;
  char value[kFieldSize] = {};
  ReadField(line, linePosition, value, sizeof value, kLabelSize);

  const auto* bytes = reinterpret_cast<const uint8_t*>(value);
  const size_t length = std::strlen(value);
  size_t kept = 0;
  while (kept < length) {
    const size_t next = kept + size_t(platform::gbk::NextCharacter(bytes + kept, length - kept).bytes);
    if (next > size - 1) break;
    kept = next;
  }
  std::memset(field, 0, size);
  std::memcpy(field, value, kept);
}

void ReadGoodsRecord(const std::string& text, size_t& position, GoodsRecord& goods) {
  goods.nId = ReadNumberLine(text, position);
  ReadTextLine(text, position, goods.szName, sizeof goods.szName);
  ReadTextLine(text, position, goods.szText, sizeof goods.szText);
  goods.nValue = ReadNumberLine(text, position);
  goods.nAddExp = ReadNumberLine(text, position);
  goods.nAddLife = ReadNumberLine(text, position);
  goods.nAddAttack = ReadNumberLine(text, position);
  goods.nAddDefense = ReadNumberLine(text, position);
  ReadNumberLine(text, position);  // the closing line of a record carries nothing
}

}  // namespace

void LoadGoods() {
  std::fill(std::begin(aGoods), std::end(aGoods), GoodsRecord{});
  nGoodsRead = 0;
  const std::optional<std::string> file = platform::ReadGameFile(kGoodsFile);
  if (!file) return;
  const std::string& text = *file;

  size_t position = 0;
  // The table has room for 18 records; a larger count reads the first 18, and records the
  // file ends before stay empty and undefined.
  const int count = std::min(ReadNumberLine(text, position), kMaxRecords);
  for (int k = kFirstGoods; k < kFirstGoods + count && position < text.size(); ++k) {
    ReadGoodsRecord(text, position, aGoods[k]);
    ++nGoodsRead;
  }
}
