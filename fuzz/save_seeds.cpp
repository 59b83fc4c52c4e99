// Writes saved games of the real data set for the save-file fuzzer to start from: a new game
// at home, the hero in the middle of the city with a chest opened, and a game well on with
// beaten characters gone. Usage: save_seeds FOLDER
#include <cstdio>

#include "core/game_state.h"
#include "saves/save_game.h"
#include "fuzz_world.h"
#include "platform/system.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fputs("usage: save_seeds FOLDER\n", stderr);
    return 2;
  }
  fuzz::StartWorld();
  platform::SetSaveDirectory(argv[1]);
  int written = SaveGame(0);

  nMap = 1;
  nViewCol = nLastViewCol = 5;
  nViewRow = nLastViewRow = 4;
  nScrollX = nLastScrollX = -16;
  MapInfo& city = mapTable[1];
  for (uint16_t& code : city.lpTiles)
    if (code >= 0xF000) {
      code = 0xA12E;  // an opened chest
      break;
    }
  written += SaveGame(1);

  nMap = 2;
  nStoryStage = 2;
  hero.nLevel = 5;
  hero.nMoney = 1234;
  for (MapInfo& map : mapTable)
    for (NpcRecord& npc : map.lpNpcs)
      if (npc.bHostile == 1) npc.bActive = 0;
  written += SaveGame(2);
  return written == 3 ? 0 : 1;
}
