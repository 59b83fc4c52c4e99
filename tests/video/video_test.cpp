// The video layer on the headless display: the clipped blit, keys, clearing, flipping and lost
// surfaces; text cut into lines; the random generator and the busy waits; palettes read from
// bitmap colour tables or the fallback colour cube; starting and releasing the display; the fades.
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "../platform_pixels/bmp_builder.h"
#include "core/game_state.h"
#include "core/random.h"
#include "platform/backend/backend.h"
#include "platform/display_device.h"
#include "platform/system.h"
#include "video/bitmap.h"
#include "video/display.h"
#include "video/draw.h"

namespace {

using platform::PaletteEntry;
using platform::Surface;
using platform::headless::GetLog;
using platform::headless::Step;
using ColorList = std::vector<PaletteEntry>;

// Colours that are all different, so each is its own nearest palette entry; or a grey ramp.
ColorList Colors(int salt) {
  ColorList colors(256);
  for (int i = 0; i < 256; ++i)
    colors[i] = salt < 0 ? PaletteEntry{uint8_t(i), uint8_t(i), uint8_t(i), 0}
                         : PaletteEntry{uint8_t(i), uint8_t(255 - i), uint8_t(i * 7 + salt), 0};
  return colors;
}
platform::Palette ToPalette(const ColorList& colors) {
  platform::Palette palette{};
  std::copy(colors.begin(), colors.end(), palette.begin());
  return palette;
}
// A pattern of non-zero indexes derived from the position.
uint8_t PatternAt(int x, int y) { return uint8_t(1 + (x * 3 + y * 5) % 250); }
void PaintPattern(Surface& surface) {
  for (int y = 0; y < surface.Height(); ++y)
    for (int x = 0; x < surface.Width(); ++x) surface.Pixels()[y * surface.Width() + x] = PatternAt(x, y);
}
// A bitmap file: 8-bit with the colours as its table, or 24-bit; pixels from the pattern unless given.
std::vector<uint8_t> BitmapFile(int width, int height, const ColorList& colors, int bits = 8, uint32_t colorsUsed = 0,
                                uint8_t reserved = 0, std::function<uint32_t(int, int)> pixel = PatternAt) {
  bmp::Layout s{.width = width, .height = height, .bitsPerPixel = bits, .colorsUsed = colorsUsed, .reserved = reserved};
  if (bits == 8)
    for (const PaletteEntry& c : colors) s.table.push_back(platform::MakeColorRef(c.red, c.green, c.blue));
  for (int y = 0; y < height; ++y)
    for (int x = 0; x < width; ++x) s.pixels.push_back(pixel(x, y));
  return bmp::Build(s);
}

int destroyMessages = 0;
intptr_t CountingWindowProc(int message, intptr_t wParam, intptr_t lParam) {
  destroyMessages += message == platform::WM_DESTROY;
  return platform::DefWindowProc(message, wParam, lParam);
}

// A headless display with a scratch data directory.
class VideoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dataDir = std::filesystem::temp_directory_path() /
              ("tamsel_video_" + std::to_string(getpid()) + "_" + testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(dataDir / "pic");
    UseBackend();
  }
  void TearDown() override {
    ReleaseDisplay();
    std::filesystem::remove_all(dataDir);
  }
  void UseBackend(const platform::headless::Faults& faults = {}) {
    ReleaseDisplay();
    platform::headless::Options options;
    options.quitWhenScriptEnds = false;
    options.faults = faults;
    platform::headless::UseHeadlessBackend(options);
    platform::SetDataDirectory(dataDir.string());
  }
  // The device with its two pages and an attached palette, without loading any picture.
  void OpenBareDisplay(const platform::Palette& palette = {}) {
    lpDD = platform::OpenDisplayDevice();
    ASSERT_NE(lpDD, nullptr);
    lpDDSPrimary = lpDD->CreatePrimaryWithBackBuffer();
    lpDDSBack = lpDD->BackBuffer();
    ASSERT_NE(lpDDSBack, nullptr);
    lpDDPal = lpDD->CreatePalette(palette);
    lpDD->AttachPalette(lpDDPal);
  }
  void WriteDataFile(const std::string& relative, const std::vector<uint8_t>& bytes) {
    std::ofstream(dataDir / relative, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
  }
  std::filesystem::path dataDir;
};

int NonZero(const Surface& s) { return int(std::count_if(s.Pixels(), s.Pixels() + s.Width() * s.Height(), [](uint8_t p) { return p; })); }

}  // namespace

TEST_F(VideoTest, BlitsAreCutAtTheScreenEdgesWhateverTheDestinationSize) {
  const struct {
    int dstWidth, dstHeight, srcWidth, srcHeight, x, y;
    Rect rect;
    int firstX, firstY;  // the source pixel that lands on the first drawn pixel
    int drawnWidth, drawnHeight;
  } cases[] = {
      {640, 480, 32, 48, -10, -5, {0, 0, 32, 48}, 10, 5, 22, 43},
      {640, 480, 96, 192, -8, -16, {32, 48, 64, 96}, 40, 64, 24, 32},  // a frame of a sheet
      {640, 480, 640, 100, 100, 0, {0, 0, 640, 100}, 0, 0, 540, 100},
      {800, 600, 100, 100, 600, 450, {0, 0, 100, 100}, 0, 0, 40, 30},  // larger than the screen
      {900, 700, 32, 32, 700, 10, {0, 0, 32, 32}, 0, 0, 0, 0},          // wholly off the screen
      {900, 700, 32, 32, 10, 500, {0, 0, 32, 32}, 0, 0, 0, 0},
      {900, 700, 32, 32, -40, 0, {0, 0, 32, 32}, 0, 0, 0, 0},
      {900, 700, 32, 32, INT_MIN, INT_MIN, {0, 0, 32, 32}, 0, 0, 0, 0},  // wild positions
      {900, 700, 32, 32, INT_MAX, 0, {0, 0, 32, 32}, 0, 0, 0, 0},
      {900, 700, 32, 32, 0, 0, {INT_MIN, 0, INT_MAX, 32}, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    Surface dst(c.dstWidth, c.dstHeight), src(c.srcWidth, c.srcHeight);
    PaintPattern(src);
    BlitClipped(&dst, c.x, c.y, &src, c.rect, 0);
    EXPECT_EQ(NonZero(dst), c.drawnWidth * c.drawnHeight);
    if (c.drawnWidth == 0) continue;
    const int x = std::max(c.x, 0), y = std::max(c.y, 0);
    EXPECT_EQ(dst.PixelAt(x, y), PatternAt(c.firstX, c.firstY));
    EXPECT_EQ(dst.PixelAt(x + c.drawnWidth - 1, y + c.drawnHeight - 1),
              PatternAt(c.firstX + c.drawnWidth - 1, c.firstY + c.drawnHeight - 1));
  }
  // The colour key counts only when asked for; missing surfaces draw nothing.
  OpenBareDisplay();
  Surface sprite(4, 1);
  const uint8_t plain[] = {7, 3, 7, 4}, keyed[] = {0, 3, 0, 4};
  std::copy(plain, plain + 4, sprite.Pixels());
  sprite.SetColorKey(7);
  BlitClipped(nullptr, 0, 0, &sprite, Rect{0, 0, 4, 1}, 0);
  BlitClipped(lpDDSBack, 0, 0, nullptr, Rect{0, 0, 4, 1}, 0);
  EXPECT_EQ(NonZero(*lpDDSBack), 0);
  BlitClipped(lpDDSBack, 0, 0, &sprite, Rect{0, 0, 4, 1}, 1);
  BlitClipped(lpDDSBack, 0, 1, &sprite, Rect{0, 0, 4, 1}, 0);
  for (int x = 0; x < 4; ++x) EXPECT_TRUE(lpDDSBack->PixelAt(x, 0) == keyed[x] && lpDDSBack->PixelAt(x, 1) == plain[x]) << x;
}

TEST_F(VideoTest, ClearingFillsBothPagesFlippingShowsTheBackPageAndLostSurfacesComeBack) {
  OpenBareDisplay();
  Surface tile(10, 10);
  PaintPattern(tile);
  ClearScreen(5);
  EXPECT_EQ(lpDDSPrimary->PixelAt(639, 479), 5);
  EXPECT_EQ(lpDDSBack->PixelAt(0, 0), 5);
  ClearScreen(0);
  BlitClipped(lpDDSBack, 20, 30, &tile, Rect{0, 0, 10, 10}, 0);
  const int flipsBefore = GetLog().flips;
  FlipScreen();
  EXPECT_EQ(GetLog().flips, flipsBefore + 1);
  EXPECT_EQ(lpDDSPrimary->PixelAt(20, 30), PatternAt(0, 0));

  // A blit or a flip onto lost surfaces restores them; the next frame draws again.
  platform::headless::LoseSurfaces();
  BlitClipped(lpDDSBack, 0, 0, &tile, Rect{0, 0, 10, 10}, 0);
  for (const Surface* surface : {lpDDSPrimary, lpDDSBack, &tile}) EXPECT_FALSE(surface->IsLost());
  BlitClipped(lpDDSBack, 0, 0, &tile, Rect{0, 0, 10, 10}, 0);
  EXPECT_EQ(lpDDSBack->PixelAt(9, 9), PatternAt(9, 9));
  platform::headless::LoseSurfaces();
  FlipScreen();
  EXPECT_FALSE(lpDDSPrimary->IsLost());
  FlipScreen();
  EXPECT_EQ(lpDDSPrimary->PixelAt(9, 9), PatternAt(9, 9));
}

TEST_F(VideoTest, TextIsCutIntoLinesOfTheGivenByteCountEachShowingItsOwnBytes) {
  OpenBareDisplay(ToPalette(Colors(-1)));
  CreateGameFont();
  constexpr uint8_t kFill = 77;
  Surface canvas(1100, 200);
  // Opaque black-on-white text at (0, 0): every byte fills its 10 × 20 cell.
  auto print = [&](const std::string& text, int lineLength) {
    platform::FillSurface(canvas, kFill);
    PrintText(&canvas, 0, 0, text.c_str(), kBlack, platform::kBkOpaque, kWhite, lineLength);
  };
  auto changed = [&](int top, int rows) {
    const uint8_t* first = canvas.Pixels() + top * canvas.Width();
    return int(std::count_if(first, first + rows * canvas.Width(), [](uint8_t p) { return p != kFill; }));
  };
  const struct { std::string text; int lineLength; std::vector<int> widths; } cases[] = {  // widths of the lines drawn
      {std::string(60, 'a'), 50, {500, 100}}, {"甲乙丙丁", 4, {40, 40}},  // cut by bytes
      {std::string(50, 'a'), 50, {500}},       // exactly one line: no empty second line
      {std::string(49, 'a'), 50, {490}},       {"", 50, {}},
      {std::string(150, 'a'), 500, {990, 510}},  // at most 99 bytes on one line
      {"abc", 0, {10, 10, 10}},  {"abc", -7, {10, 10, 10}},  // nothing shorter than one byte
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.text.size() << " bytes, lines of " << c.lineLength);
    print(c.text, c.lineLength);
    int total = 0;
    for (size_t line = 0; line < c.widths.size(); ++line) {
      const int top = int(line) * 20, width = c.widths[line];
      EXPECT_EQ(changed(top, 20), width * 20) << line;  // the cells from the left edge on
      EXPECT_NE(canvas.PixelAt(0, top), kFill) << line;
      EXPECT_NE(canvas.PixelAt(width - 1, top + 19), kFill) << line;
      total += width * 20;
    }
    EXPECT_EQ(changed(0, 200), total);
  }
  if (!hFont) GTEST_SKIP() << "no CJK font installed";
  // Spaces leave their cells white; the letters of the second line must put ink there.
  print(std::string(50, ' ') + "WWWW", 50);
  EXPECT_EQ(std::count(canvas.Pixels(), canvas.Pixels() + 20 * 1100, 0), 0);
  EXPECT_GT(std::count(canvas.Pixels() + 20 * 1100, canvas.Pixels() + 40 * 1100, 0), 0);
}

