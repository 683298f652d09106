#include <string>

#include "platform/Environment.h"
#include "platform/win32/Unicode.h"
#include "platform/win32/Windows.h"

namespace platform {

std::optional<std::string> ProcessVariable(std::string_view name) {
  const std::wstring wideName = win32::Widen(name);
  std::wstring buffer(256, L'\0');
  while (true) {
    SetLastError(ERROR_SUCCESS);
    const DWORD length = GetEnvironmentVariableW(wideName.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    // A variable set to an empty text also answers 0, without an error.
    if (length == 0) {
      if (GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
      return std::string();
    }
    // Too small a buffer answers the size needed, the terminator included.
    if (length < buffer.size()) return win32::Narrow(std::wstring_view(buffer.data(), length));
    buffer.resize(length);
  }
}

}  // namespace platform
