#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class Registry;
}

namespace bde {
class Database;
class AliasEngine;
class Session;
}  // namespace bde

namespace mssql {

// The data source that exists only while a database list is filled.
inline constexpr std::string_view kTmpDataSourceName = "TmpNoveraMSSQLDataSource";
// The fixed logins of the database list.
inline constexpr std::string_view kSqlLoginUser = "novera";
inline constexpr std::string_view kSqlLoginPassword = "p.f.j. tevrol";
inline constexpr std::string_view kWindowsLoginUser = "dbo";

// The statement of the database list: the user databases of the server.
std::vector<std::string> DatabaseListSql();

// What an earlier configuration left in the registry's data sources.
class DataSourceCatalog {
 public:
  explicit DataSourceCatalog(platform::Registry& registry) : registry_(registry) {}

  // The data sources listed for our driver, spelled exactly as "SQL Native
  // Client", in the order the registry lists them.
  std::vector<std::string> DataSourceNames();

  struct Settings {
    std::optional<std::string> server;
    std::optional<bool> windowsLogin;  // Trusted_Connection is "YES" in any letter case
  };
  // The values the data source's key holds; nothing when it has no key or
  // the key refuses full access.
  Settings ReadSettings(const std::string& name);

 private:
  platform::Registry& registry_;
};

// The data source and databases that the aliases of an earlier run name.
class AliasPresets {
 public:
  explicit AliasPresets(bde::AliasEngine& engine) : engine_(engine) {}

  // Empty texts where the alias is missing or its parameter empty.
  struct Values {
    std::string dataSource;
    std::string database;
    std::string meterDatabase;
    std::string archiveDatabase;
  };
  Values Read(const std::string& aliasPrefix);

 private:
  bde::AliasEngine& engine_;
};

// Lists the user databases of a server through the short-lived data source
// and the given connection (registered with the session as "_TmpDatabase"),
// whose parameters keep what one listing set for the next.
class DatabaseLister {
 public:
  DatabaseLister(platform::Registry& registry, bde::Session& session, bde::Database& connection)
      : registry_(registry), session_(session), connection_(connection) {}

  // The names read before the server failed to connect or answer; the
  // failure itself is passed over. A registry failure raises, after the
  // temporary data source has been removed.
  std::vector<std::string> ListDatabases(const std::string& server, bool windowsLogin);

 private:
  platform::Registry& registry_;
  bde::Session& session_;
  bde::Database& connection_;
};

}  // namespace mssql
