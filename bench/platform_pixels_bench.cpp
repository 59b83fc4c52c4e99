// The pixel work of a world frame and of text and picture loading.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/pixels/bitmap_file.h"
#include "platform/pixels/surface.h"
#include "platform/text.h"

namespace {

platform::Surface Sheet(int width, int height, uint8_t key) {
  platform::Surface s(width, height);
  for (int i = 0; i < width * height; ++i) s.Pixels()[i] = uint8_t(i % 7 == 0 ? key : i * 13);
  s.SetColorKey(key);
  return s;
}

// What a world frame asks of the blit: ~700 keyed 32 × 32 tiles and sprites composed on the
// canvas, then the canvas copied to the back page.
void BM_WorldFrameBlits(benchmark::State& state) {
  platform::Surface canvas(640, 480), back(640, 480);
  const platform::Surface tiles = Sheet(640, 1536, 3);
  for (auto _ : state) {
    for (int i = 0; i < 700; ++i) {
      const int sx = (i % 20) * 32, sy = (i % 48) * 32;
      platform::BltFast(canvas, (i % 21) * 32 - 16, (i / 21 % 16) * 32 - 16, tiles,
                        platform::Rect{sx, sy, sx + 32, sy + 32}, true);
    }
    platform::BltFast(back, 0, 0, canvas, platform::Rect{0, 0, 640, 480}, false);
    benchmark::DoNotOptimize(back.Pixels());
  }
}
BENCHMARK(BM_WorldFrameBlits)->Unit(benchmark::kMicrosecond);

void BM_KeyedTile(benchmark::State& state) {
  platform::Surface canvas(640, 480);
  const platform::Surface tile = Sheet(32, 32, 3);
  for (auto _ : state) {
    platform::BltFast(canvas, 100, 100, tile, platform::Rect{0, 0, 32, 32}, true);
    benchmark::DoNotOptimize(canvas.Pixels());
  }
}
BENCHMARK(BM_KeyedTile);

// A talk-box line of 50 bytes, mixed Chinese and Latin, in a warm glyph cache.
void BM_DrawTextLine(benchmark::State& state) {
  const auto font = platform::OpenGameFont(20);
  platform::Surface surface(640, 480);
  platform::Palette palette{};
  palette[1] = {255, 255, 255, 0};
  const char* line = "\xC4\xE3\xBA\xC3, hero! \xB9\xA5\xBB\xF7\xC1\xA6 1234 \xC4\xE3\xBA\xC3\xC4\xE3\xBA\xC3 ok";
  const int len = int(std::strlen(line));
  for (auto _ : state) {
    platform::DrawText(surface, palette, font.get(), 20, 400, line, len,
                       platform::TextStyle{0xFFFFFF, platform::kBkTransparent, 0});
    benchmark::DoNotOptimize(surface.Pixels());
  }
}
BENCHMARK(BM_DrawTextLine);

// Decoding and copying a 640 × 480 8-bit picture whose colours are the palette.
void BM_LoadFullScreenPicture(benchmark::State& state) {
  std::vector<uint8_t> file(14 + 40 + 1024 + 640 * 480, 0);
  auto put32 = [&](size_t at, uint32_t v) {
    for (int i = 0; i < 4; ++i) file[at + size_t(i)] = uint8_t(v >> (8 * i));
  };
  file[0] = 'B';
  file[1] = 'M';
  put32(10, 14 + 40 + 1024);
  put32(14, 40);
  put32(18, 640);
  put32(22, 480);
  file[26] = 1;
  file[28] = 8;
  platform::Palette palette{};
  for (int i = 0; i < 256; ++i) {
    palette[size_t(i)] = {uint8_t(i), uint8_t(i * 3), uint8_t(i * 7), 0};
    file[54 + size_t(i) * 4] = palette[size_t(i)].blue;
    file[55 + size_t(i) * 4] = palette[size_t(i)].green;
    file[56 + size_t(i) * 4] = palette[size_t(i)].red;
  }
  for (size_t i = 14 + 40 + 1024; i < file.size(); ++i) file[i] = uint8_t(i * 31);
  platform::Surface surface(640, 480);
  for (auto _ : state) {
    const auto bitmap = platform::DecodeBitmap(file.data(), file.size());
    platform::StretchBitmapToSurface(*bitmap, 0, 0, 640, 480, surface, palette);
    benchmark::DoNotOptimize(surface.Pixels());
  }
}
BENCHMARK(BM_LoadFullScreenPicture)->Unit(benchmark::kMillisecond);

}  // namespace

// The benchmark program's entry, unless another benchmark file brings its own.
__attribute__((weak)) int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
