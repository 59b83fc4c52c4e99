// Saved games (the byte layout, restoring, files that must not be trusted, saves that fail
// half-way) and the menus around them: the slot menus, the in-game menu and the About page.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "core/game_state.h"
#include "core/open_screen.h"
#include "goods/about.h"
#include "goods/game_menu.h"
#include "platform/system.h"
#include "saves/save_game.h"
#include "saves/save_menus.h"
#include "small_world_fixture.h"

namespace {

namespace fs = std::filesystem;
using namespace world_test;
using platform::VK_DOWN;
using platform::VK_ESCAPE;
using platform::VK_RETURN;
using platform::VK_UP;

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
constexpr size_t kPictureField = 4, kNameField = 24, kGoodsField = 116, kSurfaceField = 140;

// A small world whose saves go to a scratch folder: map 0 is 40 × 30 cells with five
// characters, map 3 holds one, the others are 20 × 15. Each "state" step of a script notes the
// open screen and what look_ finds on it.
class SaveTest : public WorldTest {
 protected:
  void SetUp() override {
    WorldTest::SetUp();
    saves_ = fs::path(dataDirectory_) / "slots";
    platform::SetSaveDirectory(saves_.string());
    MakeMap(0, 40, 30);
    for (int k = 0; k < 5; ++k) AddNpc(0, MakeNpc(k, 100 + 64 * k, 200));
    AddNpc(3, MakeNpc(9, 300, 300, "Enemy"));
    platform::SetStateDumper([this] {
      seen_ += OpenScreen() + (":" + std::to_string(look_())) + " ";
      return std::string("{}");
    });
  }
  void TearDown() override {
    platform::SetStateDumper(nullptr);
    platform::FailReplaceStepForTests(0);
    platform::SetSaveDirectory("");
    WorldTest::TearDown();
  }
  fs::path SlotFile(int slot) const { return saves_ / (std::to_string(slot + 1) + ".sav"); }
  std::string ReadSlot(int slot) const {
    std::stringstream bytes;
    bytes << std::ifstream(SlotFile(slot), std::ios::binary).rdbuf();
    return bytes.str();
  }
  void WriteSlot(int slot, const std::string& bytes) const {
    fs::create_directories(saves_);
    std::ofstream(SlotFile(slot), std::ios::binary | std::ios::trunc) << bytes;
  }
  // A file stands where the save folder should be made.
  void BlockSaveFolder() {
    WriteSlot(0, "x");
    platform::SetSaveDirectory(SlotFile(0).string() + "/save");
  }
  // The whole game state as a saved game's bytes (written through the spare slot 5).
  std::string Snapshot() {
    EXPECT_EQ(SaveGame(4), 1);
    return ReadSlot(4);
  }
  // A game some way into play: a chest opened, a character beaten, goods bought, another map.
  static void PlaySomeWay() {
    SetTileAt(mapTable[0], 3, 2, 0xA12E);
    mapTable[0].lpNpcs[2].bActive = 0;
    hero.szGoods[0] = '3';
    hero.nMoney = 1234;
    hero.nX = hero.nLastX = 400;
    nMap = 1;
    nScrollY = nLastScrollY = -8;
    nStoryStage = 1;
  }
  static void PlayOtherwise() {
    SetTileAt(mapTable[0], 3, 2, 0xF001);
    mapTable[0].lpNpcs[2].bActive = 1;
    hero.nMoney = 5;
    nMap = 2;
  }
  // The slot menu's entry on the yellow highlight, whose left edge must be at x.
  int SlotHighlight(int x) const {
    for (int k = 0; k < 6; ++k) {
      const int y = 310 + 24 * k;
      if (ScreenCount(x, y, 60, 20, kYellowIndex) > 200 && ScreenCount(x - 3, y, 3, 20, kYellowIndex) == 0) return k;
    }
    return -1;
  }
  // The in-game menu's entry on the dark blue bar: the one row not standing on black.
  int GameMenuHighlight() const {
    int best = -1, fewest = 1 << 30;
    for (int i = 0; i < 7; ++i) {
      const int black = ScreenCount(34, 300 + 24 * i, 80, 20, 0);
      if (black < fewest) best = i, fewest = black;
    }
    return best;
  }

