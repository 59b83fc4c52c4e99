// Saved games. A slot file is a byte image of the whole changeable state: the position and
// story words, the hero's record and all eight maps with their tile grids and characters.
//
//   bytes 0-43    nMap, nViewCol, nViewRow, nLastViewCol, nLastViewRow, nScrollX, nScrollY,
//                 nLastScrollX, nLastScrollY, nStoryStage, nStoryFlag (int32 each)
//   bytes 44-187  the hero's 144-byte record
//   then maps 0 to 7, each:
//     32  szName          4  nWidth           4  nHeight
//      4  nGroundTile and the first three reserved bytes
//      7  the seven reserved bytes (on reading, this copy is the one that stays)
//     2 × nWidth × nHeight  the tile grid, row by row
//      4  nNpcCount       144 × nNpcCount  the character records
//
// All numbers are little-endian, as the records are in memory. A record's sheet handle is
// written as it stands and set again from nPicture after a load.
//
// A game is written into a new file that takes the slot's name only once it is whole. A file is
// checked whole against the maps loaded now before anything is changed: a short, long,
// foreign or damaged file leaves the game exactly as it was, like an empty slot.
#include "saves/save_game.h"

#include <bit>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <utility>

#include "core/game_state.h"
#include "core/map_types.h"
#include "platform/system.h"

static_assert(std::endian::native == std::endian::little,
              "saved games are the little-endian images of the records");

namespace {

constexpr int kSlotCount = 5;
constexpr size_t kHeadBytes = 44;
constexpr size_t kRecordBytes = sizeof(NpcRecord);
constexpr size_t kMapHeadBytes = 32 + 4 + 4 + 4 + 7;
constexpr int kGroundTiles = 10;

int32_t* const kHeadFields[] = {&nMap,         &nViewCol, &nViewRow,     &nLastViewCol,
                                &nLastViewRow, &nScrollX, &nScrollY,     &nLastScrollX,
                                &nLastScrollY, &nStoryStage, &nStoryFlag};
static_assert(sizeof kHeadFields / sizeof kHeadFields[0] * 4 == kHeadBytes);

bool SlotName(int slot, char (&name)[16]) {
  if (slot < 0 || slot >= kSlotCount) return false;
  std::snprintf(name, sizeof name, "save\\%d.sav", slot + 1);
  return true;
}

size_t CellCount(const MapInfo& map) {
  if (map.nWidth <= 0 || map.nHeight <= 0) return 0;
  return size_t(map.nWidth) * size_t(map.nHeight);
}

// The length of a saved game of the maps loaded now.
size_t ImageBytes() {
  size_t bytes = kHeadBytes + kRecordBytes;
  for (const MapInfo& map : mapTable)
    bytes += kMapHeadBytes + 2 * CellCount(map) + 4 + kRecordBytes * size_t(NpcCount(map));
  return bytes;
}

void Put(std::string& image, const void* bytes, size_t size) {
  image.append(static_cast<const char*>(bytes), size);
}

void PutInt(std::string& image, int32_t value) { Put(image, &value, 4); }

std::string SaveImage() {
  std::string image;
  image.reserve(ImageBytes());
  for (const int32_t* field : kHeadFields) PutInt(image, *field);
  Put(image, &hero, kRecordBytes);
  for (const MapInfo& map : mapTable) {
    Put(image, map.szName, sizeof map.szName);
    PutInt(image, map.nWidth);
    PutInt(image, map.nHeight);
    // The ground tile with the first three reserved bytes, then all seven reserved bytes.
    const uint8_t groundAndReserved[4] = {uint8_t(map.nGroundTile), map.abReserved[0],
                                          map.abReserved[1], map.abReserved[2]};
    Put(image, groundAndReserved, sizeof groundAndReserved);
    Put(image, map.abReserved, sizeof map.abReserved);
    const size_t cells = CellCount(map);
    for (size_t k = 0; k < cells; ++k) {
      const uint16_t code = k < map.lpTiles.size() ? map.lpTiles[k] : 0;
      Put(image, &code, 2);
    }
    const int count = NpcCount(map);
    PutInt(image, count);
    Put(image, map.lpNpcs.data(), kRecordBytes * size_t(count));
  }
  return image;
}

// Reads a saved game's bytes front to back. The image has been checked: every read is within.
class ImageReader {
 public:
  explicit ImageReader(const std::string& image) : image_(image) {}
  void Take(void* destination, size_t size) {
    std::memcpy(destination, image_.data() + at_, size);
    at_ += size;
  }
  int32_t TakeInt() {
    int32_t value;
    Take(&value, 4);
    return value;
  }
  const char* Here() const { return image_.data() + at_; }
  void Skip(size_t size) { at_ += size; }

