// The soak: the whole program on the real data set, driven by random keys for half an hour of
// game time on the headless backend, from a new game and from saved games. Between every two
// frames of the world it checks that the hero stands inside the view and off solid cells, that
// no map changed its size or its number of characters, and that money and life are within what
// play can give; every save is loaded back and must give back exactly what was saved, and no
// screen may keep the world waiting without end. Deaths and the ending lead back to the title,
// where the soak starts a new game or loads one of its saves and plays on.
//
// TAMSEL_SOAK_SEED picks another seed (the keys and the game's own dice) for a run by hand.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <initializer_list>
#include <cstring>
#include <optional>
#include <deque>
#include <filesystem>
#include <random>
#include <string>
#include <utility>

#include "app/main_loop.h"
#include "battle/battle.h"
#include "core/game_state.h"
#include "core/open_screen.h"
#include "goods/goods.h"
#include "platform/backend/backend.h"
#include "platform/system.h"
#include "saves/save_game.h"
#include "world/map_files.h"
#include "world/world_geometry.h"

namespace {

namespace fs = std::filesystem;
using namespace platform;
using headless::PressKey;
using headless::ReleaseAllKeys;
using headless::ReleaseKey;

constexpr uint32_t kSoakMilliseconds = 30 * 60 * 1000;
// The longest the game may show nothing new while keys are played: then it is stuck. A screen
// that keeps answering the keys is not, however long it stays open (a fight full of goods
// windows, the title's load menu after a death).
constexpr uint32_t kLongestStandstillMilliseconds = 3 * 60 * 1000;
// Each part of the soak has a goal it steers toward until it is met: the part from a new game a
// save (made through the menu when none came about by then, and tried again as long as none
// does), the part in the wood a fight, the part at the grocer's a trade.
enum class Goal { Save, Fight, Trade };
constexpr uint32_t kFirstSaveTry = 90 * 1000;
constexpr uint32_t kSaveRetry = 60 * 1000;
constexpr uint32_t kAskAgain = 5 * 1000;
constexpr uint32_t kReturnAgain = 30 * 1000;
constexpr uint32_t kCiSeed = 20240601;

constexpr int kSlots = 5;
constexpr int kWood = 2;
constexpr int kArena = 3;
constexpr int kGrocer = 5;
constexpr int kFirstShop = 5;  // maps 5 to 7 hold the shops, whose keepers are never fought
constexpr uint16_t kFirstSolidCode = 0xA000;
constexpr uint16_t kMoneyChest = 0xF000;  // 0xF000 + k holds goods k
constexpr int kMostInAMoneyChest = 100;
constexpr int kLifePerLevel = 30;
constexpr int kFacingDown = 0;  // rows of the hero's sheet
constexpr int kFacingUp = 3;

bool Is(const char* screen, const char* name) { return std::strcmp(screen, name) == 0; }

// One key at a time, pressed for a while and let go, then a short pause. Random keys come from
// a mix weighted toward walking, acting, confirming and leaving; planned keys are taps.
class Keys {
 public:
  // In a plan: let the screen settle (a fade end) before the next key.
  static constexpr int kPause = 0;

  explicit Keys(uint32_t seed) : random_(seed) {}

  void Plan(std::initializer_list<int> keys) { plan_.insert(plan_.end(), keys); }
  bool Idle(uint32_t now) const { return held_ == 0 && plan_.empty() && now >= nextAt_; }
  void Stop() {
    plan_.clear();
    held_ = 0;
    nextAt_ = 0;
    ReleaseAllKeys();
  }
  int Below(int n) { return int(random_() % uint32_t(n)); }

  // Random keys when asked for; long holds only while walking, where they lead somewhere.
  // While walking with a heading to steer by, most arrows take it.
  void Play(uint32_t now, bool randomly, bool walking, std::optional<int> steer = std::nullopt) {
    if (held_ != 0 && now >= releaseAt_) {
      ReleaseKey(held_);
      held_ = 0;
      nextAt_ = now + Between(30, 200);
    }
    if (held_ != 0 || now < nextAt_) return;
    if (!plan_.empty()) {
      if (plan_.front() == kPause) {
        nextAt_ = now + 600;
      } else {
        Press(now, plan_.front(), 60);
      }
      plan_.pop_front();
    } else if (randomly) {
      PressRandomKey(now, walking, steer);
    }
  }

