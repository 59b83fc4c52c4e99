#include "datagen/world/field_lines.h"

#include "datagen/common/gbk.h"
#include "datagen/world/source_file.h"
#include "datagen/world/text_layout.h"

namespace datagen {

std::vector<FieldLine> ReadFieldLines(const std::filesystem::path& file) {
  std::vector<FieldLine> fields;
  for (const SourceLine& line : ReadSourceLines(file)) {
    const size_t semicolon = line.text.find(';', kLabelBytes);
    if (line.text.size() < kLabelBytes || semicolon == std::string::npos)
      throw SourceError(file, line.number, "a field line is an 11-byte label, the value and ';'");
    fields.push_back({line.number, line.text.substr(0, kLabelBytes),
                      line.text.substr(kLabelBytes, semicolon - kLabelBytes)});
  }
  return fields;
}

FieldReader::FieldReader(std::filesystem::path file, std::vector<FieldLine> lines)
    : file_(std::move(file)), lines_(std::move(lines)) {}

const FieldLine& FieldReader::Next(std::string_view label) {
  if (next_ == lines_.size())
    throw SourceError(file_, lines_.empty() ? 0 : lines_.back().line,
                      "the file ends where '" + std::string(label) + "' was expected");
  const FieldLine& field = lines_[next_++];
  if (field.label != label)
    throw SourceError(file_, field.line,
                      "label '" + field.label + "' where '" + std::string(label) + "' belongs");
  return field;
}

int FieldReader::NextNumber(std::string_view label) {
  const FieldLine& field = Next(label);
  return ParseInteger(file_, field.line, field.value);
}

std::string FieldReader::NextText(std::string_view label, size_t maxBytes) {
  const FieldLine& field = Next(label);
  const auto gbk = Utf8ToGbk(field.value);
  if (!gbk) Fail("'" + field.value + "' cannot be written in GBK");
  if (gbk->size() > maxBytes)
    Fail("'" + field.value + "' takes " + std::to_string(gbk->size()) + " bytes, at most " +
         std::to_string(maxBytes) + " fit");
  if (const std::string bad = FindForbiddenByte(*gbk, "", ";\n\r"); !bad.empty()) Fail(bad);
  return *gbk;
}

void FieldReader::Fail(const std::string& what) const {
  throw SourceError(file_, next_ == 0 ? 0 : lines_[next_ - 1].line, what);
}

std::string FieldLineBytes(std::string_view label, std::string_view value) {
  return std::string(label) + std::string(value) + ";\n";
}

std::string FieldLineBytes(std::string_view label, int value) {
  return FieldLineBytes(label, std::to_string(value));
}

}  // namespace datagen
