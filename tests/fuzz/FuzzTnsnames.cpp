// The tnsnames.ora reader on any file: joining, parsing and ParenGroup never
// fail, and an entry of plain values that the writer puts into the file,
// unless the rewrite check refuses it, is read back with the same values,
// whatever else the file holds.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "oracle/OracleFilesWriter.h"
#include "oracle/ServiceEntryTable.h"
#include "oracle/TnsnamesReader.h"
#include "platform/TextFile.h"

namespace {

bool Plain(const std::string& text) {
  if (text.empty()) return false;
  for (char c : text) {
    if (!((c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_')) {
      return false;
    }
  }
  return true;
}

oracle::ServiceEntryTable ReadEntries(const std::vector<std::string>& lines) {
  oracle::ServiceEntryTable table;
  oracle::ParseServiceEntries(oracle::JoinTnsnamesLines(lines), table);
  return table;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  std::vector<std::string> lines = platform::SplitLines(text);
  const std::vector<std::string> joined = oracle::JoinTnsnamesLines(lines);
  for (const std::string& line : joined) oracle::ParenGroup(line, size % (line.size() + 2));

  const oracle::ServiceEntryTable table = ReadEntries(lines);
  for (const std::string& name : table.Names()) {
    oracle::ServiceEntry entry = *table.Find(name);
    if (!Plain(name) || !Plain(entry.protocol) || !Plain(entry.host) || !Plain(entry.port) || !Plain(entry.service)) {
      continue;
    }
    entry.host = "h" + entry.host.substr(0, 29);  // an edited value
    const std::vector<std::string> before = lines;
    oracle::ReplaceTnsnamesEntry(lines, name, entry);
    // A damaged file may be refused; what the check lets through must read
    // back with the edited values.
    if (oracle::FindRewriteFault(before, lines, name, entry)) break;
    const oracle::ServiceEntryTable reread = ReadEntries(lines);
    const oracle::ServiceEntry* back = reread.Find(name);
    if (!back || back->protocol != entry.protocol || back->host != entry.host || back->port != entry.port ||
        back->service != entry.service) {
      std::abort();
    }
    break;  // one rewrite per input keeps the run fast
  }
  return 0;
}
