#include "save_fixture.h"

#include <fstream>
#include <sstream>

#include "app/save_game.h"
#include "platform/system.h"

namespace saves_test {

namespace {
constexpr int kSpareSlot = 4;
}

void SaveTest::SetUp() {
  WorldTest::SetUp();
  saves_ = std::filesystem::path(dataDirectory_) / "slots";
  platform::SetSaveDirectory(saves_.string());
  MakeWorld();
}

void SaveTest::TearDown() {
  platform::FailReplaceStepForTests(0);
  platform::SetSaveDirectory("");
  WorldTest::TearDown();
}

void SaveTest::MakeWorld() {
  MakeMap(0, 40, 30);
  for (int k = 0; k < 5; ++k) AddNpc(0, world_test::MakeNpc(k, 100 + 64 * k, 200));
  AddNpc(3, world_test::MakeNpc(9, 300, 300, "Enemy"));
}

std::filesystem::path SaveTest::SlotFile(int slot) const {
  return saves_ / (std::to_string(slot + 1) + ".sav");
}

std::string SaveTest::ReadSlot(int slot) const {
  std::ifstream file(SlotFile(slot), std::ios::binary);
  std::stringstream bytes;
  bytes << file.rdbuf();
  return bytes.str();
}

void SaveTest::WriteSlot(int slot, const std::string& bytes) const {
  std::filesystem::create_directories(saves_);
  std::ofstream(SlotFile(slot), std::ios::binary | std::ios::trunc) << bytes;
}

std::string SaveTest::Snapshot() {
  EXPECT_EQ(SaveGame(kSpareSlot), 1);
  return ReadSlot(kSpareSlot);
}

}  // namespace saves_test
