#include "oracle/OracleFilesWriter.h"

#include <algorithm>
#include <map>
#include <optional>

#include "bde/StatusReport.h"
#include "oracle/SqlnetSettings.h"
#include "platform/DelimitedText.h"
#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/TextFile.h"

namespace oracle {
namespace {

struct EnsuredSetting {
  std::string_view key;
  std::string_view item;
};

constexpr EnsuredSetting kSqlnetSettings[] = {
    {"SQLNET.AUTHENTICATION_SERVICES", "NTS"},
    {"NAMES.DIRECTORY_PATH", "TNSNAMES"},
};

using Settings = std::vector<const EnsuredSetting*>;

Settings AllSettings() {
  Settings all;
  for (const EnsuredSetting& setting : kSqlnetSettings) all.push_back(&setting);
  return all;
}

// The parameters other than the first one of each ensured key, as they read.
std::vector<const SqlnetParameter*> OtherParameters(const std::vector<SqlnetParameter>& parameters,
                                                    const Settings& settings) {
  std::vector<const SqlnetParameter*> ensured;
  for (const EnsuredSetting* setting : settings) ensured.push_back(FindSqlnetKey(parameters, setting->key));
  std::vector<const SqlnetParameter*> others;
  for (const SqlnetParameter& parameter : parameters) {
    if (std::find(ensured.begin(), ensured.end(), &parameter) == ensured.end()) others.push_back(&parameter);
  }
  return others;
}

// The settings given, each in the first parameter that sets its key, or in
// a line appended for it.
bool EnsureItems(std::vector<std::string>& lines, const Settings& settings) {
  bool changed = false;
  for (const EnsuredSetting* setting : settings) {
    const std::vector<SqlnetParameter> parameters = ReadSqlnetParameters(lines);
    const SqlnetParameter* found = FindSqlnetKey(parameters, setting->key);
    std::vector<std::string> items = SqlnetItems(found);
    if (HoldsSqlnetItem(items, setting->item)) continue;
    items.emplace_back(setting->item);
    std::string line = std::string(setting->key) + "=(";
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

std::optional<SqlnetFault> FindFault(const std::vector<std::string>& before, const std::vector<std::string>& after,
                                     const Settings& settings) {
  const std::vector<SqlnetParameter> old = ReadSqlnetParameters(before);
  const std::vector<SqlnetParameter> now = ReadSqlnetParameters(after);
  for (const EnsuredSetting* setting : settings) {
    const std::vector<std::string> held = SqlnetItems(FindSqlnetKey(now, setting->key));
    bool whole = HoldsSqlnetItem(held, setting->item);
    for (const std::string& item : SqlnetItems(FindSqlnetKey(old, setting->key))) {
      whole = whole && HoldsSqlnetItem(held, item);
    }
    if (!whole) return SqlnetFault{std::string(setting->key), std::string(setting->item)};
  }
  const std::vector<const SqlnetParameter*> oldOthers = OtherParameters(old, settings);
  const std::vector<const SqlnetParameter*> nowOthers = OtherParameters(now, settings);
  for (size_t i = 0; i < std::max(oldOthers.size(), nowOthers.size()); ++i) {
    const SqlnetParameter* o = i < oldOthers.size() ? oldOthers[i] : nullptr;
    const SqlnetParameter* n = i < nowOthers.size() ? nowOthers[i] : nullptr;
    if (o && n && o->key == n->key && o->hasEquals == n->hasEquals && o->value == n->value) continue;
    return SqlnetFault{(o ? o : n)->key, ""};
  }
  return std::nullopt;
}

}  // namespace

void ReportFile(bde::StatusReport& report, bool existed, const std::string& path) {
  report.Add(existed ? "  Zmodyfikowano plik" : "  Utworzono plik");
  std::string quoted = "     \"";
  quoted.append(path).push_back('"');
  report.Add(std::move(quoted));
  report.Add("");
  report.Changed({bde::Change::Item::File, path, !existed});
}

bool EnsureSqlnetItems(std::vector<std::string>& lines) { return EnsureItems(lines, AllSettings()); }

std::optional<SqlnetFault> FindSqlnetRewriteFault(const std::vector<std::string>& before,
                                                  const std::vector<std::string>& after) {
  return FindFault(before, after, AllSettings());
}

void UpdateSqlnetOra(const std::string& networkFolder, bde::StatusReport& report) {
  UpdateSqlnetOra(IncludedFiles::Read(networkFolder + "sqlnet.ora"), report);
}

// Each setting is made where the client reads it: in the file of its first
// parameter, which may be an included one, or in sqlnet.ora itself when no
// file sets it. Every file is checked before the first is written.
void UpdateSqlnetOra(const IncludedFiles& files, bde::StatusReport& report) {
  std::map<size_t, Settings> owned;
  for (const EnsuredSetting& setting : kSqlnetSettings) {
    std::optional<size_t> owner;
    VisitSqlnetParameters(files, [&](size_t file, const SqlnetParameter& parameter) {
      if (!owner && parameter.hasEquals && platform::EqualsAsciiNoCase(parameter.key, setting.key)) owner = file;
    });
    owned[owner.value_or(0)].push_back(&setting);
  }
  struct Edit {
    const IncludedFile* file;
    std::vector<std::string> lines;
  };
  std::vector<Edit> edits;
  for (const auto& [index, settings] : owned) {
    const IncludedFile& file = files.Files()[index];
    std::vector<std::string> edited = file.lines;
    if (!EnsureItems(edited, settings)) continue;
    // As for tnsnames.ora, our own reader has the last word: a file in
    // which another setting would read otherwise, or one of ours would
    // lose an item, is never written.
    if (const auto fault = FindFault(file.lines, edited, settings)) {
      if (fault->item.empty()) {
        throw platform::Error(platform::Format(kSqlnetOtherKeyFaultMessage, {file.path, fault->key}));
      }
      throw platform::Error(platform::Format(kSqlnetEnsuredKeyFaultMessage, {file.path, fault->key, fault->item}));
    }
    edits.push_back({&file, std::move(edited)});
  }
  for (const Edit& edit : edits) {
    platform::WriteTextLines(edit.file->path, edit.lines);
    ReportFile(report, edit.file->state == IncludedFile::State::Read, edit.file->path);
  }
}

void RaiseRewriteFault(const std::string& path, const RewriteFault& fault) {
  std::string_view message = fault.added ? kNewEntryFaultMessage : kOtherEntryFaultMessage;
  if (fault.edited) message = kEditedEntryFaultMessage;
  throw platform::Error(platform::Format(message, {path, fault.name}));
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
  if (rewrite.fault) RaiseRewriteFault(path, *rewrite.fault);
  tnsnamesLines = std::move(rewrite.lines);
  platform::WriteTextLines(path, tnsnamesLines);
  ReportFile(report, existed, path);
}

}  // namespace oracle
