#include "oracle/ServiceFile.h"

#include <algorithm>

#include "oracle/OracleFilesWriter.h"
#include "oracle/SqlnetSettings.h"
#include "oracle/TnsnamesReader.h"
#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/TextFile.h"

namespace oracle {
namespace {

constexpr std::string_view kDefaultDomain = "NAMES.DEFAULT_DOMAIN";

std::string StoredName(const std::string& name) {
  return CutToCharacters(platform::AsciiUpper(name), kServiceFields[0].size);
}

// Fills the table from the files in the order the client reads them, each
// included file in place of its IFILE line, and notes the file of every
// name stored.
void Load(const IncludedFiles& files, size_t index, ServiceEntryTable& table,
          std::unordered_map<std::string, size_t>& where) {
  const IncludedFile& file = files.Files()[index];
  if (file.state != IncludedFile::State::Read) return;
  for (const JoinedLine& joined : JoinTnsnamesLinesWithOrigin(file.lines)) {
    if (const auto included = file.IncludedAt(joined.lines.front())) {
      Load(files, *included, table, where);
      continue;
    }
    for (std::string& name : LoadServiceEntry(joined.text, table)) where[std::move(name)] = index;
  }
}

}  // namespace

void ServiceFile::Read(const NetworkFolder& folder) {
  folder_ = folder;
  tnsnames_ = IncludedFiles::Read(folder.FilePath("tnsnames.ora"));
  sqlnet_ = IncludedFiles::Read(folder.FilePath("sqlnet.ora"));
  domain_.clear();
  domainFile_.clear();
  if (auto domain = FindSqlnetSetting(sqlnet_, kDefaultDomain)) {
    const size_t first = domain->value.find_first_not_of('.');
    domain_ = first == std::string::npos ? std::string() : domain->value.substr(first);
    domainFile_ = std::move(domain->path);
  }
  size_t lines = 0;
  for (const IncludedFile& file : tnsnames_.Files()) lines += file.lines.size();
  table_.Clear(lines);
  files_.clear();
  Load(tnsnames_, 0, table_, files_);
}

std::string ServiceFile::LookupName(const std::string& serviceName) const {
  if (domain_.empty() || serviceName.find('.') != std::string::npos) return serviceName;
  return serviceName + "." + platform::AsciiUpper(domain_);
}

std::vector<std::string> ServiceFile::OfferedNames() const {
  std::vector<std::string> names = table_.Names();
  if (!domain_.empty()) {
    std::erase_if(names, [](const std::string& name) { return name.find('.') == std::string::npos; });
  }
  return names;
}

const ServiceEntry* ServiceFile::FindEntry(const std::string& serviceName) const {
  return table_.Find(StoredName(LookupName(serviceName)));
}

ServiceEntry ServiceFile::EntryOrNew(const std::string& serviceName) const {
  if (const ServiceEntry* stored = FindEntry(serviceName)) return *stored;
  return table_.NewRecord();
}

size_t ServiceFile::FileIndexOf(const std::string& serviceName) const {
  const auto found = files_.find(StoredName(LookupName(serviceName)));
  return found == files_.end() ? 0 : found->second;
}

const std::string& ServiceFile::FileOf(const std::string& serviceName) const {
  return tnsnames_.Files()[FileIndexOf(serviceName)].path;
}

std::optional<ResolvedService> ServiceFile::Resolve(const std::string& serviceName) const {
  const ServiceEntry* entry = FindEntry(serviceName);
  if (!entry) return std::nullopt;
  return ResolvedService{LookupName(serviceName), *entry, FileOf(serviceName)};
}

std::optional<std::string> ServiceFile::UnresolvedProblem(const std::string& serviceName) const {
  if (domain_.empty() || serviceName.find('.') != std::string::npos || FindEntry(serviceName)) return std::nullopt;
  // The user may have meant an entry of another domain of that name.
  const std::vector<std::string> offered = OfferedNames();
  const auto meant = std::find_if(offered.begin(), offered.end(), [&](const std::string& name) {
    return platform::EqualsAsciiNoCase(std::string_view(name).substr(0, name.find('.')), serviceName);
  });
  const std::string lookup = LookupName(serviceName);
  if (meant == offered.end()) {
    return platform::Format(kUnqualifiedNewNameProblem, {domain_, domainFile_, lookup, tnsnames_.Root().path, lookup});
  }
  return platform::Format(kUnqualifiedNameProblem, {domain_, domainFile_, lookup, tnsnames_.Root().path, *meant});
}

void ServiceFile::CheckResolves(const std::string& serviceName) const {
  if (const auto problem = UnresolvedProblem(serviceName)) {
    throw platform::Error(platform::Format(kUnresolvedServiceMessage, {serviceName, *problem}));
  }
}

// The entry in force stands last in its file and in no file read after it,
// so the file's own check of the rewrite is the client's.
TnsnamesRewrite ServiceFile::PlanEntry(const std::string& serviceName, const ServiceEntry& entry) const {
  return RewriteTnsnamesEntry(tnsnames_.Files()[FileIndexOf(serviceName)].lines, LookupName(serviceName), entry);
}

void ServiceFile::WriteEntry(const std::string& serviceName, const ServiceEntry& entry, bde::StatusReport& report) {
  const IncludedFile& file = tnsnames_.Files()[FileIndexOf(serviceName)];
  const std::string path = file.path;
  const bool existed = !file.lines.empty();
  TnsnamesRewrite rewrite = PlanEntry(serviceName, entry);
  if (rewrite.fault) RaiseRewriteFault(path, *rewrite.fault);
  platform::WriteTextLines(path, rewrite.lines);
  ReportFile(report, existed, path);
  // What is in force now, for a later write.
  Read(folder_);
}

std::optional<ResolvedService> ResolveServiceName(platform::Registry& registry, const std::string& homeSubkey,
                                                  const std::string& homeFolder, const std::string& serviceName) {
  ServiceFile files;
  files.Read(FindNetworkFolder(registry, homeSubkey, homeFolder));
  return files.Resolve(serviceName);
}

}  // namespace oracle
