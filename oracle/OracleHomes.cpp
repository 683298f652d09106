#include "oracle/OracleHomes.h"

#include "platform/Error.h"
#include "platform/Registry.h"

namespace oracle {

std::string HomeKeyPath(const std::string& subkey) { return std::string(kOracleKeyPath) + "\\" + subkey; }

std::vector<OracleHome> OracleHomeLister::List() {
  using platform::RegistryRoot;
  std::vector<OracleHome> homes;
  const auto oracleKey = registry_.OpenKey(RegistryRoot::LocalMachine, kOracleKeyPath, platform::kKeyRead, false);
  if (!oracleKey) return homes;
  for (const std::string& subkey : oracleKey->SubkeyNames()) {
    const auto key = registry_.OpenKey(RegistryRoot::LocalMachine, HomeKeyPath(subkey), platform::kKeyRead, false);
    if (!key || !key->ValueExists("ORACLE_HOME")) continue;
    // A name that is not text (left by a broken installer) cannot be
    // listed; it must not hide the homes that can.
    try {
      if (std::optional<std::string> name = key->TryReadString("ORACLE_HOME_NAME")) {
        homes.push_back({std::move(*name), subkey});
      }
    } catch (const platform::Error&) {
    }
  }
  return homes;
}

OracleHomeDetails OracleHomeLister::Details(const std::string& subkey) {
  const auto key =
      registry_.OpenKey(platform::RegistryRoot::LocalMachine, HomeKeyPath(subkey), platform::kKeyRead, false);
  if (!key) return {};
  OracleHomeDetails details;
  details.bundle = key->TryReadString("ORACLE_BUNDLE_NAME");
  details.nls = key->TryReadString("NLS_LANG");
  details.folder = key->TryReadString("ORACLE_HOME");
  return details;
}

}  // namespace oracle
