// Starting and releasing the display: picture order and colours, keys, failure paths with
// their messages, the colour tables and the fades between them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/game_state.h"
#include "platform/backend.h"
#include "platform/system.h"
#include "video/bitmap.h"
#include "video/display.h"
#include "video_fixture.h"

namespace {

using platform::headless::GetLog;

constexpr uint8_t kGameKeyIndex = 7;

int destroyMessages = 0;
intptr_t CountingWindowProc(int message, intptr_t wParam, intptr_t lParam) {
  if (message == platform::WM_DESTROY) ++destroyMessages;
  return platform::DefWindowProc(message, wParam, lParam);
}

const char* const kPictureNames[] = {
    "title",  "player", "npc01",   "npc02",  "npc03",    "npc04", "npc05",
    "npc06",  "npc07",  "npc08",   "npc09",  "npc10",    "npc11", "npc12",
    "npc13",  "npc14",  "npc15",   "map1",   "maps",     "talkbar", "sbar",
    "fightbar", "bomb", "goods",   "mainmenu"};

class DisplayTest : public VideoTest {
 protected:
  void SetUp() override {
    VideoTest::SetUp();
    titleColors = GrayRamp();
    gameColors = DistinctColors(40);
    gameColors[kGameKeyIndex] = {255, 238, 187, 0};
  }

  // Every picture as a small bitmap in the game colours, the title in its own colours.
  void WritePictures(const std::string& skip = "") {
    for (const char* name : kPictureNames) {
      if (skip == name) continue;
      BitmapLayout layout;
      const bool title = std::string(name) == "title";
      layout.colors = title ? titleColors : gameColors;
      layout.width = title ? 640 : 8;
      layout.height = title ? 480 : 8;
      layout.pixel = [](int x, int y) { return uint32_t(PatternAt(x, y)); };
      WriteBitmap(std::string("pic/") + name + ".bmp", layout);
    }
  }

  void StartWithWindow(const platform::headless::Faults& faults) {
    UseBackend(faults);
    destroyMessages = 0;
    ASSERT_TRUE(platform::CreateMainWindow(CountingWindowProc));
  }

  ColorList titleColors;
  ColorList gameColors;
};

TEST_F(DisplayTest, StartUpMakesEveryPictureInItsOwnColours) {
  WritePictures();
  hero.lpSurface = kNoSheet;
  ASSERT_EQ(InitDisplay(), 1);

  // The title picture kept the indexes of its own colour table; had it been matched to the
  // game colours they would differ.
  EXPECT_EQ(lpDDSTitle->PixelAt(0, 0), PatternAt(0, 0));
  EXPECT_EQ(lpDDSTitle->PixelAt(600, 400), PatternAt(600, 400));
  // The other pictures are stretched onto their surfaces in the game colours.
  EXPECT_EQ(lpDDSPlayer->PixelAt(95, 191), PatternAt(7, 7));
  EXPECT_EQ(lpDDSMaps->PixelAt(639, 0), PatternAt(7, 0));

  EXPECT_EQ(*lpPalTitle, ToPalette(titleColors));
  EXPECT_EQ(*lpPalGame, ToPalette(gameColors));
  EXPECT_EQ(*lpPalBlack, platform::Palette{});
  EXPECT_EQ(lpDD->CurrentPalette(), ToPalette(gameColors));

  struct Expect {
    Surface* surface;
    int width, height;
    bool keyed;
  };
  const Expect expected[] = {
      {lpDDSTitle, 640, 480, false},  {lpDDSPlayer, 96, 192, true},
      {lpDDSMap1, 32, 320, false},    {lpDDSMaps, 640, 1536, true},
      {lpDDSTalkBar, 640, 96, true},  {lpDDSPanel, 420, 320, true},
      {lpDDSFightBar, 448, 112, false}, {lpDDSBomb, 540, 50, true},
      {lpDDSGoods, 384, 192, true},   {lpDDSMainMenu, 150, 200, false}};
  for (const Expect& e : expected) {
    ASSERT_NE(e.surface, nullptr);
    EXPECT_EQ(e.surface->Width(), e.width);
    EXPECT_EQ(e.surface->Height(), e.height);
    EXPECT_EQ(e.surface->ColorKey(),
              e.keyed ? std::optional<uint8_t>(kGameKeyIndex) : std::nullopt);
  }
  for (Surface* sheet : lpDDSNpc) {
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->Width(), 64);
    EXPECT_EQ(sheet->Height(), 128);
    EXPECT_EQ(sheet->ColorKey(), std::optional<uint8_t>(kGameKeyIndex));
  }
  // Keying borrows the first pixel and gives it back.
  EXPECT_EQ(lpDDSPlayer->PixelAt(0, 0), PatternAt(0, 0));

