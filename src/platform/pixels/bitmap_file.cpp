#include "platform/pixels/bitmap_file.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>

#include "platform/files/regular_file.h"

namespace platform {

namespace {

constexpr int kMaxSide = 16384;
// Bounds the memory a picture may take (five bytes a pixel once decoded).
constexpr size_t kMaxPixels = size_t(1) << 26;
constexpr size_t kFileHeaderSize = 14;
constexpr size_t kCoreHeaderSize = 12;  // the old OS/2 header: 16-bit sizes, 3-byte colours
constexpr size_t kInfoHeaderSize = 40;

enum Compression : uint32_t {
  kRgb = 0,
  kRle8 = 1,
  kRle4 = 2,
  kBitFields = 3,
  kAlphaBitFields = 6,
};

// Little-endian reads; callers have checked that the bytes exist.
uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

// One colour channel of a 16- or 32-bit pixel, given by its bit mask.
struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;

  explicit Channel(uint32_t m = 0) : mask(m) {
    if (mask == 0) return;
    while (((mask >> shift) & 1) == 0) ++shift;
    while (shift + bits < 32 && ((mask >> (shift + bits)) & 1) != 0) ++bits;
  }
  uint32_t Extract(uint32_t pixel) const {
    if (bits == 0) return 0;
    const uint32_t value = (pixel & mask) >> shift;
    if (bits >= 8) return value >> (bits - 8);
    const uint32_t top = (1u << bits) - 1;
    return (value * 255 + top / 2) / top;
  }
};

// What the headers say, checked against the file's size.
struct Layout {
  int width = 0;
  int height = 0;
  bool topDown = false;
  int bitsPerPixel = 0;
  uint32_t compression = kRgb;
  Channel red, green, blue;
  size_t pixelOffset = 0;
};

bool ValidDepth(int bits) {
  return bits == 1 || bits == 4 || bits == 8 || bits == 16 || bits == 24 || bits == 32;
}

// Reads the headers and the colour table. Nothing for anything out of bounds or unsupported.
std::optional<Layout> ReadHeaders(const uint8_t* bytes, size_t size, DibBitmap& bitmap) {
  if (size < kFileHeaderSize + 4 || bytes[0] != 'B' || bytes[1] != 'M') return std::nullopt;
  const uint32_t headerSize = U32(bytes + 14);
  if (headerSize != kCoreHeaderSize && headerSize < kInfoHeaderSize) return std::nullopt;
  if (headerSize > size - kFileHeaderSize) return std::nullopt;
  const uint8_t* info = bytes + kFileHeaderSize;

  Layout layout;
  int64_t height = 0;
  uint32_t colorsUsed = 0;
  size_t tableOffset = kFileHeaderSize + headerSize;
  size_t entrySize = 4;
  if (headerSize == kCoreHeaderSize) {
    layout.width = U16(info + 4);
    height = U16(info + 6);
    layout.bitsPerPixel = U16(info + 10);
    entrySize = 3;
  } else {
    layout.width = int32_t(U32(info + 4));
    height = int32_t(U32(info + 8));
    layout.bitsPerPixel = U16(info + 14);
    layout.compression = U32(info + 16);
    colorsUsed = U32(info + 32);
  }
  layout.topDown = height < 0;
  height = height < 0 ? -height : height;
  if (layout.width <= 0 || height <= 0 || layout.width > kMaxSide || height > kMaxSide) {
    return std::nullopt;
  }
  layout.height = int(height);
  if (!ValidDepth(layout.bitsPerPixel)) return std::nullopt;

  switch (layout.compression) {
    case kRgb:
      break;
    case kRle8:
    case kRle4:
      // Run-length pictures are stored bottom-up only.
      if (layout.bitsPerPixel != (layout.compression == kRle8 ? 8 : 4) || layout.topDown) {
        return std::nullopt;
      }
      break;
    case kBitFields:
    case kAlphaBitFields: {
      if (layout.bitsPerPixel != 16 && layout.bitsPerPixel != 32) return std::nullopt;
      // The masks belong to the larger headers, or follow a 40-byte one.
      const size_t maskOffset = kFileHeaderSize + kInfoHeaderSize;
      if (maskOffset + 12 > size) return std::nullopt;
      layout.red = Channel(U32(bytes + maskOffset));
      layout.green = Channel(U32(bytes + maskOffset + 4));
      layout.blue = Channel(U32(bytes + maskOffset + 8));
      if (headerSize == kInfoHeaderSize) {
        tableOffset += layout.compression == kBitFields ? 12 : 16;
      }
      break;
    }
    default:
      return std::nullopt;  // embedded JPEG or PNG and unknown kinds
  }
  if (layout.compression == kRgb && layout.bitsPerPixel == 16) {
    layout.red = Channel(0x7C00);
    layout.green = Channel(0x03E0);
    layout.blue = Channel(0x001F);
  } else if (layout.compression == kRgb && layout.bitsPerPixel == 32) {
    layout.red = Channel(0xFF0000);
    layout.green = Channel(0x00FF00);
    layout.blue = Channel(0x0000FF);
  }

  // The colour table: required for indexed pictures, optional (and ignored if odd) otherwise.
  size_t entries = 0;
  if (layout.bitsPerPixel <= 8) {
    if (colorsUsed > 256) return std::nullopt;
    entries = colorsUsed != 0 ? colorsUsed : size_t(1) << layout.bitsPerPixel;
    if (tableOffset > size || entries * entrySize > size - tableOffset) return std::nullopt;
  } else if (colorsUsed <= 256 && tableOffset <= size &&
             colorsUsed * entrySize <= size - tableOffset) {
    entries = colorsUsed;
  }
  bitmap.colorTable.resize(entries);
  for (size_t i = 0; i < entries; ++i) {
    const uint8_t* e = bytes + tableOffset + i * entrySize;
    bitmap.colorTable[i] = MakeColorRef(e[2], e[1], e[0]);
  }

  layout.pixelOffset = U32(bytes + 10);
  if (layout.pixelOffset < kFileHeaderSize + headerSize || layout.pixelOffset >= size) {
    return std::nullopt;
  }
  return layout;
}

// Writes one pixel of an indexed picture (file row y counts from the first stored row).
class IndexedPixels {
 public:
  IndexedPixels(const Layout& layout, DibBitmap& bitmap) : layout_(layout), bitmap_(bitmap) {}
  void Put(int64_t x, int64_t fileRow, uint8_t index) {
    if (x < 0 || x >= layout_.width || fileRow < 0 || fileRow >= layout_.height) return;
    const int64_t row = layout_.topDown ? fileRow : layout_.height - 1 - fileRow;
    bitmap_.indexes[size_t(row) * size_t(layout_.width) + size_t(x)] = index;
  }

