#include "app/servers/Mssql.h"

#include <string>

#include "app/AnswerFields.h"
#include "app/Answers.h"
#include "app/AnswersFile.h"
#include "app/backup/RunBackup.h"
#include "bde/Connection.h"
#include "bde/Drivers.h"
#include "bde/ParameterList.h"
#include "bde/Templates.h"
#include "mssql/DataSourceWriter.h"
#include "mssql/PickLists.h"
#include "mssql/SqlServerChecks.h"

namespace app::servers {
namespace {

constexpr PageId kPages[] = {PageId::TabSheet1, PageId::TabSheet2, PageId::TabSheet3};

constexpr Kind::AnswerKey kKeys[] = {
    {"ZrodloDanych", ControlId::ComboBoxNazwaZrodla, Kind::Check::Required},
    {"SerwerMSSQL", ControlId::ComboBoxServer},
    {"LogowanieWindows", ControlId::CheckBoxWindows, Kind::Check::Flag},
    {"Baza", ControlId::ComboBoxBaza},
    {"BazaArchiwum", ControlId::ComboBoxBazaArchiwum},
    {"BazaLiczniki", ControlId::ComboBoxBazaLiczniki},
};

void CheckDataSourceName(const AnswerFields& fields) {
  const std::string name = fields.Text(ControlId::ComboBoxNazwaZrodla);
  if (const char c = mssql::ForbiddenDataSourceNameChar(name)) {
    fields.Fail(ControlId::ComboBoxNazwaZrodla,
                "nazwa źródła danych \"" + name + "\" zawiera niedozwolony znak \"" + std::string(1, c) + "\"");
  }
}

}  // namespace

std::span<const PageId> Mssql::Pages() const { return kPages; }

std::span<const Kind::AnswerKey> Mssql::Keys() const { return kKeys; }

void Mssql::ProposeFromAliases(const Sources& sources, PageFields& fields) {
  const mssql::AliasPresets::Values presets = mssql::AliasPresets(sources.aliases()).Read(sources.aliasPrefix);
  for (const auto& [field, value] : {std::pair{ControlId::ComboBoxNazwaZrodla, &presets.dataSource},
                                     std::pair{ControlId::ComboBoxBaza, &presets.database},
                                     std::pair{ControlId::ComboBoxBazaLiczniki, &presets.meterDatabase},
                                     std::pair{ControlId::ComboBoxBazaArchiwum, &presets.archiveDatabase}}) {
    if (!value->empty()) fields.Propose(field, *value);
  }
}

void Mssql::ProposeFromDataSource(platform::Registry& registry, PageFields& fields) {
  const auto settings = mssql::DataSourceCatalog(registry).ReadSettings(fields.Text(ControlId::ComboBoxNazwaZrodla));
  if (settings.server) fields.Propose(ControlId::ComboBoxServer, *settings.server);
  if (settings.windowsLogin) fields.ProposeChecked(ControlId::CheckBoxWindows, *settings.windowsLogin);
}

// Every value the file gives is checked before the engine is asked for the
// earlier run's aliases.
void Mssql::Resolve(const AnswersFile& file, const Sources& sources, Answers& answers) const {
  AnswerFields fields(file, Section(), kKeys);
  fields.Take(ControlId::ComboBoxNazwaZrodla);
  if (fields.Given(ControlId::ComboBoxNazwaZrodla)) CheckDataSourceName(fields);
  fields.TakeRest();
  if (!mssql::DriverRegistered(sources.registry)) {
    file.Fail(kMainSection, kServerKey, "brak sterownika ODBC \"" + std::string(mssql::kDriverName) + "\"");
  }
  ProposeFromAliases(sources, fields);
  if (!fields.Given(ControlId::ComboBoxNazwaZrodla)) CheckDataSourceName(fields);
  ProposeFromDataSource(sources.registry, fields);
  Collect(fields, answers);
}

std::vector<std::pair<std::string_view, std::string>> Mssql::ProposedValues(const Sources& sources) const {
  const AnswersFile none = AnswersFile::Parse("", "");
  AnswerFields fields(none, Section(), kKeys);
  ProposeFromAliases(sources, fields);
  ProposeFromDataSource(sources.registry, fields);
  return fields.Values();
}

void Mssql::Collect(const PageFields& fields, Answers& answers) const {
  answers.dataSourceName = fields.Text(ControlId::ComboBoxNazwaZrodla);
  answers.sqlServer = fields.Text(ControlId::ComboBoxServer);
  answers.windowsLogin = fields.Checked(ControlId::CheckBoxWindows);
  answers.database = fields.Text(ControlId::ComboBoxBaza);
  answers.archiveDatabase = fields.Text(ControlId::ComboBoxBazaArchiwum);
  answers.metersDatabase = fields.Text(ControlId::ComboBoxBazaLiczniki);
}

// The writer opens the driver's keys with creation allowed, then writes the
// data source's key and last its list entry. A name it refuses is refused
// before any write, and could name another key, so it keeps nothing.
void Mssql::WriteClient(platform::Registry& registry, const Answers& answers, bde::StatusReport& report,
                        backup::ItemKeeper& backup) const {
  const std::string& name = answers.dataSourceName;
  if (!name.empty() && mssql::ForbiddenDataSourceNameChar(name) == 0) {
    constexpr platform::RegistryRoot kRoot = platform::RegistryRoot::LocalMachine;
    backup.Keep(backup::Place::RegistryKey(kRoot, std::string(mssql::kDriverListKey)));
    backup.Keep(
        backup::Place::RegistryKey(kRoot, std::string(mssql::kDriverKeyParent) + std::string(mssql::kDriverName)));
    backup.Keep(backup::Place::RegistryKey(kRoot, std::string(mssql::kDataSourceKeyParent) + name));
    backup.Keep(backup::Place::RegistryValue(kRoot, std::string(mssql::kDataSourceListKey), name));
  }
  mssql::DataSourceWriter(registry).ConfigureDataSource(name, answers.sqlServer, answers.windowsLogin, report);
}

bde::Database Mssql::AliasTemplate() const {
  return bde::Database("", std::string(bde::kSqlNativeClientDriver), bde::Database1Parameters());
}

void Mssql::SetRunValues(const Answers& answers, bde::ParameterList& params) const {
  params.Set("DATABASE NAME", answers.database);
  params.Set("USER NAME", answers.windowsLogin ? "dbo" : "novera");
  params.Set("ODBC DSN", answers.dataSourceName);
}

// The meters alias takes the archive database when only that was given:
// the value set for the archive alias is still in force.
void Mssql::SetAliasValues(SuiteAlias alias, const Answers& answers, bde::ParameterList& params) const {
  if (alias == SuiteAlias::Archiwum && !answers.archiveDatabase.empty()) {
    params.Set("DATABASE NAME", answers.archiveDatabase);
  }
  if (alias == SuiteAlias::Liczniki && !answers.metersDatabase.empty()) {
    params.Set("DATABASE NAME", answers.metersDatabase);
  }
}

// The databases of the aliases: the general one, the meters' and, for
// version 11, the archive's; the checks log into each distinct one once.
std::vector<bde::Check> Mssql::MakeChecks(const CheckSources& sources, const Answers& answers) const {
  std::vector<std::string> databases{answers.database, answers.metersDatabase};
  if (answers.version == SuiteVersion::V11) databases.push_back(answers.archiveDatabase);
  mssql::SqlServerChecks checks(sources.registry, sources.network, sources.driverManagerLibrary,
                                sources.driverManagerReadsRegistry);
  return checks.Make({answers.dataSourceName, answers.sqlServer, answers.windowsLogin, std::move(databases)});
}

}  // namespace app::servers
