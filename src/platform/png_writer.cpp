#include "platform/png_writer.h"

#include <png.h>

#include <csetjmp>
#include <cstdio>

namespace platform {

namespace {

// libpng reports errors by jumping back to setjmp, so this function holds only plain values
// that need no clean-up beyond what it does itself.
bool WriteIndexedPng(std::FILE* file, const Surface& surface, const Palette& palette) {
  png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
  if (png == nullptr) return false;
  png_infop info = png_create_info_struct(png);
  if (info == nullptr || setjmp(png_jmpbuf(png))) {
    png_destroy_write_struct(&png, &info);
    return false;
  }
  png_init_io(png, file);
  png_set_IHDR(png, info, png_uint_32(surface.Width()), png_uint_32(surface.Height()), 8,
               PNG_COLOR_TYPE_PALETTE, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
               PNG_FILTER_TYPE_DEFAULT);
  png_color colors[256];
  for (size_t i = 0; i < 256; ++i) colors[i] = {palette[i].red, palette[i].green, palette[i].blue};
  png_set_PLTE(png, info, colors, 256);
  png_write_info(png, info);
  for (int y = 0; y < surface.Height(); ++y) {
    png_write_row(png, surface.Pixels() + size_t(y) * size_t(surface.Width()));
  }
  png_write_end(png, nullptr);
  png_destroy_write_struct(&png, &info);
  return true;
}

}  // namespace

bool WritePng(const std::string& hostPath, const Surface& surface, const Palette& palette) {
  if (surface.Width() <= 0 || surface.Height() <= 0) return false;
  std::FILE* file = std::fopen(hostPath.c_str(), "wb");
  if (file == nullptr) return false;
  const bool written = WriteIndexedPng(file, surface, palette);
  const bool closed = std::fclose(file) == 0;
  if (!written || !closed) {
    std::remove(hostPath.c_str());
    return false;
  }
  return true;
}

}  // namespace platform