TEST(Random, KnownSeedGivesTheKnownSequenceAndDrawsScaleIntoZeroToN) {
  SeedRandom(1);
  for (int value : {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464}) EXPECT_EQ(RandomUpTo(32767), value);
  // The seed whose next draw is r: solves state × 214013 + 2531011 = r << 16 (mod 2^32).
  auto seedYielding = [](uint32_t r) {
    uint32_t inverse = 214013u;  // Newton's iteration for the inverse of an odd number mod 2^32
    for (int i = 0; i < 5; ++i) inverse *= 2u - 214013u * inverse;
    return ((r << 16) - 2531011u) * inverse;
  };
  const struct { uint32_t draw; int n, expected; } cases[] = {
      {32767, 100, 100}, {32766, 100, 99}, {0, 100, 0}, {16384, 10, 5}, {32767, 1000000, 1000000}};
  for (const auto& c : cases) {
    SeedRandom(seedYielding(c.draw));
    EXPECT_EQ(RandomUpTo(c.n), c.expected) << c.draw << " of " << c.n;
  }
  for (int i = 0; i < 5000; ++i) {
    const int value = RandomUpTo(2000000000);
    ASSERT_TRUE(value >= 0 && value <= 2000000000) << value;
  }
  EXPECT_EQ(RandomUpTo(0), 0);
}