 private:
  const Layout& layout_;
  DibBitmap& bitmap_;
};

size_t Stride(const Layout& layout) {
  return (size_t(layout.width) * size_t(layout.bitsPerPixel) + 31) / 32 * 4;
}

// Whether the file holds every row of an uncompressed picture.
bool RowsFit(size_t size, const Layout& layout) {
  const size_t lastRowBytes = (size_t(layout.width) * size_t(layout.bitsPerPixel) + 7) / 8;
  // The final row may lack its padding.
  return Stride(layout) * size_t(layout.height - 1) + lastRowBytes <= size - layout.pixelOffset;
}

void DecodeUncompressed(const uint8_t* bytes, const Layout& layout, DibBitmap& bitmap) {
  const size_t stride = Stride(layout);

  const size_t width = size_t(layout.width);
  for (int fileRow = 0; fileRow < layout.height; ++fileRow) {
    const uint8_t* src = bytes + layout.pixelOffset + size_t(fileRow) * stride;
    const size_t row = size_t(layout.topDown ? fileRow : layout.height - 1 - fileRow);
    const size_t out = row * width;
    switch (layout.bitsPerPixel) {
      case 1:
      case 4:
      case 8: {
        const int bits = layout.bitsPerPixel;
        const int perByte = 8 / bits;
        const uint8_t mask = uint8_t((1 << bits) - 1);
        for (size_t x = 0; x < width; ++x) {
          const int shift = 8 - bits * (int(x % size_t(perByte)) + 1);
          bitmap.indexes[out + x] = uint8_t((src[x / size_t(perByte)] >> shift) & mask);
        }
        break;
      }
      case 24:
        for (size_t x = 0; x < width; ++x) {
          const uint8_t* p = src + x * 3;
          bitmap.colors[out + x] = MakeColorRef(p[2], p[1], p[0]);
        }
        break;
      case 16:
      case 32:
        for (size_t x = 0; x < width; ++x) {
          const uint32_t pixel = layout.bitsPerPixel == 16 ? U16(src + x * 2) : U32(src + x * 4);
          bitmap.colors[out + x] =
              MakeColorRef(uint8_t(layout.red.Extract(pixel)), uint8_t(layout.green.Extract(pixel)),
                           uint8_t(layout.blue.Extract(pixel)));
        }
        break;
    }
  }
}

// Run-length data: pairs of (count, index) runs and escapes for end of line, end of picture,
// a jump ahead, and literal pixels padded to two bytes. Pixels the data never reaches stay
// index 0; pixels past the right edge are dropped. Data that stops in the middle of a literal
// or a jump is a truncated file.
bool DecodeRunLength(const uint8_t* bytes, size_t size, const Layout& layout, DibBitmap& bitmap) {
  const bool fourBit = layout.compression == kRle4;
  IndexedPixels pixels(layout, bitmap);
  size_t pos = layout.pixelOffset;
  int64_t x = 0, row = 0;
  while (pos + 1 < size && row < layout.height) {
    const uint8_t count = bytes[pos], value = bytes[pos + 1];
    pos += 2;
    if (count > 0) {
      for (int i = 0; i < count; ++i) {
        const uint8_t index = !fourBit ? value : (i % 2 == 0 ? value >> 4 : value & 0x0F);
        pixels.Put(x + i, row, index);
      }
      x += count;
    } else if (value == 0) {
      x = 0;
      ++row;
    } else if (value == 1) {
      break;
    } else if (value == 2) {
      if (pos + 1 >= size) return false;
      x += bytes[pos];
      row += bytes[pos + 1];
      pos += 2;
    } else {
      const size_t dataBytes = fourBit ? (size_t(value) + 1) / 2 : value;
      if (dataBytes > size - pos) return false;
      for (int i = 0; i < value; ++i) {
        const uint8_t b = bytes[pos + size_t(fourBit ? i / 2 : i)];
        const uint8_t index = !fourBit ? b : (i % 2 == 0 ? b >> 4 : b & 0x0F);
        pixels.Put(x + i, row, index);
      }
      x += value;
      pos += std::min(size - pos, (dataBytes + 1) & ~size_t(1));
    }
  }
  return true;
}

}  // namespace

