// Converting the UTF-8 text of the data sources into the GBK bytes the game shows, and back
// (for messages about a bad source line).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace datagen {

// The GBK bytes of a UTF-8 text; nothing when the text is not valid UTF-8 or holds a
// character GBK cannot write.
std::optional<std::string> Utf8ToGbk(std::string_view utf8);

// The UTF-8 text of GBK bytes; nothing when they are not valid GBK.
std::optional<std::string> GbkToUtf8(std::string_view gbk);

// True when byte i of a GBK text starts a double-byte character.
inline bool IsGbkLeadByte(unsigned char byte) { return byte >= 0x81 && byte <= 0xFE; }

}  // namespace datagen
