#include "app/ApplyConfiguration.h"

#include "bde/AliasWriter.h"
#include "bde/Connection.h"
#include "bde/Engine.h"
#include "bde/StatusReport.h"
#include "mssql/DataSourceWriter.h"
#include "oracle/OracleFilesWriter.h"

namespace app {
namespace {

constexpr char kConfigurationLine[] = " Zmodyfikowano konfigurację BDE.";

// The modules whose aliases follow the main one, in the order they are written.
constexpr const char* kModules[] = {"Faktury", "Magistr", "Odbiorcy", "Odczyty"};

}  // namespace

void ApplyConfiguration::Run(const ApplyChoices& choices) {
  report_.Clear();
  report_.Add("Konfiguracja została utworzona!");
  report_.Add("");

  const std::vector<std::string> existing = engine_.ListAliases();
  bde::AliasWriter(engine_, report_, database1_).EnsureNetAlias(existing);
  if (choices.serverKind == 0) {
    WriteMssql(choices, existing);
  } else {
    WriteOracle(choices, existing);
  }
  engine_.SaveConfiguration();
}

// A value set for one alias stays in force for the next ones: this is how
// the meters alias takes the archive database when only that was given.
void ApplyConfiguration::WriteMssql(const ApplyChoices& choices, const std::vector<std::string>& existing) {
  mssql::DataSourceWriter(registry_).ConfigureDataSource(choices.dataSourceName, choices.server,
                                                         choices.windowsLogin, report_);
  report_.Add(kConfigurationLine);

  bde::ParameterList& params = database1_.Params();
  params.Set("DATABASE NAME", choices.database);
  params.Set("USER NAME", choices.windowsLogin ? "dbo" : "novera");
  params.Set("ODBC DSN", choices.dataSourceName);

  bde::AliasWriter writer(engine_, report_, database1_);
  std::string stem = choices.aliasPrefix + "Novera- ";
  writer.WriteMssqlAlias(stem + "Ochrona", existing);
  stem += "LM";
  writer.WriteMssqlAlias(stem, existing);
  stem += "- ";
  for (const char* module : kModules) writer.WriteMssqlAlias(stem + module, existing);
  if (choices.versionIndex == 2) {
    if (!choices.archiveDatabase.empty()) params.Set("DATABASE NAME", choices.archiveDatabase);
    writer.WriteMssqlAlias(stem + "Archiwum", existing);
  }
  if (!choices.metersDatabase.empty()) params.Set("DATABASE NAME", choices.metersDatabase);
  writer.WriteMssqlAlias(stem + "Liczniki", existing);
}

void ApplyConfiguration::WriteOracle(const ApplyChoices& choices, const std::vector<std::string>& existing) {
  oracle::UpdateSqlnetOra(choices.oracleNetworkFolder, report_);
  if (choices.serviceEntryModified) {
    oracle::WriteTnsnamesEntry(choices.oracleNetworkFolder, tnsnamesLines_, choices.oracleService,
                               choices.serviceEntry, report_);
  }
  report_.Add(kConfigurationLine);

  bde::ParameterList& params = databaseOracle_.Params();
  params.Set("SERVER NAME", choices.oracleService);

  bde::AliasWriter writer(engine_, report_, database1_);
  std::string stem = choices.aliasPrefix + "Novera- ";
  params.Set("USER NAME", choices.userOchrona);
  writer.WriteAlias(stem + "Ochrona", existing, databaseOracle_);
  stem += "LM";
  params.Set("USER NAME", choices.userLM);
  writer.WriteAlias(stem, existing, databaseOracle_);
  stem += "- ";
  for (const char* module : kModules) writer.WriteAlias(stem + module, existing, databaseOracle_);
  if (choices.versionIndex == 2) writer.WriteAlias(stem + "Archiwum", existing, databaseOracle_);
  if (!choices.userLiczniki.empty()) params.Set("USER NAME", choices.userLiczniki);
  writer.WriteAlias(stem + "Liczniki", existing, databaseOracle_);
}

}  // namespace app
