#include "small_world_fixture.h"

#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "core/game_state.h"
#include "platform/display_device.h"
#include "platform/system.h"
#include "video/display.h"
#include "video/draw.h"
#include "world/talk.h"

namespace world_test {

namespace {

using platform::headless::Step;

intptr_t TestWindowProc(int message, intptr_t wParam, intptr_t lParam) {
  return platform::DefWindowProc(message, wParam, lParam);
}

Palette TestPalette() {
  Palette palette{};
  for (int i = 1; i < 256; ++i) palette[size_t(i)] = {uint8_t(i), uint8_t((i * 3) % 200), 100, 0};
  palette[kWhiteIndex] = {255, 255, 255, 0};
  palette[kYellowIndex] = {255, 255, 0, 0};
  palette[kKeyIndex] = {255, 238, 187, 0};
  palette[kTalkBarIndex] = {40, 40, 90, 0};
  return palette;
}

void FillRect(Surface* surface, int left, int top, int width, int height, uint8_t index) {
  for (int y = top; y < top + height && y < surface->Height(); ++y)
    std::memset(surface->Pixels() + size_t(y) * size_t(surface->Width()) + size_t(left), index, size_t(std::min(width, surface->Width() - left)));
  surface->Touch();
}

void PaintSheets() {
  for (int g = 0; g < 10; ++g) FillRect(lpDDSMap1, 0, 32 * g, 32, 32, GroundIndex(g));
  for (int n = 0; n < 20 * 48; ++n) FillRect(lpDDSMaps, 32 * (n % 20), 32 * (n / 20), 32, 32, OverlayIndex(n));
  lpDDSMaps->SetColorKey(kKeyIndex);
  for (int k = 0; k < kNpcSheetCount; ++k) {
    FillRect(lpDDSNpc[k], 0, 0, 64, 128, NpcSheetIndex(k));
    lpDDSNpc[k]->SetColorKey(kKeyIndex);
  }
  for (int direction = 0; direction < 4; ++direction)
    for (int frame = 0; frame < 3; ++frame) FillRect(lpDDSPlayer, 32 * frame, 48 * direction, 32, 48, HeroFrameIndex(frame, direction));
  lpDDSPlayer->SetColorKey(kKeyIndex);
  FillRect(lpDDSTalkBar, 0, 0, 640, 96, kTalkBarIndex);
  lpDDSTalkBar->SetColorKey(kKeyIndex);
}

}  // namespace

uint8_t GroundIndex(int groundTile) { return uint8_t(10 + groundTile); }
uint8_t OverlayIndex(int tile) { return uint8_t(20 + tile % 180); }
uint8_t NpcSheetIndex(int picture) { return uint8_t(200 + picture); }
uint8_t HeroFrameIndex(int frame, int direction) { return uint8_t(215 + direction * 3 + frame); }

std::string MapFileBytes(int width, int height, int groundTile, const std::vector<uint16_t>& tiles) {
  std::string bytes(48, '\0');
  std::memcpy(bytes.data(), "test map", 8);
  for (int k = 0; k < 4; ++k) {
    bytes[size_t(32 + k)] = char((width >> (8 * k)) & 0xFF);
    bytes[size_t(36 + k)] = char((height >> (8 * k)) & 0xFF);
  }
  bytes[40] = char(groundTile);
  for (int k = 0; k < width * height; ++k) {
    const uint16_t code = size_t(k) < tiles.size() ? tiles[size_t(k)] : 0;
    bytes.push_back(char(code & 0xFF));
    bytes.push_back(char(code >> 8));
  }
  return bytes;
}

NpcRecord MakeNpc(int picture, int x, int y, const char* name) {
  NpcRecord npc{};
  npc.nTalkId = 10001;
  npc.nPicture = picture;
  npc.bActive = 1;
  std::strncpy(npc.szName, name, sizeof npc.szName - 1);
  npc.nFrameWidth = 32;
  npc.nFrameHeight = 32;
  npc.nX = npc.nLastX = x;
  npc.nY = npc.nLastY = y;
  std::memset(npc.szGoods, ' ', 16);
  npc.lpSurface = NpcSheetHandle(picture);
  return npc;
}

void WriteFile(const std::string& gameName, const std::string& bytes) {
  std::string relative = gameName;
  std::replace(relative.begin(), relative.end(), '\\', '/');
  const std::filesystem::path path = std::filesystem::path(platform::DataDirectory()) / relative;
  std::filesystem::create_directories(path.parent_path());
  std::ofstream(path, std::ios::binary) << bytes;
}

void WorldTest::SetUp() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  dataDirectory_ = ::testing::TempDir() + "tamsel_world_" + info->test_suite_name() + "_" +
                   info->name() + "_" + std::to_string(getpid());
  std::filesystem::remove_all(dataDirectory_);
  std::filesystem::create_directories(dataDirectory_);