TEST_F(VideoTest, WaitsForKeysAndDelaysLastTheirGameTime) {
  auto took = [](const std::function<void()>& wait) {
    const uint32_t start = platform::headless::Now();
    wait();
    return platform::headless::Now() - start;
  };
  // A key must be pressed and released; with the down flag a key that is up ends the wait at
  // once, and a held one is waited for until released.
  platform::headless::AddSteps({Step{Step::Kind::Wait, 0, 50, "", 0}, Step{Step::Kind::Hold, platform::VK_RETURN, 30, "", 0}});
  EXPECT_GE(took([] { WaitKey(platform::VK_RETURN, 0); }), 80u);
  EXPECT_EQ(platform::GetAsyncKeyState(platform::VK_RETURN), 0);
  EXPECT_LT(took([] { WaitKey(platform::VK_RETURN, 1); }), 5u);
  platform::headless::PressKey(platform::VK_CONTROL);
  platform::headless::AddSteps({Step{Step::Kind::Wait, 0, 40, "", 0}, Step{Step::Kind::Release, platform::VK_CONTROL, 0, "", 0}});
  EXPECT_GE(took([] { WaitKey(platform::VK_CONTROL, 1); }), 40u);
  // A delay lasts its time whatever messages wait.
  for (int i = 0; i < 5; ++i) platform::PostMessage(platform::WM_TIMER, 1);
  const uint32_t delay = took([] { Delay(80); });
  EXPECT_TRUE(delay >= 80 && delay < 90) << delay;
  EXPECT_LT(took([] { Delay(0), Delay(-5); }), 5u);
}

