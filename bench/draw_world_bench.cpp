// DrawWorld side by side, in one run: the game's own composition of the city view against a
// plain memcpy of the bytes it writes, and against the same composition written with SDL's
// 8-bit colour-keyed SDL_BlitSurface, as an SDL programmer would write it (plain colour keys,
// and with SDL's run-length acceleration). Each round times all of them on this thread's
// processor clock; the counters give the medians and their ratios, and say whether SDL's
// picture came out the same as the game's.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "core/game_state.h"
#include "bench_world.h"
#include "video/display.h"
#include "world/world_view.h"

namespace {

constexpr int kCell = 32;

// What DrawWorld writes: the 21 × 16 ground cells and the overlays (both clipped to the
// canvas), the characters, the canvas copied to the back buffer, and the hero.
size_t BytesDrawWorldWrites() {
  const MapInfo& map = CurrentMap();
  size_t overlays = 0;
  for (int row = 0; row <= 15; ++row)
    for (int column = 0; column <= 20; ++column) {
      const uint16_t code = TileAt(map, nViewCol + column, nViewRow + row);
      if (code != 0 && !(code >= 0x5000 && code < 0xA000)) ++overlays;
    }
  const size_t screen = 640 * 480;
  return screen + overlays * kCell * kCell + size_t(NpcCount(map)) * kCell * kCell + screen +
         32 * 48;
}

// The game's surfaces copied into SDL surfaces that share one palette.
class SdlWorld {
 public:
  explicit SdlWorld(bool runLengths) : runLengths_(runLengths) {
    palette_ = SDL_AllocPalette(256);
    const Palette& colours = lpDD->CurrentPalette();
    SDL_Color entries[256];
    for (int i = 0; i < 256; ++i)
      entries[i] = {colours[size_t(i)].red, colours[size_t(i)].green, colours[size_t(i)].blue, 255};
    SDL_SetPaletteColors(palette_, entries, 0, 256);
    canvas_ = Copy(*lpDDSTitle);
    back_ = Copy(*lpDDSBack);
    ground_ = Copy(*lpDDSMap1);
    tiles_ = Copy(*lpDDSMaps);
    player_ = Copy(*lpDDSPlayer);
    for (int k = 0; k < kNpcSheetCount; ++k) npcs_[k] = Copy(*lpDDSNpc[k]);
  }
  ~SdlWorld() {
    for (SDL_Surface* s : {canvas_, back_, ground_, tiles_, player_}) SDL_FreeSurface(s);
    for (SDL_Surface* s : npcs_) SDL_FreeSurface(s);
    SDL_FreePalette(palette_);
  }
  SdlWorld(const SdlWorld&) = delete;
  SdlWorld& operator=(const SdlWorld&) = delete;

  // The world view as DrawMap, DrawNpcs and DrawWorld compose it.
  void Compose() {
    const MapInfo& map = CurrentMap();
    const SDL_Rect ground{0, kCell * map.nGroundTile, kCell, kCell};
    for (int row = 0; row <= 15; ++row)
      for (int column = 0; column <= 20; ++column) {
        const int x = column * kCell + nScrollX, y = row * kCell + nScrollY;
        Blit(ground_, ground, canvas_, x, y);
        const uint16_t code = TileAt(map, nViewCol + column, nViewRow + row);
        if (code == 0 || (code >= 0x5000 && code < 0xA000)) continue;
        int tile = code < 0xA000 ? code : code - 0xA000;
        if (tile >= 0x5000) tile = 301;
        Blit(tiles_, SDL_Rect{kCell * (tile % 20), kCell * (tile / 20), kCell, kCell}, canvas_, x, y);
      }
    for (int k = 0; k < NpcCount(map); ++k) {
      const NpcRecord& npc = map.lpNpcs[size_t(k)];
      if (npc.bActive != 1 || npc.nPicture < 0 || npc.nPicture >= kNpcSheetCount) continue;
      Blit(npcs_[npc.nPicture], Frame(npc), canvas_, npc.nX - nViewCol * kCell + nScrollX,
           npc.nY - nViewRow * kCell - npc.nFrameHeight + nScrollY);
    }
    Blit(canvas_, SDL_Rect{0, 0, 640, 480}, back_, 0, 0);
    Blit(player_, Frame(hero), back_, hero.nX, hero.nY - hero.nFrameHeight);
  }

