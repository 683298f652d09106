#include "app/WizardSettings.h"

#include "platform/Registry.h"

namespace app {

using platform::RegistryRoot;

std::string AliasPrefixFor(int versionIndex, bool testCopy) {
  std::string prefix = testCopy ? "KopiaX" : "X";
  if (versionIndex == 0) prefix = testCopy ? "Kopia" : "II";
  return prefix + " ";
}

std::optional<std::string> ReadConfigFileName(platform::Registry& registry) {
  if (!registry.KeyExists(RegistryRoot::LocalMachine, kBdeKey)) return std::nullopt;
  auto key = registry.OpenKey(RegistryRoot::LocalMachine, kBdeKey, platform::kKeyRead, false);
  if (!key) return std::nullopt;
  return key->TryReadString(kConfigFileValue);
}

namespace {

std::optional<StoredChoices> ReadChoices(platform::Registry& registry, uint32_t access, bool create) {
  auto key = registry.OpenKey(RegistryRoot::CurrentUser, kSettingsKey, access, create);
  if (!key) return std::nullopt;
  StoredChoices stored;
  stored.server = key->TryReadInteger(kServerValue);
  stored.version = key->TryReadInteger(kVersionValue);
  return stored;
}

}  // namespace

std::optional<StoredChoices> ReadStoredChoices(platform::Registry& registry) {
  return ReadChoices(registry, platform::kKeyAllAccess, true);
}

std::optional<StoredChoices> PeekStoredChoices(platform::Registry& registry) {
  return ReadChoices(registry, platform::kKeyRead, false);
}

void StoreChoices(platform::Registry& registry, int32_t server, int32_t version) {
  auto key = registry.OpenKey(RegistryRoot::CurrentUser, kSettingsKey, platform::kKeyAllAccess, true);
  if (!key) return;
  key->WriteInteger(kServerValue, server);
  key->WriteInteger(kVersionValue, version);
}

}  // namespace app
