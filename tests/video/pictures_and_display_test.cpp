// Pictures and the display: palettes read from bitmap colour tables or the fallback colour cube,
// colour matching and keys; starting and releasing the display (picture order and colours,
// failure paths with their messages), the colour tables and the fades between them.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "core/game_state.h"
#include "platform/backend/backend.h"
#include "platform/system.h"
#include "video/bitmap.h"
#include "video/display.h"
#include "video_fixture.h"

namespace {

using platform::PaletteEntry;

class BitmapPaletteTest : public VideoTest {
 protected:
  platform::Palette Load(const char* name) {
    if (lpDD == nullptr) lpDD = platform::OpenDisplayDevice();
    auto palette = LoadBitmapPalette(lpDD, name);
    EXPECT_NE(palette, nullptr);
    return palette ? palette->Entries() : platform::Palette{};
  }
  // Writes the file and loads its palette.
  platform::Palette Load(const std::vector<uint8_t>& file) {
    WriteDataFile("pic/a.bmp", file);
    return Load("pic\\a.bmp");
  }
  // Entries from `first` on are the file's bytes after the 54-byte header, as they stand.
  static void ExpectRawBytes(const platform::Palette& palette, const std::vector<uint8_t>& file, int first) {
    for (int i = first; i < 256; ++i) {
      const size_t at = 54 + size_t(i) * 4;
      ASSERT_EQ(palette[i], (PaletteEntry{file[at], file[at + 1], file[at + 2], file[at + 3]})) << "entry " << i;
    }
  }
};

TEST_F(BitmapPaletteTest, ColourTablesComeOutRedFirstAndOnlyTheColoursUsed) {
  // More colours used than a table holds: all 256 entries, reserved bytes as flags.
  BitmapLayout layout;
  layout.colors = DistinctColors(3);
  layout.colorsUsed = 1000;
  layout.reservedByte = 0x5A;
  platform::Palette palette = Load(EncodeBitmap(layout));
  for (int i = 0; i < 256; ++i) {
    const PaletteEntry& c = layout.colors[i];
    ASSERT_EQ(palette[i], (PaletteEntry{c.red, c.green, c.blue, 0x5A})) << "entry " << i;
  }
  // Sixteen colours used turns only those; the following bytes are taken raw.
  layout.width = layout.height = 32;
  layout.colors.resize(16);
  layout.colorsUsed = 16;
  layout.reservedByte = 0;
  layout.pixel = [](int x, int y) { return uint32_t((x * 11 + y * 13) & 0xFF); };
  std::vector<uint8_t> file = EncodeBitmap(layout);
  palette = Load(file);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(palette[i], layout.colors[i]) << "entry " << i;
  ExpectRawBytes(palette, file, 16);
  // A true-colour file has no table: the raw bytes after its header.
  layout.bitsPerPixel = 24;
  layout.pixel = [](int x, int y) { return platform::MakeColorRef(uint8_t(x * 12), uint8_t(y), 99); };
  file = EncodeBitmap(layout);
  ExpectRawBytes(Load(file), file, 0);
}

TEST_F(BitmapPaletteTest, MissingFileGivesTheColourCubeAndShortFilesReplaceOnlyWhatTheyHold) {
  const platform::Palette palette = Load("pic\\none.bmp");
  EXPECT_EQ(palette, DefaultPalette());
  const std::pair<int, PaletteEntry> cube[] = {
      {0, {0, 0, 0, 0}}, {255, {255, 255, 255, 0}}, {0xE0, {255, 0, 0, 0}}, {0x1C, {0, 255, 0, 0}},
      {0x03, {0, 0, 255, 0}}, {0x49, {72, 72, 85, 0}} /* 2/7 red, 2/7 green, 1/3 blue */};
  for (const auto& [index, entry] : cube) EXPECT_EQ(palette[index], entry) << index;

  // A complete header and ten colour entries, then the file ends.
  BitmapLayout layout;
  layout.colors = DistinctColors(1);
  std::vector<uint8_t> file = EncodeBitmap(layout);
  file.resize(54 + 10 * 4);
  const platform::Palette cut = Load(file);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(cut[i].red, layout.colors[i].red);
  for (int i = 10; i < 256; ++i) ASSERT_EQ(cut[i], DefaultPalette()[i]) << "entry " << i;
  // Only part of the header, or nothing: nothing of the table is read.
  file.resize(30);
  EXPECT_EQ(Load(file), DefaultPalette());
  EXPECT_EQ(Load(std::vector<uint8_t>{}), DefaultPalette());
}

class ColorMatchTest : public VideoTest {
 protected:
  void SetUp() override {
    VideoTest::SetUp();
    colors = DistinctColors(0);
    colors[9] = {255, 238, 187, 0};  // the colour-key colour
    palette = ToPalette(colors);
    OpenBareDisplay(&palette);
  }
  ColorList colors;
  platform::Palette palette;
};

TEST_F(ColorMatchTest, MatchingFindsTheNearestIndexLeavesTheSurfaceAndKeysByIt) {
  platform::Surface surface(8, 8);
  PaintPattern(surface);
  const std::vector<uint8_t> before(surface.Pixels(), surface.Pixels() + 64);
  EXPECT_EQ(MatchSurfaceColor(&surface, kColorKeyRef), 9u);
  const PaletteEntry near = colors[200];
  EXPECT_EQ(MatchSurfaceColor(&surface, platform::MakeColorRef(near.red + 1, near.green, near.blue - 1)), 200u);
  EXPECT_EQ(MatchSurfaceColor(&surface, kNoColor), uint32_t(PatternAt(0, 0)));
  EXPECT_EQ(std::vector<uint8_t>(surface.Pixels(), surface.Pixels() + 64), before);

  EXPECT_EQ(SetSurfaceColorKey(&surface, kColorKeyRef), kResultOk);
  EXPECT_EQ(surface.ColorKey(), std::optional<uint8_t>(9));
  EXPECT_EQ(MatchSurfaceColor(nullptr, kColorKeyRef), 0xFFFFFFFFu);
  EXPECT_EQ(SetSurfaceColorKey(nullptr, kColorKeyRef), kResultFail);
}

TEST_F(ColorMatchTest, MissingOrDamagedPicturesLeaveTheSurfaceAlone) {
  platform::Surface surface(8, 8);
  PaintPattern(surface);
  platform::headless::ClearLog();
  std::vector<uint8_t> cut = EncodeBitmap(BitmapLayout{});
  cut.resize(40);  // the header is cut short
  WriteDataFile("pic/cut.bmp", cut);
  for (const char* name : {"pic\\none.bmp", static_cast<const char*>(nullptr), "pic\\cut.bmp"})
    EXPECT_EQ(ReloadBitmapSurface(&surface, name), kResultFail) << (name ? name : "no name");
  for (int y = 0; y < 8; ++y)
    for (int x = 0; x < 8; ++x) ASSERT_EQ(surface.PixelAt(x, y), PatternAt(x, y));
  const auto& lines = platform::headless::GetLog().debugLines;
  ASSERT_EQ(lines.size(), 3u);
  for (const std::string& line : lines) EXPECT_EQ(line.substr(0, 14), "handle is null");

  // Noise behind a bitmap signature: whatever it decodes to, loading it must stay in bounds.
  std::vector<uint8_t> noise(3000);
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = uint8_t(i * 131 + 7);
  noise[0] = 'B';
  noise[1] = 'M';
  WriteDataFile("pic/noise.bmp", noise);
  ReloadBitmapSurface(&surface, "pic\\noise.bmp");
}

using platform::headless::GetLog;

constexpr uint8_t kGameKeyIndex = 7;

int destroyMessages = 0;
intptr_t CountingWindowProc(int message, intptr_t wParam, intptr_t lParam) {
  if (message == platform::WM_DESTROY) ++destroyMessages;
  return platform::DefWindowProc(message, wParam, lParam);
}

std::vector<std::string> PictureNames() {
  std::vector<std::string> names = {"title", "player", "map1", "maps", "talkbar", "sbar", "fightbar", "bomb", "goods", "mainmenu"};
  for (int i = 1; i <= 15; ++i) names.push_back((i < 10 ? "npc0" : "npc") + std::to_string(i));
  return names;
}

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
    for (const std::string& name : PictureNames()) {
      if (skip == name) continue;
      BitmapLayout layout;
      const bool title = name == "title";
      layout.colors = title ? titleColors : gameColors;
      layout.width = title ? 640 : 8;
      layout.height = title ? 480 : 8;
      layout.pixel = [](int x, int y) { return uint32_t(PatternAt(x, y)); };
      WriteBitmap("pic/" + name + ".bmp", layout);
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

  std::vector<std::tuple<Surface*, int, int, bool>> expected = {  // width, height, keyed
      {lpDDSTitle, 640, 480, false},    {lpDDSPlayer, 96, 192, true},  {lpDDSMap1, 32, 320, false},
      {lpDDSMaps, 640, 1536, true},     {lpDDSTalkBar, 640, 96, true}, {lpDDSPanel, 420, 320, true},
      {lpDDSFightBar, 448, 112, false}, {lpDDSBomb, 540, 50, true},    {lpDDSGoods, 384, 192, true},
      {lpDDSMainMenu, 150, 200, false}};
  for (Surface* sheet : lpDDSNpc) expected.emplace_back(sheet, 64, 128, true);
  for (const auto& [surface, width, height, keyed] : expected) {
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(surface->Width(), width);
    EXPECT_EQ(surface->Height(), height);
    EXPECT_EQ(surface->ColorKey(), keyed ? std::optional<uint8_t>(kGameKeyIndex) : std::nullopt);
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

TEST_F(DisplayTest, MissingPicturesAreNotFatal) {
  WritePictures("npc07");
  ASSERT_EQ(InitDisplay(), 1);
  ASSERT_NE(lpDDSNpc[6], nullptr);
  EXPECT_EQ(lpDDSNpc[6]->ColorKey(), std::optional<uint8_t>(kGameKeyIndex));
  EXPECT_EQ(lpDDSNpc[7]->PixelAt(63, 127), PatternAt(7, 7));
  EXPECT_TRUE(GetLog().messageBoxes.empty());
  ASSERT_EQ(GetLog().debugLines.size(), 1u);
  EXPECT_EQ(GetLog().debugLines[0].substr(0, 14), "handle is null");

  // No pictures at all: the colour cube, keyed by its entry nearest the key colour.
  ReleaseDisplay();
  std::filesystem::remove_all(dataDir / "pic");
  platform::headless::ClearLog();
  ASSERT_EQ(InitDisplay(), 1);
  EXPECT_EQ(*lpPalGame, DefaultPalette());
  EXPECT_EQ(GetLog().debugLines.size(), 25u);
  EXPECT_EQ(lpDDSPlayer->ColorKey(),
            std::optional<uint8_t>(platform::NearestPaletteIndex(DefaultPalette(), kColorKeyRef)));
}

TEST_F(DisplayTest, FailuresShowWhatFailedReleaseEverythingAndCloseTheWindow) {
  WritePictures();
  const std::pair<platform::headless::Faults, const char*> cases[] = {
      {{.failDisplayDevice = true}, nullptr},          {{.failPrimary = true}, "error|lpDDSPrimary"},
      {{.failBackBuffer = true}, "error|lpDDSBack"},   {{.failSurfaceNumber = 1}, "error|pic\\title.bmp"},
      {{.failSurfaceNumber = 2}, "error|pic\\player.bmp"}, {{.failSurfaceNumber = 9}, "error|pic\\npc07.bmp"},
      {{.failSurfaceNumber = 18}, "error|pic\\map1.bmp"}, {{.failSurfaceNumber = 25}, "error|pic\\mainmenu.bmp"}};
  for (const auto& [faults, box] : cases) {
    SCOPED_TRACE(box ? box : "no device");
    StartWithWindow(faults);
    EXPECT_EQ(InitDisplay(), 0);
    EXPECT_EQ(GetLog().messageBoxes, box ? std::vector<std::string>{box} : std::vector<std::string>{});
    EXPECT_EQ(destroyMessages, box ? 1 : 0);
    const void* released[] = {lpDD, lpDDSPrimary, lpDDSTitle, lpDDSPlayer, lpDDSNpc[0], lpDDSMap1};
    for (const void* handle : released) EXPECT_EQ(handle, nullptr);
    ReleaseDisplay();
  }
}

TEST_F(DisplayTest, LostSurfacesAreRestoredAndReleasingTwiceKeepsTheColourTables) {
  WritePictures();
  ASSERT_EQ(InitDisplay(), 1);
  platform::headless::LoseSurfaces();
  RestoreSurfaces();
  std::vector<Surface*> all = {lpDDSPrimary, lpDDSBack, lpDDSTitle, lpDDSPlayer, lpDDSMap1, lpDDSMaps, lpDDSTalkBar,
                               lpDDSPanel, lpDDSFightBar, lpDDSBomb, lpDDSGoods, lpDDSMainMenu};
  all.insert(all.end(), std::begin(lpDDSNpc), std::end(lpDDSNpc));
  for (Surface* surface : all) EXPECT_FALSE(surface->IsLost());
  EXPECT_EQ(lpDDSPlayer->PixelAt(95, 191), PatternAt(7, 7));

  const platform::Palette game = *lpPalGame;
  ReleaseDisplay();
  ReleaseDisplay();
  const void* released[] = {lpDD, lpDDSBack, lpDDPal.get(), lpDDSGoods, SheetSurface(kHeroSheet)};
  for (const void* handle : released) EXPECT_EQ(handle, nullptr);
  ASSERT_NE(lpPalGame, nullptr);
  EXPECT_EQ(*lpPalGame, game);
  ASSERT_EQ(InitDisplay(), 1);  // and the display can be started again
  EXPECT_EQ(*lpPalGame, game);
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
  platform::Palette black{};
  platform::Palette game;
};

TEST_F(FadeTest, EveryFadeIsTwoHundredFiftySixLoadsEndingAtItsTargetAndBadStepsDoNothing) {
  const struct { const platform::Palette *from, *to; int step, loads; } fades[] = {
      {&black, &game, +1, 256}, {&game, &game, -1, 256}, {&game, &black, -1, 256},  // each ends at its target
      {&black, &game, 0, 0},    {nullptr, &game, 1, 0},  {&black, &game, 300, 0},  {&black, &game, 64, 4}};
  for (const auto& f : fades) {
    const platform::Palette before = lpDD->CurrentPalette();
    EXPECT_EQ(LoadsDuring([&] { FadePalette(f.from, f.to, f.step); }), f.loads) << f.step;
    if (f.loads != 4) {  // a whole fade ends at its target; a refused one changes nothing
      EXPECT_EQ(lpDD->CurrentPalette(), f.loads ? *f.to : before);
    }
  }
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
    options.script = {{platform::headless::Step::Kind::Wait, 0, 700, "", 1}};
    platform::headless::UseHeadlessBackend(options);
    lpDDPal->SetEntries(game);
    const uint32_t start = platform::headless::Now();
    auto door = [&] { FadePalette(&game, &black, -1), FadePalette(&black, &game, +1); };
    if (close) {
      EXPECT_THROW(door(), platform::QuitRequested);
    } else {
      EXPECT_NO_THROW(door());
    }
    const uint32_t took = platform::headless::Now() - start;
    EXPECT_TRUE(close ? took >= 700 && took < 800 : took == 1024 && lpDD->CurrentPalette() == game) << took;
  }
}

TEST_F(FadeTest, BytesWrapAroundToReachTheirTarget) {
  platform::Palette from{}, to{};
  from[0] = {250, 5, 128, 0};
  to[0] = {5, 250, 128, 0};
  from[1] = {0, 255, 1, 4};
  to[1] = {255, 0, 0, 0};
  // Flags stay as the starting table has them.
  platform::Palette reached = to;
  reached[1].flags = 4;
  FadePalette(&from, &to, +1);
  EXPECT_EQ(lpDD->CurrentPalette(), reached);
  reached = from;
  reached[1].flags = 0;
  FadePalette(&to, &from, -1);
  EXPECT_EQ(lpDD->CurrentPalette(), reached);
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