  bool SameAsBackBuffer() const {
    for (int y = 0; y < 480; ++y)
      if (std::memcmp(static_cast<const uint8_t*>(back_->pixels) + y * back_->pitch,
                      lpDDSBack->Pixels() + y * 640, 640) != 0)
        return false;
    return true;
  }

 private:
  SDL_Surface* Copy(const Surface& from) {
    SDL_Surface* to = SDL_CreateRGBSurfaceWithFormat(0, from.Width(), from.Height(), 8, SDL_PIXELFORMAT_INDEX8);
    SDL_SetSurfacePalette(to, palette_);
    for (int y = 0; y < from.Height(); ++y)
      std::memcpy(static_cast<uint8_t*>(to->pixels) + y * to->pitch, from.Pixels() + y * from.Width(),
                  size_t(from.Width()));
    if (from.ColorKey()) {
      SDL_SetColorKey(to, SDL_TRUE, *from.ColorKey());
      if (runLengths_) SDL_SetSurfaceRLE(to, 1);
    }
    return to;
  }
  static SDL_Rect Frame(const NpcRecord& r) {
    return SDL_Rect{r.nFrame * r.nFrameWidth, r.nDirection * r.nFrameHeight, r.nFrameWidth, r.nFrameHeight};
  }
  static void Blit(SDL_Surface* from, SDL_Rect rect, SDL_Surface* to, int x, int y) {
    SDL_Rect at{x, y, 0, 0};
    SDL_BlitSurface(from, &rect, to, &at);
  }

  bool runLengths_;
  SDL_Palette* palette_ = nullptr;
  SDL_Surface *canvas_, *back_, *ground_, *tiles_, *player_;
  SDL_Surface* npcs_[kNpcSheetCount];
};

template <typename Work>
double Time(Work&& work) {
  const double start = ThreadSeconds();
  work();
  benchmark::ClobberMemory();
  return ThreadSeconds() - start;
}

void BM_DrawWorldSideBySide(benchmark::State& state) {
  StartBenchWorld();
  PlaceInCity();
  // Half a cell of scroll: the cells along all four edges are cut.
  nScrollX = nLastScrollX = -16;
  nScrollY = nLastScrollY = -16;
  SdlWorld keyed(false), runLengths(true);
  const size_t bytes = BytesDrawWorldWrites();
  std::vector<uint8_t> from(bytes, 1), to(bytes);
  std::vector<double> ours, copy, sdl, sdlRle;
  // Runs of a few calls of each in turn: each is timed with its own data in the caches, as
  // when the game draws frame after frame.
  constexpr int kRun = 8;
  for (auto _ : state) {
    for (int k = 0; k < kRun; ++k) ours.push_back(Time([] { DrawWorld(); }));
    for (int k = 0; k < kRun; ++k)
      copy.push_back(Time([&] {
        std::memcpy(to.data(), from.data(), bytes);
        benchmark::DoNotOptimize(to.data());
      }));
    for (int k = 0; k < kRun; ++k) sdl.push_back(Time([&] { keyed.Compose(); }));
    for (int k = 0; k < kRun; ++k) sdlRle.push_back(Time([&] { runLengths.Compose(); }));
  }
  const double oursMedian = Median(ours), copyMedian = Median(copy);
  const double sdlMedian = Median(sdl), rleMedian = Median(sdlRle);
  state.counters["drawworld_us"] = oursMedian * 1e6;
  state.counters["memcpy_us"] = copyMedian * 1e6;
  state.counters["sdl_us"] = sdlMedian * 1e6;
  state.counters["sdl_rle_us"] = rleMedian * 1e6;
  state.counters["x_memcpy"] = oursMedian / copyMedian;
  state.counters["x_sdl"] = oursMedian / sdlMedian;
  state.counters["x_sdl_rle"] = oursMedian / rleMedian;
  state.counters["same_pixels"] = keyed.SameAsBackBuffer() && runLengths.SameAsBackBuffer();
}
BENCHMARK(BM_DrawWorldSideBySide)->Iterations(200)->Unit(benchmark::kMillisecond);

}  // namespace
