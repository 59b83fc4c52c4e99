#include "app/state_dump.h"

#include <cstdio>
#include <cstring>

#include "battle/battle.h"
#include "core/game_state.h"
#include "core/map_types.h"
#include "core/open_screen.h"
#include "goods/goods.h"
#include "platform/backend/backend.h"

namespace {

void AppendHex(std::string& out, const char* bytes, size_t count) {
  static const char kDigits[] = "0123456789abcdef";
  out += '"';
  for (size_t i = 0; i < count; ++i) {
    const auto byte = static_cast<unsigned char>(bytes[i]);
    out += kDigits[byte >> 4];
    out += kDigits[byte & 15];
  }
  out += '"';
}

void AppendNumber(std::string& out, const char* name, long long value, bool comma = true) {
  char text[64];
  std::snprintf(text, sizeof text, "\"%s\":%lld%s", name, value, comma ? "," : "");
  out += text;
}

// A JSON string of bytes: quotes, backslashes and control bytes escaped, bytes above 127
// (GBK) written as \u00XX so the dump stays valid UTF-8.
void AppendString(std::string& out, const std::string& bytes) {
  out += '"';
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    if (byte == '"' || byte == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20 || byte > 0x7e) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  out += '"';
}

void AppendRecord(std::string& out, const NpcRecord& npc) {
  out += '{';
  AppendNumber(out, "nTalkId", npc.nTalkId);
  AppendNumber(out, "nPicture", npc.nPicture);
  AppendNumber(out, "bHostile", npc.bHostile);
  AppendNumber(out, "nTalkState", npc.nTalkState);
  AppendNumber(out, "nWalk", npc.nWalk);
  AppendNumber(out, "bActive", npc.bActive);
  out += "\"szName\":";
  AppendHex(out, npc.szName, sizeof npc.szName);
  out += ',';
  AppendNumber(out, "nFrameWidth", npc.nFrameWidth);
  AppendNumber(out, "nFrameHeight", npc.nFrameHeight);
  AppendNumber(out, "nX", npc.nX);
  AppendNumber(out, "nY", npc.nY);
  AppendNumber(out, "nLastX", npc.nLastX);
  AppendNumber(out, "nLastY", npc.nLastY);
  AppendNumber(out, "nDirection", npc.nDirection);
  AppendNumber(out, "nFrame", npc.nFrame);
  AppendNumber(out, "nLevel", npc.nLevel);
  AppendNumber(out, "nExp", npc.nExp);
  AppendNumber(out, "nLife", npc.nLife);
  AppendNumber(out, "nMaxLife", npc.nMaxLife);
  AppendNumber(out, "nAttack", npc.nAttack);
  AppendNumber(out, "nDefense", npc.nDefense);
  AppendNumber(out, "nSpeed", npc.nSpeed);
  out += "\"szGoods\":";
  AppendHex(out, npc.szGoods, sizeof npc.szGoods);
  out += ',';
  AppendNumber(out, "nMoney", npc.nMoney);
  AppendNumber(out, "lpSurface", npc.lpSurface, false);
  out += '}';
}

// The filled entries of the goods table: how many, and each one's index and name.
void AppendGoodsTable(std::string& out) {
  int count = 0;
  std::string entries;
  for (int k = 0; k < kGoodsCount; ++k) {
    const GoodsRecord* goods = GoodsOfSlot(char('0' + k));
    if (goods == nullptr) continue;
    if (count++ > 0) entries += ',';
    entries += '{';
    AppendNumber(entries, "index", k);
    entries += "\"szName\":";
    AppendHex(entries, goods->szName, std::strlen(goods->szName));
    entries += '}';
  }
  AppendNumber(out, "goodsCount", count);
  out += "\"goods\":[" + entries + "],";
}

}  // namespace

std::string DumpGameState() {
  std::string out = "{\"screen\":\"";
  out += OpenScreen();
  out += "\",";
  AppendNumber(out, "nMap", nMap);
  AppendNumber(out, "nViewCol", nViewCol);
  AppendNumber(out, "nViewRow", nViewRow);
  AppendNumber(out, "nLastViewCol", nLastViewCol);
  AppendNumber(out, "nLastViewRow", nLastViewRow);
  AppendNumber(out, "nScrollX", nScrollX);
  AppendNumber(out, "nScrollY", nScrollY);
  AppendNumber(out, "nLastScrollX", nLastScrollX);
  AppendNumber(out, "nLastScrollY", nLastScrollY);
  AppendNumber(out, "nStoryStage", nStoryStage);
  AppendNumber(out, "nStoryFlag", nStoryFlag);
  out += "\"hero\":";
  AppendRecord(out, hero);
  out += ",\"maps\":[";
  for (int m = 0; m < kMapCount; ++m) {
    const MapInfo& map = mapTable[m];
    if (m > 0) out += ',';
    out += '{';
    AppendNumber(out, "nWidth", map.nWidth);
    AppendNumber(out, "nHeight", map.nHeight);
    AppendNumber(out, "nNpcCount", NpcCount(map));
    out += "\"npcs\":[";
    for (int i = 0; i < NpcCount(map); ++i) {
      if (i > 0) out += ',';
      AppendRecord(out, map.lpNpcs[size_t(i)]);
    }
    out += "]}";
  }
  out += "],";
  // The fight under way: its enemy copy and the highlighted command; null outside fights.
  out += "\"battle\":";
  if (const NpcRecord* enemy = BattleEnemy()) {
    out += '{';
    AppendNumber(out, "cursor", BattleCursor());
    out += "\"enemy\":";
    AppendRecord(out, *enemy);
    out += "},";
  } else {
    out += "null,";
  }
  AppendGoodsTable(out);
  const platform::headless::Log& log = platform::headless::GetLog();
  AppendNumber(out, "flips", log.flips);
  AppendNumber(out, "paletteLoads", log.paletteLoads);
  // The effects asked for, in order: started, or skipped because still playing.
  out += "\"effects\":[";
  for (size_t i = 0; i < log.effects.size(); ++i) {
    const platform::headless::EffectPlay& effect = log.effects[i];
    if (i > 0) out += ',';
    out += "{\"name\":";
    AppendString(out, effect.name);
    out += ',';
    AppendNumber(out, "time", effect.time);
    out += effect.started ? "\"started\":true}" : "\"started\":false}";
  }
  out += "],\"mciTimes\":[";
  for (size_t i = 0; i < log.mciTimes.size(); ++i) {
    if (i > 0) out += ',';
    out += std::to_string(log.mciTimes[i]);
  }
  out += "],\"mciCommands\":[";
  for (size_t i = 0; i < log.mciCommands.size(); ++i) {
    if (i > 0) out += ',';
    AppendString(out, log.mciCommands[i]);
  }
  out += "]}\n";
  return out;
}
