#include "datagen/world/npc_builder.h"

#include "datagen/world/field_lines.h"
#include "datagen/world/source_file.h"

namespace datagen {
namespace {

constexpr int kSheetCount = 15;
constexpr int kCell = 32;
constexpr size_t kNameBytes = 31;
constexpr size_t kSlots = 16;
constexpr int kSellerA = 59999, kSellerB = 69999, kBuyer = 79999;
constexpr int kTroublemakerA = 70004, kTroublemakerB = 70005;

// 16 slot bytes, each a space or a goods code of a filled goods index.
bool IsStock(const std::string& slots, const GoodsTable& goods) {
  if (slots.size() != kSlots) return false;
  for (char c : slots)
    if (c != ' ' && !goods.Has(c - '0')) return false;
  return true;
}

// A fighter's loot: "0" for none, or 1 to 16 goods codes with nothing between them (a beaten
// enemy's loot is read byte by byte, and a space would name no goods).
bool IsLoot(const std::string& loot, const GoodsTable& goods) {
  if (loot == "0") return true;
  if (loot.empty() || loot.size() > kSlots) return false;
  for (char c : loot)
    if (!goods.Has(c - '0')) return false;
  return true;
}

void Require(FieldReader& fields, bool ok, const std::string& what) {
  if (!ok) fields.Fail(what);
}

std::string BuildRecord(FieldReader& fields, MapSize map, const GoodsTable& goods) {
  std::string bytes;
  auto number = [&](std::string_view label, int low, int high, const char* meaning) {
    const int value = fields.NextNumber(label);
    Require(fields, value >= low && value <= high,
            std::string(meaning) + " must lie in " + std::to_string(low) + " to " +
                std::to_string(high));
    bytes += FieldLineBytes(label, value);
    return value;
  };

  const int talkId = number("talk_id   :", 10000, 99999, "a talk id has five digits and");
  number("picture   :", 0, kSheetCount - 1, "the character sheet");
  const int hostile = number("hostile   :", 0, 1, "hostile");
  number("talk_state:", 0, 9, "the talk entry");
  number("walk      :", -1, 99, "walk");
  number("active    :", 0, 1, "active");
  const std::string name = fields.NextText("name      :", kNameBytes);
  Require(fields, !name.empty(), "a character needs a name for the talk box");
  bytes += FieldLineBytes("name      :", name);
  number("frame_w   :", kCell, kCell, "the frame width");
  number("frame_h   :", kCell, kCell, "the frame height");
  const int x = number("x         :", 0, map.width * kCell - kCell, "x (inside the map)");
  const int y = number("y         :", kCell - 16, map.height * kCell, "y (inside the map)");
  const int lastX = number("last_x    :", 0, map.width * kCell, "last_x");
  const int lastY = number("last_y    :", 0, map.height * kCell, "last_y");
  Require(fields, lastX == x && lastY == y, "a character starts at its last accepted place");
  number("direction :", 0, 3, "the direction");
  number("frame     :", 0, 1, "the walk frame");
  number("level     :", 1, 99, "the level");
  number("exp       :", 0, 0, "experience");
  const int life = number("life      :", 1, 9999, "life");
  number("max_life  :", life, 9999, "maximum life (at least life)");
  number("attack    :", 0, 999, "attack");
  number("defense   :", 0, 999, "defense");
  number("speed     :", 0, 32, "speed");
  const std::string slots = fields.NextText("goods     :", kSlots);
  const bool seller = talkId == kSellerA || talkId == kSellerB || talkId == kBuyer;
  const bool fighter = hostile == 1 || talkId == kTroublemakerA || talkId == kTroublemakerB;
  if (seller)
    Require(fields, IsStock(slots, goods),
            "a shopkeeper's goods are 16 slots: a space or the code of a goods in the table");
  else if (fighter)
    Require(fields, IsLoot(slots, goods), "loot is \"0\" or codes of goods in the table only");
  else
    Require(fields, slots == "0" || IsStock(slots, goods), "goods are \"0\" or 16 slots");
  bytes += FieldLineBytes("goods     :", slots);
  number("money     :", 0, 9999, "money");
  number("end       :", 0, 0, "the closing line");
  return bytes;
}

}  // namespace

void BuildNpcs(const std::filesystem::path& source, const std::filesystem::path& out, MapSize map,
               const GoodsTable& goods) {
  FieldReader fields(source, ReadFieldLines(source));
  const int count = fields.NextNumber("count     :");
  Require(fields, count >= 0 && count <= 64, "the count of characters must lie in 0 to 64");
  std::string bytes = FieldLineBytes("count     :", count);
  for (int i = 0; i < count; ++i) bytes += BuildRecord(fields, map, goods);
  Require(fields, fields.AtEnd(), "more lines than the count says");
  WriteBytes(out, bytes);
}

}  // namespace datagen
