#include "platform/font/gbk.h"

#include <iconv.h>

namespace platform::gbk {

namespace {

bool IsLeadByte(uint8_t b) { return b >= 0x81 && b <= 0xFE; }
bool IsTrailByte(uint8_t b) { return b >= 0x40 && b <= 0xFE && b != 0x7F; }

// One converter from code page 936 to UTF-32LE for the whole program.
class Converter {
 public:
  Converter() : cd_(iconv_open("UTF-32LE", "CP936")) {
    if (cd_ == kInvalid) cd_ = iconv_open("UTF-32LE", "GBK");
  }
  ~Converter() {
    if (cd_ != kInvalid) iconv_close(cd_);
  }
  Converter(const Converter&) = delete;
  Converter& operator=(const Converter&) = delete;

  std::optional<char32_t> Convert(const char* bytes, size_t count) {
    if (cd_ == kInvalid) return std::nullopt;
    iconv(cd_, nullptr, nullptr, nullptr, nullptr);  // fresh shift state
    char in[2] = {bytes[0], count > 1 ? bytes[1] : '\0'};
    unsigned char out[8] = {};
    char* inPtr = in;
    char* outPtr = reinterpret_cast<char*>(out);
    size_t inLeft = count, outLeft = sizeof out;
    if (iconv(cd_, &inPtr, &inLeft, &outPtr, &outLeft) == size_t(-1) || inLeft != 0 ||
        sizeof out - outLeft != 4) {
      return std::nullopt;
    }
    return char32_t(out[0]) | char32_t(out[1]) << 8 | char32_t(out[2]) << 16 |
           char32_t(out[3]) << 24;
  }

 private:
  static inline const iconv_t kInvalid = reinterpret_cast<iconv_t>(-1);
  iconv_t cd_;
};

}  // namespace

Character NextCharacter(const uint8_t* text, size_t remaining) {
  if (remaining >= 2 && IsLeadByte(text[0]) && IsTrailByte(text[1])) {
    return Character{uint16_t(text[0] << 8 | text[1]), 2};
  }
  return Character{text[0], 1};
}

std::optional<char32_t> ToCodePoint(const Character& character) {
  if (character.bytes == 1 && character.code < 0x80) return char32_t(character.code);
  static Converter converter;
  const char bytes[2] = {
      char(character.bytes == 2 ? character.code >> 8 : character.code),
      char(character.code & 0xFF)};
  return character.bytes == 2 ? converter.Convert(bytes, 2) : converter.Convert(bytes, 1);
}

void AppendUtf8(std::string& out, char32_t c) {
  if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
  if (c < 0x80) {
    out += char(c);
  } else if (c < 0x800) {
    out += char(0xC0 | (c >> 6));
    out += char(0x80 | (c & 0x3F));
  } else if (c < 0x10000) {
    out += char(0xE0 | (c >> 12));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  } else {
    out += char(0xF0 | (c >> 18));
    out += char(0x80 | ((c >> 12) & 0x3F));
    out += char(0x80 | ((c >> 6) & 0x3F));
    out += char(0x80 | (c & 0x3F));
  }
}

}  // namespace platform::gbk