 private:
  struct Choice {
    int key;  // 0: no key, only a pause
    int weight;
    uint32_t shortest, longest;  // how long it is held
  };
  // An arrow: while walking most often the one pressed last, so that walks lead somewhere.
  static constexpr int kArrow = -1;
  static constexpr Choice kMix[] = {
      {kArrow, 20, 40, 120},     {kArrow, 16, 300, 2500},   {VK_CONTROL, 10, 40, 100},
      {VK_RETURN, 12, 40, 100},  {VK_RETURN, 1, 500, 1500}, {VK_ESCAPE, 4, 40, 100},
      {VK_A, 2, 40, 100},        {0, 5, 100, 600},
  };

  uint32_t Between(uint32_t low, uint32_t high) { return low + random_() % (high - low + 1); }

  void Press(uint32_t now, int key, uint32_t milliseconds) {
    held_ = key;
    releaseAt_ = now + milliseconds;
    PressKey(key);
  }

  void PressRandomKey(uint32_t now, bool walking, std::optional<int> steer) {
    int total = 0;
    for (const Choice& choice : kMix) total += choice.weight;
    int pick = Below(total);
    for (const Choice& choice : kMix) {
      if ((pick -= choice.weight) >= 0) continue;
      const uint32_t longest = walking ? choice.longest : choice.shortest + 80;
      const uint32_t milliseconds = Between(choice.shortest, longest);
      if (choice.key == kArrow) {
        static constexpr int kArrows[] = {VK_UP, VK_DOWN, VK_LEFT, VK_RIGHT};
        if (!walking || Below(4) == 0) heading_ = kArrows[Below(4)];
        if (walking && steer && Below(4) != 0) heading_ = *steer;
        Press(now, heading_, milliseconds);
      } else if (choice.key != 0) {
        Press(now, choice.key, milliseconds);
      } else {
        nextAt_ = now + milliseconds;
      }
      return;
    }
  }

  std::mt19937 random_;
  std::deque<int> plan_;
  int held_ = 0;
  int heading_ = VK_DOWN;
  uint32_t releaseAt_ = 0;
  uint32_t nextAt_ = 0;
};

// ---- what a saved game holds ----------------------------------------------------------------

int32_t* const kPlace[] = {&nMap,         &nViewCol,     &nViewRow,     &nLastViewCol,
                           &nLastViewRow, &nScrollX,     &nScrollY,     &nLastScrollX,
                           &nLastScrollY, &nStoryStage,  &nStoryFlag};

struct Game {
  std::array<int32_t, std::size(kPlace)> place{};
  NpcRecord hero{};
  std::array<MapInfo, kMapCount> maps;
};

Game TakeGame() {
  Game game;
  for (size_t k = 0; k < game.place.size(); ++k) game.place[k] = *kPlace[k];
  game.hero = hero;
  std::copy(std::begin(mapTable), std::end(mapTable), game.maps.begin());
  return game;
}

void PutBack(const Game& game) {
  for (size_t k = 0; k < game.place.size(); ++k) *kPlace[k] = game.place[k];
  hero = game.hero;
  std::copy(game.maps.begin(), game.maps.end(), std::begin(mapTable));
}

void Append(std::string& bytes, const void* from, size_t size) {
  bytes.append(static_cast<const char*>(from), size);
}

// The bytes of what a save keeps: the place and story, the hero, and of every map its name,
// size, ground, reserved bytes, tiles and the characters in use.
std::string SavedPart(const Game& game) {
  std::string bytes;
  Append(bytes, game.place.data(), sizeof game.place);
  Append(bytes, &game.hero, sizeof game.hero);
  for (const MapInfo& map : game.maps) {
    Append(bytes, map.szName, sizeof map.szName);
    Append(bytes, &map.nWidth, 4);
    Append(bytes, &map.nHeight, 4);
    Append(bytes, &map.nGroundTile, 1);
    Append(bytes, map.abReserved, sizeof map.abReserved);
    Append(bytes, map.lpTiles.data(), 2 * map.lpTiles.size());
    const int count = NpcCount(map);
    Append(bytes, &count, 4);
    Append(bytes, map.lpNpcs.data(), sizeof(NpcRecord) * size_t(count));
  }
  return bytes;
}

// ---- what play can give ---------------------------------------------------------------------

// What the pawnbroker pays for the goods a slot byte names.
int64_t SalePrice(char slot) {
  const GoodsRecord* goods = GoodsOfSlot(slot);
  return goods != nullptr ? goods->nValue / 2 : 0;
}

// All the money the hero could still come by: what it holds, its goods at their sale price,
// every unopened chest (a money chest at its most), and the money and loot of every character
// still there to be fought. Opening, winning and selling only move wealth to the hero; buying,
// using and throwing away lose some. So it never grows.
int64_t Wealth() {
  int64_t wealth = hero.nMoney;
  for (int i = 0; i < kGoodsSlots; ++i) wealth += SalePrice(hero.szGoods[i]);
  for (int m = 0; m < kMapCount; ++m) {
    if (m == kArena) continue;  // it holds only the copy of an enemy being fought
    const MapInfo& map = mapTable[m];
    for (const uint16_t code : map.lpTiles) {
      if (code == kMoneyChest) wealth += kMostInAMoneyChest;
      if (code > kMoneyChest && code - kMoneyChest < kGoodsCount) {
        wealth += SalePrice(char('0' + code - kMoneyChest));
      }
    }
    if (m >= kFirstShop) continue;
    for (int i = 0; i < NpcCount(map); ++i) {
      const NpcRecord& npc = map.lpNpcs[size_t(i)];
      if (npc.bActive != 1) continue;
      wealth += npc.nMoney;
      for (int g = 0; g < kGoodsSlots; ++g) wealth += SalePrice(npc.szGoods[g]);
    }
  }
  return wealth;
}

struct MapShape {
  int32_t width, height;
  size_t cells;
  int characters;
  bool operator==(const MapShape&) const = default;
};

MapShape ShapeOf(const MapInfo& map) {
  return {map.nWidth, map.nHeight, map.lpTiles.size(), NpcCount(map)};
}

// ---- the soak -------------------------------------------------------------------------------

uint32_t SoakSeed() {
  const char* seed = std::getenv("TAMSEL_SOAK_SEED");
  return seed != nullptr && seed[0] != '\0' ? uint32_t(std::strtoul(seed, nullptr, 10)) : kCiSeed;
}

class Soak : public ::testing::Test {
 protected:
  void SetUp() override {
    saveFolder_ = fs::path(TAMSEL_BUILD_DIR) / "soak_saves";
    fs::remove_all(saveFolder_);
    SetDataDirectory(TAMSEL_DATA_DIR);
    SetSaveDirectory(saveFolder_.string());
  }
  void TearDown() override {
    headless::UseHeadlessBackend(headless::Options{});  // lets go of the observer
    SetSaveDirectory("");
  }

