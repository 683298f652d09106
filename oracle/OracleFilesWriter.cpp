#include "oracle/OracleFilesWriter.h"

#include <algorithm>

#include "bde/ParameterList.h"
#include "bde/StatusReport.h"
#include "platform/DelimitedText.h"
#include "platform/Text.h"
#include "platform/TextFile.h"

namespace oracle {
namespace {

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

// A line that continues an entry: its first character other than blanks
// and tabs is a parenthesis.
bool IsContinuation(std::string_view line) {
  const size_t first = line.find_first_not_of(" \t");
  return first != std::string_view::npos && (line[first] == '(' || line[first] == ')');
}

bool IsEntryStart(std::string_view line, std::string_view key) {
  size_t matched = 0;
  for (char c : line) {
    if (c == ' ') continue;
    if (matched == key.size()) return true;
    const char upper = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    if (upper != key[matched]) return false;
    ++matched;
  }
  return matched == key.size();
}

}  // namespace

bool EnsureSqlnetItems(std::vector<std::string>& lines) {
  // Key lines follow the parameter list rules: the text before the first
  // "=" is the key, compared without regard to letter case, untrimmed.
  bde::ParameterList settings(std::move(lines));
  bool changed = false;
  for (const SqlnetSetting& setting : kSqlnetSettings) {
    std::string value = settings.Value(setting.key);
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
    settings.Set(setting.key, list);
    changed = true;
  }
  lines = settings.Lines();
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

void ReplaceTnsnamesEntry(std::vector<std::string>& lines, std::string_view serviceName, const ServiceEntry& entry) {
  const std::string key = platform::AsciiUpper(std::string(serviceName) + "=");
  const auto start =
      std::find_if(lines.begin(), lines.end(), [&](const std::string& line) { return IsEntryStart(line, key); });
  if (start != lines.end()) {
    // Only the entry's own continuation lines go with its name line; an
    // empty line, a comment or the next entry ends it.
    const auto end = std::find_if_not(start + 1, lines.end(), [](const std::string& line) { return IsContinuation(line); });
    lines.erase(start, end);
  }
  const std::string name(serviceName);
  lines.push_back(name + " =");
  lines.push_back("  (DESCRIPTION =");
  lines.push_back("    (ADDRESS_LIST =");
  lines.push_back("      (ADDRESS = (PROTOCOL = " + entry.protocol + ")(HOST = " + entry.host + ")(PORT = " + entry.port +
                  "))");
  lines.push_back("    )");
  lines.push_back("    (CONNECT_DATA =");
  lines.push_back("      (SERVICE_NAME = " + entry.service + ")");
  lines.push_back("    )");
  lines.push_back("  )");
}

void WriteTnsnamesEntry(const std::string& networkFolder, std::vector<std::string>& tnsnamesLines,
                        const std::string& serviceName, const ServiceEntry& entry, bde::StatusReport& report) {
  const std::string path = networkFolder + "tnsnames.ora";
  // No lines while the file holds some means it could not be read when the
  // page was shown (or appeared since): read it now, so its other entries
  // are never written over.
  if (tnsnamesLines.empty() && platform::FileExists(path)) tnsnamesLines = platform::ReadTextLines(path);
  const bool existed = !tnsnamesLines.empty();
  ReplaceTnsnamesEntry(tnsnamesLines, serviceName, entry);
  platform::WriteTextLines(path, tnsnamesLines);
  ReportFile(report, existed, path);
}

}  // namespace oracle
