#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace bde {

inline constexpr std::string_view kStandardDriver = "STANDARD";
// The tables of a standard alias whose DEFAULT DRIVER is not given.
inline constexpr std::string_view kDefaultStandardDriver = "PARADOX";
inline constexpr std::string_view kSqlNativeClientDriver = "SQL Native Client";
inline constexpr std::string_view kOracleDriver = "ORACLE";

// The parameters an alias of one driver holds, in the order the alias lists
// them. Only these names are ever stored with an alias of the driver, so a
// login password handed over with a template never reaches the
// configuration file.
struct DriverDefinition {
  std::string_view name;
  std::vector<std::string_view> parameters;
};

// The definition of a driver whose name matches without regard to letter
// case, or null for a driver this engine does not know.
const DriverDefinition* FindDriverDefinition(std::string_view driverName);

}  // namespace bde
