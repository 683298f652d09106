#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace platform {
class Registry;
}

// The wizard's own settings key and the BDE configuration file name.
namespace app {

inline constexpr char kSettingsKey[] = "\\software\\Novera\\KonfigNovera";
inline constexpr char kServerValue[] = "Server";
inline constexpr char kVersionValue[] = "Wersja";
inline constexpr char kBdeKey[] = "\\SOFTWARE\\Borland\\Database Engine";
inline constexpr char kConfigFileValue[] = "CONFIGFILE01";

// The text that leads every suite alias name, for a version index and
// the test-copy choice. It always ends with one blank.
std::string AliasPrefixFor(int versionIndex, bool testCopy);

// "CONFIGFILE01" of the BDE key, or nothing when the key or the value is
// missing. A value of another type raises the registry's type error.
std::optional<std::string> ReadConfigFileName(platform::Registry& registry);

struct StoredChoices {
  std::optional<int32_t> server;
  std::optional<int32_t> version;
};

// Opens the settings key, creating it when missing, and reads the values
// that are present. Nothing when the key cannot be opened or created.
std::optional<StoredChoices> ReadStoredChoices(platform::Registry& registry);

// The same for a run that must leave the registry as it is until it
// writes: a missing key is not created, and gives nothing.
std::optional<StoredChoices> PeekStoredChoices(platform::Registry& registry);

// Writes both values as REG_DWORD. A key that cannot be opened or created
// is passed over silently; a refused write raises the registry's error.
void StoreChoices(platform::Registry& registry, int32_t server, int32_t version);

}  // namespace app
