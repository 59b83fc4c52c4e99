#include "platform/font/font_locator.h"

#include <fontconfig/fontconfig.h>

#include <cstring>
#include <memory>

namespace platform {

namespace {

struct PatternDeleter {
  void operator()(FcPattern* p) const { FcPatternDestroy(p); }
};
using PatternPtr = std::unique_ptr<FcPattern, PatternDeleter>;

const FcChar8* Text(const char* s) { return reinterpret_cast<const FcChar8*>(s); }

bool HasFamily(FcPattern* font, const char* family) {
  FcChar8* name = nullptr;
  for (int i = 0; FcPatternGetString(font, FC_FAMILY, i, &name) == FcResultMatch; ++i) {
    if (FcStrCmpIgnoreCase(name, Text(family)) == 0) return true;
  }
  return false;
}

// Covers the characters the game's texts are made of (a few common ideographs).
bool CoversChinese(FcPattern* font) {
  FcCharSet* charset = nullptr;
  if (FcPatternGetCharSet(font, FC_CHARSET, 0, &charset) != FcResultMatch) return false;
  for (FcChar32 c : {0x4F60u, 0x597Du, 0x7684u, 0x4E00u, 0x3002u}) {
    if (!FcCharSetHasChar(charset, c)) return false;
  }
  return true;
}

// The installed font fontconfig picks for the family (or for Chinese alone with nullptr).
PatternPtr Match(const char* family) {
  PatternPtr pattern(FcPatternCreate());
  if (!pattern) return nullptr;
  if (family != nullptr) FcPatternAddString(pattern.get(), FC_FAMILY, Text(family));
  FcPatternAddString(pattern.get(), FC_LANG, Text("zh-cn"));
  FcConfigSubstitute(nullptr, pattern.get(), FcMatchPattern);
  FcDefaultSubstitute(pattern.get());
  FcResult result = FcResultNoMatch;
  return PatternPtr(FcFontMatch(nullptr, pattern.get(), &result));
}

std::optional<FontFile> FileOf(FcPattern* font) {
  FcChar8* file = nullptr;
  if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch || file == nullptr) {
    return std::nullopt;
  }
  int index = 0;
  FcPatternGetInteger(font, FC_INDEX, 0, &index);
  return FontFile{reinterpret_cast<const char*>(file), index};
}

}  // namespace

std::optional<FontFile> FindCjkFontFile() {
  if (!FcInit()) return std::nullopt;
  for (const char* family : {"WenQuanYi Zen Hei Mono", "WenQuanYi Zen Hei"}) {
    PatternPtr font = Match(family);
    if (font && HasFamily(font.get(), family) && CoversChinese(font.get())) {
      return FileOf(font.get());
    }
  }
  PatternPtr font = Match(nullptr);
  if (font && CoversChinese(font.get())) return FileOf(font.get());
  return std::nullopt;
}

}  // namespace platform

#if defined(__SANITIZE_ADDRESS__)
// fontconfig keeps a few bytes of its parsed configuration for the life of the process; the
// leak checker of sanitizer builds is told so, for every program that looks up the font.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif
