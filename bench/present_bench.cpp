// Presenting one frame: the 640 × 480 8-bit page turned into 32-bit screen pixels through the
// palette, against a plain copy of the same number of output bytes.
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "platform/display_device.h"
#include "platform/pixels/page_to_rgb.h"

namespace {

constexpr size_t kPixels = size_t(platform::kScreenWidth) * platform::kScreenHeight;

void BM_ConvertPageThroughPalette(benchmark::State& state) {
  std::vector<uint8_t> page(kPixels);
  for (size_t i = 0; i < kPixels; ++i) page[i] = uint8_t(i * 7 + i / 640);
  platform::Palette palette{};
  for (int i = 0; i < 256; ++i) palette[i] = {uint8_t(i), uint8_t(255 - i), uint8_t(i / 2), 0};
  std::vector<uint32_t> out(kPixels);
  for (auto _ : state) {
    platform::ConvertPageToXrgb(page.data(), platform::kScreenWidth, platform::kScreenHeight,
                                platform::kScreenWidth, palette, out.data(),
                                platform::kScreenWidth * sizeof(uint32_t));
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPixels * 4));
}
BENCHMARK(BM_ConvertPageThroughPalette);

void BM_CopySameOutputBytes(benchmark::State& state) {
  std::vector<uint32_t> in(kPixels, 0x00112233u);
  std::vector<uint32_t> out(kPixels);
  for (auto _ : state) {
    std::memcpy(out.data(), in.data(), kPixels * sizeof(uint32_t));
    benchmark::DoNotOptimize(out.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(kPixels * 4));
}
BENCHMARK(BM_CopySameOutputBytes);

}  // namespace