TEST_F(VideoTest, BitmapPalettesComeRedFirstOnlyTheColoursUsedAndTheCubeWhenMissing) {
  lpDD = platform::OpenDisplayDevice();
  auto load = [&](const std::vector<uint8_t>& file) {
    WriteDataFile("pic/a.bmp", file);
    auto palette = LoadBitmapPalette(lpDD, "pic\\a.bmp");
    EXPECT_NE(palette, nullptr);
    return palette ? palette->Entries() : platform::Palette{};
  };
  // Entries from `first` on are the file's bytes after the 54-byte header, as they stand.
  auto expectRaw = [](const platform::Palette& palette, const std::vector<uint8_t>& file, int first) {
    for (int i = first; i < 256; ++i) {
      const size_t at = 54 + size_t(i) * 4;
      ASSERT_EQ(palette[i], (PaletteEntry{file[at], file[at + 1], file[at + 2], file[at + 3]})) << "entry " << i;
    }
  };
  // More colours used than a table holds: all 256 entries, reserved bytes as flags.
  const ColorList colors = Colors(3);
  platform::Palette palette = load(BitmapFile(4, 4, colors, 8, 1000, 0x5A));
  for (int i = 0; i < 256; ++i)
    ASSERT_EQ(palette[i], (PaletteEntry{colors[i].red, colors[i].green, colors[i].blue, 0x5A})) << "entry " << i;
  // Sixteen colours used turns only those; the following bytes are taken raw.
  std::vector<uint8_t> file = BitmapFile(32, 32, ColorList(colors.begin(), colors.begin() + 16), 8, 16, 0,
                                         [](int x, int y) { return uint32_t((x * 11 + y * 13) & 0xFF); });
  palette = load(file);
  for (int i = 0; i < 16; ++i) EXPECT_EQ(palette[i], colors[i]) << "entry " << i;
  expectRaw(palette, file, 16);
  // A true-colour file has no table: the raw bytes after its header.
  file = BitmapFile(32, 32, {}, 24, 0, 0, [](int x, int y) { return platform::MakeColorRef(uint8_t(x * 12), uint8_t(y), 99); });
  expectRaw(load(file), file, 0);

  // A missing file gives the colour cube.
  const platform::Palette cube = LoadBitmapPalette(lpDD, "pic\\none.bmp")->Entries();
  EXPECT_EQ(cube, DefaultPalette());
  const std::pair<int, PaletteEntry> entries[] = {
      {0, {0, 0, 0, 0}}, {255, {255, 255, 255, 0}}, {0xE0, {255, 0, 0, 0}}, {0x1C, {0, 255, 0, 0}},
      {0x03, {0, 0, 255, 0}}, {0x49, {72, 72, 85, 0}} /* 2/7 red, 2/7 green, 1/3 blue */};
  for (const auto& [index, entry] : entries) EXPECT_EQ(cube[index], entry) << index;
  // A complete header and ten colour entries, then the file ends: only those replace the cube.
  file = BitmapFile(4, 4, Colors(1));
  file.resize(54 + 10 * 4);
  palette = load(file);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(palette[i].red, Colors(1)[i].red);
  for (int i = 10; i < 256; ++i) ASSERT_EQ(palette[i], cube[i]) << "entry " << i;
  file.resize(30);  // only part of the header, or nothing: nothing of the table is read
  EXPECT_EQ(load(file), cube);
  EXPECT_EQ(load({}), cube);
}

TEST_F(VideoTest, MatchingFindsTheNearestIndexKeysByItAndBadPicturesLeaveTheSurfaceAlone) {
  ColorList colors = Colors(0);
  colors[9] = {255, 238, 187, 0};  // the colour-key colour
  OpenBareDisplay(ToPalette(colors));
  Surface surface(8, 8);
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

  platform::headless::ClearLog();
  std::vector<uint8_t> cut = BitmapFile(4, 4, Colors(0));
  cut.resize(40);  // the header is cut short
  WriteDataFile("pic/cut.bmp", cut);
  for (const char* name : {"pic\\none.bmp", static_cast<const char*>(nullptr), "pic\\cut.bmp"})
    EXPECT_EQ(ReloadBitmapSurface(&surface, name), kResultFail) << (name ? name : "no name");
  EXPECT_EQ(std::vector<uint8_t>(surface.Pixels(), surface.Pixels() + 64), before);
  ASSERT_EQ(GetLog().debugLines.size(), 3u);
  for (const std::string& line : GetLog().debugLines) EXPECT_EQ(line.substr(0, 14), "handle is null");
  // Noise behind a bitmap signature: whatever it decodes to, loading it must stay in bounds.
  std::vector<uint8_t> noise(3000);
  for (size_t i = 0; i < noise.size(); ++i) noise[i] = uint8_t(i * 131 + 7);
  noise[0] = 'B', noise[1] = 'M';
  WriteDataFile("pic/noise.bmp", noise);
  ReloadBitmapSurface(&surface, "pic\\noise.bmp");
}

