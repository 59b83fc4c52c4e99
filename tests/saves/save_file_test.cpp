// Saved games: the byte layout, restoring a game, and files that must not be trusted.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/game_state.h"
#include "app/save_game.h"
#include "platform/system.h"
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
constexpr size_t kFileBytes = 188 + kMap0Block + 6 * kSmallBlock + (kSmallBlock + 144);
constexpr size_t kMap3 = kMap0 + kMap0Block + 2 * kSmallBlock;
// Offsets in a record.
constexpr size_t kPictureField = 4, kNameField = 24, kGoodsField = 116, kSurfaceField = 140;

// A game some way into play: a chest opened, a character beaten, goods bought, another map.
void PlaySomeWay() {
  SetTileAt(mapTable[0], 3, 2, 0xA12E);
  mapTable[0].lpNpcs[2].bActive = 0;
  mapTable[0].lpNpcs[4].nX = 333;
  hero.szGoods[0] = '3';
  hero.nMoney = 1234;
  hero.nExp = 77;
  hero.nX = hero.nLastX = 400;
  nMap = 1;
  nViewCol = nLastViewCol = 6;
  nScrollY = nLastScrollY = -8;
  nStoryStage = 1;
}

// A different game, to see that a refused load changes nothing.
void PlayOtherwise() {
  SetTileAt(mapTable[0], 3, 2, 0xF001);
  mapTable[0].lpNpcs[2].bActive = 1;
  hero.nMoney = 5;
  nMap = 2;
  nStoryFlag = 1;
}

using SaveFileTest = SaveTest;

TEST_F(SaveFileTest, ANewGameIsWrittenInTheByteLayout) {
  SetTileAt(mapTable[0], 3, 2, 0xF005);
  mapTable[2].nGroundTile = 3;
  for (int k = 0; k < 7; ++k) mapTable[2].abReserved[k] = uint8_t(k + 1);
  ASSERT_EQ(SaveGame(2), 1);
  const std::string bytes = ReadSlot(2);
  ASSERT_EQ(bytes.size(), kFileBytes);
  EXPECT_EQ(kMap0Block, 3175u);

  EXPECT_EQ(bytes.substr(0, 44), std::string(44, '\0'));
  EXPECT_EQ(std::memcmp(bytes.data() + 44, &hero, 144), 0);
  EXPECT_EQ(IntAt(bytes, 44), 999);
  EXPECT_EQ(bytes.substr(44 + kNameField, 7), std::string("小飞刀") + '\0');
  EXPECT_EQ(bytes.substr(44 + kGoodsField, 17), std::string(16, ' ') + '\0');
  EXPECT_EQ(IntAt(bytes, 44 + 136), 50);  // money

  size_t at = kMap0;
  for (int m = 0; m < kMapCount; ++m) {
    SCOPED_TRACE(m);
    const MapInfo& map = mapTable[m];
    EXPECT_EQ(IntAt(bytes, at + 32), map.nWidth);
    EXPECT_EQ(IntAt(bytes, at + 36), map.nHeight);
    EXPECT_EQ(bytes[at + 40], char(map.nGroundTile));
    // The first three reserved bytes stand twice: after the ground tile and in the seven.
    EXPECT_EQ(std::memcmp(bytes.data() + at + 41, map.abReserved, 3), 0);
    EXPECT_EQ(std::memcmp(bytes.data() + at + 44, map.abReserved, 7), 0);
    const size_t grid = at + 51;
    const size_t cells = size_t(map.nWidth * map.nHeight);
    EXPECT_EQ(IntAt(bytes, grid + 2 * cells), map.nNpcCount);
    for (int k = 0; k < map.nNpcCount; ++k)
      EXPECT_EQ(IntAt(bytes, grid + 2 * cells + 4 + 144 * size_t(k) + kPictureField), map.lpNpcs[size_t(k)].nPicture);
    at += 55 + 2 * cells + 144 * size_t(map.nNpcCount);
  }
  EXPECT_EQ(at, bytes.size());
  EXPECT_EQ(uint8_t(bytes[kMap0 + 51 + 2 * (2 * 40 + 3) + 1]), 0xF0);  // column 3, row 2
  const size_t map2 = kMap0 + kMap0Block + kSmallBlock;
  EXPECT_EQ(bytes.substr(map2 + 40, 11), std::string("\x03\x01\x02\x03\x01\x02\x03\x04\x05\x06\x07"));
}

TEST_F(SaveFileTest, LoadingRestoresTheSavedGameExactly) {
  ASSERT_EQ(SaveGame(0), 1);
  PlaySomeWay();
  ASSERT_EQ(SaveGame(0), 1);  // a second save replaces the first whole
  const std::string saved = ReadSlot(0);

  PlayOtherwise();
  hero.lpSurface = 77;
  for (NpcRecord& npc : mapTable[0].lpNpcs) npc.lpSurface = kNoSheet;
  ASSERT_EQ(LoadGame(0), 1);
  EXPECT_EQ(TileAt(mapTable[0], 3, 2), 0xA12E);
  EXPECT_EQ(mapTable[0].lpNpcs[2].bActive, 0);
  EXPECT_EQ(hero.nMoney, 1234);
  EXPECT_EQ(hero.szGoods[0], '3');
  EXPECT_EQ(nMap, 1);
  EXPECT_EQ(nStoryFlag, 0);
  // Each record's sheet is set again from its picture.
  EXPECT_EQ(hero.lpSurface, kHeroSheet);
  EXPECT_EQ(mapTable[0].lpNpcs[3].lpSurface, NpcSheetHandle(3));
  EXPECT_EQ(Snapshot(), saved);
}

