#include "datagen/world/talk_builder.h"

#include <set>

#include "datagen/common/gbk.h"
#include "datagen/world/source_file.h"
#include "datagen/world/text_layout.h"

namespace datagen {
namespace {

// Bytes that end a spoken line or an entry, or could be taken for a talk's key.
constexpr std::string_view kSpeechEnders = "@{}";
constexpr std::string_view kEntryBreakers = "@{};[]\n\r";
constexpr size_t kEntryBytes = 1023;

struct Talk {
  int id = 0;
  bool story = false;
  std::string keyLine;
  std::vector<std::string> entries;  // GBK, without the closing ';'
};

class TalkReader {
 public:
  explicit TalkReader(std::filesystem::path file) : file_(std::move(file)) {}

  std::vector<Talk> Read() {
    for (const SourceLine& line : ReadSourceLines(file_)) {
      line_ = line.number;
      const std::string_view text = Trim(line.text);
      if (text.starts_with("talk ") || text.starts_with("story ")) {
        Finish();
        StartTalk(text);
      } else if (text == "entry" || text.starts_with("entry ")) {
        StartEntry(text);
      } else if (text.starts_with("npc:")) {
        Speech('{', text.substr(4));
      } else if (text.starts_with("hero:")) {
        Speech('}', text.substr(5));
      } else if (text.starts_with("text:")) {
        Paragraph(text.substr(5));
      } else {
        Fail("expected 'talk', 'story', 'entry', 'npc:', 'hero:' or 'text:'");
      }
    }
    Finish();
    return std::move(talks_);
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const { throw SourceError(file_, line_, what); }

  void StartTalk(std::string_view text) {
    const std::vector<std::string> words = SplitWords(text);
    if (words.size() < 2) Fail("a talk starts with its five-digit id");
    Talk talk;
    talk.story = words[0] == "story";
    talk.id = ParseInteger(file_, line_, words[1]);
    if (talk.id < 10000 || talk.id > 99999) Fail("a talk id has five digits");
    if (!ids_.insert(talk.id).second) Fail("talk " + words[1] + " is given twice");
    const std::string_view note = Trim(text.substr(text.find(words[1]) + words[1].size()));
    for (char c : note)
      if (c < ' ' || c > '~' || c == ';' || c == '[' || c == ']')
        Fail("the note after a talk id is plain ASCII without ';', '[' or ']'");
    talk.keyLine = "[" + words[1] + "] " + (note.empty() ? std::string("-") : std::string(note));
    talks_.push_back(std::move(talk));
    if (talks_.back().story) talks_.back().entries.emplace_back();
  }

  void StartEntry(std::string_view text) {
    if (talks_.empty() || talks_.back().story) Fail("'entry' belongs to a talk");
    Talk& talk = talks_.back();
    if (text != "entry" && ParseInteger(file_, line_, text.substr(5)) != int(talk.entries.size()))
      Fail("this is entry " + std::to_string(talk.entries.size()) + " of its talk");
    CloseEntry();
    talk.entries.emplace_back();
  }

  std::string Gbk(std::string_view utf8, std::string_view forbiddenSecond) const {
    const auto gbk = Utf8ToGbk(Trim(utf8));
    if (!gbk) Fail("the words cannot be written in GBK");
    if (gbk->empty()) Fail("a line needs words");
    if (const std::string bad = FindForbiddenByte(*gbk, forbiddenSecond, kEntryBreakers);
        !bad.empty())
      Fail(bad);
    return *gbk;
  }

  void Speech(char mark, std::string_view words) {
    if (talks_.empty() || talks_.back().story || talks_.back().entries.empty())
      Fail("a spoken line belongs to an entry of a talk");
    const std::string laidOut = LayOutRows(Gbk(words, kSpeechEnders), kTalkRow);
    if (const std::string bad = FindRowStartingWithCloser(laidOut, kTalkRow); !bad.empty()) Fail(bad);
    if (RowCount(laidOut, kTalkRow) > kTalkBoxRows)
      Fail("the line needs " + std::to_string(RowCount(laidOut, kTalkRow)) +
           " rows of the talk box; at most 4 fit");
    talks_.back().entries.back() += mark + laidOut;
  }

  void Paragraph(std::string_view words) {
    if (talks_.empty() || !talks_.back().story) Fail("'text:' belongs to a story");
    std::string& entry = talks_.back().entries.back();
    entry = PadToRowEnd(entry, kTalkRow) + LayOutRows(Gbk(words, ""), kTalkRow);
    if (const std::string bad = FindRowStartingWithCloser(entry, kTalkRow); !bad.empty()) Fail(bad);
    if (RowCount(entry, kTalkRow) > kStoryRows || entry.size() > kStoryBytes)
      Fail("the story no longer fits the screen (17 rows of 50 bytes)");
  }

  void CloseEntry() {
    Talk& talk = talks_.back();
    if (talk.entries.empty() || talk.story) return;
    std::string& entry = talk.entries.back();
    if (entry.empty()) Fail("an entry needs at least one line");
    entry += '@';
    if (entry.size() > kEntryBytes) Fail("an entry takes at most 1023 bytes");
  }

  void Finish() {
    if (talks_.empty()) return;
    CloseEntry();
    if (talks_.back().entries.empty() || talks_.back().entries.back().empty())
      Fail("talk " + std::to_string(talks_.back().id) + " has no entry");
  }

  std::filesystem::path file_;
  int line_ = 0;
  std::vector<Talk> talks_;
  std::set<int> ids_;
};

}  // namespace

void BuildTalk(const std::filesystem::path& source, const std::filesystem::path& out) {
  std::string bytes;
  for (const Talk& talk : TalkReader(source).Read()) {
    // The key is followed by a blank and its note, so entry 0 is the next line.
    bytes += talk.keyLine + "\n";
    for (const std::string& entry : talk.entries) bytes += entry + ";\n";
    bytes += "\n";
  }
  WriteBytes(out, bytes);
}

}  // namespace datagen
