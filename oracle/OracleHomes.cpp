#include "oracle/OracleHomes.h"

#include "platform/Error.h"
#include "platform/Registry.h"

namespace oracle {
namespace {

std::optional<std::string> ReadIfPresent(platform::RegistryKey& key, std::string_view name) {
  if (!key.ValueExists(name)) return std::nullopt;
  return key.ReadString(name);
}

}  // namespace

std::string HomeKeyPath(const std::string& subkey) { return std::string(kOracleKeyPath) + "\\" + subkey; }

std::vector<OracleHome> OracleHomeLister::List() {
  using platform::RegistryRoot;
  std::vector<OracleHome> homes;
  const auto oracleKey = registry_.OpenKey(RegistryRoot::LocalMachine, kOracleKeyPath, platform::kKeyRead, false);
  if (!oracleKey) return homes;
  for (const std::string& subkey : oracleKey->SubkeyNames()) {
    const auto key = registry_.OpenKey(RegistryRoot::LocalMachine, HomeKeyPath(subkey), platform::kKeyRead, false);
    if (!key || !key->ValueExists("ORACLE_HOME") || !key->ValueExists("ORACLE_HOME_NAME")) continue;
    // A name that is not text (left by a broken installer) cannot be
    // listed; it must not hide the homes that can.
    try {
      homes.push_back({key->ReadString("ORACLE_HOME_NAME"), subkey});
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
  details.bundle = ReadIfPresent(*key, "ORACLE_BUNDLE_NAME");
  details.nls = ReadIfPresent(*key, "NLS_LANG");
  details.folder = ReadIfPresent(*key, "ORACLE_HOME");
  return details;
}

}  // namespace oracle
