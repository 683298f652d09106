#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "bde/ConnectionCheck.h"
#include "mssql/OdbcApi.h"

namespace platform {
class NetworkProbe;
class Registry;
}  // namespace platform

namespace mssql {

// The SQL Server configuration to check: the data source the aliases use,
// the server it should name, the login the page chose, and the databases
// of the aliases (general, counters, archive), of which each distinct one
// that is not empty is logged into once.
struct SqlServerSetup {
  std::string dataSource;
  std::string server;
  bool windowsLogin = true;
  std::vector<std::string> databases;
};

// Texts of the data source check. %s: the data source's name first.
inline constexpr std::string_view kDataSourceOkDetail =
    "Źródło danych ODBC \"%s\": zarejestrowane ze sterownikiem \"SQL Native Client\" (plik \"%s\")";
inline constexpr std::string_view kDataSourceNameDetail =
    "Źródło danych ODBC \"%s\": nazwa zawiera niedozwolony znak \"%s\"";
inline constexpr std::string_view kDataSourceNoKeyDetail =
    "Źródło danych ODBC \"%s\": brak klucza rejestru \"%s\" (32-bitowy widok rejestru)";
inline constexpr std::string_view kDataSourceNotListedDetail =
    "Źródło danych ODBC \"%s\": brak go na liście \"ODBC Data Sources\"";
inline constexpr std::string_view kDataSourceListedDriverDetail =
    "Źródło danych ODBC \"%s\": lista \"ODBC Data Sources\" podaje sterownik \"%s\" zamiast \"SQL Native Client\"";
inline constexpr std::string_view kDataSourceNoDriverDetail =
    "Źródło danych ODBC \"%s\": sterownik ODBC \"SQL Native Client\" nie jest zarejestrowany jako zainstalowany";
inline constexpr std::string_view kDataSourceNoDriverFileValueDetail =
    "Źródło danych ODBC \"%s\": rejestracja sterownika \"SQL Native Client\" nie podaje jego pliku";
inline constexpr std::string_view kDataSourceNoDriverFileDetail =
    "Źródło danych ODBC \"%s\": brak pliku sterownika \"%s\"";
inline constexpr std::string_view kDataSourceServerDetail =
    "Źródło danych ODBC \"%s\": wskazuje serwer \"%s\" zamiast \"%s\"";
inline constexpr std::string_view kDataSourceLoginDetail =
    "Źródło danych ODBC \"%s\": zapisane logowanie \"%s\" nie odpowiada wybranemu (%s)";
inline constexpr std::string_view kDataSourceErrorDetail = "Źródło danych ODBC \"%s\": %s";

// Texts of the server check. %s: the server as written first.
inline constexpr std::string_view kServerSubject = "Serwer \"%s\"";
inline constexpr std::string_view kServerOkDetail = "Serwer \"%s\": port %s przyjmuje połączenia (adres %s)";
inline constexpr std::string_view kServerBrowserOkDetail =
    "Serwer \"%s\": SQL Server Browser podał port %s, port przyjmuje połączenia (adres %s)";
inline constexpr std::string_view kServerFailedDetail = "Serwer \"%s\": %s";
inline constexpr std::string_view kServerInvalidDetail =
    "Serwer \"%s\": nazwa serwera nie ma postaci komputer, komputer\\instancja ani komputer,port";
inline constexpr std::string_view kServerLocalDetail =
    "Serwer \"%s\": serwer tego komputera, łączony przez pamięć współdzieloną; sieci nie sprawdzano";
inline constexpr std::string_view kServerProtocolDetail =
    "Serwer \"%s\": połączenie protokołem \"%s\"; sprawdzane są tylko połączenia TCP";
inline constexpr std::string_view kInstanceNameTooLongDetail =
    "Serwer \"%s\": nazwa instancji jest dłuższa niż 32 bajty";
// %s: the server, the time, the instance.
inline constexpr std::string_view kBrowserSilentDetail =
    "Serwer \"%s\": SQL Server Browser (port UDP 1434) nie odpowiedział w ciągu %s; usługa nie działa, port "
    "blokuje zapora albo nie ma instancji \"%s\"";
inline constexpr std::string_view kBrowserClosedDetail =
    "Serwer \"%s\": SQL Server Browser nie działa (port UDP 1434 jest zamknięty)";
inline constexpr std::string_view kBrowserOtherDetail =
    "Serwer \"%s\": na porcie UDP 1434 odpowiada coś innego niż SQL Server Browser";
inline constexpr std::string_view kBrowserNoTcpDetail =
    "Serwer \"%s\": instancja \"%s\" nie przyjmuje połączeń TCP (SQL Server Browser nie podał portu TCP)";

// Texts of the login checks. %s: the database first.
inline constexpr std::string_view kDatabaseSubject = "Baza \"%s\"";
inline constexpr std::string_view kLoginOkDetail =
    "Baza \"%s\": logowanie użytkownikiem Windows przez źródło danych \"%s\" udane";
inline constexpr std::string_view kLoginFailedDetail = "Baza \"%s\": logowanie nieudane: %s";
inline constexpr std::string_view kLoginSkippedDetail =
    "Baza \"%s\": logowania nie sprawdzono, bo hasło użytkownika serwera MSSQL nie jest znane";
inline constexpr std::string_view kLoginNoDataSourceDetail =
    "Baza \"%s\": logowanie niemożliwe, brak źródła danych \"%s\"";
inline constexpr std::string_view kLoginNoDriverManagerDetail = "Baza \"%s\": %s";

// The checks of a SQL Server configuration, as the suite's programs will
// use it: the data source in the registry, the server on the network, and
// a login to each database through the data source.
class SqlServerChecks {
 public:
  SqlServerChecks(platform::Registry& registry, std::shared_ptr<platform::NetworkProbe> network,
                  std::string driverManagerLibrary = odbc::kDriverManagerLibrary,
                  bool driverManagerReadsRegistry = odbc::kDriverManagerReadsRegistry)
      : registry_(registry),
        network_(std::move(network)),
        driverManagerLibrary_(std::move(driverManagerLibrary)),
        driverManagerReadsRegistry_(driverManagerReadsRegistry) {}

  bde::CheckTimeouts timeouts;

  // The checks in report order: the data source, the server, then each
  // database. The registry is read here, on the caller's thread; what
  // waits on the network is left for bde::RunChecks.
  std::vector<bde::Check> Make(const SqlServerSetup& setup);

  // The data source: its key in the registry's 32-bit view, its entry in
  // "ODBC Data Sources" naming our driver, the driver registered as
  // installed with its file on disk, and the server and login it holds.
  bde::CheckResult CheckDataSource(const SqlServerSetup& setup);
  // The server: its name resolves and its port takes a TCP connection; a
  // named instance's port comes from the SQL Server Browser.
  bde::Check ServerCheck(const std::string& server);
  // A Windows login to the database through the data source, with the
  // login timeout set; a login as a SQL Server user is skipped, as no
  // password is known.
  bde::Check LoginCheck(const SqlServerSetup& setup, const std::string& database,
                        const std::shared_ptr<const odbc::Api>& api);

 private:
  platform::Registry& registry_;
  std::shared_ptr<platform::NetworkProbe> network_;
  std::string driverManagerLibrary_;
  bool driverManagerReadsRegistry_;
};

}  // namespace mssql
