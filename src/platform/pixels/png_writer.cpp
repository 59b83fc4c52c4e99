#include "platform/pixels/png_writer.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

namespace platform {

namespace {

// libpng reports errors by jumping back to setjmp, so this function holds only plain values
// that need no clean-up beyond what it does itself. Rows are `width` pixels of `channels`
// bytes; a palette is given for indexed pictures only.
bool WritePngRows(std::FILE* file, const uint8_t* pixels, int width, int height, int channels,
                  const Palette* palette) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, png_uint_32(width), png_uint_32(height), 8,
               palette != nullptr ? PNG_COLOR_TYPE_PALETTE : PNG_COLOR_TYPE_RGB_ALPHA,
               PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
  if (palette != nullptr) {
    png_color colors[256];
    for (size_t i = 0; i < 256; ++i) {
      colors[i] = {(*palette)[i].red, (*palette)[i].green, (*palette)[i].blue};
    }
    png_set_PLTE(png, info, colors, 256);
  }
  png_write_info(png, info);
  const size_t rowBytes = size_t(width) * size_t(channels);
  for (int y = 0; y < height; ++y) png_write_row(png, pixels + size_t(y) * rowBytes);
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

bool WritePngFile(const std::string& hostPath, const uint8_t* pixels, int width, int height,
                  int channels, const Palette* palette) {
  if (width <= 0 || height <= 0) return false;
  std::FILE* file = std::fopen(hostPath.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = WritePngRows(file, pixels, width, height, channels, palette);
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    std::remove(hostPath.c_str());
    return false;
  }
  return true;
}

}  // namespace

bool WritePng(const std::string& hostPath, const Surface& surface, const Palette& palette) {
  return WritePngFile(hostPath, surface.Pixels(), surface.Width(), surface.Height(), 1, &palette);
}

bool WriteRgbaPng(const std::string& hostPath, const RgbaPicture& picture) {
  if (picture.rgba.size() != size_t(picture.width) * size_t(picture.height) * 4) return false;
  return WritePngFile(hostPath, picture.rgba.data(), picture.width, picture.height, 4, nullptr);
}

}  // namespace platform
