// Composing a full world view through the clipped blit: a layer of ground tiles, a layer of
// keyed map tiles and the copy of the finished canvas onto the back page, against a plain
// memory copy of the same number of bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/pixels/surface.h"
#include "video/draw.h"

namespace {

constexpr int kColumns = 21;
constexpr int kRows = 16;
constexpr int kTile = 32;
constexpr int kScroll = 16;  // half a tile: the edge tiles are cut on all four sides
constexpr uint8_t kKey = 7;
// Every layer covers the screen once: two tile layers and the canvas copy.
constexpr size_t kBytesWritten = size_t(640) * 480 * 3;

struct Scene {
  platform::Surface ground{32, 320};
  platform::Surface tiles{640, 1536};
  platform::Surface canvas{640, 480};
  platform::Surface back{640, 480};

  Scene() {
    for (int i = 0; i < ground.Width() * ground.Height(); ++i)
      ground.Pixels()[i] = uint8_t(16 + i % 200);
    // Map tiles: about half of each tile is the key colour, as on a sprite.
    for (int y = 0; y < tiles.Height(); ++y)
      for (int x = 0; x < tiles.Width(); ++x)
        tiles.Pixels()[y * tiles.Width() + x] =
            ((x / 4 + y / 4) % 2 == 0) ? kKey : uint8_t(32 + (x + y) % 180);
    tiles.SetColorKey(kKey);
  }

  void Compose() {
    Rect rect;
    for (int row = 0; row < kRows; ++row)
      for (int col = 0; col < kColumns; ++col) {
        const int x = col * kTile - kScroll;
        const int y = row * kTile - kScroll;
        const int groundTile = (row + col) % 10;
        BlitClipped(&canvas, x, y, &ground,
                    MakeRect(rect, 0, groundTile * kTile, kTile, (groundTile + 1) * kTile), 0);
        const int code = (row * kColumns + col) % 960;
        const int tx = (code % 20) * kTile;
        const int ty = (code / 20) * kTile;
        BlitClipped(&canvas, x, y, &tiles, MakeRect(rect, tx, ty, tx + kTile, ty + kTile), 1);
      }
    BlitClipped(&back, 0, 0, &canvas, MakeRect(rect, 0, 0, 640, 480), 0);
  }
};

void BM_ComposeWorldView(benchmark::State& state) {
  Scene scene;
  for (auto _ : state) {
    scene.Compose();
    benchmark::DoNotOptimize(scene.back.Pixels());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBytesWritten));
}
BENCHMARK(BM_ComposeWorldView);

void BM_MemcpySameBytes(benchmark::State& state) {
  std::vector<uint8_t> from(kBytesWritten, 1);
  std::vector<uint8_t> to(kBytesWritten);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), kBytesWritten);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kBytesWritten));
}
BENCHMARK(BM_MemcpySameBytes);

}  // namespace
