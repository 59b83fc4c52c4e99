#include "datagen/world/text_layout.h"

#include "datagen/common/gbk.h"

namespace datagen {
namespace {

std::string Describe(std::string_view gbk, size_t at, size_t length) {
  const auto utf8 = GbkToUtf8(gbk.substr(at, length));
  return "'" + (utf8 ? *utf8 : std::string("?")) + "' at byte " + std::to_string(at);
}

}  // namespace

std::string LayOutRows(std::string_view gbk, int rowBytes) {
  std::string out;
  for (size_t i = 0; i < gbk.size();) {
    const bool wide = IsGbkLeadByte(static_cast<unsigned char>(gbk[i])) && i + 1 < gbk.size();
    if (wide && int(out.size() % size_t(rowBytes)) == rowBytes - 1) out.push_back(' ');
    const size_t length = wide ? 2 : 1;
    out.append(gbk.substr(i, length));
    i += length;
  }
  return out;
}

std::string PadToRowEnd(std::string text, int rowBytes) {
  while (text.size() % size_t(rowBytes) != 0) text.push_back(' ');
  return text;
}

int RowCount(std::string_view gbk, int rowBytes) {
  return int((gbk.size() + size_t(rowBytes) - 1) / size_t(rowBytes));
}

std::string FindStraddle(std::string_view gbk, int rowBytes) {
  for (size_t i = 0; i < gbk.size();) {
    if (IsGbkLeadByte(static_cast<unsigned char>(gbk[i]))) {
      if (int(i % size_t(rowBytes)) == rowBytes - 1) return Describe(gbk, i, 2) + " straddles a row end";
      i += 2;
    } else {
      ++i;
    }
  }
  return {};
}

std::string FindRowStartingWithCloser(std::string_view gbk, int rowBytes) {
  static constexpr std::string_view kClosers[] = {"。", "，", "、", "！", "？", "；", "：", "）", "」",
                                                  "』", "…", "”", "’", "》", "】", ",", ".", "!",
                                                  "?", ";", ":", ")"};
  for (size_t row = 1; row * size_t(rowBytes) < gbk.size(); ++row) {
    const size_t at = row * size_t(rowBytes);
    const size_t length = IsGbkLeadByte(static_cast<unsigned char>(gbk[at])) ? 2 : 1;
    const auto first = GbkToUtf8(gbk.substr(at, length));
    for (std::string_view closer : kClosers)
      if (first && *first == closer)
        return "row " + std::to_string(row + 1) + " would start with '" + *first +
               "': reword the text so that it breaks elsewhere";
  }
  return {};
}

std::string FindForbiddenByte(std::string_view gbk, std::string_view forbiddenSecond,
                              std::string_view forbiddenSingle) {
  for (size_t i = 0; i < gbk.size();) {
    if (IsGbkLeadByte(static_cast<unsigned char>(gbk[i])) && i + 1 < gbk.size()) {
      if (forbiddenSecond.find(gbk[i + 1]) != std::string_view::npos)
        return Describe(gbk, i, 2) + " has the byte '" + std::string(1, gbk[i + 1]) +
               "' as its second byte: choose another word";
      i += 2;
    } else {
      if (forbiddenSingle.find(gbk[i]) != std::string_view::npos)
        return Describe(gbk, i, 1) + " may not be used here";
      ++i;
    }
  }
  return {};
}

}  // namespace datagen
