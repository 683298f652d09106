#include "app/servers/Oracle.h"

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/AnswerFields.h"
#include "app/Answers.h"
#include "app/AnswersFile.h"
#include "app/backup/RunBackup.h"
#include "bde/Connection.h"
#include "bde/Drivers.h"
#include "bde/ParameterList.h"
#include "bde/Templates.h"
#include "oracle/AliasPresets.h"
#include "oracle/NetworkFolder.h"
#include "oracle/OracleChecks.h"
#include "oracle/OracleFilesWriter.h"
#include "oracle/OracleHomes.h"
#include "oracle/ServiceFile.h"
#include "oracle/TnsnamesWriter.h"

namespace app::servers {
namespace {

constexpr PageId kPages[] = {PageId::TabSheet1Oracle, PageId::TabSheet2Oracle, PageId::TabSheet3Oracle};

constexpr Kind::AnswerKey kKeys[] = {
    {"DomOracle", ControlId::ComboBoxOracleHome},
    {"Serwis", ControlId::ComboBoxOracleServer, Kind::Check::Required},
    {"Protokol", ControlId::DBEdit1, Kind::Check::Required},
    {"Host", ControlId::DBEdit2, Kind::Check::Required},
    {"Port", ControlId::DBEdit3, Kind::Check::Port},
    {"NazwaBazy", ControlId::DBEdit4, Kind::Check::Required},
    {"UzytkownikOchrona", ControlId::ComboBoxUserOchrona},
    {"UzytkownikLumira", ControlId::ComboBoxUserLM},
    {"UzytkownikLiczniki", ControlId::ComboBoxUserLiczniki},
};

// The edits of the service entry, in the order of the service page.
struct EntryField {
  ControlId field;
  std::optional<std::string> ServiceEntryValues::*value;
};

constexpr EntryField kEntryFields[] = {{ControlId::DBEdit1, &ServiceEntryValues::protocol},
                                       {ControlId::DBEdit2, &ServiceEntryValues::host},
                                       {ControlId::DBEdit3, &ServiceEntryValues::port},
                                       {ControlId::DBEdit4, &ServiceEntryValues::service}};

// The values of the service entry to be written: those of the fields
// edited.
ServiceEntryValues EntryValues(const PageFields& fields) {
  ServiceEntryValues values;
  for (const EntryField& entryField : kEntryFields) {
    if (fields.Edited(entryField.field)) values.*entryField.value = fields.Text(entryField.field);
  }
  return values;
}

// The folder that the client of the home reads.
oracle::NetworkFolder NetworkFolderOf(platform::Registry& registry, const Answers& answers) {
  return oracle::FindNetworkFolder(registry, answers.oracleHomeKey, answers.oracleHomeFolder);
}

// A host any file can hold, standing in for the one a new entry is given,
// so that the name alone is tried first.
constexpr char kPlainHost[] = "localhost";

std::string RewriteProblem(const oracle::RewriteFault& fault, ControlId field, const std::string& value,
                           const std::string& serviceName, const std::string& path) {
  const bool name = field == ControlId::ComboBoxOracleServer;
  if (fault.edited) {
    return "wpisu \"" + serviceName + "\" nie można zapisać w pliku \"" + path + "\"" +
           (name ? "" : " z wartością \"" + value + "\"");
  }
  const std::string write = (name ? "" : "z wartością \"" + value + "\" ") + "zapis wpisu \"" + serviceName +
                            "\" w pliku \"" + path + "\" ";
  if (fault.added) return write + "dodałby wpis \"" + fault.name + "\" o nazwie innej niż podana";
  return write + "zmieniłby wpis \"" + fault.name + "\", którego nie edytowano";
}

// The rewrite of tnsnames.ora that the apply step would make, checked as it
// checks it, so that a value the file cannot hold is a wrong answer and
// nothing is written. The key named is the first whose value, put in one
// at a time over an entry the file can hold, makes the check refuse: the
// name first, then the values in the order of the service page.
void CheckServiceEntry(const AnswerFields& fields, const oracle::ServiceFile& file) {
  const ServiceEntryValues given = EntryValues(fields);
  const std::string name = fields.Text(ControlId::ComboBoxOracleServer);
  const std::string& path = file.FileOf(name);
  if (!given.Any()) return;
  if (!given.host && !file.FindEntry(name)) {
    fields.Fail(ControlId::DBEdit2,
                "wpisu \"" + name + "\" nie ma w pliku \"" + path + "\", więc adres serwera jest wymagany");
  }
  const auto whole = file.PlanEntry(name, given.Over(file.EntryOrNew(name))).fault;
  if (!whole) return;
  oracle::ServiceEntry start = file.EntryOrNew(name);
  if (!file.FindEntry(name)) start.host = kPlainHost;
  ServiceEntryValues tried;
  ControlId field = ControlId::ComboBoxOracleServer;
  std::string value = name;
  auto fault = file.PlanEntry(name, start).fault;
  for (const EntryField& entryField : kEntryFields) {
    if (fault) break;
    if (!(given.*entryField.value)) continue;
    tried.*entryField.value = given.*entryField.value;
    fault = file.PlanEntry(name, tried.Over(start)).fault;
    field = entryField.field;
    value = *(given.*entryField.value);
  }
  fields.Fail(field, RewriteProblem(fault.value_or(*whole), field, value, name, path));
}

}  // namespace

std::span<const PageId> Oracle::Pages() const { return kPages; }

std::span<const Kind::AnswerKey> Oracle::Keys() const { return kKeys; }

bool Oracle::ProposeHome(platform::Registry& registry, PageFields& fields) {
  std::vector<PageFields::Choice> choices;
  for (oracle::OracleHome& home : oracle::OracleHomeLister(registry).List()) {
    choices.push_back({std::move(home.name), std::move(home.subkey)});
  }
  const std::optional<std::string> subkey = fields.Choose(ControlId::ComboBoxOracleHome, std::move(choices));
  if (subkey) ProposeHomeDetails(registry, *subkey, fields);
  return subkey.has_value();
}

void Oracle::ProposeHomeDetails(platform::Registry& registry, const std::string& subkey, PageFields& fields) {
  const oracle::OracleHomeDetails home = oracle::OracleHomeLister(registry).Details(subkey);
  if (home.bundle) fields.Propose(ControlId::EditBoundle, *home.bundle);
  if (home.nls) fields.Propose(ControlId::EditNLS, *home.nls);
  if (home.folder) fields.Propose(ControlId::EditFolderHome, *home.folder);
}

void Oracle::ProposeUsers(const Sources& sources, PageFields& fields) {
  oracle::AliasPresets::Users users = oracle::AliasPresets(sources.aliases()).ReadUsers(sources.aliasPrefix);
  for (auto [field, user] : {std::pair{ControlId::ComboBoxUserOchrona, &users.ochrona},
                             std::pair{ControlId::ComboBoxUserLM, &users.lm},
                             std::pair{ControlId::ComboBoxUserLiczniki, &users.liczniki}}) {
    if (!user->empty()) fields.Propose(field, std::move(*user));
  }
}

void Oracle::ReadServiceFile(platform::Registry& registry, const PageFields& fields, oracle::ServiceFile& file) {
  file.Read(oracle::FindNetworkFolder(registry, fields.ChosenData(ControlId::ComboBoxOracleHome),
                                      fields.Text(ControlId::EditFolderHome)));
}

void Oracle::ProposeService(const oracle::ServiceFile& file, PageFields& fields) {
  fields.Offer(ControlId::ComboBoxOracleServer, file.OfferedNames());
}

void Oracle::ProposeAliasService(const Sources& sources, PageFields& fields) {
  std::string service = oracle::AliasPresets(sources.aliases()).ReadService(sources.aliasPrefix);
  if (!service.empty()) fields.Propose(ControlId::ComboBoxOracleServer, std::move(service));
}

// Every value the file gives is checked before the engine is asked for the
// earlier run's aliases; only a left-out service name needs them first.
void Oracle::Resolve(const AnswersFile& file, const Sources& sources, Answers& answers) const {
  AnswerFields fields(file, Section(), kKeys);
  fields.Take(ControlId::ComboBoxOracleHome);
  if (!ProposeHome(sources.registry, fields)) {
    if (fields.Given(ControlId::ComboBoxOracleHome)) {
      fields.Fail(ControlId::ComboBoxOracleHome,
                  "nieznany Oracle Home \"" + fields.Text(ControlId::ComboBoxOracleHome) + "\"");
    }
    fields.Fail(ControlId::ComboBoxOracleHome, "w rejestrze nie ma żadnego Oracle Home");
  }
  oracle::ServiceFile serviceFile;
  ReadServiceFile(sources.registry, fields, serviceFile);
  fields.TakeRest();
  if (!fields.Given(ControlId::ComboBoxOracleServer)) {
    ProposeService(serviceFile, fields);
    ProposeAliasService(sources, fields);
  }
  CheckServiceEntry(fields, serviceFile);
  // An entry left as it is must be one the client finds.
  if (!EntryValues(fields).Any()) {
    if (const auto problem = serviceFile.UnresolvedProblem(fields.Text(ControlId::ComboBoxOracleServer))) {
      fields.Fail(ControlId::ComboBoxOracleServer, *problem);
    }
  }
  ProposeUsers(sources, fields);
  Collect(fields, answers);
}

// The service entry's values are those of the entry the file holds; a
// service the file does not hold has none to give.
std::vector<std::pair<std::string_view, std::string>> Oracle::ProposedValues(const Sources& sources) const {
  const AnswersFile none = AnswersFile::Parse("", "");
  AnswerFields fields(none, Section(), kKeys);
  oracle::ServiceFile serviceFile;
  if (ProposeHome(sources.registry, fields)) ReadServiceFile(sources.registry, fields, serviceFile);
  ProposeService(serviceFile, fields);
  ProposeAliasService(sources, fields);
  const oracle::ServiceEntry* entry = serviceFile.FindEntry(fields.Text(ControlId::ComboBoxOracleServer));
  for (const auto& [field, value] : {std::pair{ControlId::DBEdit1, &oracle::ServiceEntry::protocol},
                                     std::pair{ControlId::DBEdit2, &oracle::ServiceEntry::host},
                                     std::pair{ControlId::DBEdit3, &oracle::ServiceEntry::port},
                                     std::pair{ControlId::DBEdit4, &oracle::ServiceEntry::service}}) {
    fields.Propose(field, entry ? entry->*value : std::string());
  }
  ProposeUsers(sources, fields);
  return fields.Values();
}

void Oracle::Collect(const PageFields& fields, Answers& answers) const {
  answers.oracleHomeFolder = fields.Text(ControlId::EditFolderHome);
  answers.oracleHomeKey = fields.ChosenData(ControlId::ComboBoxOracleHome);
  answers.oracleService = fields.Text(ControlId::ComboBoxOracleServer);
  answers.serviceEntry = EntryValues(fields);
  answers.userOchrona = fields.Text(ControlId::ComboBoxUserOchrona);
  answers.userLM = fields.Text(ControlId::ComboBoxUserLM);
  answers.userLiczniki = fields.Text(ControlId::ComboBoxUserLiczniki);
}

// A folder TNS_ADMIN names must be there, and an entry left as it is must
// be one the client finds; an edited one is written under the name it
// looks for.
void Oracle::CheckClient(platform::Registry& registry, const Answers& answers) const {
  const oracle::NetworkFolder folder = NetworkFolderOf(registry, answers);
  oracle::CheckNetworkFolder(folder);
  if (answers.serviceEntry.Any()) return;
  oracle::ServiceFile files;
  files.Read(folder);
  files.CheckResolves(answers.oracleService);
}

// The files are read now, so that entries written meanwhile by someone
// else survive the rewrite of ours. The sqlnet.ora step may write
// sqlnet.ora or any file it includes that was read; the entry goes into the
// file that holds it, or into tnsnames.ora.
void Oracle::WriteClient(platform::Registry& registry, const Answers& answers, bde::StatusReport& report,
                         backup::ItemKeeper& backup) const {
  oracle::ServiceFile files;
  files.Read(NetworkFolderOf(registry, answers));
  for (const oracle::IncludedFile& file : files.Sqlnet().Files()) {
    const bool writable = file.state == oracle::IncludedFile::State::Read ||
                          (&file == &files.Sqlnet().Root() && file.state == oracle::IncludedFile::State::Missing);
    if (writable) backup.Keep(backup::Place::File(file.path));
  }
  oracle::UpdateSqlnetOra(files.Sqlnet(), report);
  // The values given over the entry in force, or over a new entry's defaults.
  if (answers.serviceEntry.Any()) {
    backup.Keep(backup::Place::File(files.FileOf(answers.oracleService)));
    files.WriteEntry(answers.oracleService, answers.serviceEntry.Over(files.EntryOrNew(answers.oracleService)),
                     report);
  }
}

bde::Database Oracle::AliasTemplate() const {
  return bde::Database("", std::string(bde::kOracleDriver), bde::DatabaseOracleParameters());
}

void Oracle::SetRunValues(const Answers& answers, bde::ParameterList& params) const {
  params.Set("SERVER NAME", answers.oracleService);
}

// The archive alias has no schema user of its own; the meters alias has
// one when it is given.
void Oracle::SetAliasValues(SuiteAlias alias, const Answers& answers, bde::ParameterList& params) const {
  if (alias == SuiteAlias::Ochrona) params.Set("USER NAME", answers.userOchrona);
  if (alias == SuiteAlias::LM) params.Set("USER NAME", answers.userLM);
  if (alias == SuiteAlias::Liczniki && !answers.userLiczniki.empty()) params.Set("USER NAME", answers.userLiczniki);
}

// The client's files in force for the home chosen, read now: what the
// suite's programs will find in them. sqlnet.ora's parameters are read
// from it and the files it includes together.
std::vector<bde::Check> Oracle::MakeChecks(const CheckSources& sources, const Answers& answers) const {
  oracle::ServiceFile files;
  files.Read(NetworkFolderOf(sources.registry, answers));
  std::vector<std::string> sqlnet;
  for (const oracle::IncludedFile& file : files.Sqlnet().Files()) {
    sqlnet.insert(sqlnet.end(), file.lines.begin(), file.lines.end());
  }
  oracle::OracleChecks checks(sources.network);
  return checks.Make({answers.oracleService, {answers.userOchrona, answers.userLM, answers.userLiczniki},
                      files.FileOf(answers.oracleService)},
                     files.Table(), sqlnet);
}

}  // namespace app::servers
