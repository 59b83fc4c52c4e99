// A small world on the headless backend: a display with painted sheets whose colours tell
// what was drawn where, maps built in memory, and map, character and dialogue files written
// into a temporary data directory.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/map_types.h"
#include "platform/backend/backend.h"

namespace world_test {

// Palette indexes the painted sheets use.
constexpr uint8_t kKeyIndex = 250;     // the colour key of every keyed sheet
constexpr uint8_t kWhiteIndex = 255;
constexpr uint8_t kYellowIndex = 254;
constexpr uint8_t kTalkBarIndex = 240;
uint8_t GroundIndex(int groundTile);             // ground tile g is filled with this
uint8_t OverlayIndex(int tile);                  // overlay tile n is filled with this
uint8_t NpcSheetIndex(int picture);              // character sheet k is filled with this
uint8_t HeroFrameIndex(int frame, int direction);  // one frame of the hero sheet

// Writes the tiny data set files.
void WriteFile(const std::string& gameName, const std::string& bytes);
std::string MapFileBytes(int width, int height, int groundTile, const std::vector<uint16_t>& tiles);
NpcRecord MakeNpc(int picture, int x, int y, const char* name = "NPC");

class WorldTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Queues script steps, played while the game polls. Once they are done the game goes on
  // without keys until two minutes of game time have passed, then QuitRequested is thrown.
  void UseScript(const std::vector<platform::headless::Step>& steps);

  // Map m of the table: width × height cells of plain ground on ground tile m.
  void MakeMap(int m, int width, int height);
  // Adds a character to map m and returns its index.
  int AddNpc(int m, const NpcRecord& npc);
  void SetTalkText(const std::string& text);
  // Places the hero at screen (x, y) and accepts the position as the last drawing would.
  void PlaceHero(int x, int y);

  uint8_t ScreenPixel(int x, int y) const;  // the visible page
  // How many pixels of the visible page's rectangle have the given index.
  int ScreenCount(int left, int top, int width, int height, uint8_t index) const;
  uint8_t BackPixel(int x, int y) const;
  uint8_t CanvasPixel(int x, int y) const;  // the world canvas

  std::string dataDirectory_;
};

// Steps of a script.
platform::headless::Step Tap(int key);
platform::headless::Step Press(int key);
platform::headless::Step Release(int key);
platform::headless::Step Wait(int milliseconds);
platform::headless::Step Hold(int key, int milliseconds);
platform::headless::Step State(const std::string& file);

}  // namespace world_test
