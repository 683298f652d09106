// The delimited-text rule and the ODBC browse answer on any input: they
// never fail, and whatever list the rule reads, the comma join writes a
// text that reads back as the same list.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "mssql/ServerDiscovery.h"
#include "platform/DelimitedText.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  mssql::ServersFromBrowseAnswer(text);
  const auto items = platform::SplitDelimited(text, ',');
  if (platform::SplitDelimited(platform::JoinCommaList(items), ',') != items) std::abort();
  return 0;
}
