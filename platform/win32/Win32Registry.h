#pragma once

#include "platform/Registry.h"

namespace platform::win32 {

// The Windows registry through the wide advapi32 functions.
//
// The program is a 32-bit process, so on 64-bit Windows every path here is
// seen through the 32-bit view (HKLM\SOFTWARE is Wow6432Node), which is
// where the 32-bit BDE, its ODBC drivers and Oracle clients keep their keys.
// No KEY_WOW64_* flag is added on purpose.
class Win32Registry final : public Registry {
 public:
  std::unique_ptr<RegistryKey> OpenKey(RegistryRoot root, std::string_view path, uint32_t access,
                                       bool create) override;
  bool KeyExists(RegistryRoot root, std::string_view path) override;
  bool DeleteKey(RegistryRoot root, std::string_view path) override;
};

}  // namespace platform::win32
