// sqlnet.ora's key lines and item lists on any file: ensuring the two items
// never fails; a rewrite the read-back check accepts needs no second pass;
// and well-formed values, one line each, are always rewritten so that the
// check accepts them.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "oracle/OracleFilesWriter.h"
#include "platform/TextFile.h"

namespace {

// Every value "(...)" on its key's line with no other parenthesis, no
// parenthesis on any other line, and no line indented: an indented line
// continues the value above it. These are the lists the writer itself
// produces from well-formed ones.
bool WellFormed(const std::vector<std::string>& lines) {
  for (const std::string& line : lines) {
    if (!line.empty() && (line.front() == ' ' || line.front() == '\t')) return false;
    const size_t equals = line.find('=');
    const std::string value = equals == std::string::npos ? line : line.substr(equals + 1);
    if (line.substr(0, equals).find_first_of("()") != std::string::npos) return false;
    size_t parens = 0;
    for (char c : value) parens += (c == '(' || c == ')');
    if (parens != 0 && (parens != 2 || value.front() != '(' || value.back() != ')')) return false;
  }
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<std::string> before =
      platform::SplitLines(std::string_view(reinterpret_cast<const char*>(data), size));
  std::vector<std::string> lines = before;
  oracle::EnsureSqlnetItems(lines);
  const bool accepted = !oracle::FindSqlnetRewriteFault(before, lines);
  if (WellFormed(before) && !accepted) std::abort();
  if (accepted && oracle::EnsureSqlnetItems(lines)) std::abort();
  return 0;
}
