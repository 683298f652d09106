#include "oracle/OracleFilesWriter.h"

#include <algorithm>
#include <optional>

#include "bde/StatusReport.h"
#include "platform/DelimitedText.h"
#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/TextFile.h"

namespace oracle {
namespace {

using platform::Blanks;
using platform::Trim;

struct SqlnetSetting {
  std::string_view key;
  std::string_view item;
};

constexpr SqlnetSetting kSqlnetSettings[] = {
    {"SQLNET.AUTHENTICATION_SERVICES", "NTS"},
    {"NAMES.DIRECTORY_PATH", "TNSNAMES"},
};

void ReportFile(bde::StatusReport& report, bool existed, const std::string& path) {
  report.Add(existed ? "  Zmodyfikowano plik" : "  Utworzono plik");
  std::string quoted = "     \"";
  quoted.append(path).push_back('"');
  report.Add(std::move(quoted));
  report.Add("");
}

void EraseFirst(std::string& text, char c) {
  const size_t at = text.find(c);
  if (at != std::string::npos) text.erase(at, 1);
}

// The first line that sets the key: the text before its first "=", with
// the blanks around it trimmed, is the key without regard to letter case.
// Administrators often write "KEY = (...)"; a second line for the same key
// would leave the client reading only one of them.
std::optional<size_t> KeyLine(const std::vector<std::string>& lines, std::string_view key) {
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    if (line.starts_with('#')) continue;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    if (platform::EqualsAsciiNoCase(Trim(line.substr(0, equals), Blanks::SpaceAndControls), key)) return i;
  }
  return std::nullopt;
}

}  // namespace

bool EnsureSqlnetItems(std::vector<std::string>& lines) {
  bool changed = false;
  for (const SqlnetSetting& setting : kSqlnetSettings) {
    const std::optional<size_t> at = KeyLine(lines, setting.key);
    std::string value = at ? lines[*at].substr(lines[*at].find('=') + 1) : std::string();
    EraseFirst(value, '(');
    EraseFirst(value, ')');
    std::vector<std::string> items = platform::SplitDelimited(value, ',');
    const bool present = std::any_of(items.begin(), items.end(), [&](const std::string& item) {
      return platform::EqualsAsciiNoCase(item, setting.item);
    });
    if (present) continue;
    items.emplace_back(setting.item);
    std::string list = "(";
    list.append(platform::JoinCommaList(items)).push_back(')');
    std::string line = std::string(setting.key) + "=" + list;
    if (at) {
      lines[*at] = std::move(line);
    } else {
      lines.push_back(std::move(line));
    }
    changed = true;
  }
  return changed;
}

void UpdateSqlnetOra(const std::string& networkFolder, bde::StatusReport& report) {
  const std::string path = networkFolder + "sqlnet.ora";
  const bool existed = platform::FileExists(path);
  std::vector<std::string> lines;
  if (existed) lines = platform::ReadTextLines(path);
  if (!EnsureSqlnetItems(lines)) return;
  platform::WriteTextLines(path, lines);
  ReportFile(report, existed, path);
}

void WriteTnsnamesEntry(const std::string& networkFolder, std::vector<std::string>& tnsnamesLines,
                        const std::string& serviceName, const ServiceEntry& entry, bde::StatusReport& report) {
  const std::string path = networkFolder + "tnsnames.ora";
  // No lines while the file holds some means it could not be read when the
  // page was shown (or appeared since): read it now, so its other entries
  // are never written over.
  if (tnsnamesLines.empty() && platform::FileExists(path)) tnsnamesLines = platform::ReadTextLines(path);
  const bool existed = !tnsnamesLines.empty();
  std::vector<std::string> edited = tnsnamesLines;
  ReplaceTnsnamesEntry(edited, serviceName, entry);
  // Our own reader has the last word: a file in which any other entry would
  // read differently, or the edited one not as the user left it, is never
  // written, whatever shape its entries have.
  if (const auto fault = FindRewriteFault(tnsnamesLines, edited, serviceName, entry)) {
    const std::string_view message = fault->edited ? kEditedEntryFaultMessage : kOtherEntryFaultMessage;
    throw platform::Error(platform::Format(message, {path, fault->name}));
  }
  tnsnamesLines = std::move(edited);
  platform::WriteTextLines(path, tnsnamesLines);
  ReportFile(report, existed, path);
}

}  // namespace oracle
