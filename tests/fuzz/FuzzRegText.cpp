// The registry fixture loader on any input: it loads the text or raises its
// error, and never fails otherwise.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/Error.h"
#include "tests/platform/MemoryRegistry.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::MemoryRegistry registry;
  try {
    registry.LoadRegText(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const platform::Error&) {
  }
  return 0;
}
