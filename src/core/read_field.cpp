#include "core/read_field.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

// The longest value a field line can hold; the rest of a longer one is passed over.
constexpr size_t kWorkBufferSize = 1024;

// Decimal number as atoi reads it: leading white space, a sign, digits up to the first other
// byte; no digits give 0. Values beyond the int range stop at its ends.
int ParseDecimal(const char* text) {
  while (*text == ' ' || (*text >= '\t' && *text <= '\r')) ++text;
  const bool negative = *text == '-';
  if (*text == '-' || *text == '+') ++text;
  long long value = 0;
  for (; *text >= '0' && *text <= '9'; ++text) {
    value = value * 10 + (*text - '0');
    if (value > INT_MAX + 1LL) value = INT_MAX + 1LL;
  }
  if (negative) return int(-value);
  return int(std::min<long long>(value, INT_MAX));
}

}  // namespace

int ReadField(const std::string& text, size_t& position, char* destination,
              size_t destinationSize, int skip) {
  const size_t size = text.size();
  if (position > size) position = size;
  if (skip > 0) position = std::min(size, position + size_t(skip));

  // The value runs to the next ';', over line ends if need be; what does not fit in the
  // work buffer is passed over.
  char work[kWorkBufferSize] = {};
  size_t length = 0;
  while (position < size && text[position] != ';') {
    if (length < kWorkBufferSize - 1) work[length++] = text[position];
    ++position;
  }
  if (position < size) ++position;
  const size_t lineFeed = text.find('\n', position);
  position = lineFeed == std::string::npos ? size : lineFeed + 1;

  if (!destination) return ParseDecimal(work);
  if (destinationSize > 0) {
    const size_t copied = std::min(std::strlen(work), destinationSize - 1);
    std::memcpy(destination, work, copied);
    destination[copied] = '\0';
  }
  return 1;
}
