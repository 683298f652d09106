#include "bde/Drivers.h"

#include "platform/Text.h"

namespace bde {
namespace {

// The SQL Server and Oracle lists follow the alias templates of the wizard;
// their passwords are left out on purpose.
const std::vector<DriverDefinition>& Definitions() {
  static const std::vector<DriverDefinition> definitions = {
      {kStandardDriver, {"PATH", "DEFAULT DRIVER", "ENABLE BCD"}},
      {kSqlNativeClientDriver,
       {"DATABASE NAME", "USER NAME", "ODBC DSN", "OPEN MODE", "BATCH COUNT", "LANGDRIVER",
        "MAX ROWS", "SCHEMA CACHE DIR", "SCHEMA CACHE SIZE", "SCHEMA CACHE TIME",
        "SQLPASSTHRU MODE", "SQLQRYMODE", "ENABLE SCHEMA CACHE", "ENABLE BCD", "ROWSET SIZE",
        "BLOBS TO CACHE", "BLOB SIZE"}},
      {kOracleDriver,
       {"SERVER NAME", "USER NAME", "NET PROTOCOL", "OPEN MODE", "SCHEMA CACHE SIZE",
        "LANGDRIVER", "SQLQRYMODE", "SQLPASSTHRU MODE", "SCHEMA CACHE TIME", "MAX ROWS",
        "BATCH COUNT", "ENABLE SCHEMA CACHE", "SCHEMA CACHE DIR", "ENABLE BCD",
        "ENABLE INTEGERS", "LIST SYNONYMS", "ROWSET SIZE", "BLOBS TO CACHE", "BLOB SIZE",
        "OBJECT MODE"}},
  };
  return definitions;
}

}  // namespace

const DriverDefinition* FindDriverDefinition(std::string_view driverName) {
  for (const DriverDefinition& definition : Definitions()) {
    if (platform::EqualsNoCase(definition.name, driverName)) return &definition;
  }
  return nullptr;
}

}  // namespace bde