  EXPECT_EQ(hero.lpSurface, kHeroSheet);
  EXPECT_EQ(SheetSurface(kHeroSheet), lpDDSPlayer);
  EXPECT_EQ(SheetSurface(NpcSheetHandle(14)), lpDDSNpc[14]);
  EXPECT_EQ(SheetSurface(kNpcSheetCount + 2), nullptr);
  EXPECT_EQ(SheetSurface(0xFFFFFFFFu), nullptr);

  EXPECT_TRUE(GetLog().messageBoxes.empty());
  EXPECT_TRUE(GetLog().debugLines.empty());
}

TEST_F(DisplayTest, MissingPictureIsNotFatal) {
  WritePictures("npc07");
  ASSERT_EQ(InitDisplay(), 1);
  ASSERT_NE(lpDDSNpc[6], nullptr);
  EXPECT_EQ(lpDDSNpc[6]->ColorKey(), std::optional<uint8_t>(kGameKeyIndex));
  EXPECT_EQ(lpDDSNpc[7]->PixelAt(63, 127), PatternAt(7, 7));
  EXPECT_TRUE(GetLog().messageBoxes.empty());
  ASSERT_EQ(GetLog().debugLines.size(), 1u);
  EXPECT_EQ(GetLog().debugLines[0].substr(0, 14), "handle is null");
}

TEST_F(DisplayTest, NoPicturesAtAllStillStartsWithTheColourCube) {
  ASSERT_EQ(InitDisplay(), 1);
  EXPECT_EQ(*lpPalGame, DefaultPalette());
  EXPECT_EQ(GetLog().debugLines.size(), 25u);
  // The key colour's nearest entry of the cube.
  EXPECT_EQ(lpDDSPlayer->ColorKey(),
            std::optional<uint8_t>(platform::NearestPaletteIndex(DefaultPalette(), kColorKeyRef)));
}

TEST_F(DisplayTest, FailuresShowWhatFailedReleaseEverythingAndCloseTheWindow) {
  WritePictures();
  struct Case {
    platform::headless::Faults faults;
    std::vector<std::string> boxes;
  };
  std::vector<Case> cases;
  cases.push_back({{.failDisplayDevice = true}, {}});
  cases.push_back({{.failPrimary = true}, {"error|lpDDSPrimary"}});
  cases.push_back({{.failBackBuffer = true}, {"error|lpDDSBack"}});
  cases.push_back({{.failSurfaceNumber = 1}, {"error|pic\\title.bmp"}});
  cases.push_back({{.failSurfaceNumber = 2}, {"error|pic\\player.bmp"}});
  cases.push_back({{.failSurfaceNumber = 9}, {"error|pic\\npc07.bmp"}});
  cases.push_back({{.failSurfaceNumber = 18}, {"error|pic\\map1.bmp"}});
  cases.push_back({{.failSurfaceNumber = 25}, {"error|pic\\mainmenu.bmp"}});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.boxes.empty() ? "no device" : c.boxes[0]);
    StartWithWindow(c.faults);
    EXPECT_EQ(InitDisplay(), 0);
    EXPECT_EQ(GetLog().messageBoxes, c.boxes);
    EXPECT_EQ(destroyMessages, c.boxes.empty() ? 0 : 1);
    EXPECT_EQ(lpDD, nullptr);
    EXPECT_EQ(lpDDSPrimary, nullptr);
    EXPECT_EQ(lpDDSTitle, nullptr);
    EXPECT_EQ(lpDDSPlayer, nullptr);
    EXPECT_EQ(lpDDSNpc[0], nullptr);
    EXPECT_EQ(lpDDSMap1, nullptr);
    ReleaseDisplay();
  }
}

TEST_F(DisplayTest, ReleasingTwiceIsHarmlessAndKeepsTheColourTables) {
  WritePictures();
  ASSERT_EQ(InitDisplay(), 1);
  const platform::Palette game = *lpPalGame;
  ReleaseDisplay();
  ReleaseDisplay();
  EXPECT_EQ(lpDD, nullptr);
  EXPECT_EQ(lpDDSBack, nullptr);
  EXPECT_EQ(lpDDPal, nullptr);
  EXPECT_EQ(lpDDSGoods, nullptr);
  EXPECT_EQ(SheetSurface(kHeroSheet), nullptr);
  ASSERT_NE(lpPalGame, nullptr);
  EXPECT_EQ(*lpPalGame, game);

  // And the display can be started again.
  ASSERT_EQ(InitDisplay(), 1);
  EXPECT_EQ(*lpPalGame, game);
}

TEST_F(DisplayTest, LostSurfacesAreAllRestoredWithTheirPixels) {
  WritePictures();
  ASSERT_EQ(InitDisplay(), 1);
  platform::headless::LoseSurfaces();
  RestoreSurfaces();
  for (Surface* surface : {lpDDSPrimary, lpDDSBack, lpDDSTitle, lpDDSPlayer, lpDDSMap1,
                           lpDDSMaps, lpDDSTalkBar, lpDDSPanel, lpDDSFightBar, lpDDSBomb,
                           lpDDSGoods, lpDDSMainMenu})
    EXPECT_FALSE(surface->IsLost());
  for (Surface* sheet : lpDDSNpc) EXPECT_FALSE(sheet->IsLost());
  EXPECT_EQ(lpDDSPlayer->PixelAt(95, 191), PatternAt(7, 7));
}

