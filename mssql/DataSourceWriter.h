#pragma once

#include <string>
#include <string_view>

namespace platform {
class Registry;
}

namespace bde {
class StatusReport;
}

namespace mssql {

// The ODBC driver every data source of the wizard uses: the value name in
// the driver list, the driver's own key and the driver written for a data
// source are this one string.
inline constexpr std::string_view kDriverName = "SQL Native Client";

inline constexpr std::string_view kDriverListKey = "\\SOFTWARE\\ODBC\\ODBCINST.INI\\ODBC Drivers";
inline constexpr std::string_view kDriverKeyParent = "\\SOFTWARE\\ODBC\\ODBCINST.INI\\";
inline constexpr std::string_view kDataSourceListKey = "\\SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources";
inline constexpr std::string_view kDataSourceKeyParent = "\\SOFTWARE\\ODBC\\ODBC.INI\\";

inline constexpr std::string_view kNoDriverMessage = "Brak sterownika ODBC \"SQL Native Client\"";
inline constexpr std::string_view kDriverNotInstalledMessage =
    "Sterownik ODBC \"SQL Native Client\" nie zainstalowany";
inline constexpr std::string_view kNoDriverPathMessage = "Brak określenia sterownika ODBC \"SQL Native Client\"";
// %s: the data source name.
inline constexpr std::string_view kOtherDriverMessage = "Źródło danych \"%s\" istnieje i jest innego typu";
inline constexpr std::string_view kEmptyNameMessage = "Nazwa źródła danych ODBC nie może być pusta";
inline constexpr std::string_view kInvalidNameMessage =
    "Nazwa źródła danych ODBC \"%s\" zawiera niedozwolony znak \"%s\"";
// %s: the key, from its root.
inline constexpr std::string_view kKeyNotOpenedMessage = "Nie można otworzyć klucza rejestru \"%s\"";

// The character of name that ODBC forbids in a data source name, or 0 when
// it has none. A backslash would also lead the writes into another key.
char ForbiddenDataSourceNameChar(std::string_view name);

// Whether the driver is registered, marked installed and names its
// library, as ConfigureDataSource requires; only reads, creating no key.
bool DriverRegistered(platform::Registry& registry);

// Writes machine-wide ODBC data sources straight into the registry, in the
// layout the driver manager reads, after checking that the driver is
// registered. Values of an existing data source that are not written here
// are kept.
class DataSourceWriter {
 public:
  explicit DataSourceWriter(platform::Registry& registry) : registry_(registry) {}

  // Creates or modifies a data source of our driver and reports it in four
  // lines. Raises platform::Error when the driver is not registered, when
  // a data source of that name uses another driver, when the name is empty
  // or holds a forbidden character, or when a key cannot be opened.
  void ConfigureDataSource(const std::string& name, const std::string& server, bool windowsLogin,
                           bde::StatusReport& report);
  // Writes a data source without a report or the checks of an existing
  // one. False, with nothing written, when the driver is not registered or
  // the name is not a valid one; registry failures raise.
  bool CreateDataSource(const std::string& name, const std::string& server, bool windowsLogin);
  // Removes the list entry and the key; what is missing is passed over, and
  // a name that could not be a data source's is left alone.
  void DeleteDataSource(const std::string& name);

 private:
  platform::Registry& registry_;
};

}  // namespace mssql
