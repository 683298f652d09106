#include "oracle/OracleFilesWriter.h"

#include <algorithm>
#include <optional>

#include "bde/StatusReport.h"
#include "oracle/SqlnetSettings.h"
#include "platform/DelimitedText.h"
#include "platform/Error.h"
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
  report.Changed({bde::Change::Item::File, path, !existed});
}

// The parameters other than the first one of each ensured key, as they read.
std::vector<const SqlnetParameter*> OtherParameters(const std::vector<SqlnetParameter>& parameters) {
  std::vector<const SqlnetParameter*> ensured;
  for (const SqlnetSetting& setting : kSqlnetSettings) ensured.push_back(FindSqlnetKey(parameters, setting.key));
  std::vector<const SqlnetParameter*> others;
  for (const SqlnetParameter& parameter : parameters) {
    if (std::find(ensured.begin(), ensured.end(), &parameter) == ensured.end()) others.push_back(&parameter);
  }
  return others;
}

}  // namespace

bool EnsureSqlnetItems(std::vector<std::string>& lines) {
  bool changed = false;
  for (const SqlnetSetting& setting : kSqlnetSettings) {
    const std::vector<SqlnetParameter> parameters = ReadSqlnetParameters(lines);
    const SqlnetParameter* found = FindSqlnetKey(parameters, setting.key);
    std::vector<std::string> items = SqlnetItems(found);
    if (HoldsSqlnetItem(items, setting.item)) continue;
    items.emplace_back(setting.item);
    std::string line = std::string(setting.key) + "=(";
    line.append(platform::JoinCommaList(items)).push_back(')');
    if (found) {
      // The value's continuation lines go with it; the comments between
      // them stay where they are.
      for (size_t k = found->lines.size(); k-- > 1;) lines.erase(lines.begin() + static_cast<long>(found->lines[k]));
      lines[found->lines.front()] = std::move(line);
    } else {
      lines.push_back(std::move(line));
    }
    changed = true;
  }
  return changed;
}

std::optional<SqlnetFault> FindSqlnetRewriteFault(const std::vector<std::string>& before,
                                                  const std::vector<std::string>& after) {
  const std::vector<SqlnetParameter> old = ReadSqlnetParameters(before);
  const std::vector<SqlnetParameter> now = ReadSqlnetParameters(after);
  for (const SqlnetSetting& setting : kSqlnetSettings) {
    const std::vector<std::string> held = SqlnetItems(FindSqlnetKey(now, setting.key));
    bool whole = HoldsSqlnetItem(held, setting.item);
    for (const std::string& item : SqlnetItems(FindSqlnetKey(old, setting.key))) {
      whole = whole && HoldsSqlnetItem(held, item);
    }
    if (!whole) return SqlnetFault{std::string(setting.key), std::string(setting.item)};
  }
  const std::vector<const SqlnetParameter*> oldOthers = OtherParameters(old);
  const std::vector<const SqlnetParameter*> nowOthers = OtherParameters(now);
  for (size_t i = 0; i < std::max(oldOthers.size(), nowOthers.size()); ++i) {
    const SqlnetParameter* o = i < oldOthers.size() ? oldOthers[i] : nullptr;
    const SqlnetParameter* n = i < nowOthers.size() ? nowOthers[i] : nullptr;
    if (o && n && o->key == n->key && o->hasEquals == n->hasEquals && o->value == n->value) continue;
    return SqlnetFault{(o ? o : n)->key, ""};
  }
  return std::nullopt;
}

void UpdateSqlnetOra(const std::string& networkFolder, bde::StatusReport& report) {
  const std::string path = networkFolder + "sqlnet.ora";
  const bool existed = platform::FileExists(path);
  std::vector<std::string> lines;
  if (existed) lines = platform::ReadTextLines(path);
  std::vector<std::string> edited = lines;
  if (!EnsureSqlnetItems(edited)) return;
  // As for tnsnames.ora, our own reader has the last word: a file in which
  // another setting would read otherwise, or one of ours would lose an
  // item, is never written.
  if (const auto fault = FindSqlnetRewriteFault(lines, edited)) {
    if (fault->item.empty()) throw platform::Error(platform::Format(kSqlnetOtherKeyFaultMessage, {path, fault->key}));
    throw platform::Error(platform::Format(kSqlnetEnsuredKeyFaultMessage, {path, fault->key, fault->item}));
  }
  platform::WriteTextLines(path, edited);
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
  TnsnamesRewrite rewrite = RewriteTnsnamesEntry(tnsnamesLines, serviceName, entry);
  // Our own reader has the last word: a file in which any other entry would
  // read differently, or the edited one not as the user left it, is never
  // written, whatever shape its entries have.
  if (const auto& fault = rewrite.fault) {
    std::string_view message = fault->added ? kNewEntryFaultMessage : kOtherEntryFaultMessage;
    if (fault->edited) message = kEditedEntryFaultMessage;
    throw platform::Error(platform::Format(message, {path, fault->name}));
  }
  tnsnamesLines = std::move(rewrite.lines);
  platform::WriteTextLines(path, tnsnamesLines);
  ReportFile(report, existed, path);
}

}  // namespace oracle
