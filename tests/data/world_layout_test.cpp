// The maps and characters of the generated data set: sizes, doors, story gates, the battle
// clearing and whether every door, chest and person can be reached.
#include <gtest/gtest.h>

#include <cstdlib>
#include <map>
#include <queue>
#include <set>

#include "world_fixture.h"

namespace datacheck {
namespace {

constexpr int kStep = 8;  // the hero's speed

class WorldLayout : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(world.complete) << "maps missing in " << DataDir(); }
  const World& world = TheWorld();
};

TEST_F(WorldLayout, MapsAreBigEnoughForTheirViewsAndHoldOnlyKnownCodes) {
  // The view is 20 × 15; doors place views at column 14 and row 11 (city, wood) and row 30
  // (palace).
  const std::map<int, std::pair<int, int>> least = {
      {kHome, {20, 15}}, {kCity, {34, 26}},   {kWood, {34, 26}},  {kArena, {20, 15}},
      {kPalace, {20, 45}}, {kShop1, {20, 15}}, {kShop2, {20, 15}}, {kShop3, {20, 15}}};
  const size_t goodsCount = LoadGoods().size();
  for (const auto& [m, size] : least) {
    const Map& map = world.maps[size_t(m)];
    SCOPED_TRACE(kMapNames[size_t(m)]);
    EXPECT_GE(map.width, size.first);
    EXPECT_GE(map.height, size.second);
    EXPECT_TRUE(map.ground >= 0 && map.ground <= 9) << map.ground;
    for (uint16_t code : map.cells) {
      const bool overlay = code > 0 && code < 0x5000;
      const bool solidOverlay = code >= 0xA000 && code < 0xF000;
      if (overlay) {
        EXPECT_LT(code, 960) << "no such overlay tile";
      }
      if (solidOverlay) {
        EXPECT_LT(code - 0xA000, 960) << "no such overlay tile";
      }
      if (code >= 0x5000 && code < 0xA000) {
        EXPECT_TRUE(IsEvent(code)) << std::hex << code;
      }
      if (code > 0xF000) {
        const size_t k = code - 0xF000u;
        EXPECT_TRUE(k >= 2 && k < 2 + goodsCount) << "a chest holds goods " << k;
      }
    }
  }
}

TEST_F(WorldLayout, EveryDoorLandsTheHeroWithTheWayBackRightBehindHim) {
  for (const Door& door : Doors()) {
    SCOPED_TRACE(::testing::Message() << "door 0x" << std::hex << door.code);
    const Map& map = world.maps[size_t(door.map)];
    const Point arrival = door.MapPosition();
    ASSERT_TRUE(HeroFits(map, arrival)) << "the hero arrives inside a solid cell";
    const auto [col, row] = FeetCell(arrival);
    EXPECT_FALSE(IsEvent(map.At(col, row))) << "the hero arrives on an event cell";
    EXPECT_FALSE(CrowdedBy(world.npcs[size_t(door.map)], arrival)) << "someone stands there";
    EXPECT_EQ(map.At(col, row - door.walk), door.back)
        << "the cell behind " << col << "," << row << " is not the way back";
    EXPECT_FALSE(IsSolid(map.At(col, row + door.walk))) << "a wall right ahead of the hero";
    // One step in any direction (stopped by walls as the game stops them) reaches no door.
    for (auto [dx, dy] : {std::pair{0, 1}, {0, -1}, {1, 0}, {-1, 0}}) {
      const Point next{arrival.x + dx * kStep, arrival.y + dy * kStep};
      if (!HeroFits(map, next)) continue;
      const auto cell = FeetCell(next);
      EXPECT_FALSE(IsEvent(map.At(cell[0], cell[1]))) << "a step (" << dx << "," << dy << ") leaves";
    }
  }
}