 private:
  const std::string& image_;
  size_t at_ = 0;
};

// A record whose name or goods lack their ending zero would send text drawing past them.
bool RecordTextsEnd(const NpcRecord& record) {
  return std::memchr(record.szName, 0, sizeof record.szName) != nullptr &&
         std::memchr(record.szGoods, 0, sizeof record.szGoods) != nullptr;
}

bool ImageFits(const std::string& image) {
  if (image.size() != ImageBytes()) return false;
  ImageReader reader(image);
  const int32_t map = reader.TakeInt();
  if (map < 0 || map >= kMapCount) return false;
  reader.Skip(kHeadBytes - 4);
  NpcRecord record;
  reader.Take(&record, kRecordBytes);
  if (!RecordTextsEnd(record)) return false;
  for (const MapInfo& loaded : mapTable) {
    reader.Skip(32);
    const int32_t width = reader.TakeInt();
    const int32_t height = reader.TakeInt();
    const int8_t groundTile = int8_t(*reader.Here());
    reader.Skip(4 + 7);
    if (width != loaded.nWidth || height != loaded.nHeight) return false;
    if (loaded.lpTiles.size() < CellCount(loaded)) return false;
    if (groundTile < 0 || groundTile >= kGroundTiles) return false;
    reader.Skip(2 * CellCount(loaded));
    const int32_t count = reader.TakeInt();
    if (count != NpcCount(loaded)) return false;
    for (int32_t k = 0; k < count; ++k) {
      reader.Take(&record, kRecordBytes);
      if (record.nPicture < 0 || record.nPicture >= kNpcSheetCount) return false;
      if (!RecordTextsEnd(record)) return false;
    }
  }
  return true;
}

void ApplyImage(const std::string& image) {
  ImageReader reader(image);
  for (int32_t* field : kHeadFields) *field = reader.TakeInt();
  reader.Take(&hero, kRecordBytes);
  hero.lpSurface = kHeroSheet;
  for (MapInfo& map : mapTable) {
    reader.Take(map.szName, sizeof map.szName);
    map.nWidth = reader.TakeInt();
    map.nHeight = reader.TakeInt();
    uint8_t groundAndReserved[4];
    reader.Take(groundAndReserved, sizeof groundAndReserved);
    map.nGroundTile = int8_t(groundAndReserved[0]);
    std::memcpy(map.abReserved, groundAndReserved + 1, 3);
    reader.Take(map.abReserved, sizeof map.abReserved);
    reader.Take(map.lpTiles.data(), 2 * CellCount(map));
    map.nNpcCount = reader.TakeInt();
    for (int32_t k = 0; k < map.nNpcCount; ++k) {
      NpcRecord& npc = map.lpNpcs[size_t(k)];
      reader.Take(&npc, kRecordBytes);
      npc.lpSurface = NpcSheetHandle(npc.nPicture);
    }
  }
}

// Reads the slot's file, but never more than one byte beyond what a game of these maps takes.
bool ReadSlot(const char* name, size_t expected, std::string& image) {
  std::optional<std::string> file = platform::ReadGameFile(name, expected + 1);
  if (!file) return false;
  image = std::move(*file);
  return true;
}

}  // namespace

int SaveGame(int slot) {
  char name[16];
  if (!SlotName(slot, name)) return 0;
  const std::string image = SaveImage();
  return platform::ReplaceGameFile(name, image.data(), image.size()) ? 1 : 0;
}

int LoadGame(int slot) {
  char name[16];
  if (!SlotName(slot, name)) return 0;
  std::string image;
  if (!ReadSlot(name, ImageBytes(), image) || !ImageFits(image)) return 0;
  ApplyImage(image);
  return 1;
}