  fs::path saves_;
  std::function<int()> look_ = [this] { return GameMenuHighlight(); };
  std::string seen_;  // "screen:entry " at each look
};

TEST_F(SaveTest, ANewGameIsWrittenInTheByteLayout) {
  SetTileAt(mapTable[0], 3, 2, 0xF005);
  mapTable[2].nGroundTile = 3;
  for (int k = 0; k < 7; ++k) mapTable[2].abReserved[k] = uint8_t(k + 1);
  ASSERT_EQ(SaveGame(2), 1);
  const std::string bytes = ReadSlot(2);
  ASSERT_EQ(bytes.size(), 188 + 3175 + 7 * kSmallBlock + 144);
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

TEST_F(SaveTest, LoadingRestoresTheSavedGameExactly) {
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

TEST_F(SaveTest, AnythingButAWholeMatchingGameLeavesTheGameAsItWas) {
  PlaySomeWay();
  const std::string good = Snapshot();
  PlayOtherwise();
  const std::string before = Snapshot();
  using Damage = std::function<void(std::string&)>;
  auto setInt = [](size_t at, int32_t value) { return Damage([=](std::string& b) { SetIntAt(b, at, value); }); };
  auto setByte = [](size_t at, char value) { return Damage([=](std::string& b) { b[at] = value; }); };
  std::vector<Damage> damages = {
      [](std::string& b) { b += '\0'; }, [](std::string& b) { b += std::string(144, '\0'); },
      setInt(kMap3 + 32, 21), setInt(kMap0 + 36, 29),             // another width, height
      setInt(kMap0 + 51 + 2400, 4), setInt(kMap3 + 51 + 600, 0),  // other numbers of characters
      setInt(0, 8), setInt(0, -1),                                // no such map
      setInt(kNpc2 + kPictureField, 15), setInt(kNpc2 + kPictureField, -1),
      setByte(kMap3 + 40, 10), setByte(kMap3 + 40, char(0xFF)),  // ground tiles
      [](std::string& b) { std::memset(b.data() + 44 + kNameField, 'N', 32); },      // names and goods
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
  EXPECT_EQ(LoadGame(2), 0);               // never written
  fs::create_directories(SlotFile(3));     // a folder where the file should be
  EXPECT_EQ(LoadGame(3), 0);
  EXPECT_EQ(LoadGame(5) + SaveGame(-1), 0);
  EXPECT_EQ(Snapshot(), before);
}

TEST_F(SaveTest, ASaveThatFailsAtAnyStepKeepsTheSlotsGame) {
  ASSERT_EQ(SaveGame(2), 1);
  const std::string old = ReadSlot(2);
  PlaySomeWay();
  int step = 1;
  for (; step < 50; ++step) {
    platform::FailReplaceStepForTests(step);
    if (SaveGame(2) == 1) break;
    ASSERT_EQ(ReadSlot(2), old) << "failed at step " << step;
    EXPECT_EQ(std::distance(fs::directory_iterator(saves_), {}), 1) << "left behind";
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
TEST_F(SaveTest, SavingClearsTheSlotsLeftoversAndWritesThroughALink) {
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

TEST_F(SaveTest, SlotMenusWrapAroundCancelAndPassEmptySlots) {
  for (const bool saving : {false, true}) {
    const int x = saving ? 50 : 45;  // the save menu stands 5 pixels further right
    look_ = [this, x] { return SlotHighlight(x); };
    seen_.clear();
    // In the load menu ENTER on an empty slot does nothing.
    UseScript({Wait(100), Tap(saving ? VK_DOWN : VK_RETURN), State("s"), Tap(VK_UP), Tap(VK_UP), State("s"),
               Tap(VK_DOWN), State("s"), Tap(VK_ESCAPE)});
    EXPECT_EQ(saving ? RunSaveMenu() : RunLoadMenu(), 0);
    EXPECT_EQ(seen_, saving ? "save:1 save:5 save:0 " : "load:0 load:4 load:5 ");
    UseScript({Tap(VK_UP), Tap(VK_RETURN)});  // "cancel"
    EXPECT_EQ(saving ? RunSaveMenu() : RunLoadMenu(), 0);
  }
  EXPECT_FALSE(fs::exists(saves_));
}

TEST_F(SaveTest, AFailedSaveSaysSoAndIsNotFadedLikeADoneOne) {
  BlockSaveFolder();
  look_ = [this] { return ScreenCount(160, 310, 140, 20, kYellowIndex) > 0 ? 1 : 0; };  // the message
  // A pause after each ENTER that opens a screen, as a player's next press comes later.
  const std::vector<platform::headless::Step> save = {Tap(VK_DOWN), Tap(VK_DOWN), Tap(VK_DOWN), Tap(VK_RETURN),
                                                      Wait(100), Tap(VK_RETURN), State("s"), Tap(VK_ESCAPE)};
  UseScript(save);
  UseScript({Tap(VK_ESCAPE)});
  const int paletteLoads = platform::headless::GetLog().paletteLoads;
  RunGameMenu();
  EXPECT_EQ(seen_, "save:1 ");
  EXPECT_EQ(platform::headless::GetLog().paletteLoads, paletteLoads);
  platform::SetSaveDirectory(saves_.string());
  look_ = [this] { return GameMenuHighlight(); };
  UseScript(save);
  RunGameMenu();
  EXPECT_EQ(seen_, "save:1 menu:3 ");
  EXPECT_GT(platform::headless::GetLog().paletteLoads, paletteLoads);  // a done save fades out and in
  EXPECT_TRUE(fs::exists(SlotFile(0)));
}

TEST_F(SaveTest, TheGameMenuWrapsIgnoresAHeldEnterAndKeepsStatusAndAboutOnScreen) {
  platform::headless::PressKey(VK_RETURN);
  UseScript({Wait(300), Release(VK_RETURN), Wait(100), State("s"), Tap(VK_UP), State("s"), Tap(VK_DOWN),
             State("s"), Tap(VK_ESCAPE)});
  RunGameMenu();
  EXPECT_EQ(seen_, "menu:0 menu:6 menu:0 ");
  EXPECT_STREQ(OpenScreen(), "world");
  seen_.clear();
  WriteFile("text\\gp.txt", "About");
  look_ = [this] { return std::string(OpenScreen()) == "menu" ? GameMenuHighlight() : 0; };
  // ENTER after the status panel goes straight back to the game; UP from there selects quitting.
  UseScript({Wait(100), Tap(VK_RETURN), Wait(100), State("s"), Tap(VK_RETURN)});
  RunGameMenu();
  UseScript({Wait(100), Tap(VK_RETURN), Wait(100), Tap(VK_UP), State("s"), Tap(VK_ESCAPE)});
  RunGameMenu();
  // The About page, its scrolling, and the page left standing over the menu.
  UseScript({Tap(VK_UP), Tap(VK_UP), Tap(VK_UP), Tap(VK_RETURN), Wait(100), State("s"), Tap(VK_RETURN),
             Wait(500), Tap(VK_RETURN), Wait(100), State("s"), Tap(VK_RETURN)});
  RunGameMenu();
  EXPECT_EQ(seen_, "status:0 menu:5 about:0 about:0 ");
  EXPECT_STREQ(OpenScreen(), "world");
}

TEST_F(SaveTest, TheAboutTextClimbsAPixelEvery50MsFrom90To1311AboveZero) {
  // Row 5 carries a mark in its first cell, row 80 in its eleventh.
  std::string text(36 * 81, ' ');
  text[36 * 5] = '#';
  text[36 * 80 + 10] = '#';
  WriteFile("text\\gp.txt", text);
  auto markTop = [this](int left) {
    for (int y = 110; y < 370; ++y)
      if (ScreenCount(left, y, 10, 1, kWhiteIndex) > 0) return y;
    return -1;
  };
  std::vector<int> row5, row80;  // the marks' tops at each look, -1 when not shown
  look_ = [&] {
    row5.push_back(markTop(140));
    row80.push_back(markTop(240));
    return 0;
  };
  platform::headless::PressKey(VK_RETURN);  // held from the menu: the page still waits
  UseScript({Wait(200), Release(VK_RETURN), Wait(200), Tap(VK_RETURN), State("s"), Wait(1000), State("s"),
             Wait(75000), State("s"), Wait(5000), State("s"), Tap(VK_RETURN)});
  ShowAbout();
  ASSERT_EQ(row5.size(), 4u);
  ASSERT_GT(row5[0], 0);
  EXPECT_NEAR(row5[1], row5[0] - 20, 1);  // 1000 ms later
  EXPECT_EQ(row5[2], row5[3]);            // stopped for good
  EXPECT_EQ(row80[2], row80[3]);
  // From y 90 to -1311 the text climbs 1401 pixels: row 80 then stands 1500 - 1401 pixels below
  // where row 5 stood at the start.
  EXPECT_NEAR(row80[2] - row5[0], 1500 - 1401, 1);
}

}  // namespace
