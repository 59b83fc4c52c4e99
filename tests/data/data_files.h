// Reading the generated data set the way the game reads it: the binary maps, the character
// files and goods table of field lines, and the dialogue looked up by key and entry.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace datacheck {

std::string DataDir();
// The whole file; empty when it cannot be read.
std::string ReadWholeFile(const std::string& path);

struct Map {
  std::string name;
  int width = 0;
  int height = 0;
  int ground = 0;
  std::vector<uint16_t> cells;
  uint16_t At(int column, int row) const;  // outside the grid: 0xFFFF (treated as solid)
};
std::optional<Map> LoadMap(const std::string& fileName);

struct Npc {
  int talkId = 0, picture = 0, hostile = 0, talkState = 0, walk = 0, active = 0;
  std::string name;
  int frameWidth = 0, frameHeight = 0, x = 0, y = 0, lastX = 0, lastY = 0, direction = 0,
      frame = 0, level = 0, exp = 0, life = 0, maxLife = 0, attack = 0, defense = 0, speed = 0;
  std::string goods;
  int money = 0;
};

// Field lines: an 11-byte label, the value, ';', the rest of the line ignored. Each parse
// records the labels it passed so a test can check them.
struct FieldFile {
  std::string text;
  size_t position = 0;
  std::vector<std::string> labels;
  bool broken = false;  // a line without its label or ';'
  std::string Next();
  int NextNumber();
};

std::vector<Npc> LoadNpcs(const std::string& fileName, std::vector<std::string>* labels = nullptr);

struct Goods {
  int id = 0;
  std::string name, text;
  int value = 0, addExp = 0, addLife = 0, addAttack = 0, addDefense = 0;
};
// Goods 2, 3, ... in file order (element 0 is goods 2).
std::vector<Goods> LoadGoods(std::vector<std::string>* labels = nullptr);

// The dialogue file read whole, looked up as the game does: the talk's key "[id]" as a token
// (tokens end at a blank, LF or ';'), then entry n is n + 1 line steps on, read to its ';'.
class Dialogue {
 public:
  explicit Dialogue(std::string text) : text_(std::move(text)) {}
  std::optional<std::string> Find(int talkId, int entry) const;

 private:
  std::string text_;
};

// The spoken lines of an entry: each starts with '{' (character) or '}' (hero) and runs to the
// next '{', '}' or '@'. Empty when the entry does not start with a line mark.
struct Segment {
  char mark = 0;
  std::string words;
};
std::vector<Segment> SplitSegments(const std::string& entry);

// True when the bytes are whole GBK characters (a lead byte is always followed by a trail byte).
bool IsWholeGbk(const std::string& bytes);
// True when no double-byte character straddles the end of a row of rowBytes.
bool BreaksBetweenCharacters(const std::string& bytes, int rowBytes);

// The first row (counting from 1) of rowBytes that starts with punctuation closing a sentence or
// a clause ("。", "，", "……" and the like), left alone at the row's start; 0 when there is none.
int RowStartingWithCloser(const std::string& bytes, int rowBytes);

}  // namespace datacheck