TEST_F(SaveFileTest, AFileOfAnotherBuildLoadsByItsLayoutAlone) {
  PlaySomeWay();
  std::string bytes = Snapshot();
  // Another build wrote other values where the sheets are and into the first reserved copy.
  SetIntAt(bytes, 44 + kSurfaceField, int32_t(0xDEADBEEF));
  SetIntAt(bytes, kMap3 + 51 + 2 * 300 + 4 + kSurfaceField, 0x12345678);
  bytes[kMap0 + 41] = 'x';
  PlayOtherwise();
  WriteSlot(1, bytes);
  ASSERT_EQ(LoadGame(1), 1);
  EXPECT_EQ(hero.lpSurface, kHeroSheet);
  EXPECT_EQ(mapTable[3].lpNpcs[0].lpSurface, NpcSheetHandle(9));
  EXPECT_EQ(mapTable[0].abReserved[0], 0);  // the second copy is the one that counts
  EXPECT_EQ(hero.nMoney, 1234);
}

TEST_F(SaveFileTest, AnythingButAWholeMatchingGameLeavesTheGameAsItWas) {
  PlaySomeWay();
  const std::string good = Snapshot();
  PlayOtherwise();
  const std::string before = Snapshot();

  struct Damage {
    const char* what;
    std::function<void(std::string&)> apply;
  };
  const size_t npc2 = kMap0 + 51 + 2 * 1200 + 4 + 144 * 2;
  std::vector<Damage> damages = {
      {"longer", [](std::string& b) { b += '\0'; }},
      {"a record longer", [](std::string& b) { b += std::string(144, '\0'); }},
      {"map 3 wider", [](std::string& b) { SetIntAt(b, kMap3 + 32, 21); }},
      {"map 0 lower", [](std::string& b) { SetIntAt(b, kMap0 + 36, 29); }},
      {"map 0 one character less", [](std::string& b) { SetIntAt(b, kMap0 + 51 + 2400, 4); }},
      {"map 3 no characters", [](std::string& b) { SetIntAt(b, kMap3 + 51 + 600, 0); }},
      {"map 8", [](std::string& b) { SetIntAt(b, 0, 8); }},
      {"map -1", [](std::string& b) { SetIntAt(b, 0, -1); }},
      {"sheet 15", [&](std::string& b) { SetIntAt(b, npc2 + kPictureField, 15); }},
      {"sheet -1", [&](std::string& b) { SetIntAt(b, npc2 + kPictureField, -1); }},
      {"ground tile 10", [](std::string& b) { b[kMap3 + 40] = 10; }},
      {"ground tile -1", [](std::string& b) { b[kMap3 + 40] = char(0xFF); }},
      {"hero's name unended", [](std::string& b) { std::memset(b.data() + 44 + kNameField, 'N', 32); }},
      {"goods unended", [&](std::string& b) { std::memset(b.data() + npc2 + kGoodsField, ' ', 20); }},
      {"all 0xFF", [](std::string& b) { b.assign(b.size(), char(0xFF)); }},
      {"text", [](std::string& b) { b = "not a saved game\n"; }},
  };
  for (size_t cut : {size_t(0), size_t(1), size_t(43), size_t(44), size_t(187), size_t(188), kMap0 + 40,
                     kMap0 + 1000, kMap3, good.size() - 144, good.size() - 1}) {
    damages.push_back({"cut", [cut](std::string& b) { b.resize(cut); }});
  }
  for (const Damage& damage : damages) {
    SCOPED_TRACE(damage.what);
    std::string bytes = good;
    damage.apply(bytes);
    WriteSlot(1, bytes);
    EXPECT_EQ(LoadGame(1), 0);
    ASSERT_EQ(Snapshot(), before);
  }

  EXPECT_EQ(LoadGame(2), 0);  // never written
  std::filesystem::create_directories(SlotFile(3));  // a folder where the file should be
  EXPECT_EQ(LoadGame(3), 0);
  EXPECT_EQ(LoadGame(5), 0);
  EXPECT_EQ(SaveGame(-1), 0);
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
    // Nothing is left behind but the slot itself.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(saves_), {}), 1) << step;
  }
  // The folder, the new file, two writes of the 8092 bytes, flushing, closing, renaming.
  EXPECT_EQ(step, 8);
  platform::FailReplaceStepForTests(0);
  EXPECT_EQ(LoadGame(2), 1);
  EXPECT_EQ(hero.nMoney, 1234);

  // A folder that cannot be made (a file stands in the way).
  WriteSlot(0, "x");
  platform::SetSaveDirectory(SlotFile(0).string() + "/save");
  EXPECT_EQ(SaveGame(0), 0);
}

}  // namespace
}  // namespace saves_test
