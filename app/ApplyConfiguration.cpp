#include "app/ApplyConfiguration.h"

#include "app/WizardSettings.h"
#include "bde/AliasWriter.h"
#include "bde/Drivers.h"
#include "bde/AliasEngine.h"
#include "bde/StatusReport.h"
#include "bde/Templates.h"
#include "mssql/DataSourceWriter.h"
#include "oracle/NetworkFolder.h"
#include "oracle/OracleFilesWriter.h"
#include "oracle/ServiceFile.h"

namespace app {
namespace {

constexpr char kConfigurationLine[] = " Zmodyfikowano konfigurację BDE.";

// The modules whose aliases follow the main one, in the order they are written.
constexpr const char* kModules[] = {"Faktury", "Magistr", "Odbiorcy", "Odczyty"};

}  // namespace

ApplyConfiguration::ApplyConfiguration(platform::Registry& registry, bde::AliasEngine& engine)
    : registry_(registry),
      engine_(engine),
      database1_("", std::string(bde::kSqlNativeClientDriver), bde::Database1Parameters()),
      databaseOracle_("", std::string(bde::kOracleDriver), bde::DatabaseOracleParameters()) {
  engine_.SetConfigurationMode(bde::ConfigurationMode::Persistent);
}

void ApplyConfiguration::Run(const Answers& answers, bde::StatusReport& report) {
  report.Clear();
  report.Add("Konfiguracja została utworzona!");
  report.Add("");

  // What the Oracle client would not read is said before anything is written.
  std::optional<oracle::ServiceFile> oracleFiles;
  if (answers.server == ServerKind::Oracle) oracleFiles = ReadOracleFiles(answers);
  const std::vector<std::string> existing = engine_.ListAliases();
  bde::AliasWriter(engine_, report, database1_).EnsureNetAlias(existing);
  if (answers.server == ServerKind::MicrosoftSqlServer) {
    WriteMssql(answers, existing, report);
  } else {
    WriteOracle(answers, *oracleFiles, existing, report);
  }
  engine_.SaveConfiguration();
}

// A value set for one alias stays in force for the next ones: this is how
// the meters alias takes the archive database when only that was given.
void ApplyConfiguration::WriteMssql(const Answers& answers, const std::vector<std::string>& existing,
                                    bde::StatusReport& report) {
  mssql::DataSourceWriter(registry_).ConfigureDataSource(answers.dataSourceName, answers.sqlServer,
                                                         answers.windowsLogin, report);
  report.Add(kConfigurationLine);

  bde::ParameterList& params = database1_.Params();
  params.Set("DATABASE NAME", answers.database);
  params.Set("USER NAME", answers.windowsLogin ? "dbo" : "novera");
  params.Set("ODBC DSN", answers.dataSourceName);

  bde::AliasWriter writer(engine_, report, database1_);
  std::string stem = AliasPrefixFor(ItemOf(answers.version), answers.testCopy) + "Novera- ";
  writer.WriteMssqlAlias(stem + "Ochrona", existing);
  stem += "LM";
  writer.WriteMssqlAlias(stem, existing);
  stem += "- ";
  for (const char* module : kModules) writer.WriteMssqlAlias(stem + module, existing);
  if (answers.version == SuiteVersion::V11) {
    if (!answers.archiveDatabase.empty()) params.Set("DATABASE NAME", answers.archiveDatabase);
    writer.WriteMssqlAlias(stem + "Archiwum", existing);
  }
  if (!answers.metersDatabase.empty()) params.Set("DATABASE NAME", answers.metersDatabase);
  writer.WriteMssqlAlias(stem + "Liczniki", existing);
}

// The files are read when the run starts, so that entries written meanwhile
// by someone else survive the rewrite of ours. An entry left as it is must
// be one the client finds; an edited one is written under the name it
// looks for.
oracle::ServiceFile ApplyConfiguration::ReadOracleFiles(const Answers& answers) {
  const oracle::NetworkFolder folder =
      oracle::FindNetworkFolder(registry_, answers.oracleHomeKey, answers.oracleHomeFolder);
  oracle::CheckNetworkFolder(folder);
  oracle::ServiceFile files;
  files.Read(folder);
  if (!answers.serviceEntry.Any()) files.CheckResolves(answers.oracleService);
  return files;
}

void ApplyConfiguration::WriteOracle(const Answers& answers, oracle::ServiceFile& files,
                                     const std::vector<std::string>& existing, bde::StatusReport& report) {
  oracle::UpdateSqlnetOra(files.Sqlnet(), report);
  // The values given over the entry in force, or over a new entry's defaults.
  if (answers.serviceEntry.Any()) {
    files.WriteEntry(answers.oracleService, answers.serviceEntry.Over(files.EntryOrNew(answers.oracleService)),
                     report);
  }
  report.Add(kConfigurationLine);

  bde::ParameterList& params = databaseOracle_.Params();
  params.Set("SERVER NAME", answers.oracleService);

  bde::AliasWriter writer(engine_, report, database1_);
  std::string stem = AliasPrefixFor(ItemOf(answers.version), answers.testCopy) + "Novera- ";
  params.Set("USER NAME", answers.userOchrona);
  writer.WriteAlias(stem + "Ochrona", existing, databaseOracle_);
  stem += "LM";
  params.Set("USER NAME", answers.userLM);
  writer.WriteAlias(stem, existing, databaseOracle_);
  stem += "- ";
  for (const char* module : kModules) writer.WriteAlias(stem + module, existing, databaseOracle_);
  if (answers.version == SuiteVersion::V11) writer.WriteAlias(stem + "Archiwum", existing, databaseOracle_);
  if (!answers.userLiczniki.empty()) params.Set("USER NAME", answers.userLiczniki);
  writer.WriteAlias(stem + "Liczniki", existing, databaseOracle_);
}

}  // namespace app