  // A hero of the third level past the city gate, saved in slot 1 standing at the given place
  // of a map, for the title to load.
  void SaveAt(int map, int x, int y, int direction) {
    ASSERT_EQ(LoadMaps(), 1);
    LoadNpcs();
    LoadGoods();
    InitNewGame();
    nMap = map;
    hero.nX = hero.nLastX = x;
    hero.nY = hero.nLastY = y;
    hero.nDirection = direction;
    nStoryStage = 2;
    hero.nLevel = 3;
    hero.nMaxLife = hero.nLife = 50 + 2 * kLifePerLevel;
    hero.nAttack = hero.nDefense = 12;
    ASSERT_EQ(SaveGame(0), 1);
    saved_[0] = SavedPart(TakeGame());
    latest_ = 0;
  }

  // The program from its start, on a fresh headless backend, for the given game time. Its
  // title starts a new game, or loads the latest save when there is one.
  void Play(uint32_t milliseconds, Goal goal) {
    goal_ = goal;
    headless::Options options;
    options.seed = seed_++;
    options.quitWhenScriptEnds = false;
    options.quitAfterMilliseconds = milliseconds;
    options.millisecondsPerPaletteLoad = 2;  // fades take their half second of game time
    options.observer = [this](uint32_t now, bool inLoop) { return Observe(now, inLoop); };
    headless::UseHeadlessBackend(options);
    bSoundOn = 1;
    bAppActive = 1;
    nLastFrameTick = 0;
    nMusicTicks = 0;
    screen_ = "world";
    firstTitle_ = true;
    loadFromTitle_ = fighting_ = false;
    lastFrame_ = lastProgress_ = 0;
    progressFlips_ = -1;
    fightsBefore_ = fights_;
    shopsBefore_ = shops_;
    savesBefore_ = saves_;
    nextSaveTry_ = kFirstSaveTry;
    nextAsk_ = nextReturn_ = 0;
    checkedFlips_ = -1;
    EXPECT_EQ(WinMain(), 0);
    if (HasFailure()) return;
    EXPECT_GE(headless::Now(), milliseconds) << "the game ended before the soak did";
    EXPECT_LE(headless::Now() - lastProgress_, kLongestStandstillMilliseconds);
  }

