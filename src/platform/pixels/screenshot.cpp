#include "platform/pixels/screenshot.h"

#include <filesystem>

#include "platform/pixels/png_writer.h"

namespace platform {

std::string SaveScreenshot(const Surface& page, const Palette& palette, const std::string& folder,
                           std::time_t when) {
  namespace fs = std::filesystem;
  std::error_code error;
  fs::create_directories(folder, error);
  std::tm local{};
  char stamp[32] = "";
  if (localtime_r(&when, &local) != nullptr) {
    std::strftime(stamp, sizeof stamp, "%Y-%m-%d_%H-%M-%S", &local);
  }
  const std::string stem = (fs::path(folder) / (std::string("tamsel-") + stamp)).string();
  constexpr int kMostTries = 100;
  for (int n = 1; n <= kMostTries; ++n) {
    const std::string path = stem + (n == 1 ? "" : "-" + std::to_string(n)) + ".png";
    if (fs::exists(fs::symlink_status(path, error))) continue;
    return WritePng(path, page, palette) ? path : std::string();
  }
  return {};
}

}  // namespace platform
