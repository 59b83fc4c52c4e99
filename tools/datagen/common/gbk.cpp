#include "datagen/common/gbk.h"

#include <iconv.h>

#include <cerrno>
#include <memory>

namespace datagen {
namespace {

struct IconvCloser {
  void operator()(void* handle) const { iconv_close(static_cast<iconv_t>(handle)); }
};

std::optional<std::string> Convert(const char* to, const char* from, std::string_view text) {
  iconv_t raw = iconv_open(to, from);
  if (raw == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  std::unique_ptr<void, IconvCloser> handle(raw);

  std::string input(text);
  std::string output(input.size() * 2 + 4, '\0');
  char* in = input.data();
  size_t inLeft = input.size();
  char* out = output.data();
  size_t outLeft = output.size();
  while (inLeft > 0) {
    if (iconv(raw, &in, &inLeft, &out, &outLeft) == size_t(-1)) {
      if (errno != E2BIG) return std::nullopt;  // invalid or unwritable character
      const size_t used = output.size() - outLeft;
      output.resize(output.size() * 2);
      out = output.data() + used;
      outLeft = output.size() - used;
    }
  }
  output.resize(output.size() - outLeft);
  return output;
}

}  // namespace

std::optional<std::string> Utf8ToGbk(std::string_view utf8) { return Convert("GBK", "UTF-8", utf8); }

std::optional<std::string> GbkToUtf8(std::string_view gbk) { return Convert("UTF-8", "GBK", gbk); }

}  // namespace datagen