namespace {

constexpr uint8_t kGameKeyIndex = 7;

// Every picture of the display as a small bitmap in the game colours, the title in its own.
class DisplayTest : public VideoTest {
 protected:
  void SetUp() override {
    VideoTest::SetUp();
    gameColors[kGameKeyIndex] = {255, 238, 187, 0};
  }
  void WritePictures(const std::string& skip = "") {
    std::vector<std::string> names = {"title", "player", "map1", "maps", "talkbar", "sbar", "fightbar", "bomb", "goods", "mainmenu"};
    for (int i = 1; i <= 15; ++i) names.push_back((i < 10 ? "npc0" : "npc") + std::to_string(i));
    for (const std::string& name : names)
      if (name != skip) WriteDataFile("pic/" + name + ".bmp", name == "title" ? BitmapFile(640, 480, titleColors) : BitmapFile(8, 8, gameColors));
  }
  ColorList titleColors = Colors(-1), gameColors = Colors(40);
};

}  // namespace

TEST_F(DisplayTest, StartUpMakesEveryPictureInItsOwnColoursAndSizeAndKeysTheSprites) {
  WritePictures();
  hero.lpSurface = kNoSheet;
  ASSERT_EQ(InitDisplay(), 1);
  // The title kept the indexes of its own colour table (matched to the game colours they would
  // differ); the other pictures are stretched onto their surfaces in the game colours.
  EXPECT_EQ(lpDDSTitle->PixelAt(0, 0), PatternAt(0, 0));
  EXPECT_EQ(lpDDSTitle->PixelAt(600, 400), PatternAt(600, 400));
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
  EXPECT_EQ(lpDDSPlayer->PixelAt(0, 0), PatternAt(0, 0));  // keying borrows the first pixel and gives it back
  EXPECT_EQ(hero.lpSurface, kHeroSheet);
  EXPECT_EQ(SheetSurface(kHeroSheet), lpDDSPlayer);
  EXPECT_EQ(SheetSurface(NpcSheetHandle(14)), lpDDSNpc[14]);
  EXPECT_EQ(SheetSurface(kNpcSheetCount + 2), nullptr);
  EXPECT_EQ(SheetSurface(0xFFFFFFFFu), nullptr);
  EXPECT_TRUE(GetLog().messageBoxes.empty());
  EXPECT_TRUE(GetLog().debugLines.empty());

  // Lost surfaces are restored with their pictures.
  platform::headless::LoseSurfaces();
  RestoreSurfaces();
  for (const auto& entry : expected) EXPECT_FALSE(std::get<0>(entry)->IsLost());
  for (Surface* page : {lpDDSPrimary, lpDDSBack}) EXPECT_FALSE(page->IsLost());
  EXPECT_EQ(lpDDSPlayer->PixelAt(95, 191), PatternAt(7, 7));
  // Releasing twice lets everything go but the colour tables; the display starts again.
  const platform::Palette game = *lpPalGame;
  ReleaseDisplay();
  ReleaseDisplay();
  for (const void* handle : {(const void*)lpDD, (const void*)lpDDSBack, (const void*)lpDDPal.get(),
                             (const void*)lpDDSGoods, (const void*)SheetSurface(kHeroSheet)})
    EXPECT_EQ(handle, nullptr);
  ASSERT_NE(lpPalGame, nullptr);
  EXPECT_EQ(*lpPalGame, game);
  ASSERT_EQ(InitDisplay(), 1);
  EXPECT_EQ(*lpPalGame, game);
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
  EXPECT_EQ(lpDDSPlayer->ColorKey(), std::optional<uint8_t>(platform::NearestPaletteIndex(DefaultPalette(), kColorKeyRef)));
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
    UseBackend(faults);
    destroyMessages = 0;
    ASSERT_TRUE(platform::CreateMainWindow(CountingWindowProc));
    EXPECT_EQ(InitDisplay(), 0);
    EXPECT_EQ(GetLog().messageBoxes, box ? std::vector<std::string>{box} : std::vector<std::string>{});
    EXPECT_EQ(destroyMessages, box ? 1 : 0);
    for (const void* handle : {(const void*)lpDD, (const void*)lpDDSPrimary, (const void*)lpDDSTitle,
                               (const void*)lpDDSPlayer, (const void*)lpDDSNpc[0], (const void*)lpDDSMap1})
      EXPECT_EQ(handle, nullptr);
    ReleaseDisplay();
  }
}

