// GBK (code page 936) characters: where one ends, and which Unicode character it is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

namespace platform::gbk {

// One character of a GBK byte string: a double-byte character is a lead byte 0x81–0xFE
// followed by a trail byte 0x40–0xFE other than 0x7F; every other byte stands alone.
struct Character {
  uint16_t code = 0;  // the byte, or lead × 256 + trail
  int bytes = 1;
};

// The character that starts at text (remaining > 0 bytes left).
Character NextCharacter(const uint8_t* text, size_t remaining);

// The Unicode character of a GBK character, or nothing when code page 936 has none for it.
std::optional<char32_t> ToCodePoint(const Character& character);

void AppendUtf8(std::string& out, char32_t codePoint);

}  // namespace platform::gbk