  void Report() {
    std::printf("soak seed %u: %d fights, %d shops, %d saves, %d loads, %d visits to the title, "
                "%d world steps, longest wait for the world %u ms\n",
                kSeed, fights_, shops_, saves_, loads_, titles_, steps_, longestWait_);
    // A mix that never gets this far has decayed into walking about.
    EXPECT_GT(fights_, 0);
    EXPECT_GT(shops_, 0);
    EXPECT_GT(saves_, 0);
    EXPECT_GT(loads_, 0);
  }

  bool Observe(uint32_t now, bool inMessageLoop) {
    const char* screen = OpenScreen();
    if (!Is(screen, screen_.c_str())) {
      Leave(screen_.c_str(), screen);
      screen_ = screen;
      lastProgress_ = now;
    }
    if (headless::GetLog().flips != progressFlips_) {
      progressFlips_ = headless::GetLog().flips;
      lastProgress_ = now;
    }
    const bool fighting = BattleEnemy() != nullptr;
    if (fighting && !fighting_) ++fights_;
    fighting_ = fighting;

    const bool titleMode = Is(screen, "title") || (Is(screen, "load") && loadFromTitle_);
    if (titleMode && keys_.Idle(now) && Is(screen, "load")) keys_.Plan({VK_ESCAPE});  // not loaded
    const bool walking = Is(screen, "world");
    // Until the goal is met the game menu is left at once (its entries lead off elsewhere).
    const bool leaveMenu = !GoalMet() && goal_ != Goal::Save && Is(screen, "menu");
    if (leaveMenu && keys_.Idle(now)) keys_.Plan({VK_ESCAPE});
    if (walking && goal_ == Goal::Save && !GoalMet() && now >= nextSaveTry_ && keys_.Idle(now)) {
      nextSaveTry_ = now + kSaveRetry;
      // The menu's fourth entry saves; the first slot; then back to the world.
      keys_.Plan({VK_ESCAPE, Keys::kPause, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN, Keys::kPause,
                  VK_RETURN, Keys::kPause, VK_ESCAPE});
    }
    // Walked off to where the goal is not to be met: back to the part's save through the menu's
    // sixth entry (to the title), which then loads it.
    if (walking && goal_ != Goal::Save && !GoalMet() && !Target() && now >= nextReturn_ &&
        keys_.Idle(now)) {
      nextReturn_ = now + kReturnAgain;
      keys_.Plan({VK_ESCAPE, Keys::kPause, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_DOWN, VK_RETURN});
    }
    // On a shop's map the keeper is asked now and then (the soak's grocer stands right ahead).
    if (walking && goal_ == Goal::Trade && !GoalMet() && nMap >= kFirstShop && now >= nextAsk_ &&
        keys_.Idle(now)) {
      nextAsk_ = now + kAskAgain;
      keys_.Plan({Keys::kPause, VK_CONTROL});
    }
    keys_.Play(now, !titleMode && !leaveMenu, walking, walking ? Heading() : std::nullopt);

    if (inMessageLoop) {
      longestWait_ = std::max(longestWait_, now - lastFrame_);
      lastFrame_ = now;
      if (headless::GetLog().flips != checkedFlips_) {
        checkedFlips_ = headless::GetLog().flips;
        ++steps_;
        CheckTheWorld();
      }
    }
    EXPECT_LE(now - lastProgress_, kLongestStandstillMilliseconds)
        << "the game shows nothing new on screen " << screen;
    return !HasFailure();
  }

  bool GoalMet() const {
    switch (goal_) {
      case Goal::Save: return saves_ > savesBefore_;
      case Goal::Fight: return fights_ > fightsBefore_;
      case Goal::Trade: return shops_ > shopsBefore_;
    }
    return true;
  }

  // Where the part's goal is from the hero, on this map: the nearest hostile character for a
  // fight, on a shop's map its keeper for a trade.
  std::optional<std::pair<int64_t, int64_t>> Target() const {
    const bool fight = goal_ == Goal::Fight && !GoalMet();
    const bool shop = goal_ == Goal::Trade && !GoalMet() && nMap >= kFirstShop;
    if ((!fight && !shop) || nMap < 0 || nMap >= kMapCount) return std::nullopt;
    const MapInfo& map = mapTable[nMap];
    std::optional<std::pair<int64_t, int64_t>> nearest;
    for (int i = 0; i < NpcCount(map); ++i) {
      const NpcRecord& npc = map.lpNpcs[size_t(i)];
      if (npc.bActive != 1 || !(shop || npc.bHostile == 1)) continue;
      const int64_t dx = npc.nX - HeroMapX(), dy = npc.nY - HeroMapY();
      if (!nearest || std::abs(dx) + std::abs(dy) < std::abs(nearest->first) + std::abs(nearest->second)) {
        nearest.emplace(dx, dy);
      }
    }
    return nearest;
  }

