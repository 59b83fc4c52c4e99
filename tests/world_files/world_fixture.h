// A throw-away data directory with map and character files written by the test.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/map_types.h"
#include "platform/system.h"

inline const char* const kMapNames[kMapCount] = {"home",   "city",   "wood",   "f_wood",
                                                  "palace", "shop01", "shop02", "shop03"};

// The bytes of a map file: name, width, height, ground tile, 7 reserved bytes, then the grid.
inline std::string MapFileBytes(const std::string& name, int32_t width, int32_t height,
                                int8_t ground, const std::vector<uint16_t>& tiles) {
  std::string bytes(48, '\0');
  bytes.replace(0, std::min<size_t>(name.size(), 32), name.substr(0, 32));
  for (int i = 0; i < 4; ++i) {
    bytes[size_t(32 + i)] = char(uint32_t(width) >> (8 * i));
    bytes[size_t(36 + i)] = char(uint32_t(height) >> (8 * i));
  }
  bytes[40] = char(ground);
  bytes.replace(41, 7, "RESERVD");
  for (uint16_t code : tiles) {
    bytes.push_back(char(code & 0xFF));
    bytes.push_back(char(code >> 8));
  }
  return bytes;
}

// One field line: an 11-byte label, the value, ';', a remark, LF.
inline std::string Field(const std::string& value, const std::string& remark = " remark") {
  return "label:    =" + value + ";" + remark + "\n";
}

// The 25 lines of one character; values in record order, the closing line last.
inline std::string NpcLines(const std::vector<std::string>& values) {
  std::string text;
  for (const std::string& value : values) text += Field(value);
  return text;
}

inline std::vector<std::string> SampleNpcValues(const std::string& talkId, const std::string& name) {
  return {talkId, "3",  "1",  "2",  "1",   "1",   name, "32", "32", "96",  "128", "96",
          "128",  "1",  "0",  "4",  "100", "30",  "40", "12", "9",  "4",   "12  34          ",
          "75",   "0"};
}

class DataDirectoryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    directory_ = std::filesystem::temp_directory_path() /
                 (std::string("tamsel_") + std::to_string(::getpid()) + "_" + info->test_suite_name() + "_" + info->name());
    std::filesystem::remove_all(directory_);
    std::filesystem::create_directories(directory_ / "maps");
    platform::SetDataDirectory(directory_.string());
    for (MapInfo& map : mapTable) map = MapInfo{};
  }
  void TearDown() override {
    for (MapInfo& map : mapTable) map = MapInfo{};
    std::filesystem::remove_all(directory_);
  }

  void Write(const std::string& file, const std::string& bytes) {
    std::ofstream out(directory_ / "maps" / file, std::ios::binary | std::ios::trunc);
    out << bytes;
  }
  void Remove(const std::string& file) { std::filesystem::remove(directory_ / "maps" / file); }
  // Eight 20 × 15 maps; cell i of map m holds code 100 × m + i.
  void WriteAllMaps() {
    for (int m = 0; m < kMapCount; ++m) {
      std::vector<uint16_t> tiles(20 * 15);
      for (size_t i = 0; i < tiles.size(); ++i) tiles[i] = uint16_t(100 * m + int(i));
      Write(std::string(kMapNames[m]) + ".map", MapFileBytes(kMapNames[m], 20, 15, 1, tiles));
    }
  }

  std::filesystem::path directory_;
};
