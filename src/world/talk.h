// The dialogue file and the talk box.
#pragma once

#include <cstddef>
#include <string>

// The whole dialogue file, read once at start-up.
extern std::string lpTalkText;

void LoadTalkText();
// The text of one entry of a talk (at most 1023 bytes), or "…… ……" when it is not found.
std::string FindTalk(int talkId, int entry);
// One spoken line's words, starting at the '{' or '}' at position; position ends on the
// next '{', '}', '@' or the end of the text.
std::string ReadTalkSegment(const std::string& text, size_t& position);
void ShowTalk(int npcIndex, int talkId, int entry);
