// The game's field-line form shared by the character files and the goods table: an 11-byte
// label, the value, a ';', then anything up to the line end. The sources are written in this
// form in UTF-8; the generator checks every label and writes the values as GBK.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace datagen {

inline constexpr size_t kLabelBytes = 11;

struct FieldLine {
  int line = 0;
  std::string label;  // exactly kLabelBytes bytes
  std::string value;  // as written in the source (UTF-8), between the label and the ';'
};

// The field lines of a source file (comment and blank lines dropped). Throws SourceError for a
// line without a full label or without its ';'.
std::vector<FieldLine> ReadFieldLines(const std::filesystem::path& file);

// Reads fields in order, checking each label against the one expected there.
class FieldReader {
 public:
  FieldReader(std::filesystem::path file, std::vector<FieldLine> lines);

  // The next field, whose label must be `label`.
  const FieldLine& Next(std::string_view label);
  int NextNumber(std::string_view label);
  // The next field's value converted to GBK; at most maxBytes bytes, without ';' or line ends.
  std::string NextText(std::string_view label, size_t maxBytes);
  bool AtEnd() const { return next_ == lines_.size(); }
  // Throws SourceError at the line of the field read last.
  [[noreturn]] void Fail(const std::string& what) const;
  const std::filesystem::path& File() const { return file_; }

 private:
  std::filesystem::path file_;
  std::vector<FieldLine> lines_;
  size_t next_ = 0;
};

// One output line: the label, the value and ";\n".
std::string FieldLineBytes(std::string_view label, std::string_view value);
std::string FieldLineBytes(std::string_view label, int value);

}  // namespace datagen