class FadeTest : public VideoTest {
 protected:
  void SetUp() override {
    VideoTest::SetUp();
    OpenBareDisplay(&black);
    game = ToPalette(DistinctColors(11));
  }
  int LoadsDuring(const std::function<void()>& fade) {
    const int before = GetLog().paletteLoads;
    fade();
    return GetLog().paletteLoads - before;
  }
  static bool SameColours(const platform::Palette& a, const platform::Palette& b) {
    for (size_t i = 0; i < a.size(); ++i)
      if (a[i].red != b[i].red || a[i].green != b[i].green || a[i].blue != b[i].blue)
        return false;
    return true;
  }
  platform::Palette black{};
  platform::Palette game;
};

TEST_F(FadeTest, EveryFadeIsTwoHundredFiftySixLoadsEndingAtItsTargetAndBadStepsDoNothing) {
  EXPECT_EQ(LoadsDuring([&] { FadePalette(&black, &game, +1); }), 256);
  EXPECT_EQ(lpDD->CurrentPalette(), game);
  EXPECT_EQ(LoadsDuring([&] { FadePalette(&game, &game, -1); }), 256);
  EXPECT_EQ(lpDD->CurrentPalette(), game);
  EXPECT_EQ(LoadsDuring([&] { FadePalette(&game, &black, -1); }), 256);
  EXPECT_EQ(lpDD->CurrentPalette(), black);

  EXPECT_EQ(LoadsDuring([&] { FadePalette(&black, &game, 0); }), 0);
  EXPECT_EQ(LoadsDuring([&] { FadePalette(nullptr, &game, 1); }), 0);
  EXPECT_EQ(LoadsDuring([&] { FadePalette(&black, &game, 300); }), 0);
  EXPECT_EQ(LoadsDuring([&] { FadePalette(&black, &game, 64); }), 4);
}

// On the screen a fade takes half a second; with the headless clock at that pace, a door's two
// fades take 1024 ms, and a close request in the middle (the script ending) ends them at the
// very next palette load.
TEST_F(FadeTest, ADoorsFadesTakeASecondAndAClosedWindowEndsThemAtOnce) {
  for (const bool close : {false, true}) {
    SCOPED_TRACE(close ? "closed at 700 ms" : "not closed");
    platform::headless::Options options;
    options.millisecondsPerPaletteLoad = 2;
    options.quitWhenScriptEnds = close;
    platform::headless::Step wait;
    wait.milliseconds = 700;
    options.script = {wait};
    platform::headless::UseHeadlessBackend(options);
    lpDDPal->SetEntries(game);
    const uint32_t start = platform::headless::Now();
    bool ended = false;
    try {
      FadePalette(&game, &black, -1);
      FadePalette(&black, &game, +1);
    } catch (const platform::QuitRequested&) {
      ended = true;
    }
    const uint32_t took = platform::headless::Now() - start;
    EXPECT_EQ(ended, close);
    if (close) {
      EXPECT_GE(took, 700u);
      EXPECT_LT(took, 800u);
    } else {
      EXPECT_EQ(took, 1024u);
      EXPECT_EQ(lpDD->CurrentPalette(), game);
    }
  }
}

TEST_F(FadeTest, BytesWrapAroundToReachTheirTarget) {
  platform::Palette from{}, to{};
  from[0] = {250, 5, 128, 0};
  to[0] = {5, 250, 128, 0};
  from[1] = {0, 255, 1, 4};
  to[1] = {255, 0, 0, 0};
  FadePalette(&from, &to, +1);
  EXPECT_TRUE(SameColours(lpDD->CurrentPalette(), to));
  EXPECT_EQ(lpDD->CurrentPalette()[1].flags, 4);  // flags stay as the starting table has them
  FadePalette(&to, &from, -1);
  EXPECT_TRUE(SameColours(lpDD->CurrentPalette(), from));
}

TEST_F(FadeTest, ColourTablesCopyTheCurrentPaletteAndMakeBlackOnce) {
  Palette* table = nullptr;
  lpDDPal->SetEntries(game);
  CopyPaletteEntries(table);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(*table, game);
  Palette* const blackTable = lpPalBlack;
  ASSERT_NE(blackTable, nullptr);
  EXPECT_EQ(*blackTable, platform::Palette{});
  CopyPaletteEntries(table);
  EXPECT_EQ(lpPalBlack, blackTable);

  lpDDPal.reset();
  CopyPaletteEntries(table);
  EXPECT_EQ(*table, platform::Palette{});
}

}  // namespace
