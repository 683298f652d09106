#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

enum class RegistryRoot { LocalMachine, CurrentUser };

// Access masks, as Windows defines them.
inline constexpr uint32_t kKeyRead = 0x20019;
inline constexpr uint32_t kKeyAllAccess = 0xF003F;
// Query and set value, create and enumerate subkeys, notify, write DAC.
inline constexpr uint32_t kKeyCreateDataSource = 0x4001F;

// Messages of the registry layer; %s is the value's name.
inline constexpr std::string_view kWrongTypeMessage = "Niepoprawny typ danych : %s";
inline constexpr std::string_view kSetDataFailedMessage = "Nie można zapisać wartości rejestru \"%s\"";
inline constexpr std::string_view kGetDataFailedMessage = "Nie można odczytać wartości rejestru \"%s\"";

// One opened registry key. It is closed when the object goes, so every
// operation holds its accessor only for its own work. Failures raise
// platform::Error with the messages above.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;

  virtual bool ValueExists(std::string_view name) = 0;
  // A missing value raises kGetDataFailedMessage, a value of another type
  // kWrongTypeMessage. Strings accept REG_SZ and REG_EXPAND_SZ (unexpanded).
  virtual std::string ReadString(std::string_view name) = 0;
  virtual int32_t ReadInteger(std::string_view name) = 0;
  virtual void WriteString(std::string_view name, std::string_view value) = 0;
  virtual void WriteInteger(std::string_view name, int32_t value) = 0;
  // False when there was no such value or it could not be deleted.
  virtual bool DeleteValue(std::string_view name) = 0;
  virtual std::vector<std::string> SubkeyNames() = 0;
  virtual std::vector<std::string> ValueNames() = 0;
};

// Keys are named by absolute paths with a leading backslash,
// such as "\software\Novera\KonfigNovera"; names ignore letter case.
class Registry {
 public:
  virtual ~Registry() = default;

  // Null when the key does not exist (and create is false), or the access
  // is refused, or it cannot be created.
  virtual std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path,
                                               uint32_t access, bool create) = 0;
  virtual bool KeyExists(RegistryRoot root, std::string_view path) = 0;
  // Deletes the key with all its subkeys; false when nothing was deleted.
  virtual bool DeleteKey(RegistryRoot root, std::string_view path) = 0;
};

// Splits "\A\B\C" into {"A", "B", "C"}; empty segments are dropped.
std::vector<std::string> SplitKeyPath(std::string_view path);

}  // namespace platform
