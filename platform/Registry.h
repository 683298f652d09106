#pragma once

#include <cstddef>
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

// A text value as Windows stores it (REG_SZ, or REG_EXPAND_SZ), and a
// REG_DWORD.
RegistryValue TextValue(std::string_view text, uint32_t type = kRegSz);
RegistryValue NumberValue(uint32_t number);

// One opened registry key. It is closed when the object goes, so every
// operation holds its accessor only for its own work. Failures raise
// platform::Error with the messages above.
class RegistryKey {
 public:
  virtual ~RegistryKey() = default;

  virtual bool ValueExists(std::string_view name) = 0;
  // Nothing when the key has no such value. A value of another type raises
  // kWrongTypeMessage, any other failure (a handle without the right to
  // read, a key deleted meanwhile) kGetDataFailedMessage. Strings accept
  // REG_SZ and REG_EXPAND_SZ (unexpanded).
  [[nodiscard]] virtual std::optional<std::string> TryReadString(std::string_view name) = 0;
  [[nodiscard]] virtual std::optional<int32_t> TryReadInteger(std::string_view name) = 0;
  // The same for a value that must be there: a missing one raises
  // kGetDataFailedMessage too.
  std::string ReadString(std::string_view name);
  int32_t ReadInteger(std::string_view name);
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

// Why OpenKey gave no key.
enum class KeyStatus {
  Opened,
  // There is no such key, and it was not to be created.
  Missing,
  // The key is there, or could have been created, but the system would not
  // open it: the access asked for is denied, or the open failed otherwise.
  Refused,
};

// What OpenKey gives: the opened key, or why there is none. Where only the
// key matters it stands for the key: true when opened, and -> reaches it.
class OpenedKey {
 public:
  explicit OpenedKey(std::unique_ptr<RegistryKey> key) : key_(std::move(key)), status_(KeyStatus::Opened) {}
  // Missing or Refused.
  explicit OpenedKey(KeyStatus status) : status_(status) {}

  KeyStatus Status() const { return status_; }
  explicit operator bool() const { return key_ != nullptr; }
  bool operator==(std::nullptr_t) const { return key_ == nullptr; }
  RegistryKey* operator->() const { return key_.get(); }
  RegistryKey& operator*() const { return *key_; }

 private:
  std::unique_ptr<RegistryKey> key_;
  KeyStatus status_;
};

// Keys are named by absolute paths with a leading backslash,
// such as "\software\Novera\KonfigNovera"; names ignore letter case.
class Registry {
 public:
  virtual ~Registry() = default;

  // The key, created with its missing parents when create is true. The
  // wizard's steps mostly treat a refused key as a missing one; the status
  // tells the two apart where a caller must say which it was.
  virtual OpenedKey OpenKey(RegistryRoot root, std::string_view path, uint32_t access, bool create) = 0;
  virtual bool KeyExists(RegistryRoot root, std::string_view path) = 0;
  // Deletes the key with all its subkeys; false when nothing was deleted.
  virtual bool DeleteKey(RegistryRoot root, std::string_view path) = 0;
};

// Raises platform::Error with one of the messages above, naming the value.
[[noreturn]] void RaiseRegistryError(std::string_view pattern, std::string_view name);

// Splits "\A\B\C" into {"A", "B", "C"}; empty segments are dropped.
std::vector<std::string> SplitKeyPath(std::string_view path);

}  // namespace platform
