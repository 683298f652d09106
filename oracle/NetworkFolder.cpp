#include "oracle/NetworkFolder.h"

#include <optional>

#include "oracle/OracleHomes.h"
#include "platform/Environment.h"
#include "platform/Error.h"
#include "platform/Registry.h"
#include "platform/Text.h"
#include "platform/TextFile.h"

namespace oracle {
namespace {

// Where TNS_ADMIN was set, for the message that names it.
std::string Where(NetworkFolderSource source, const std::string& homeSubkey) {
  switch (source) {
    case NetworkFolderSource::ProcessEnvironment:
      return "zmienna środowiskowa";
    case NetworkFolderSource::UserEnvironment:
      return "zmienna środowiskowa użytkownika";
    case NetworkFolderSource::MachineEnvironment:
      return "zmienna środowiskowa systemu";
    case NetworkFolderSource::HomeKey:
      return "wartość klucza rejestru HKEY_LOCAL_MACHINE" + HomeKeyPath(homeSubkey);
    case NetworkFolderSource::Home:
      break;
  }
  return {};
}

NetworkFolder Named(std::string setting, NetworkFolderSource source, const std::string& homeSubkey) {
  std::string path = setting;
  if (path.back() != '\\' && path.back() != '/') path.push_back('\\');
  return {std::move(path), source, std::move(setting), Where(source, homeSubkey)};
}

NetworkFolderSource SourceOf(platform::VariableScope scope) {
  switch (scope) {
    case platform::VariableScope::Process:
      return NetworkFolderSource::ProcessEnvironment;
    case platform::VariableScope::User:
      return NetworkFolderSource::UserEnvironment;
    case platform::VariableScope::Machine:
      break;
  }
  return NetworkFolderSource::MachineEnvironment;
}

std::optional<std::string> HomeKeySetting(platform::Registry& registry, const std::string& subkey) {
  if (subkey.empty()) return std::nullopt;
  const auto key = registry.OpenKey(platform::RegistryRoot::LocalMachine, HomeKeyPath(subkey), platform::kKeyRead,
                                    false);
  if (!key) return std::nullopt;
  return key->TryReadString(kTnsAdmin);
}

}  // namespace

std::string HomeNetworkFolder(const std::string& homeFolder) { return homeFolder + "\\NETWORK\\ADMIN\\"; }

// The client on Windows takes TNS_ADMIN from its environment and, only when
// the environment does not set it, from the registry of its home (Oracle
// Net Services Reference, "tnsnames.ora" and the Windows parameters).
NetworkFolder FindNetworkFolder(platform::Registry& registry, const std::string& homeSubkey,
                                const std::string& homeFolder) {
  if (const auto variable = platform::InheritedEnvironment(registry).Find(kTnsAdmin)) {
    std::string setting(platform::Trim(variable->value, platform::Blanks::SpaceAndControls));
    if (!setting.empty()) return Named(std::move(setting), SourceOf(variable->scope), homeSubkey);
  }
  if (const auto value = HomeKeySetting(registry, homeSubkey)) {
    std::string setting(platform::Trim(*value, platform::Blanks::SpaceAndControls));
    if (!setting.empty()) return Named(std::move(setting), NetworkFolderSource::HomeKey, homeSubkey);
  }
  return {HomeNetworkFolder(homeFolder), NetworkFolderSource::Home, {}, {}};
}

void CheckNetworkFolder(const NetworkFolder& folder) {
  if (!folder.NamedByTnsAdmin() || platform::FolderExists(folder.setting)) return;
  throw platform::Error(platform::Format(kMissingNetworkFolderMessage, {folder.setting, folder.where}));
}

}  // namespace oracle
