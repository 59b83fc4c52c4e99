// Saved games: the byte layout, restoring a game, and files that must not be trusted.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "save_fixture.h"

namespace saves_test {
namespace {

int32_t IntAt(const std::string& bytes, size_t at) {
  int32_t value = 0;
  std::memcpy(&value, bytes.data() + at, 4);
  return value;
}
void SetIntAt(std::string& bytes, size_t at, int32_t value) { std::memcpy(bytes.data() + at, &value, 4); }

constexpr size_t kMap0 = 188;
constexpr size_t kMap0Block = 55 + 2 * 40 * 30 + 144 * 5;
constexpr size_t kSmallBlock = 55 + 2 * 20 * 15;
constexpr size_t kMap2 = kMap0 + kMap0Block + kSmallBlock;
constexpr size_t kMap3 = kMap2 + kSmallBlock;
constexpr size_t kNpc2 = kMap0 + 51 + 2 * 1200 + 4 + 144 * 2;  // map 0's third record
// Offsets in a record.
constexpr size_t kPictureField = 4, kNameField = 24, kGoodsField = 116, kSurfaceField = 140;

// A game some way into play: a chest opened, a character beaten, goods bought, another map.
void PlaySomeWay() {
  SetTileAt(mapTable[0], 3, 2, 0xA12E);
  mapTable[0].lpNpcs[2].bActive = 0;
  hero.szGoods[0] = '3';
  hero.nMoney = 1234;
  hero.nX = hero.nLastX = 400;
  nMap = 1;
  nScrollY = nLastScrollY = -8;
  nStoryStage = 1;
}

void PlayOtherwise() {
  SetTileAt(mapTable[0], 3, 2, 0xF001);
  mapTable[0].lpNpcs[2].bActive = 1;
  hero.nMoney = 5;
  nMap = 2;
}

using SaveFileTest = SaveTest;

TEST_F(SaveFileTest, ANewGameIsWrittenInTheByteLayout) {
  SetTileAt(mapTable[0], 3, 2, 0xF005);
  mapTable[2].nGroundTile = 3;
  for (int k = 0; k < 7; ++k) mapTable[2].abReserved[k] = uint8_t(k + 1);
  ASSERT_EQ(SaveGame(2), 1);
  const std::string bytes = ReadSlot(2);
  EXPECT_EQ(kMap0Block, 3175u);
  ASSERT_EQ(bytes.size(), 188 + kMap0Block + 7 * kSmallBlock + 144);

  EXPECT_EQ(bytes.substr(0, 44), std::string(44, '\0'));
  EXPECT_EQ(std::memcmp(bytes.data() + 44, &hero, 144), 0);
  EXPECT_EQ(IntAt(bytes, 44), 999);
  EXPECT_EQ(bytes.substr(44 + kNameField, 7), std::string("小飞刀") + '\0');
  EXPECT_EQ(bytes.substr(44 + kGoodsField, 17), std::string(16, ' ') + '\0');
  // Each block: name, width, height, the ground tile with the first three reserved bytes, all
  // seven reserved bytes, the grid, the count and the records.
  size_t at = kMap0;
  for (const MapInfo& map : mapTable) {
    EXPECT_EQ(IntAt(bytes, at + 32), map.nWidth);
    EXPECT_EQ(IntAt(bytes, at + 36), map.nHeight);
    const size_t cells = size_t(map.nWidth * map.nHeight);
    EXPECT_EQ(IntAt(bytes, at + 51 + 2 * cells), map.nNpcCount);
    at += 55 + 2 * cells + 144 * size_t(map.nNpcCount);
  }
  EXPECT_EQ(at, bytes.size());
  EXPECT_EQ(uint8_t(bytes[kMap0 + 51 + 2 * (2 * 40 + 3) + 1]), 0xF0);  // column 3, row 2
  EXPECT_EQ(IntAt(bytes, kNpc2 + kPictureField), 2);
  EXPECT_EQ(bytes.substr(kMap2 + 40, 11), std::string("\x03\x01\x02\x03\x01\x02\x03\x04\x05\x06\x07"));
}

TEST_F(SaveFileTest, LoadingRestoresTheSavedGameExactly) {
  ASSERT_EQ(SaveGame(0), 1);
  PlaySomeWay();
  ASSERT_EQ(SaveGame(0), 1);  // a second save replaces the first whole
  const std::string saved = ReadSlot(0);
  PlayOtherwise();
  hero.lpSurface = 77;
  mapTable[0].lpNpcs[3].lpSurface = kNoSheet;
  ASSERT_EQ(LoadGame(0), 1);
  EXPECT_EQ(TileAt(mapTable[0], 3, 2), 0xA12E);
  EXPECT_EQ(mapTable[0].lpNpcs[2].bActive, 0);
  EXPECT_EQ(hero.nMoney, 1234);
  EXPECT_EQ(nMap, 1);
  // Each record's sheet is set again from its picture.
  EXPECT_EQ(hero.lpSurface, kHeroSheet);
  EXPECT_EQ(mapTable[0].lpNpcs[3].lpSurface, NpcSheetHandle(3));
  EXPECT_EQ(Snapshot(), saved);

  // Another build may have written other values where the sheets are and into the first copy
  // of the reserved bytes: the layout alone counts.
  std::string other = saved;
  SetIntAt(other, 44 + kSurfaceField, int32_t(0xDEADBEEF));
  other[kMap0 + 41] = 'x';
  WriteSlot(1, other);
  PlayOtherwise();
  ASSERT_EQ(LoadGame(1), 1);
  EXPECT_EQ(hero.lpSurface, kHeroSheet);
  EXPECT_EQ(mapTable[0].abReserved[0], 0);
  EXPECT_EQ(Snapshot(), saved);
}

TEST_F(SaveFileTest, AnythingButAWholeMatchingGameLeavesTheGameAsItWas) {
  PlaySomeWay();
  const std::string good = Snapshot();
  PlayOtherwise();
  const std::string before = Snapshot();

  using Damage = std::function<void(std::string&)>;
  auto setInt = [](size_t at, int32_t value) { return Damage([=](std::string& b) { SetIntAt(b, at, value); }); };
  auto setByte = [](size_t at, char value) { return Damage([=](std::string& b) { b[at] = value; }); };
  std::vector<Damage> damages = {
      [](std::string& b) { b += '\0'; }, [](std::string& b) { b += std::string(144, '\0'); },
      setInt(kMap3 + 32, 21), setInt(kMap0 + 36, 29),         // another width, height
      setInt(kMap0 + 51 + 2400, 4), setInt(kMap3 + 51 + 600, 0),  // other numbers of characters
      setInt(0, 8), setInt(0, -1),                              // no such map
      setInt(kNpc2 + kPictureField, 15), setInt(kNpc2 + kPictureField, -1),
      setByte(kMap3 + 40, 10), setByte(kMap3 + 40, char(0xFF)),  // ground tiles
      [](std::string& b) { std::memset(b.data() + 44 + kNameField, 'N', 32); },  // names and goods
      [](std::string& b) { std::memset(b.data() + kNpc2 + kGoodsField, ' ', 20); },  // without an end
      [](std::string& b) { b.assign(b.size(), char(0xFF)); }, [](std::string& b) { b = "no game\n"; },
  };
  for (int cut : {0, 1, 43, 44, 187, 188, 228, 1188, int(kMap3), int(good.size() - 144), int(good.size() - 1)})
    damages.push_back([cut](std::string& b) { b.resize(size_t(cut)); });
  for (size_t k = 0; k < damages.size(); ++k) {
    std::string bytes = good;
    damages[k](bytes);
    WriteSlot(1, bytes);
    EXPECT_EQ(LoadGame(1), 0) << "damage " << k;
    ASSERT_EQ(Snapshot(), before) << "damage " << k;
  }
  EXPECT_EQ(LoadGame(2), 0);  // never written
  std::filesystem::create_directories(SlotFile(3));  // a folder where the file should be
  EXPECT_EQ(LoadGame(3), 0);
  EXPECT_EQ(LoadGame(5) + SaveGame(-1), 0);
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(SaveFileTest, ASaveThatFailsAtAnyStepKeepsTheSlotsGame) {
  ASSERT_EQ(SaveGame(2), 1);
  const std::string old = ReadSlot(2);
  PlaySomeWay();
  int step = 1;
  for (; step < 50; ++step) {
    platform::FailReplaceStepForTests(step);
    if (SaveGame(2) == 1) break;
    ASSERT_EQ(ReadSlot(2), old) << "failed at step " << step;
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(saves_), {}), 1) << "left behind";
  }
  // The folder, the new file, two writes of the 8092 bytes, flushing, closing, renaming.
  EXPECT_EQ(step, 8);
  platform::FailReplaceStepForTests(0);
  EXPECT_EQ(LoadGame(2), 1);
  EXPECT_EQ(hero.nMoney, 1234);
  BlockSaveFolder();
  EXPECT_EQ(SaveGame(0), 0);
}

// A game killed during a save leaves its hidden new file behind; the next save of that slot
// removes such leftovers, and nothing else: not a look-alike, not another slot's, not one
// another game may still be writing. A slot that is a link stays a link to its file.
TEST_F(SaveFileTest, SavingClearsTheSlotsLeftoversAndWritesThroughALink) {
  namespace fs = std::filesystem;
  const struct {
    const char* name;
    bool old, kept;
  } files[] = {
      {".3.sav.Ab12Cd", true, false}, {".3.sav.Xy34Zw", false, true}, {".3.sav.abc", true, true},
      {".3.sav.Ab12Cd.bak", true, true}, {".1.sav.Qw12Er", true, true}, {"3.sav.Ab12Cd", true, true},
      {".3.sav.Ab-2Cd", true, true},
  };
  fs::create_directories(saves_);
  for (const auto& file : files) {
    std::ofstream(saves_ / file.name) << "left";
    if (file.old) fs::last_write_time(saves_ / file.name, fs::file_time_type::clock::now() - std::chrono::hours(1));
  }
  fs::create_directories(saves_ / ".3.sav.Dir123");
  ASSERT_EQ(SaveGame(2), 1);
  for (const auto& file : files) EXPECT_EQ(fs::exists(saves_ / file.name), file.kept) << file.name;
  EXPECT_TRUE(fs::is_directory(saves_ / ".3.sav.Dir123"));

  fs::create_directories(saves_ / "elsewhere");
  fs::create_symlink("elsewhere/real.sav", SlotFile(3));
  ASSERT_EQ(SaveGame(3), 1);
  EXPECT_TRUE(fs::is_symlink(SlotFile(3)));
  EXPECT_EQ(ReadSlot(3), ReadSlot(2));
  EXPECT_EQ(LoadGame(3), 1);
}

}  // namespace
}  // namespace saves_test
