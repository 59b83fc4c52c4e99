#include "world_fixture.h"

#include <cstdlib>
#include <queue>

namespace datacheck {

const World& TheWorld() {
  static const World world = [] {
    World w;
    w.complete = true;
    for (int m = 0; m < kMapCount; ++m) {
      const std::string name = kMapNames[size_t(m)];
      auto map = LoadMap(name + ".map");
      if (!map) {
        w.complete = false;
        continue;
      }
      w.maps[size_t(m)] = *map;
      w.npcs[size_t(m)] = LoadNpcs(name + ".npc", &w.npcLabels[size_t(m)]);
    }
    return w;
  }();
  return world;
}

const std::vector<Door>& Doors() {
  static const std::vector<Door> doors = {
      {0x5000, kWood, 32, 64, 0, 0, 0x5001, +1},      {0x5001, kCity, 350, 450, 7, 11, 0x5000, -1},
      {0x5002, kCity, 384, 100, 14, 0, 0x5003, +1},   {0x5003, kHome, 410, 400, 0, 0, 0x5002, -1},
      {0x5009, kPalace, 310, 450, 0, 30, 0x500A, -1}, {0x500A, kWood, 620, 450, 14, 11, 0x5009, +1},
      {0x500B, kShop1, 300, 400, 0, 0, 0x500C, -1},   {0x500C, kCity, 384, 256, 14, 0, 0x500B, +1},
      {0x500D, kShop2, 300, 400, 0, 0, 0x500E, -1},   {0x500E, kCity, 96, 256, 0, 8, 0x500D, +1},
      {0x500F, kShop3, 200, 400, 0, 0, 0x5010, -1},   {0x5010, kCity, 384, 256, 14, 6, 0x500F, +1},
  };
  return doors;
}

bool HeroFits(const Map& map, Point p) {
  for (int dx : {12, 20})
    for (int dy : {20, 12})
      if (IsSolid(map.At((p.x + dx) / 32, (p.y - dy) / 32))) return false;
  return true;
}

std::array<int, 2> FeetCell(Point p) { return {(p.x + 16) / 32, (p.y - 16) / 32}; }

std::array<int, 2> NpcCell(const Npc& npc) { return {(npc.x + 16) / 32, (npc.y - 16) / 32}; }

bool NpcFits(const Map& map, const Npc& npc) {
  for (int dx : {8, 24})
    for (int dy : {24, 8})
      if (IsSolid(map.At((npc.x + dx) / 32, (npc.y - dy) / 32))) return false;
  return true;
}

bool CrowdedBy(const std::vector<Npc>& npcs, Point p) {
  for (const Npc& npc : npcs)
    if (npc.active == 1 && std::abs(p.x - npc.x) <= 24 && std::abs(p.y - npc.y) <= 24) return true;
  return false;
}

std::set<std::pair<int, int>> ReachablePlaces(const Map& map, const std::vector<Npc>& npcs,
                                              const std::vector<Point>& from) {
  std::vector<Npc> standing;
  for (const Npc& npc : npcs)
    if (npc.walk <= 0 || npc.speed == 0) standing.push_back(npc);
  std::set<std::pair<int, int>> seen;
  std::queue<Point> queue;
  for (Point p : from)
    if (seen.insert({p.x, p.y}).second) queue.push(p);
  while (!queue.empty()) {
    const Point p = queue.front();
    queue.pop();
    const auto feet = FeetCell(p);
    if (IsEvent(map.At(feet[0], feet[1]))) continue;
    for (auto [dx, dy] : {std::pair{0, 8}, {0, -8}, {8, 0}, {-8, 0}}) {
      const Point next{p.x + dx, p.y + dy};
      if (next.x < 0 || next.y < 32 || next.x > map.width * 32 - 32 || next.y > map.height * 32) continue;
      if (!HeroFits(map, next) || CrowdedBy(standing, next) || !seen.insert({next.x, next.y}).second) continue;
      queue.push(next);
    }
  }
  return seen;
}

}  // namespace datacheck
