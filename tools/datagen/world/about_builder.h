// The About text: data/text/about.txt (UTF-8, one paragraph a line, "~" for an empty row) into
// text/gp.txt, which the About window scrolls in rows of 36 bytes. The window ignores line
// ends, so every paragraph is filled with spaces to the end of its last row instead.
#pragma once

#include <filesystem>

namespace datagen {

inline constexpr int kAboutRow = 36;
// The window scrolls the text 1401 pixels up at 20 pixels a row: later rows never show.
inline constexpr int kAboutRows = 80;

void BuildAbout(const std::filesystem::path& source, const std::filesystem::path& out);

}  // namespace datagen
