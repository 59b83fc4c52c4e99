// The field reader over any text: every field as a number with the character files' label,
// then every field as text without one, into a name-sized buffer.
#include <cstdint>
#include <cstring>
#include <string>

#include "fuzz_world.h"
#include "core/read_field.h"

namespace {

constexpr int kLabelSize = 11;

void ReadAll(const std::string& text, char* destination, size_t destinationSize, int skip) {
  size_t position = 0;
  while (position < text.size()) {
    const size_t before = position;
    ReadField(text, position, destination, destinationSize, skip);
    fuzz::Require(position > before && position <= text.size(), "each field moves on, within the text");
    if (destination != nullptr) {
      fuzz::Require(strnlen(destination, destinationSize) < destinationSize, "the value ends");
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  ReadAll(text, nullptr, 0, kLabelSize);
  char name[32];
  ReadAll(text, name, sizeof name, 0);
  return 0;
}
