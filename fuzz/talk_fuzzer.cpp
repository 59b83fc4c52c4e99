// A dialogue file: read at start-up, then every talk the text names, and the talks the game
// itself asks for, looked up entry by entry and cut into spoken lines as the talk box does.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "fuzz_world.h"
#include "world/talk.h"

namespace {

constexpr size_t kLongestText = 1023;
constexpr int kEntries = 4;
constexpr int kMostKeys = 8;
constexpr int kGameTalks[] = {10000, 30001, 70003, 99001};

void PlayTalk(int talkId) {
  for (int entry = 0; entry < kEntries; ++entry) {
    const std::string text = FindTalk(talkId, entry);
    fuzz::Require(text.size() <= kLongestText, "an entry keeps at most 1023 bytes");
    size_t position = 0;
    while (position < text.size() && (text[position] == '{' || text[position] == '}')) {
      const std::string words = ReadTalkSegment(text, position);
      fuzz::Require(words.size() <= kLongestText && position <= text.size(), "a line stays in its entry");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::StartWorld();
  fuzz::WriteGameFile("text\\talk.txt", data, size);
  LoadTalkText();
  for (const int talkId : kGameTalks) PlayTalk(talkId);
  // The first keys the text holds, so that found talks are played too.
  int keys = 0;
  for (size_t at = lpTalkText.find('['); at != std::string::npos && keys < kMostKeys;
       at = lpTalkText.find('[', at + 1), ++keys) {
    PlayTalk(int(std::strtol(lpTalkText.c_str() + at + 1, nullptr, 10) % 1000000));
  }
  return 0;
}