TEST_F(VideoTest, FadesAreTwoHundredFiftySixLoadsEndingAtTheTargetWithBytesWrappingRound) {
  const platform::Palette black{}, game = ToPalette(Colors(11));
  OpenBareDisplay(black);
  const struct { const platform::Palette *from, *to; int step, loads; } fades[] = {
      {&black, &game, +1, 256}, {&game, &game, -1, 256}, {&game, &black, -1, 256},  // each ends at its target
      {&black, &game, 0, 0},    {nullptr, &game, 1, 0},  {&black, &game, 300, 0},  {&black, &game, 64, 4}};
  for (const auto& f : fades) {
    const platform::Palette before = lpDD->CurrentPalette();
    const int loads = GetLog().paletteLoads;
    FadePalette(f.from, f.to, f.step);
    EXPECT_EQ(GetLog().paletteLoads - loads, f.loads) << f.step;
    EXPECT_TRUE(f.loads == 4 || lpDD->CurrentPalette() == (f.loads ? *f.to : before)) << f.step;  // a refused one changes nothing
  }
  // Bytes wrap round to reach their target; flags stay as the starting table has them.
  platform::Palette from{}, to{};
  from[0] = {250, 5, 128, 0}, to[0] = {5, 250, 128, 0};
  from[1] = {0, 255, 1, 4}, to[1] = {255, 0, 0, 0};
  platform::Palette reached = to;
  reached[1].flags = 4;
  FadePalette(&from, &to, +1);
  EXPECT_EQ(lpDD->CurrentPalette(), reached);
  reached = from;
  reached[1].flags = 0;
  FadePalette(&to, &from, -1);
  EXPECT_EQ(lpDD->CurrentPalette(), reached);

  // Colour tables copy the current palette and make the black table once.
  Palette* table = nullptr;
  lpDDPal->SetEntries(game);
  CopyPaletteEntries(table);
  ASSERT_NE(table, nullptr);
  EXPECT_EQ(*table, game);
  Palette* const blackTable = lpPalBlack;
  ASSERT_NE(blackTable, nullptr);
  EXPECT_EQ(*blackTable, black);
  CopyPaletteEntries(table);
  EXPECT_EQ(lpPalBlack, blackTable);
  lpDDPal.reset();
  CopyPaletteEntries(table);
  EXPECT_EQ(*table, black);
}

// On the screen a fade takes half a second; with the headless clock at that pace a door's two
// fades take 1024 ms, and a close request in the middle (the script ending) ends them at once.
TEST_F(VideoTest, ADoorsFadesTakeASecondAndAClosedWindowEndsThemAtOnce) {
  const platform::Palette black{}, game = ToPalette(Colors(11));
  OpenBareDisplay(black);
  for (const bool close : {false, true}) {
    SCOPED_TRACE(close ? "closed at 700 ms" : "not closed");
    platform::headless::Options options;
    options.millisecondsPerPaletteLoad = 2;
    options.quitWhenScriptEnds = close;
    options.script = {{Step::Kind::Wait, 0, 700, "", 1}};
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
