#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {
class Registry;
}

namespace oracle {

inline constexpr std::string_view kOracleKeyPath = "\\SOFTWARE\\ORACLE";

// The key of one home: "\SOFTWARE\ORACLE\" + its subkey.
std::string HomeKeyPath(const std::string& subkey);

struct OracleHome {
  std::string name;    // ORACLE_HOME_NAME, as the list shows it
  std::string subkey;  // the subkey of \SOFTWARE\ORACLE it came from
};

// What a home's key holds of the three texts the home page shows; a value
// the key lacks is nothing.
struct OracleHomeDetails {
  std::optional<std::string> bundle;  // ORACLE_BUNDLE_NAME
  std::optional<std::string> nls;     // NLS_LANG
  std::optional<std::string> folder;  // ORACLE_HOME
};

// The Oracle homes that HKEY_LOCAL_MACHINE knows. Keys are only read,
// never created. In Details a value of another type than text raises the
// registry's type error; List passes over a home whose name is not text.
class OracleHomeLister {
 public:
  explicit OracleHomeLister(platform::Registry& registry) : registry_(registry) {}

  // The subkeys holding both ORACLE_HOME and ORACLE_HOME_NAME, in the order
  // the registry lists them; none without the Oracle key.
  std::vector<OracleHome> List();
  // Everything unknown when the home's key is missing.
  OracleHomeDetails Details(const std::string& subkey);

 private:
  platform::Registry& registry_;
};

}  // namespace oracle
