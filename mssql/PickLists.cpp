#include "mssql/PickLists.h"

#include "bde/AliasValues.h"
#include "bde/Connection.h"
#include "bde/Templates.h"
#include "mssql/DataSourceWriter.h"
#include "platform/Error.h"
#include "platform/Registry.h"
#include "platform/Text.h"

namespace mssql {
namespace {

constexpr std::string_view kAliasStem = "Novera- ";

// Removes the temporary data source however the listing ends.
class TemporaryDataSource {
 public:
  explicit TemporaryDataSource(DataSourceWriter& writer) : writer_(writer) {}
  ~TemporaryDataSource() { writer_.DeleteDataSource(std::string(kTmpDataSourceName)); }
  TemporaryDataSource(const TemporaryDataSource&) = delete;
  TemporaryDataSource& operator=(const TemporaryDataSource&) = delete;

 private:
  DataSourceWriter& writer_;
};

}  // namespace

std::vector<std::string> DatabaseListSql() {
  return {"select cast(NAME as varchar(128)) NAME",
          " from sysdatabases where NAME not in ('master', 'msdb', 'model', 'tempdb', 'resource', 'distribution')",
          ""};
}

std::vector<std::string> DataSourceCatalog::DataSourceNames() {
  const platform::OpenedKey list =
      registry_.OpenKey(platform::RegistryRoot::LocalMachine, kDataSourceListKey, platform::kKeyRead, false);
  if (!list) return {};
  std::vector<std::string> names;
  for (const std::string& name : list->ValueNames()) {
    // Another program's value that is not text names no data source of
    // ours; one such value must not cost the user the whole list.
    try {
      if (list->ReadString(name) == kDriverName) names.push_back(name);
    } catch (const platform::Error&) {
    }
  }
  return names;
}

DataSourceCatalog::Settings DataSourceCatalog::ReadSettings(const std::string& name) {
  const std::string path = std::string(kDataSourceKeyParent) + name;
  if (!registry_.KeyExists(platform::RegistryRoot::LocalMachine, path)) return {};
  const platform::OpenedKey key =
      registry_.OpenKey(platform::RegistryRoot::LocalMachine, path, platform::kKeyAllAccess, false);
  if (!key) return {};
  Settings settings;
  settings.server = key->TryReadString("Server");
  if (const std::optional<std::string> trusted = key->TryReadString("Trusted_Connection")) {
    settings.windowsLogin = platform::AsciiUpper(*trusted) == "YES";
  }
  return settings;
}

AliasPresets::Values AliasPresets::Read(const std::string& aliasPrefix) {
  bde::AliasValues aliases(engine_);
  const std::string stem = aliasPrefix + std::string(kAliasStem);
  Values values;
  values.dataSource = aliases.Value(stem + "LM", "ODBC DSN");
  values.database = aliases.Value(stem + "LM", "DATABASE NAME");
  values.meterDatabase = aliases.Value(stem + "LM- Liczniki", "DATABASE NAME");
  values.archiveDatabase = aliases.Value(stem + "LM- Archiwum", "DATABASE NAME");
  return values;
}

std::vector<std::string> DatabaseLister::ListDatabases(const std::string& server, bool windowsLogin) {
  DataSourceWriter writer(registry_);
  const TemporaryDataSource cleanup(writer);
  std::vector<std::string> names;
  if (!writer.CreateDataSource(std::string(kTmpDataSourceName), server, windowsLogin)) return names;

  connection_.Close();
  bde::ParameterList& params = connection_.Params();
  params.Set("ODBC DSN", kTmpDataSourceName);
  // A Windows login keeps whatever password an earlier listing left.
  if (windowsLogin) {
    params.Set("USER NAME", kWindowsLoginUser);
  } else {
    params.Set("USER NAME", kSqlLoginUser);
    params.Set("password", kSqlLoginPassword);
  }

  bde::Query query1(session_, std::string(bde::kTmpDatabaseName), DatabaseListSql());
  try {
    for (query1.Open(); !query1.Eof(); query1.Next()) names.push_back(query1.FieldByName("name"));
  } catch (const platform::Error&) {
    // An unreachable server, a refused login or a failed statement leaves
    // the list with what was read; the user may type the name instead.
  }
  query1.Close();
  return names;
}

}  // namespace mssql
