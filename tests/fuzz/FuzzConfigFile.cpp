// The engine's configuration file loader on any input: it accepts the file
// or raises its error, and what it accepts is written back and read again
// unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "bde/ConfigFile.h"
#include "platform/Error.h"
#include "platform/TextFile.h"

namespace {

bool Same(const bde::AliasStore& a, const bde::AliasStore& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].name != b[i].name || a[i].driver != b[i].driver || a[i].params.Lines() != b[i].params.Lines()) {
      return false;
    }
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  bde::AliasStore store;
  try {
    store = bde::ParseConfigFile(platform::SplitLines(text), "fuzz.cfg");
  } catch (const platform::Error&) {
    return 0;
  }
  const std::string written = platform::JoinLines(bde::FormatConfigFile(store));
  if (!Same(bde::ParseConfigFile(platform::SplitLines(written), "fuzz.cfg"), store)) std::abort();
  return 0;
}