  // An arrow toward the target. Across and along are taken in proportion to the distance, so
  // that walls are walked around in time.
  std::optional<int> Heading() {
    const auto target = Target();
    if (!target) return std::nullopt;
    const auto [dx, dy] = *target;
    const int64_t across = std::abs(dx), along = std::abs(dy);
    if (across + along == 0) return std::nullopt;
    if (keys_.Below(int(std::min<int64_t>(across + along, 1 << 20))) < std::min<int64_t>(across, 1 << 20)) {
      return dx > 0 ? VK_RIGHT : VK_LEFT;
    }
    return dy > 0 ? VK_DOWN : VK_UP;
  }

  // What happens as one screen gives way to another.
  void Leave(const char* from, const char* to) {
    if (Is(from, "save")) CheckNewSaves();
    if (Is(from, "load") && SavedPart(TakeGame()) != before_) CheckLoad();
    if (Is(to, "title")) Title(Is(from, "load"));
    if (Is(to, "save")) {
      saving_ = TakeGame();
      for (int slot = 0; slot < kSlots; ++slot) savedAt_[slot] = WriteTime(slot);
    }
    if (Is(to, "load")) {
      before_ = SavedPart(TakeGame());
      loadFromTitle_ = Is(from, "title");
    }
    if (Is(to, "shop")) ++shops_;
  }

  // On the title the soak chooses a new game or one of its saves; it never quits.
  void Title(bool backFromLoading) {
    if (backFromLoading) {  // the slot held nothing: a new game, one up from "load"
      keys_.Plan({VK_UP, VK_RETURN});
      return;
    }
    ++titles_;
    keys_.Stop();
    const bool startOfRun = std::exchange(firstTitle_, false);
    if (startOfRun) {
      // The world as a new game has it: its maps' shapes and all the wealth play can give.
      for (int m = 0; m < kMapCount; ++m) shapes_[m] = ShapeOf(mapTable[m]);
      mostWealth_ = Wealth();
      lifeAboveLevels_ = hero.nMaxLife - kLifePerLevel * hero.nLevel;
    } else {
      for (int slot = 0; slot < kSlots; ++slot) ExpectLoadsBack(slot);  // with the maps read afresh
    }
    // Mostly the latest save, so that play gets further than the first rooms.
    const bool load = latest_ >= 0 && (startOfRun || !GoalMet() || keys_.Below(4) != 0);
    if (!load) {
      keys_.Plan({Keys::kPause, VK_RETURN});
      return;
    }
    keys_.Plan({Keys::kPause, VK_DOWN, VK_RETURN, Keys::kPause});
    for (int k = 0; k < latest_; ++k) keys_.Plan({VK_DOWN});
    keys_.Plan({VK_RETURN});
  }

  fs::file_time_type WriteTime(int slot) const {
    std::error_code error;
    return fs::last_write_time(saveFolder_ / (std::to_string(slot + 1) + ".sav"), error);
  }

  void CheckNewSaves() {
    for (int slot = 0; slot < kSlots; ++slot) {
      if (WriteTime(slot) == savedAt_[slot]) continue;
      ++saves_;
      latest_ = slot;
      saved_[slot] = SavedPart(saving_);
      ExpectLoadsBack(slot);
    }
  }

  // The slot loads and gives back exactly what was saved in it; the game is then put back.
  void ExpectLoadsBack(int slot) {
    if (saved_[slot].empty()) return;
    const Game now = TakeGame();
    const bool loaded = LoadGame(slot) == 1;
    const bool same = SavedPart(TakeGame()) == saved_[slot];
    PutBack(now);
    EXPECT_TRUE(loaded) << "the game saved in slot " << slot + 1 << " no longer loads";
    EXPECT_TRUE(!loaded || same) << "slot " << slot + 1 << " loads another game than was saved";
  }

  // A load gave the game that one of the slots holds.
  void CheckLoad() {
    ++loads_;
    const std::string now = SavedPart(TakeGame());
    EXPECT_TRUE(std::find(saved_.begin(), saved_.end(), now) != saved_.end())
        << "a load gave a game no slot holds";
  }

