#pragma once

#include <memory>
#include <optional>
#include <string>

#include "bde/Connection.h"

namespace platform {
class Registry;
}

namespace mssql {

// %s: the library or function name.
inline constexpr std::string_view kNoDriverManagerMessage = "Nie można załadować biblioteki ODBC \"%s\"";
inline constexpr std::string_view kNoOdbcFunctionMessage = "Biblioteka ODBC nie ma funkcji \"%s\"";
// The driver manager gave no diagnostic of its own.
inline constexpr std::string_view kOdbcFailedMessage = "Błąd ODBC bez opisu (%s)";
// %s: the field name.
inline constexpr std::string_view kNoSuchFieldMessage = "Zapytanie nie ma pola \"%s\"";

// What a driver-manager connection string needs of a data source that is
// kept in the registry only.
struct RegisteredDataSource {
  std::string driverPath;
  std::string server;
  std::string trustedConnection;  // as the data source holds it; empty when missing
};

// The data source of that name from HKEY_LOCAL_MACHINE\SOFTWARE\ODBC\ODBC.INI;
// empty when it has no key or no driver.
std::optional<RegisteredDataSource> ReadRegisteredDataSource(platform::Registry& registry,
                                                             const std::string& name);

// The SQLDriverConnect string for a registered data source and a login.
std::string ConnectionString(const RegisteredDataSource& source, const std::string& user,
                             const std::string& password, const std::string& database);

// The engine's connections of the BDE driver "SQL Native Client": through
// the system's ODBC driver manager, loaded when a connection opens. The
// alias parameters used are "ODBC DSN", "USER NAME", "PASSWORD" and
// "DATABASE NAME" (the current catalog). Failures raise platform::Error
// with the driver's own diagnostic.
//
// The wizard writes its data sources straight into the registry, where a
// driver manager that keeps its own list (unixODBC, Wine's odbc32) does not
// look. A data source it reports unknown (IM002) is therefore connected
// from its registry values with a connection string instead.
class OdbcConnectionDriver final : public bde::ConnectionDriver {
 public:
  OdbcConnectionDriver(platform::Registry& registry, std::string libraryName)
      : registry_(registry), libraryName_(std::move(libraryName)) {}

  std::unique_ptr<bde::Connection> Connect(const bde::ParameterList& params) override;

 private:
  platform::Registry& registry_;
  std::string libraryName_;
};

}  // namespace mssql