TEST_F(WorldLayout, EveryMapCanBeReachedFromHomeAndLeftAgain) {
  std::map<int, std::set<int>> exits;  // map -> maps its doors lead to
  for (int m = 0; m < kMapCount; ++m)
    for (uint16_t code : world.maps[size_t(m)].cells)
      for (const Door& door : Doors())
        if (door.code == code) exits[m].insert(door.map);
  EXPECT_TRUE(exits[kArena].empty()) << "no door belongs in the battle clearing";
  EXPECT_FALSE(exits[kArena].count(kArena));

  auto reachable = [&](int from) {
    std::set<int> seen{from};
    std::queue<int> queue;
    queue.push(from);
    while (!queue.empty()) {
      for (int next : exits[queue.front()])
        if (seen.insert(next).second) queue.push(next);
      queue.pop();
    }
    return seen;
  };
  const std::set<int> fromHome = reachable(kHome);
  for (int m : {kHome, kCity, kWood, kPalace, kShop1, kShop2, kShop3}) {
    EXPECT_TRUE(fromHome.count(m)) << kMapNames[size_t(m)] << " cannot be reached";
    EXPECT_TRUE(reachable(m).count(kHome)) << "no way home from " << kMapNames[size_t(m)];
  }
}

TEST_F(WorldLayout, StoryGatesHoldTheHeroBackOntoClearGroundInFrontOfThem) {
  // A closed gate sets the hero's screen y to 450. Near the bottom of a map the view rests at
  // the map's bottom, so that is a fixed map row, which must be the one the gate is entered from.
  for (auto [m, code] : {std::pair{kCity, 0x5000}, {kWood, 0x5009}}) {
    const Map& map = world.maps[size_t(m)];
    SCOPED_TRACE(kMapNames[size_t(m)]);
    const int pushedY = (map.height - 15) * 32 + 450;
    int gates = 0;
    for (int row = 0; row < map.height; ++row)
      for (int col = 0; col < map.width; ++col) {
        if (map.At(col, row) != code) continue;
        ++gates;
        const int pushedRow = FeetCell({col * 32, pushedY})[1];
        EXPECT_EQ(std::abs(pushedRow - row), 1) << "gate at " << col << "," << row;
        auto closed = [&](int c, int r) { return IsSolid(map.At(c, r)) || map.At(c, r) == code; };
        EXPECT_TRUE(closed(col - 1, row) && closed(col + 1, row) && closed(col, 2 * row - pushedRow))
            << "the gate at " << col << "," << row << " can be entered from the side or behind";
        for (int x = col * 32 - 16; x < col * 32 + 16; ++x) {
          if (!HeroFits(map, {x, row * 32 + 24})) continue;  // cannot stand on the gate there
          const Point back{x, pushedY};
          ASSERT_TRUE(HeroFits(map, back)) << "pushed back into a wall at x " << x;
          const auto feet = FeetCell(back);
          EXPECT_FALSE(IsEvent(map.At(feet[0], feet[1])));
          EXPECT_FALSE(CrowdedBy(world.npcs[size_t(m)], back)) << "pushed onto someone";
        }
      }
    EXPECT_GT(gates, 0) << "the story gate is missing";
  }
}

TEST_F(WorldLayout, TheBattleClearingKeepsBothFightersOnOpenGround) {
  const Map& arena = world.maps[kArena];
  EXPECT_TRUE(HeroFits(arena, {130, 270}));  // the hero's spot, view at (0, 0)
  Npc enemy;
  enemy.x = 470;
  enemy.y = 270;
  EXPECT_TRUE(NpcFits(arena, enemy));
  EXPECT_GE(world.npcs[kArena].size(), 1u) << "a fight writes its enemy into record 0";
}

// Cells the hero can walk to from the map's ways in, treating people who never move as walls.
std::set<std::pair<int, int>> ReachableCells(const Map& map, const std::vector<Npc>& npcs,
                                             const std::vector<Point>& entries) {
  std::set<std::pair<int, int>> blocked;
  for (const Npc& npc : npcs)
    if (npc.active == 1 && (npc.walk <= 0 || npc.speed == 0)) {
      const auto c = NpcCell(npc);
      blocked.insert({c[0], c[1]});
    }
  std::set<std::pair<int, int>> seen;
  std::queue<std::pair<int, int>> queue;
  for (Point p : entries) {
    const auto c = FeetCell(p);
    if (seen.insert({c[0], c[1]}).second) queue.push({c[0], c[1]});
  }
  while (!queue.empty()) {
    const auto [x, y] = queue.front();
    queue.pop();
    for (auto [dx, dy] : {std::pair{0, 1}, {0, -1}, {1, 0}, {-1, 0}}) {
      const std::pair<int, int> next{x + dx, y + dy};
      if (IsSolid(map.At(next.first, next.second)) || blocked.count(next) || seen.count(next)) continue;
      seen.insert(next);
      // Stepping onto a door leaves the map: do not walk on from there.
      if (!IsEvent(map.At(next.first, next.second))) queue.push(next);
    }
  }
  return seen;
}

