#pragma once

#include <memory>
#include <optional>
#include <string>

#include "bde/Connection.h"
#include "mssql/OdbcApi.h"

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

// The driver manager with every function the connections call. Raises
// kNoDriverManagerMessage or kNoOdbcFunctionMessage.
std::shared_ptr<const odbc::Api> LoadApi(const std::string& libraryName);

// A value as a connection string takes it: braced, with "}" doubled, when
// it holds anything that could end or open a value.
std::string ConnectionValue(std::string_view value);

// The SQLDriverConnect string for a registered data source and a login. A
// server "host:port" or "[IPv6 address]:port" is given as SERVER and PORT;
// an IPv6 address needs the brackets for a port, and without one it is
// taken whole.
std::string ConnectionString(const RegisteredDataSource& source, const std::string& user,
                             const std::string& password, const std::string& database);

// The engine's connections of the BDE driver "SQL Native Client": through
// the system's ODBC driver manager, loaded when a connection opens. The
// alias parameters used are "ODBC DSN", "USER NAME", "PASSWORD" and
// "DATABASE NAME" (the current catalog). Failures raise platform::Error
// with the driver's own diagnostic.
//
// The wizard writes its data sources straight into the registry, where a
// driver manager that keeps its own list (unixODBC) does not look. With
// such a driver manager a data source it reports unknown (IM002) is
// connected from its registry values with a connection string instead.
// Windows' own driver manager reads the registry: there IM002 means what
// it says.
//
// A server that accepts the connection and never answers would hold the
// window until the driver gives up by itself, which can take minutes: the
// login waits kLoginTimeoutSeconds at most.
class OdbcConnectionDriver final : public bde::ConnectionDriver {
 public:
  static constexpr uintptr_t kLoginTimeoutSeconds = 10;

  OdbcConnectionDriver(platform::Registry& registry, std::string libraryName,
                       bool driverManagerReadsRegistry = odbc::kDriverManagerReadsRegistry)
      : registry_(registry),
        libraryName_(std::move(libraryName)),
        driverManagerReadsRegistry_(driverManagerReadsRegistry) {}

  std::unique_ptr<bde::Connection> Connect(const bde::ParameterList& params) override;

 private:
  platform::Registry& registry_;
  std::string libraryName_;
  bool driverManagerReadsRegistry_;
};

}  // namespace mssql
