// The display device: a 640 × 480 8-bit indexed screen with a front and a back page,
// one attached 256-entry palette and off-screen picture surfaces.
// The backend shows the front page through the attached palette whenever either changed.
#pragma once

#include <memory>

#include "platform/pixels/surface.h"

namespace platform {

constexpr int kScreenWidth = 640;
constexpr int kScreenHeight = 480;
// The largest off-screen surface side the device gives.
constexpr int kMaxSurfaceSide = 16384;

// A palette object. Loading entries into the palette attached to the screen is a
// "palette load": the backend presents it (a fade is 256 of them).
class PaletteObject {
 public:
  explicit PaletteObject(const Palette& entries) : entries_(entries) {}
  const Palette& Entries() const { return entries_; }
  void GetEntries(Palette& out) const { out = entries_; }
  void SetEntries(const Palette& entries);
  uint64_t Version() const { return version_; }

 private:
  Palette entries_;
  uint64_t version_ = 0;
};

class DisplayDevice {
 public:
  // Creates the front page with one attached back page. Fails (nullptr) when the backend
  // cannot give a screen, or when a headless test injects that failure.
  Surface* CreatePrimaryWithBackBuffer();
  Surface* Primary() { return primary_.get(); }
  Surface* BackBuffer() { return back_.get(); }  // nullptr before the primary or on injected failure

  // An off-screen surface of exactly width × height, or nullptr on (injected) failure and for
  // a side below 1 or above kMaxSurfaceSide.
  std::unique_ptr<Surface> CreateSurface(int width, int height);

  std::shared_ptr<PaletteObject> CreatePalette(const Palette& entries);
  void AttachPalette(std::shared_ptr<PaletteObject> palette);
  // The palette attached to the screen; an all-black one until something is attached.
  const Palette& CurrentPalette() const;
  const PaletteObject* AttachedPalette() const { return palette_.get(); }

  // Shows the back page: exchanges the pages.
  BlitResult Flip();

  // Releases the pages (the back page with the front one).
  void ReleasePrimary();

 private:
  std::unique_ptr<Surface> primary_;
  std::unique_ptr<Surface> back_;
  std::shared_ptr<PaletteObject> palette_;
  int surfacesCreated_ = 0;  // CreateSurface calls since the device was opened
};

// The one display device of the program (the backend's screen). Returns nullptr when no
// display can be had; CloseDisplayDevice ends it. Only one exists at a time: opening again
// closes the device in use first and gives a fresh one.
DisplayDevice* OpenDisplayDevice();
void CloseDisplayDevice();
DisplayDevice* CurrentDisplayDevice();

}  // namespace platform
