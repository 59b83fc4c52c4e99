#include "platform/display_device.h"

#include "platform/backend/backend_hooks.h"

namespace platform {

namespace {

std::unique_ptr<DisplayDevice> gDevice;

const headless::Faults* Faults() { return detail::ActiveFaults(); }

}  // namespace

void PaletteObject::SetEntries(const Palette& entries) {
  entries_ = entries;
  ++version_;
  const DisplayDevice* device = CurrentDisplayDevice();
  if (device != nullptr && device->AttachedPalette() == this) detail::OnPaletteLoad();
}

Surface* DisplayDevice::CreatePrimaryWithBackBuffer() {
  ReleasePrimary();
  const headless::Faults* faults = Faults();
  if (faults != nullptr && faults->failPrimary) return nullptr;
  primary_ = std::make_unique<Surface>(kScreenWidth, kScreenHeight);
  if (faults == nullptr || !faults->failBackBuffer) {
    back_ = std::make_unique<Surface>(kScreenWidth, kScreenHeight);
  }
  return primary_.get();
}

std::unique_ptr<Surface> DisplayDevice::CreateSurface(int width, int height) {
  ++surfacesCreated_;
  const headless::Faults* faults = Faults();
  if (faults != nullptr && faults->failSurfaceNumber == surfacesCreated_) return nullptr;
  if (width <= 0 || height <= 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide) {
    return nullptr;
  }
  return std::make_unique<Surface>(width, height);
}

std::shared_ptr<PaletteObject> DisplayDevice::CreatePalette(const Palette& entries) {
  return std::make_shared<PaletteObject>(entries);
}

void DisplayDevice::AttachPalette(std::shared_ptr<PaletteObject> palette) {
  palette_ = std::move(palette);
}

const Palette& DisplayDevice::CurrentPalette() const {
  static const Palette black{};
  return palette_ ? palette_->Entries() : black;
}

BlitResult DisplayDevice::Flip() {
  if (!primary_ || !back_) return BlitResult::Failed;
  if (primary_->IsLost() || back_->IsLost()) return BlitResult::SurfaceLost;
  primary_->SwapPixels(*back_);
  detail::OnFlip();
  return BlitResult::Ok;
}

void DisplayDevice::ReleasePrimary() {
  back_.reset();
  primary_.reset();
}

DisplayDevice* OpenDisplayDevice() {
  CloseDisplayDevice();
  const headless::Faults* faults = Faults();
  if (faults != nullptr && faults->failDisplayDevice) return nullptr;
  gDevice = std::make_unique<DisplayDevice>();
  return gDevice.get();
}

void CloseDisplayDevice() { gDevice.reset(); }

DisplayDevice* CurrentDisplayDevice() { return gDevice.get(); }

}  // namespace platform
