#include "platform/pixels/screen_signature.h"

namespace platform::detail {

ScreenSignature CurrentScreenSignature() {
  ScreenSignature signature;
  DisplayDevice* device = CurrentDisplayDevice();
  if (device == nullptr) return signature;
  signature.page = device->Primary();
  if (signature.page != nullptr) signature.pageVersion = signature.page->Version();
  signature.palette = device->AttachedPalette();
  if (signature.palette != nullptr) signature.paletteVersion = signature.palette->Version();
  return signature;
}

}  // namespace platform::detail
