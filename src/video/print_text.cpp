// The game's font and text output cut into lines of a fixed number of bytes.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

#include "video/display.h"
#include "video/draw.h"

std::shared_ptr<platform::Font> hFont;

namespace {

constexpr int kLineBufferSize = 100;  // a line holds at most 99 bytes and its zero
constexpr int kLinePitch = 20;

}  // namespace

void CreateGameFont() { hFont = platform::OpenGameFont(20); }

void PrintText(platform::Surface* surface, int x, int y, const char* text, uint32_t textColor,
               int bkMode, uint32_t bkColor, int lineLength) {
  if (surface == nullptr || text == nullptr || lpDD == nullptr) return;
  const platform::TextStyle style{textColor, bkMode, bkColor};
  const size_t n = size_t(std::clamp(lineLength, 1, kLineBufferSize - 1));
  // The terminating zero counts as the text's last byte: a text of exactly n or n - 1 bytes
  // ends in an empty piece, which draws nothing.
  const size_t length = std::strlen(text) + 1;
  const size_t pieces = length / n + 1;
  for (size_t k = 0; k < pieces; ++k) {
    const int64_t lineY = int64_t(y) + int64_t(kLinePitch) * int64_t(k);
    if (lineY > std::numeric_limits<int>::max()) return;
    const size_t start = k * n;
    const size_t count = k + 1 < pieces ? n : length % n;
    char line[kLineBufferSize] = {};
    std::memcpy(line, text + start, count);
    const int lineBytes = int(std::find(line, line + kLineBufferSize, '\0') - line);
    if (lineBytes > 0)
      platform::DrawText(*surface, lpDD->CurrentPalette(), hFont.get(), x, int(lineY), line,
                         lineBytes, style);
  }
}

void PrintShadowedText(platform::Surface* surface, int x, int y, const char* text, uint32_t textColor,
                       int lineLength, int shadowOffset) {
  PrintText(surface, x + shadowOffset, y + shadowOffset, text, kBlack, platform::kBkTransparent, kBlack,
            lineLength);
  PrintText(surface, x, y, text, textColor, platform::kBkTransparent, kBlack, lineLength);
}
