// The dialogue file and the talk box.
//
// A talk starts at the token "[id]"; its entries are the lines after the key's line. An entry
// is a run of spoken lines: '{' opens a line of the character, '}' a line of the hero, '@'
// ends the exchange. The talk box plays one line at a time and waits for CTRL or ENTER.
#include "world/talk.h"

#include <cstdio>
#include <cstring>

#include "core/game_state.h"
#include "core/open_screen.h"
#include "core/read_field.h"
#include "platform/system.h"
#include "video/display.h"
#include "video/draw.h"
#include "world/world_view.h"

std::string lpTalkText;

namespace {

constexpr const char* kTalkFile = "text\\talk.txt";
constexpr const char* kMissingTalk = "…… ……";
constexpr size_t kTextCapacity = 1024;  // an entry or a spoken line keeps at most 1023 bytes
// The lookup gives up when the left mouse button is pressed; the button is looked at before
// the scan and then once per this many bytes.
constexpr size_t kMouseCheckInterval = 4096;
constexpr int kLineLength = 50;

bool IsTokenSeparator(char c) { return c == ' ' || c == '\n' || c == ';'; }

bool LookupCancelled() { return platform::GetAsyncKeyState(platform::VK_LBUTTON) != 0; }

// The separator that ends the token "[id]", or npos.
size_t FindTalkKey(const std::string& key) {
  const std::string& text = lpTalkText;
  if (LookupCancelled()) return std::string::npos;
  size_t tokenStart = 0;
  for (size_t position = 0; position < text.size(); ++position) {
    if (position % kMouseCheckInterval == kMouseCheckInterval - 1 && LookupCancelled()) {
      return std::string::npos;
    }
    if (!IsTokenSeparator(text[position])) continue;
    if (position - tokenStart == key.size() && text.compare(tokenStart, key.size(), key) == 0) {
      return position;
    }
    tokenStart = position + 1;
  }
  return std::string::npos;
}

// Copies a name that may lack its terminating zero.
std::string RecordName(const char (&name)[32]) { return std::string(name, strnlen(name, sizeof name)); }

void DrawTalkBox(const NpcRecord* speaker, bool heroSpeaks) {
  Rect rect;
  BlitClipped(lpDDSPrimary, 0, 384, lpDDSTalkBar, MakeRect(rect, 0, 0, 640, 96), 1);
  if (speaker == nullptr) return;
  if (heroSpeaks) {
    BlitClipped(lpDDSPrimary, 30, 396, lpDDSPlayer, MakeRect(rect, 0, 0, 32, 48), 1);
  } else if (Surface* sheet = SheetSurface(speaker->lpSurface)) {
    BlitClipped(lpDDSPrimary, 30, 404, sheet, MakeRect(rect, 0, 0, 32, 32), 1);
  }
  PrintText(lpDDSPrimary, 18, 450, RecordName(speaker->szName).c_str(), kYellow,
            platform::kBkTransparent, kWhite, kLineLength);
}

void WaitForTalkKey() {
  while (platform::GetAsyncKeyState(platform::VK_CONTROL) == 0 &&
         platform::GetAsyncKeyState(platform::VK_RETURN) == 0) {
  }
  WaitKey(platform::VK_CONTROL, 1);
  WaitKey(platform::VK_RETURN, 1);
}

}  // namespace

void LoadTalkText() {
  lpTalkText.clear();
  const std::optional<std::string> file = platform::ReadGameFile(kTalkFile);
  if (!file) return;
  const std::string& raw = *file;
  // The file is text: a CR LF pair is one line end.
  lpTalkText.reserve(raw.size());
  for (size_t k = 0; k < raw.size(); ++k) {
    if (raw[k] == '\r' && k + 1 < raw.size() && raw[k + 1] == '\n') continue;
    lpTalkText.push_back(raw[k]);
  }
}

std::string FindTalk(int talkId, int entry) {
  char key[16];
  std::snprintf(key, sizeof key, "[%d]", talkId);
  size_t position = FindTalkKey(key);
  if (position == std::string::npos) return kMissingTalk;
  // Entry n is reached by stepping n + 1 times: one byte on, then to the next line end, then
  // past it. So a key that ends its line passes over the line right after it.
  for (int step = 0; step <= entry; ++step) {
    const size_t lineEnd = lpTalkText.find('\n', position + 1);
    if (lineEnd == std::string::npos) return kMissingTalk;
    position = lineEnd + 1;
  }
  if (position >= lpTalkText.size()) return kMissingTalk;
  char text[kTextCapacity] = {};
  ReadField(lpTalkText, position, text, sizeof text, 0);
  return text;
}

std::string ReadTalkSegment(const std::string& text, size_t& position) {
  position = position < text.size() ? position + 1 : text.size();
  std::string words;
  while (position < text.size()) {
    const char c = text[position];
    if (c == '{' || c == '}' || c == '@') break;
    if (words.size() < kTextCapacity - 1) words.push_back(c);
    ++position;
  }
  return words;
}

void ShowTalk(int npcIndex, int talkId, int entry) {
  ScreenScope screen("talk");
  const std::string text = FindTalk(talkId, entry);
  size_t position = 0;
  while (position < text.size()) {
    const bool heroSpeaks = text[position] == '}';
    if (!heroSpeaks && text[position] != '{') return;
    // A character line names its speaker by index; an index the current map does not have
    // shows the line without portrait and name.
    const NpcRecord* speaker = &hero;
    if (!heroSpeaks) {
      MapInfo& map = CurrentMap();
      speaker = npcIndex >= 0 && npcIndex < NpcCount(map) ? &map.lpNpcs[size_t(npcIndex)] : nullptr;
    }
    DrawWorld();
    FlipScreen();
    DrawTalkBox(speaker, heroSpeaks);
    const std::string words = ReadTalkSegment(text, position);
    PrintText(lpDDSPrimary, 123, 403, words.c_str(), kBlack, platform::kBkTransparent, kWhite,
              kLineLength);
    PrintText(lpDDSPrimary, 120, 400, words.c_str(), kWhite, platform::kBkTransparent, kWhite,
              kLineLength);
    WaitForTalkKey();
  }
}
