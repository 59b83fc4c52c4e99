#include "world/map_files.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "core/map_types.h"
#include "core/read_field.h"
#include "platform/system.h"

namespace {

const char* const kMapFiles[kMapCount] = {
    "maps\\home.map",   "maps\\city.map",   "maps\\wood.map",   "maps\\f_wood.map",
    "maps\\palace.map", "maps\\shop01.map", "maps\\shop02.map", "maps\\shop03.map"};
const char* const kNpcFiles[kMapCount] = {
    "maps\\home.npc",   "maps\\city.npc",   "maps\\wood.npc",   "maps\\f_wood.npc",
    "maps\\palace.npc", "maps\\shop01.npc", "maps\\shop02.npc", "maps\\shop03.npc"};

constexpr size_t kMapHeaderSize = 48;
// A side longer than this is taken for a damaged header, not for a map.
constexpr int32_t kMaxMapSide = 1024;
constexpr int kGroundTileRows = 10;

// Every line of a character file starts with a label of this many bytes.
constexpr int kLabelSize = 11;
constexpr size_t kFieldsPerRecord = 25;
// The shortest a field line can be: its label and the ';'.
constexpr size_t kShortestField = kLabelSize + 1;

int32_t ReadLittleEndian32(const unsigned char* bytes) {
  return int32_t(uint32_t(bytes[0]) | uint32_t(bytes[1]) << 8 | uint32_t(bytes[2]) << 16 |
                 uint32_t(bytes[3]) << 24);
}

// Reads one map file into map. A missing file, or a header whose size is not a map's,
// leaves the entry as it was and gives false. A file shorter than its header says gives
// plain ground (code 0) for the missing cells.
bool ReadMapFile(const char* name, MapInfo& map) {
  platform::GameFile file(platform::OpenGameFile(name, "rb"));
  if (!file) return false;

  unsigned char header[kMapHeaderSize] = {};
  const size_t headerRead = std::fread(header, 1, sizeof header, file.get());
  const int32_t width = ReadLittleEndian32(header + 32);
  const int32_t height = ReadLittleEndian32(header + 36);
  if (width < 1 || height < 1 || width > kMaxMapSide || height > kMaxMapSide) return false;

  const size_t cells = size_t(width) * size_t(height);
  std::vector<unsigned char> grid(cells * 2, 0);
  size_t gridRead = 0;
  if (headerRead == sizeof header) gridRead = std::fread(grid.data(), 1, grid.size(), file.get());
  const size_t cellsRead = gridRead / 2;  // half a code is no code

  std::memcpy(map.szName, header, sizeof map.szName);
  map.nWidth = width;
  map.nHeight = height;
  // The ground sheet has ten rows; any other number would name no picture.
  map.nGroundTile = int8_t(std::clamp<int>(int8_t(header[40]), 0, kGroundTileRows - 1));
  map.lpTiles.assign(cells, 0);
  for (size_t i = 0; i < cellsRead; ++i)
    map.lpTiles[i] = uint16_t(grid[2 * i] | grid[2 * i + 1] << 8);
  return true;
}

// The whole file, with each CR LF pair read as one LF; false when it cannot be opened.
bool ReadTextFile(const char* name, std::string& text) {
  platform::GameFile file(platform::OpenGameFile(name, "rb"));
  if (!file) return false;
  std::string raw;
  char chunk[4096];
  size_t got;
  while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) raw.append(chunk, got);

  text.clear();
  text.reserve(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '\r' && i + 1 < raw.size() && raw[i + 1] == '\n') continue;
    text.push_back(raw[i]);
  }
  return true;
}

int ReadNumber(const std::string& text, size_t& position) {
  return ReadField(text, position, nullptr, 0, kLabelSize);
}

void ReadNpcRecord(const std::string& text, size_t& position, NpcRecord& npc) {
  npc.nTalkId = ReadNumber(text, position);
  npc.nPicture = ReadNumber(text, position);
  npc.bHostile = ReadNumber(text, position);
  npc.nTalkState = ReadNumber(text, position);
  npc.nWalk = ReadNumber(text, position);
  npc.bActive = ReadNumber(text, position);
  ReadField(text, position, npc.szName, sizeof npc.szName, kLabelSize);
  npc.nFrameWidth = ReadNumber(text, position);
  npc.nFrameHeight = ReadNumber(text, position);
  npc.nX = ReadNumber(text, position);
  npc.nY = ReadNumber(text, position);
  npc.nLastX = ReadNumber(text, position);
  npc.nLastY = ReadNumber(text, position);
  npc.nDirection = ReadNumber(text, position);
  npc.nFrame = ReadNumber(text, position);
  npc.nLevel = ReadNumber(text, position);
  npc.nExp = ReadNumber(text, position);
  npc.nLife = ReadNumber(text, position);
  npc.nMaxLife = ReadNumber(text, position);
  npc.nAttack = ReadNumber(text, position);
  npc.nDefense = ReadNumber(text, position);
  npc.nSpeed = ReadNumber(text, position);
  ReadField(text, position, npc.szGoods, sizeof npc.szGoods, kLabelSize);
  npc.nMoney = ReadNumber(text, position);
  ReadNumber(text, position);  // the closing line of a record carries nothing
  npc.lpSurface = NpcSheetHandle(npc.nPicture);
}

// Reads one character file into map's list. A missing file gives an empty list; a count
// larger than the file can hold is cut to what it can hold, and records the file ends
// before stay zero (absent).
void ReadNpcFile(const char* name, MapInfo& map) {
  map.nNpcCount = 0;
  map.lpNpcs.clear();
  std::string text;
  if (!ReadTextFile(name, text)) return;

  size_t position = 0;
  const int count = ReadNumber(text, position);
  const size_t remaining = text.size() - position;
  const size_t shortestRecord = kFieldsPerRecord * kShortestField;
  const size_t fit = (remaining + shortestRecord - 1) / shortestRecord;
  const size_t records = count <= 0 ? 0 : std::min(size_t(count), fit);

  map.lpNpcs.assign(records, NpcRecord{});
  map.nNpcCount = int32_t(records);
  for (NpcRecord& npc : map.lpNpcs) {
    if (position >= text.size()) break;
    ReadNpcRecord(text, position, npc);
  }
}

}  // namespace

int LoadMaps() {
  for (int m = 0; m < kMapCount; ++m)
    if (!ReadMapFile(kMapFiles[m], mapTable[m])) return 0;
  return 1;
}

int LoadNpcs() {
  for (int m = 0; m < kMapCount; ++m) ReadNpcFile(kNpcFiles[m], mapTable[m]);
  return 1;
}

