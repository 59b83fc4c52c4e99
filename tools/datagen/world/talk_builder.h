// The dialogue: data/text/talk.txt (readable, UTF-8) into text/talk.txt (the game's layout, GBK).
//
// Source layout (lines starting with "--" are comments):
//   talk 10000 a note            a talk: its five-digit id and a note (ASCII)
//   entry                        the next entry of the talk (entries count from 0)
//   npc: words                   a line the character speaks
//   hero: words                  a line the hero speaks
//   story 99001 a note           a story screen: one entry of plain text
//   text: words                  a paragraph of the story screen (it starts a new row)
//
// Each entry is written on one line after its talk's key line, "[10000] note", and ends with
// ';'; a character's line starts with '{', the hero's with '}', an exchange ends with '@'.
#pragma once

#include <filesystem>

namespace datagen {

inline constexpr int kTalkRow = 50;       // bytes per row of the talk box and story screens
inline constexpr int kTalkBoxRows = 4;    // rows of words that fit the talk box
inline constexpr int kStoryRows = 17;     // rows a story screen may fill below y 100
inline constexpr size_t kStoryBytes = 999;

// Reads the source, checks it and writes the dialogue file. Throws SourceError.
void BuildTalk(const std::filesystem::path& source, const std::filesystem::path& out);

}  // namespace datagen
