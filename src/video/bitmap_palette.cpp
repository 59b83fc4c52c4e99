// Palettes from the colour tables of bitmap files, read as raw bytes.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <utility>

#include "platform/system.h"
#include "video/bitmap.h"

namespace {

constexpr size_t kFileHeaderSize = 14;
constexpr size_t kInfoHeaderSize = 40;
constexpr size_t kColorTableSize = 256 * 4;

uint32_t ReadLe32(const uint8_t* bytes) {
  return uint32_t(bytes[0]) | (uint32_t(bytes[1]) << 8) | (uint32_t(bytes[2]) << 16) |
         (uint32_t(bytes[3]) << 24);
}

uint16_t ReadLe16(const uint8_t* bytes) { return uint16_t(bytes[0] | (bytes[1] << 8)); }

}  // namespace

platform::Palette DefaultPalette() {
  platform::Palette palette;
  for (int i = 0; i < 256; ++i) {
    palette[i].red = static_cast<uint8_t>(((i >> 5) & 7) * 255 / 7);
    palette[i].green = static_cast<uint8_t>(((i >> 2) & 7) * 255 / 7);
    palette[i].blue = static_cast<uint8_t>((i & 3) * 255 / 3);
    palette[i].flags = 0;
  }
  return palette;
}

std::shared_ptr<platform::PaletteObject> LoadBitmapPalette(platform::DisplayDevice* device,
                                                           const char* name) {
  platform::Palette table = DefaultPalette();
  std::FILE* file = name != nullptr ? platform::OpenGameFile(name, "rb") : nullptr;
  if (file != nullptr) {
    uint8_t fileHeader[kFileHeaderSize] = {};
    uint8_t info[kInfoHeaderSize] = {};
    uint8_t raw[kColorTableSize] = {};
    // Read one after the other as the file holds them; a short file fills only what it has.
    const size_t fileHeaderRead = std::fread(fileHeader, 1, sizeof fileHeader, file);
    const size_t infoRead =
        fileHeaderRead == sizeof fileHeader ? std::fread(info, 1, sizeof info, file) : 0;
    const size_t tableRead =
        infoRead == sizeof info ? std::fread(raw, 1, sizeof raw, file) : 0;
    std::fclose(file);

    // The bytes read replace the default table as they stand: blue, green, red, reserved.
    uint8_t* const entries = reinterpret_cast<uint8_t*>(table.data());
    std::memcpy(entries, raw, tableRead);

    const uint32_t infoSize = ReadLe32(info);
    const uint16_t bitCount = ReadLe16(info + 14);
    const uint32_t colorsUsed = ReadLe32(info + 32);
    if (infoRead == sizeof info && infoSize == kInfoHeaderSize && bitCount <= 8) {
      size_t count = colorsUsed != 0 ? colorsUsed : size_t(1) << bitCount;
      // Only whole entries that came from the file turn from blue-first into red-first;
      // entries the file was too short for keep the default colours.
      const size_t entriesRead = tableRead / 4;
      count = std::min({count, size_t(256), entriesRead});
      for (size_t i = 0; i < count; ++i) std::swap(table[i].red, table[i].blue);
    }
  }
  if (device == nullptr) return nullptr;
  return device->CreatePalette(table);
}
