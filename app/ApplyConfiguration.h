#pragma once

#include <string>
#include <vector>

#include "oracle/ServiceEntry.h"

namespace platform {
class Registry;
}

namespace bde {
class Database;
class AliasEngine;
class StatusReport;
}  // namespace bde

namespace app {

// What "Wykonaj" reads from the pages, taken exactly as the controls hold
// it: nothing is trimmed, and an empty text is passed on as empty.
struct ApplyChoices {
  int serverKind = 0;  // 0 = Microsoft SQL Server, any other value = Oracle
  int versionIndex = 2;
  std::string aliasPrefix;

  std::string dataSourceName;
  std::string server;
  bool windowsLogin = true;
  std::string database;
  std::string archiveDatabase;
  std::string metersDatabase;

  std::string oracleService;
  std::string userOchrona;
  std::string userLM;
  std::string userLiczniki;
  std::string oracleNetworkFolder;
  bool serviceEntryModified = false;
  oracle::ServiceEntry serviceEntry;
};

// The whole configuration in one run: the ODBC data source or the Oracle
// client files, one alias per suite module, and one save of the engine's
// configuration. The first error ends the run where it happened: what was
// written stays, nothing is saved, and the error passes to the caller.
// The templates are the window's; what the run sets on them stays there.
class ApplyConfiguration {
 public:
  ApplyConfiguration(platform::Registry& registry, bde::AliasEngine& engine, bde::Database& database1,
                     bde::Database& databaseOracle, std::vector<std::string>& tnsnamesLines,
                     bde::StatusReport& report)
      : registry_(registry),
        engine_(engine),
        database1_(database1),
        databaseOracle_(databaseOracle),
        tnsnamesLines_(tnsnamesLines),
        report_(report) {}

  void Run(const ApplyChoices& choices);

 private:
  void WriteMssql(const ApplyChoices& choices, const std::vector<std::string>& existing);
  void WriteOracle(const ApplyChoices& choices, const std::vector<std::string>& existing);

  platform::Registry& registry_;
  bde::AliasEngine& engine_;
  bde::Database& database1_;
  bde::Database& databaseOracle_;
  std::vector<std::string>& tnsnamesLines_;
  bde::StatusReport& report_;
};

}  // namespace app
