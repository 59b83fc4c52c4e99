#include "datagen/world/about_builder.h"

#include "datagen/common/gbk.h"
#include "datagen/world/source_file.h"
#include "datagen/world/text_layout.h"

namespace datagen {

void BuildAbout(const std::filesystem::path& source, const std::filesystem::path& out) {
  std::string bytes;
  for (const SourceLine& line : ReadSourceLines(source)) {
    const std::string_view text = Trim(line.text);
    std::string paragraph;
    if (text != "~") {
      const auto gbk = Utf8ToGbk(text);
      if (!gbk) throw SourceError(source, line.number, "the words cannot be written in GBK");
      if (const std::string bad = FindForbiddenByte(*gbk, "", "\n\r"); !bad.empty())
        throw SourceError(source, line.number, bad);
      paragraph = LayOutRows(*gbk, kAboutRow);
      if (const std::string bad = FindRowStartingWithCloser(paragraph, kAboutRow); !bad.empty())
        throw SourceError(source, line.number, bad);
    }
    bytes += PadToRowEnd(paragraph.empty() ? std::string(kAboutRow, ' ') : paragraph, kAboutRow);
    if (RowCount(bytes, kAboutRow) > kAboutRows)
      throw SourceError(source, line.number, "the About window never shows rows after the 80th");
  }
  WriteBytes(out, bytes);
}

}  // namespace datagen
