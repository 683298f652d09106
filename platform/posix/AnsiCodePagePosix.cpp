#include "platform/AnsiCodePage.h"

#include <iconv.h>

#include <memory>

#include "platform/Error.h"

namespace platform {
namespace {

struct IconvCloser {
  void operator()(iconv_t handle) const { iconv_close(handle); }
};
using UniqueIconv = std::unique_ptr<std::remove_pointer_t<iconv_t>, IconvCloser>;

}  // namespace

std::string FromAnsiCodePage(std::string_view text) {
  const iconv_t handle = iconv_open("UTF-8", "CP1250");
  if (handle == reinterpret_cast<iconv_t>(-1)) throw Error("Brak konwersji ze strony kodowej Windows-1250");
  const UniqueIconv converter(handle);
  std::string result;
  // One byte at a time, so a byte the code page leaves out costs only itself.
  for (char c : text) {
    char out[4];
    char* in = &c;
    size_t inLeft = 1;
    char* outPtr = out;
    size_t outLeft = sizeof(out);
    if (iconv(converter.get(), &in, &inLeft, &outPtr, &outLeft) == static_cast<size_t>(-1)) {
      result += "\xEF\xBF\xBD";
    } else {
      result.append(out, sizeof(out) - outLeft);
    }
  }
  return result;
}

}  // namespace platform