  platform::headless::Options options;
  options.quitWhenScriptEnds = false;
  options.quitAfterMilliseconds = 120000;
  options.shotDirectory = dataDirectory_;  // where "shot" and "state" steps write
  platform::headless::UseHeadlessBackend(options);
  platform::SetDataDirectory(dataDirectory_);
  ASSERT_TRUE(platform::CreateMainWindow(TestWindowProc));
  ASSERT_EQ(InitDisplay(), 1);
  CreateGameFont();

  const Palette palette = TestPalette();
  *lpPalGame = palette;
  *lpPalTitle = palette;
  lpDDPal = lpDD->CreatePalette(palette);
  lpDD->AttachPalette(lpDDPal);
  PaintSheets();

  for (int m = 0; m < kMapCount; ++m) MakeMap(m, 20, 15);
  InitNewGame();
  bSoundOn = 1;
  lpTalkText.clear();
  platform::headless::ClearLog();
}

void WorldTest::TearDown() {
  ReleaseDisplay();
  if (platform::WindowExists()) platform::DestroyWindow();
  std::filesystem::remove_all(dataDirectory_);
}

void WorldTest::UseScript(const std::vector<Step>& steps) { platform::headless::AddSteps(steps); }

void WorldTest::MakeMap(int m, int width, int height) {
  MapInfo& map = mapTable[m];
  std::memset(map.szName, 0, sizeof map.szName);
  map.nWidth = width;
  map.nHeight = height;
  map.nGroundTile = int8_t(m);
  map.lpTiles.assign(size_t(width) * size_t(height), 0);
  map.nNpcCount = 0;
  map.lpNpcs.clear();
}

int WorldTest::AddNpc(int m, const NpcRecord& npc) {
  mapTable[m].lpNpcs.push_back(npc);
  mapTable[m].nNpcCount = int32_t(mapTable[m].lpNpcs.size());
  return mapTable[m].nNpcCount - 1;
}

void WorldTest::SetTalkText(const std::string& text) { lpTalkText = text; }

void WorldTest::PlaceHero(int x, int y) {
  hero.nX = hero.nLastX = x;
  hero.nY = hero.nLastY = y;
  nLastViewCol = nViewCol;
  nLastViewRow = nViewRow;
  nLastScrollX = nScrollX;
  nLastScrollY = nScrollY;
}

uint8_t WorldTest::ScreenPixel(int x, int y) const { return lpDDSPrimary->PixelAt(x, y); }
int WorldTest::ScreenCount(int left, int top, int width, int height, uint8_t index) const {
  int count = 0;
  for (int y = top; y < top + height; ++y)
    for (int x = left; x < left + width; ++x) count += ScreenPixel(x, y) == index;
  return count;
}
uint8_t WorldTest::BackPixel(int x, int y) const { return lpDDSBack->PixelAt(x, y); }
uint8_t WorldTest::CanvasPixel(int x, int y) const { return lpDDSTitle->PixelAt(x, y); }

Step Tap(int key) { return {Step::Kind::Tap, key, 0, "", 0}; }
Step Press(int key) { return {Step::Kind::Press, key, 0, "", 0}; }
Step Release(int key) { return {Step::Kind::Release, key, 0, "", 0}; }
Step Wait(int milliseconds) { return {Step::Kind::Wait, 0, milliseconds, "", 0}; }
Step Hold(int key, int milliseconds) { return {Step::Kind::Hold, key, milliseconds, "", 0}; }
Step State(const std::string& file) { return {Step::Kind::State, 0, 0, file, 0}; }

}  // namespace world_test
