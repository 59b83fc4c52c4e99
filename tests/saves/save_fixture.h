// A small world whose saved games go to a scratch folder of their own.
#pragma once

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "small_world_fixture.h"
#include "platform/system.h"
#include "saves/save_game.h"

namespace saves_test {

class SaveTest : public world_test::WorldTest {
 protected:
  // Map 0 is 40 × 30 cells with five characters, map 3 holds one, the others are 20 × 15.
  void SetUp() override {
    WorldTest::SetUp();
    saves_ = std::filesystem::path(dataDirectory_) / "slots";
    platform::SetSaveDirectory(saves_.string());
    MakeMap(0, 40, 30);
    for (int k = 0; k < 5; ++k) AddNpc(0, world_test::MakeNpc(k, 100 + 64 * k, 200));
    AddNpc(3, world_test::MakeNpc(9, 300, 300, "Enemy"));
  }
  void TearDown() override {
    platform::FailReplaceStepForTests(0);
    platform::SetSaveDirectory("");
    WorldTest::TearDown();
  }

  std::filesystem::path SlotFile(int slot) const { return saves_ / (std::to_string(slot + 1) + ".sav"); }
  std::string ReadSlot(int slot) const {
    std::stringstream bytes;
    bytes << std::ifstream(SlotFile(slot), std::ios::binary).rdbuf();
    return bytes.str();
  }
  void WriteSlot(int slot, const std::string& bytes) const {
    std::filesystem::create_directories(saves_);
    std::ofstream(SlotFile(slot), std::ios::binary | std::ios::trunc) << bytes;
  }
  // Makes the save folder impossible to create: a file stands where a folder should be.
  void BlockSaveFolder() {
    WriteSlot(0, "x");
    platform::SetSaveDirectory(SlotFile(0).string() + "/save");
  }
  // The whole game state as a saved game's bytes (written through the spare slot 5).
  std::string Snapshot() {
    EXPECT_EQ(SaveGame(4), 1);
    return ReadSlot(4);
  }

  std::filesystem::path saves_;
};

}  // namespace saves_test
