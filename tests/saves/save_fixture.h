// A small world whose saved games go to a scratch folder of their own.
#pragma once

#include <filesystem>
#include <string>

#include "../world/world_fixture.h"

namespace saves_test {

class SaveTest : public world_test::WorldTest {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Map 0 is 40 × 30 cells with five characters, map 3 holds one, the others are 20 × 15.
  void MakeWorld();
  std::filesystem::path SlotFile(int slot) const;
  std::string ReadSlot(int slot) const;
  void WriteSlot(int slot, const std::string& bytes) const;
  // The whole game state as a saved game's bytes (written through a spare slot).
  std::string Snapshot();

  std::filesystem::path saves_;
};

}  // namespace saves_test
