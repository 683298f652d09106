#pragma once

#include <cstdint>
#include <memory>
#include <optional>
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

// Registry value types, as Windows numbers them.
inline constexpr uint32_t kRegNone = 0;
inline constexpr uint32_t kRegSz = 1;
inline constexpr uint32_t kRegExpandSz = 2;
inline constexpr uint32_t kRegBinary = 3;
inline constexpr uint32_t kRegDword = 4;
inline constexpr uint32_t kRegMultiSz = 7;
inline constexpr uint32_t kRegQword = 11;

// A value exactly as the registry holds it: its type and its data bytes
// (texts in UTF-16LE with the nulls the writer stored, a DWORD in four
// little-endian bytes). What a program reads this way it can write back
// byte for byte, whatever the type.
struct RegistryValue {
  uint32_t type = kRegNone;
  std::string data;

  bool operator==(const RegistryValue&) const = default;
};

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
  // Any type, byte for byte. Nothing when the key has no such value; a
  // refused read raises kGetDataFailedMessage, a refused write
  // kSetDataFailedMessage.
  [[nodiscard]] virtual std::optional<RegistryValue> TryReadValue(std::string_view name) = 0;
  virtual void WriteValue(std::string_view name, const RegistryValue& value) = 0;
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
