#include "oracle/OracleFilesWriter.h"

#include <algorithm>
#include <functional>
#include <map>
#include <optional>

#include "bde/StatusReport.h"
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

void EraseFirst(std::string& text, char c) {
  const size_t at = text.find(c);
  if (at != std::string::npos) text.erase(at, 1);
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

using Settings = std::vector<const SqlnetSetting*>;

Settings AllSettings() {
  Settings all;
  for (const SqlnetSetting& setting : kSqlnetSettings) all.push_back(&setting);
  return all;
}

// One parameter of sqlnet.ora as the client reads it: a line that does not
// continue another one starts it, and while its value is still to come or
// its parentheses stay open the indented lines after it continue the value
// (the client takes a wrapped line that is not indented for a new
// parameter). Comment and empty lines between them belong to no parameter.
struct SqlnetParameter {
  // The text before the first "=" with the blanks around it trimmed, or
  // the whole trimmed line when it has no "=".
  std::string key;
  bool hasEquals = false;
  // After that "=", each continuation line joined with one blank.
  std::string value;
  std::vector<size_t> lines;
};

std::vector<SqlnetParameter> ReadSqlnetParameters(const std::vector<std::string>& lines) {
  std::vector<SqlnetParameter> parameters;
  long depth = 0;
  for (size_t i = 0; i < lines.size(); ++i) {
    const std::string_view line = lines[i];
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty() || trimmed.starts_with('#')) continue;
    std::string_view part = line;
    const bool open = !parameters.empty() && parameters.back().hasEquals &&
                      (depth > 0 || Trim(parameters.back().value).empty());
    if (open && IsBlank(line.front())) {
      parameters.back().value.push_back(' ');
    } else {
      SqlnetParameter& parameter = parameters.emplace_back();
      const size_t equals = line.find('=');
      parameter.hasEquals = equals != std::string_view::npos;
      parameter.key = parameter.hasEquals ? Trim(line.substr(0, equals)) : trimmed;
      part = parameter.hasEquals ? line.substr(equals + 1) : std::string_view();
      depth = 0;
    }
    parameters.back().value.append(part);
    parameters.back().lines.push_back(i);
    for (char c : part) depth += (c == '(') - (c == ')');
  }
  return parameters;
}

// The first parameter that sets the key, without regard to letter case.
// Administrators often write "KEY = (...)"; a second parameter for the same
// key would leave the client reading only one of them.
const SqlnetParameter* FindKey(const std::vector<SqlnetParameter>& parameters, std::string_view key) {
  for (const SqlnetParameter& parameter : parameters) {
    if (parameter.hasEquals && platform::EqualsAsciiNoCase(parameter.key, key)) return &parameter;
  }
  return nullptr;
}

std::vector<std::string> ItemsOf(const SqlnetParameter* parameter) {
  std::string value = parameter ? parameter->value : std::string();
  EraseFirst(value, '(');
  EraseFirst(value, ')');
  return platform::SplitDelimited(value, ',');
}

bool HoldsItem(const std::vector<std::string>& items, std::string_view item) {
  return std::any_of(items.begin(), items.end(),
                     [&](const std::string& held) { return platform::EqualsAsciiNoCase(held, item); });
}

// The parameters other than the first one of each ensured key, as they read.
std::vector<const SqlnetParameter*> OtherParameters(const std::vector<SqlnetParameter>& parameters,
                                                    const Settings& settings) {
  std::vector<const SqlnetParameter*> ensured;
  for (const SqlnetSetting* setting : settings) ensured.push_back(FindKey(parameters, setting->key));
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
  for (const SqlnetSetting* setting : settings) {
    const std::vector<SqlnetParameter> parameters = ReadSqlnetParameters(lines);
    const SqlnetParameter* found = FindKey(parameters, setting->key);
    std::vector<std::string> items = ItemsOf(found);
    if (HoldsItem(items, setting->item)) continue;
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
  for (const SqlnetSetting* setting : settings) {
    const std::vector<std::string> held = ItemsOf(FindKey(now, setting->key));
    bool whole = HoldsItem(held, setting->item);
    for (const std::string& item : ItemsOf(FindKey(old, setting->key))) whole = whole && HoldsItem(held, item);
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

// Calls visit(file, parameter) for every parameter of the files in the
// order the client reads them: an included file's in place of its IFILE.
void VisitParameters(const IncludedFiles& files, size_t index,
                     const std::function<void(size_t, const SqlnetParameter&)>& visit) {
  const IncludedFile& file = files.Files()[index];
  if (file.state != IncludedFile::State::Read) return;
  for (const SqlnetParameter& parameter : ReadSqlnetParameters(file.lines)) {
    if (const auto included = file.IncludedAt(parameter.lines.front())) {
      VisitParameters(files, *included, visit);
      continue;
    }
    visit(index, parameter);
  }
}

}  // namespace

void ReportFile(bde::StatusReport& report, bool existed, const std::string& path) {
  report.Add(existed ? "  Zmodyfikowano plik" : "  Utworzono plik");
  std::string quoted = "     \"";
  quoted.append(path).push_back('"');
  report.Add(std::move(quoted));
  report.Add("");
}

bool EnsureSqlnetItems(std::vector<std::string>& lines) { return EnsureItems(lines, AllSettings()); }

std::optional<SqlnetFault> FindSqlnetRewriteFault(const std::vector<std::string>& before,
                                                  const std::vector<std::string>& after) {
  return FindFault(before, after, AllSettings());
}

std::optional<SqlnetValue> FindSqlnetValue(const IncludedFiles& files, std::string_view key) {
  std::optional<SqlnetValue> found;
  VisitParameters(files, 0, [&](size_t file, const SqlnetParameter& parameter) {
    if (found || !parameter.hasEquals || !platform::EqualsAsciiNoCase(parameter.key, key)) return;
    found = SqlnetValue{std::string(Trim(parameter.value)), files.Files()[file].path};
  });
  return found;
}

void UpdateSqlnetOra(const std::string& networkFolder, bde::StatusReport& report) {
  UpdateSqlnetOra(IncludedFiles::Read(networkFolder + "sqlnet.ora"), report);
}

// Each setting is made where the client reads it: in the file of its first
// parameter, which may be an included one, or in sqlnet.ora itself when no
// file sets it. Every file is checked before the first is written.
void UpdateSqlnetOra(const IncludedFiles& files, bde::StatusReport& report) {
  std::map<size_t, Settings> owned;
  for (const SqlnetSetting& setting : kSqlnetSettings) {
    std::optional<size_t> owner;
    VisitParameters(files, 0, [&](size_t file, const SqlnetParameter& parameter) {
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
