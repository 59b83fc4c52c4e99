// Finding the game's CJK font file through fontconfig.
#pragma once

#include <optional>
#include <string>

namespace platform {

struct FontFile {
  std::string path;
  int faceIndex = 0;
};

// The best installed font for Chinese text: WenQuanYi Zen Hei (its monospaced face first,
// whose Latin letters are exactly half as wide as the Chinese characters), else any font
// that covers simplified Chinese. Nothing when no such font is installed.
std::optional<FontFile> FindCjkFontFile();

}  // namespace platform