  // Between two frames: the hero where it can stand, the maps whole, the figures in bounds.
  void CheckTheWorld() {
    ASSERT_TRUE(Is(OpenScreen(), "world")) << OpenScreen();
    ASSERT_TRUE(nMap >= 0 && nMap < kMapCount && nMap != kArena) << "map " << nMap;
    const MapInfo& map = mapTable[nMap];
    // The view shows 640 × 480 pixels of the map and never looks past its edges.
    const int64_t left = int64_t(nViewCol) * kCellSize - nScrollX;
    const int64_t top = int64_t(nViewRow) * kCellSize - nScrollY;
    EXPECT_TRUE(left >= 0 && left + 640 <= int64_t(map.nWidth) * kCellSize &&
                top >= 0 && top + 480 <= int64_t(map.nHeight) * kCellSize)
        << "view " << nViewCol << "," << nViewRow << " scrolled " << nScrollX << "," << nScrollY
        << " on map " << nMap;
    // The hero's frame is on the screen; its head may rise 16 pixels above the top.
    EXPECT_TRUE(hero.nX >= 0 && hero.nX + hero.nFrameWidth <= 640 &&
                hero.nY - hero.nFrameHeight >= -16 && hero.nY <= 480)
        << "hero at " << hero.nX << "," << hero.nY << " on map " << nMap;
    // The middle of the cell under its feet is free ground.
    for (const int dx : {12, 20}) {
      for (const int dy : {12, 20}) {
        const int64_t x = left + hero.nX + dx;
        const int64_t y = top + hero.nY - dy;
        EXPECT_LT(TileAt(map, int(x / kCellSize), int(y / kCellSize)), kFirstSolidCode)
            << "hero in a solid cell at " << x << "," << y << " of map " << nMap;
      }
    }
    for (int m = 0; m < kMapCount; ++m) {
      EXPECT_TRUE(ShapeOf(mapTable[m]) == shapes_[m]) << "map " << m << " changed its shape";
    }
    EXPECT_GE(hero.nMoney, 0);
    EXPECT_LE(Wealth(), mostWealth_) << "money " << hero.nMoney << " from nowhere";
    EXPECT_TRUE(hero.nLife > 0 && hero.nLife <= hero.nMaxLife)
        << "life " << hero.nLife << " of " << hero.nMaxLife;
    // Only levels raise the most life the hero can have.
    EXPECT_EQ(hero.nMaxLife - kLifePerLevel * hero.nLevel, lifeAboveLevels_);
  }

  const uint32_t kSeed = SoakSeed();
  uint32_t seed_ = kSeed;  // the game's dice, one seed for each run
  fs::path saveFolder_;
  Keys keys_{kSeed};
  std::string screen_ = "world";
  bool fighting_ = false;
  bool firstTitle_ = true;
  bool loadFromTitle_ = false;
  uint32_t lastFrame_ = 0;
  uint32_t lastProgress_ = 0;  // when the game last showed something new
  int progressFlips_ = -1;
  uint32_t longestWait_ = 0;
  Goal goal_ = Goal::Save;
  int fightsBefore_ = 0, shopsBefore_ = 0, savesBefore_ = 0;  // at the start of this part
  uint32_t nextSaveTry_ = kFirstSaveTry;
  uint32_t nextAsk_ = 0, nextReturn_ = 0;
  int checkedFlips_ = -1;

  std::array<MapShape, kMapCount> shapes_{};
  int64_t mostWealth_ = 0;
  int32_t lifeAboveLevels_ = 0;

  std::array<std::string, kSlots> saved_;  // what each slot was last saved with
  int latest_ = -1;                        // the slot saved last
  std::array<fs::file_time_type, kSlots> savedAt_{};
  Game saving_;
  std::string before_;

  int fights_ = 0, shops_ = 0, saves_ = 0, loads_ = 0, titles_ = 0, steps_ = 0;
};

// A third of it from a new game, a third from a game saved in the wood, where the fights are,
// and a third from one saved in front of the grocer's counter.
TEST_F(Soak, HalfAnHourOfRandomKeys) {
  constexpr uint32_t kThird = kSoakMilliseconds / 3;
  Play(kThird, Goal::Save);
  if (HasFailure()) return;
  SaveAt(kWood, 288, 256, kFacingDown);
  Play(kThird, Goal::Fight);
  if (HasFailure()) return;
  SaveAt(kGrocer, 288, 288, kFacingUp);
  Play(kThird, Goal::Trade);
  Report();
}

}  // namespace
