// The generated data set read the way the game reads it (binary maps, character files and the
// goods table of field lines, dialogue looked up by key and entry), loaded once, with the hero's
// collision rules: the 8 × 8 square 12 to 20 pixels right of the frame's left edge and 12 to 20
// pixels above its feet must lie in cells below 0xA000.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace datacheck {

std::string DataDir();
std::string ReadWholeFile(const std::string& path);  // empty when it cannot be read

struct Map {
  int width = 0, height = 0, ground = 0;
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
struct Goods {
  int id = 0;
  std::string name, text;
  int value = 0, addExp = 0, addLife = 0, addAttack = 0, addDefense = 0;
};
// Field lines: an 11-byte label, the value, ';', the rest of the line ignored. A file with a
// line missing its label or ';', or fewer records than its count, loads as nothing; the labels
// passed are handed back for checking.
std::vector<Npc> LoadNpcs(const std::string& fileName, std::vector<std::string>* labels = nullptr);
std::vector<Goods> LoadGoods(std::vector<std::string>* labels = nullptr);  // goods 2, 3, ...

// The dialogue looked up as the game does: the key "[id]" as a token (tokens end at a blank, LF
// or ';'), then entry n is n + 1 line steps on, read to its ';'.
std::optional<std::string> FindTalk(const std::string& text, int talkId, int entry);
// The spoken lines of an entry: each starts with '{' (character) or '}' (hero) and runs to the
// next '{', '}' or '@'. Empty when the entry does not start with a line mark.
struct Segment {
  char mark = 0;
  std::string words;
};
std::vector<Segment> SplitSegments(const std::string& entry);

// Typesetting in rows of rowBytes: whole GBK characters, none straddling a row's end, and the
// first row (from 1) that starts with closing punctuation ("。", "，", "……" ...), 0 when none does.
bool IsWholeGbk(const std::string& bytes);
bool BreaksBetweenCharacters(const std::string& bytes, int rowBytes);
int RowStartingWithCloser(const std::string& bytes, int rowBytes);
// The first row (from 1) that starts inside one of `words` (GBK), so that the word is cut in two
// across a row end; 0 when none does.
int RowSplittingWord(const std::string& bytes, int rowBytes, const std::vector<std::string>& words);
// In a text of several rows, the first row (from 1) holding only one or two characters, blanks
// (ASCII and full-width spaces) aside, such as a lone "来。" left under a full row; 0 when none does.
int ShortRow(const std::string& bytes, int rowBytes);

enum MapIndex { kHome, kCity, kWood, kArena, kPalace, kShop1, kShop2, kShop3, kMapCount };
inline constexpr std::array<const char*, kMapCount> kMapNames = {
    "home", "city", "wood", "f_wood", "palace", "shop01", "shop02", "shop03"};

struct World {
  std::array<Map, kMapCount> maps;
  std::array<std::vector<Npc>, kMapCount> npcs;
  std::array<std::vector<std::string>, kMapCount> npcLabels;
  bool complete = false;
};
const World& TheWorld();

// A map position of the hero: x of the frame's left edge, y of its feet line.
struct Point {
  int x = 0, y = 0;
};
inline constexpr Point kNewGameStart{180, 164};

// Where a door puts the hero (map, screen position, view at scroll 0); he keeps the facing he
// walked through with (+1 down, -1 up), so the way back belongs right behind him.
struct Door {
  int code, map, screenX, screenY, viewCol, viewRow, back, walk;
  Point MapPosition() const { return {viewCol * 32 + screenX, viewRow * 32 + screenY}; }
};
const std::vector<Door>& Doors();  // with both story gates open

inline bool IsSolid(uint16_t code) { return code >= 0xA000; }
inline bool IsEvent(uint16_t code) { return code >= 0x5000 && code <= 0x5010; }
bool HeroFits(const Map& map, Point p);
std::array<int, 2> FeetCell(Point p);  // also the cell a character stands in
bool NpcFits(const Map& map, const Npc& npc);  // its 16 × 16 square is clear of solid cells
// An active character within 24 pixels of the hero (it would block him).
bool CrowdedBy(const std::vector<Npc>& npcs, Point p);
// A place the hero can stand on: clear of walls, off any door, and away from everyone in `npcs`.
bool ClearGround(const Map& map, const std::vector<Npc>& npcs, Point p);
// Every place the hero can walk to from the given ones, 8 pixels a step as the game moves him,
// stopped by walls and by the people who never walk; doors are stepped on but not walked past.
std::set<std::pair<int, int>> ReachablePlaces(const Map& map, const std::vector<Npc>& npcs,
                                              const std::vector<Point>& from);

// The fixture of the data checks: the world and the dialogue, loaded once.
class DataSet : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(world.complete) << "maps missing in " << DataDir(); }
  const Npc* Find(int map, int talkId) const;
  std::optional<std::string> Talk(int talkId, int entry) const { return FindTalk(talk, talkId, entry); }
  const World& world = TheWorld();
  const std::string talk = ReadWholeFile(DataDir() + "/text/talk.txt");
};

}  // namespace datacheck
