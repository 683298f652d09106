// sqlnet.ora's key lines and item lists on any file: ensuring the two items
// never fails, and once they are ensured in well-formed values a second
// pass finds nothing to change.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "oracle/OracleFilesWriter.h"
#include "platform/TextFile.h"

namespace {

// A value "(...)" with no other parenthesis: the lists the writer itself
// produces from well-formed ones.
bool WellFormed(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    const size_t equals = line.find('=');
    if (equals == std::string::npos) continue;
    const std::string value = line.substr(equals + 1);
    size_t parens = 0;
    for (char c : value) parens += (c == '(' || c == ')');
    if (parens != 0 && (parens != 2 || value.front() != '(' || value.back() != ')')) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::vector<std::string> lines =
      platform::SplitLines(std::string_view(reinterpret_cast<const char*>(data), size));
  const bool wellFormed = WellFormed(lines);
  oracle::EnsureSqlnetItems(lines);
  if (wellFormed && oracle::EnsureSqlnetItems(lines)) std::abort();
  return 0;
}