TEST_F(WorldLayout, EveryDoorChestAndPersonCanBeReached) {
  std::map<int, std::vector<Point>> entries;
  entries[kHome].push_back({180, 164});  // a new game starts here
  for (const Door& door : Doors()) entries[door.map].push_back(door.MapPosition());

  for (int m : {kHome, kCity, kWood, kPalace, kShop1, kShop2, kShop3}) {
    SCOPED_TRACE(kMapNames[size_t(m)]);
    const Map& map = world.maps[size_t(m)];
    const auto reach = ReachableCells(map, world.npcs[size_t(m)], entries[m]);
    for (Point p : entries[m]) {
      const auto c = FeetCell(p);
      EXPECT_TRUE(reach.count({c[0], c[1]}));
    }
    // From the first way in, every other way in can be reached too.
    const auto fromFirst = ReachableCells(map, world.npcs[size_t(m)], {entries[m][0]});
    for (Point p : entries[m]) {
      const auto c = FeetCell(p);
      EXPECT_TRUE(fromFirst.count({c[0], c[1]})) << "a way in cut off at " << c[0] << "," << c[1];
    }
    auto besideReach = [&](int x, int y) {
      return reach.count({x + 1, y}) || reach.count({x - 1, y}) || reach.count({x, y + 1}) ||
             reach.count({x, y - 1});
    };
    for (int row = 0; row < map.height; ++row)
      for (int col = 0; col < map.width; ++col) {
        const uint16_t code = map.At(col, row);
        if (IsEvent(code)) {
          EXPECT_TRUE(fromFirst.count({col, row})) << "door at " << col << "," << row;
        }
        if (code >= 0xF000) {
          EXPECT_TRUE(besideReach(col, row)) << "chest at " << col << "," << row;
        }
      }
    // A person is addressed within 16 pixels of the point 32 pixels ahead of the hero; one who
    // stands still must be addressable from some place the hero can walk to.
    const auto places = ReachablePlaces(map, world.npcs[size_t(m)], entries[m]);
    auto addressable = [&](const Npc& npc) {
      for (auto [x, y] : places)
        for (auto [dx, dy] : {std::pair{0, 32}, {0, -32}, {32, 0}, {-32, 0}})
          if (std::abs(x + dx - npc.x) <= 16 && std::abs(y + dy - npc.y) <= 16) return true;
      return false;
    };
    for (size_t i = 0; i < world.npcs[size_t(m)].size(); ++i) {
      const Npc& npc = world.npcs[size_t(m)][i];
      const auto c = NpcCell(npc);
      EXPECT_TRUE(NpcFits(map, npc)) << "record " << i << " stands in a wall";
      if (npc.active != 1) continue;
      if (npc.walk <= 0) {
        EXPECT_TRUE(addressable(npc)) << "record " << i << " cannot be talked to";
      } else {
        EXPECT_TRUE(besideReach(c[0], c[1])) << "record " << i << " cut off";
      }
    }
  }
}

TEST_F(WorldLayout, ANewGameStartsOnClearGroundAwayFromTheMother) {
  const Point start{180, 164};
  EXPECT_TRUE(HeroFits(world.maps[kHome], start));
  EXPECT_FALSE(CrowdedBy(world.npcs[kHome], start));
  const auto feet = FeetCell(start);
  EXPECT_FALSE(IsEvent(world.maps[kHome].At(feet[0], feet[1])));
}

}  // namespace
}  // namespace datacheck