std::optional<DibBitmap> DecodeBitmap(const uint8_t* bytes, size_t size) {
  if (bytes == nullptr) return std::nullopt;
  DibBitmap bitmap;
  const std::optional<Layout> layout = ReadHeaders(bytes, size, bitmap);
  if (!layout) return std::nullopt;

  // Sizes are checked against the file before any memory is taken for the pixels.
  const size_t pixelCount = size_t(layout->width) * size_t(layout->height);
  if (pixelCount > kMaxPixels) return std::nullopt;
  const bool runLength = layout->compression == kRle8 || layout->compression == kRle4;
  if (runLength) {
    // Runs give at most 255 pixels per two bytes and jumps skip more; a picture that claims
    // far more pixels than its data could ever describe is refused.
    if (pixelCount / 2048 > size - layout->pixelOffset) return std::nullopt;
  } else if (!RowsFit(size, *layout)) {
    return std::nullopt;
  }

  bitmap.width = layout->width;
  bitmap.height = layout->height;
  bitmap.bitsPerPixel = layout->bitsPerPixel;
  const bool indexed = layout->bitsPerPixel <= 8;
  if (indexed) bitmap.indexes.assign(pixelCount, 0);
  bitmap.colors.assign(pixelCount, 0);

  if (runLength) {
    if (!DecodeRunLength(bytes, size, *layout, bitmap)) return std::nullopt;
  } else {
    DecodeUncompressed(bytes, *layout, bitmap);
  }
  if (indexed) {
    // Indexes past the colour table show black.
    for (size_t i = 0; i < pixelCount; ++i) {
      const uint8_t index = bitmap.indexes[i];
      bitmap.colors[i] = index < bitmap.colorTable.size() ? bitmap.colorTable[index] : 0;
    }
  }
  return bitmap;
}

std::optional<DibBitmap> LoadBitmapFile(const std::string& hostPath) {
  std::string why;
  std::unique_ptr<std::FILE, int (*)(std::FILE*)> file(OpenRegularFile(hostPath, why), std::fclose);
  if (!file) return std::nullopt;
  std::vector<uint8_t> bytes;
  uint8_t chunk[16384];
  // No picture within the size limits comes near this.
  constexpr size_t kLargestFile = size_t(1) << 31;
  for (size_t got; (got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0;) {
    if (bytes.size() + got > kLargestFile) return std::nullopt;
    bytes.insert(bytes.end(), chunk, chunk + got);
  }
  if (bytes.empty()) return std::nullopt;
  return DecodeBitmap(bytes.data(), bytes.size());
}

}  // namespace platform
