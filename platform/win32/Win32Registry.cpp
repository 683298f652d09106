#include "platform/win32/Win32Registry.h"

#include "platform/Text.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Unicode.h"
#include "platform/win32/Windows.h"

namespace platform::win32 {
namespace {

// Longest key name and longest value name the registry allows, in
// characters, plus the terminating null.
constexpr DWORD kMaxKeyNameLength = 256;
constexpr DWORD kMaxValueNameLength = 16384;

// The 32-bit view, whatever the program's own processor (see the header).
constexpr REGSAM kView = KEY_WOW64_32KEY;

HKEY RootKey(RegistryRoot root) {
  return root == RegistryRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
}

// Callers name keys "\A\B"; the registry wants "A\B". Going through
// SplitKeyPath also drops doubled backslashes, as the in-memory registry does.
std::wstring RelativePath(std::string_view path) {
  std::string relative;
  for (const std::string& part : SplitKeyPath(path)) {
    if (!relative.empty()) relative += '\\';
    relative += part;
  }
  return Widen(relative);
}

class Win32RegistryKey final : public RegistryKey {
 public:
  explicit Win32RegistryKey(UniqueHKey key) : key_(std::move(key)) {}

  bool ValueExists(std::string_view name) override {
    const std::wstring wideName = Widen(name);
    return RegQueryValueExW(key_.Get(), wideName.c_str(), nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
  }

  std::optional<std::string> TryReadString(std::string_view name) override {
    const std::wstring wideName = Widen(name);
    DWORD type = 0;
    DWORD size = 0;
    const LONG result = RegQueryValueExW(key_.Get(), wideName.c_str(), nullptr, &type, nullptr, &size);
    if (result == ERROR_FILE_NOT_FOUND) return std::nullopt;
    if (result != ERROR_SUCCESS) RaiseRegistryError(kGetDataFailedMessage, name);
    if (type != REG_SZ && type != REG_EXPAND_SZ) RaiseRegistryError(kWrongTypeMessage, name);

    // One spare character: the stored data need not end with a null.
    std::wstring buffer(size / sizeof(wchar_t) + 1, L'\0');
    if (RegQueryValueExW(key_.Get(), wideName.c_str(), nullptr, &type,
                         reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS) {
      RaiseRegistryError(kGetDataFailedMessage, name);
    }
    if (type != REG_SZ && type != REG_EXPAND_SZ) RaiseRegistryError(kWrongTypeMessage, name);
    buffer.resize(size / sizeof(wchar_t));
    // The text ends at the first null, as every other reader of the value sees it.
    return Narrow(std::wstring_view(buffer.c_str()));
  }

  std::optional<int32_t> TryReadInteger(std::string_view name) override {
    const std::wstring wideName = Widen(name);
    DWORD type = 0;
    DWORD data = 0;
    DWORD size = sizeof(data);
    const LONG result = RegQueryValueExW(key_.Get(), wideName.c_str(), nullptr, &type,
                                         reinterpret_cast<BYTE*>(&data), &size);
    if (result == ERROR_FILE_NOT_FOUND) return std::nullopt;
    // A value longer than a DWORD exists but cannot be one.
    if (result == ERROR_MORE_DATA) RaiseRegistryError(kWrongTypeMessage, name);
    if (result != ERROR_SUCCESS) RaiseRegistryError(kGetDataFailedMessage, name);
    if (type != REG_DWORD || size != sizeof(data)) RaiseRegistryError(kWrongTypeMessage, name);
    return static_cast<int32_t>(data);
  }

  void WriteString(std::string_view name, std::string_view value) override {
    const std::wstring wideValue = Widen(value);
    const auto size = static_cast<DWORD>((wideValue.size() + 1) * sizeof(wchar_t));
    SetValue(name, REG_SZ, reinterpret_cast<const BYTE*>(wideValue.c_str()), size);
  }

  void WriteInteger(std::string_view name, int32_t value) override {
    const auto data = static_cast<DWORD>(value);
    SetValue(name, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof(data));
  }

  std::optional<RegistryValue> TryReadValue(std::string_view name) override {
    const std::wstring wideName = Widen(name);
    DWORD type = 0;
    DWORD size = 0;
    LONG result = RegQueryValueExW(key_.Get(), wideName.c_str(), nullptr, &type, nullptr, &size);
    // Another program may grow the value between the two calls.
    std::string data;
    while (result == ERROR_SUCCESS || result == ERROR_MORE_DATA) {
      data.resize(size);
      result =
          RegQueryValueExW(key_.Get(), wideName.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()), &size);
      if (result == ERROR_SUCCESS) {
        data.resize(size);
        return RegistryValue{type, std::move(data)};
      }
    }
    if (result == ERROR_FILE_NOT_FOUND) return std::nullopt;
    RaiseRegistryError(kGetDataFailedMessage, name);
  }

  void WriteValue(std::string_view name, const RegistryValue& value) override {
    SetValue(name, value.type, reinterpret_cast<const BYTE*>(value.data.data()), static_cast<DWORD>(value.data.size()));
  }

  bool DeleteValue(std::string_view name) override {
    const std::wstring wideName = Widen(name);
    return RegDeleteValueW(key_.Get(), wideName.c_str()) == ERROR_SUCCESS;
  }

  // A failed enumeration answers an empty list rather than a partial one.
  std::vector<std::string> SubkeyNames() override {
    std::vector<std::string> names;
    for (DWORD index = 0;; ++index) {
      wchar_t name[kMaxKeyNameLength];
      DWORD length = kMaxKeyNameLength;
      const LONG result =
          RegEnumKeyExW(key_.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
      if (result == ERROR_NO_MORE_ITEMS) return names;
      if (result != ERROR_SUCCESS) return {};
      names.push_back(Narrow(std::wstring_view(name, length)));
    }
  }

  std::vector<std::string> ValueNames() override {
    std::vector<std::string> names;
    std::wstring name(kMaxValueNameLength, L'\0');
    for (DWORD index = 0;; ++index) {
      DWORD length = kMaxValueNameLength;
      const LONG result = RegEnumValueW(key_.Get(), index, name.data(), &length, nullptr, nullptr,
                                        nullptr, nullptr);
      if (result == ERROR_NO_MORE_ITEMS) return names;
      if (result != ERROR_SUCCESS) return {};
      names.push_back(Narrow(std::wstring_view(name.data(), length)));
    }
  }

 private:
  void SetValue(std::string_view name, DWORD type, const BYTE* data, DWORD size) {
    const std::wstring wideName = Widen(name);
    if (RegSetValueExW(key_.Get(), wideName.c_str(), 0, type, data, size) != ERROR_SUCCESS) {
      RaiseRegistryError(kSetDataFailedMessage, name);
    }
  }

  UniqueHKey key_;
};

}  // namespace

OpenedKey Win32Registry::OpenKey(RegistryRoot root, std::string_view path, uint32_t access, bool create) {
  const std::wstring relative = RelativePath(path);
  UniqueHKey key;
  const LONG result =
      create ? RegCreateKeyExW(RootKey(root), relative.c_str(), 0, nullptr,
                               REG_OPTION_NON_VOLATILE, access | kView, nullptr, key.Put(), nullptr)
             : RegOpenKeyExW(RootKey(root), relative.c_str(), 0, access | kView, key.Put());
  if (result == ERROR_FILE_NOT_FOUND) return OpenedKey(KeyStatus::Missing);
  if (result != ERROR_SUCCESS) return OpenedKey(KeyStatus::Refused);
  return OpenedKey(std::make_unique<Win32RegistryKey>(std::move(key)));
}

bool Win32Registry::KeyExists(RegistryRoot root, std::string_view path) {
  const std::wstring relative = RelativePath(path);
  UniqueHKey key;
  const LONG result = RegOpenKeyExW(RootKey(root), relative.c_str(), 0, KEY_READ | kView, key.Put());
  // A key we may not read is still there.
  return result == ERROR_SUCCESS || result == ERROR_ACCESS_DENIED;
}

bool Win32Registry::DeleteKey(RegistryRoot root, std::string_view path) {
  const std::vector<std::string> parts = SplitKeyPath(path);
  // An empty path would name the root itself, and RegDeleteTreeW would
  // empty the whole hive.
  if (parts.empty()) return false;
  // RegDeleteTreeW takes no view flag: the parent is opened in the view,
  // and the tree is deleted from it.
  std::string parentPath;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) parentPath += "\\" + parts[i];
  UniqueHKey parent;
  if (RegOpenKeyExW(RootKey(root), RelativePath(parentPath).c_str(), 0,
                    DELETE | KEY_ENUMERATE_SUB_KEYS | KEY_QUERY_VALUE | KEY_SET_VALUE | kView,
                    parent.Put()) != ERROR_SUCCESS) {
    return false;
  }
  return RegDeleteTreeW(parent.Get(), Widen(parts.back()).c_str()) == ERROR_SUCCESS;
}

}  // namespace platform::win32
