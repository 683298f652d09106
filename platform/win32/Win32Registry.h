#pragma once

#include "platform/Registry.h"

namespace platform::win32 {

// The Windows registry through the wide advapi32 functions.
//
// Every key is opened, created and deleted in the 32-bit view
// (KEY_WOW64_32KEY; on 64-bit Windows HKLM\SOFTWARE is Wow6432Node), which
// is where the 32-bit BDE, its ODBC drivers and Oracle clients keep their
// keys. The 32-bit program sees that view anyway and 32-bit Windows ignores
// the flag; a 64-bit build of the same sources needs it to see those keys.
class Win32Registry final : public Registry {
 public:
  OpenedKey OpenKey(RegistryRoot root, std::string_view path, uint32_t access, bool create) override;
  bool KeyExists(RegistryRoot root, std::string_view path) override;
  bool DeleteKey(RegistryRoot root, std::string_view path) override;
};

}  // namespace platform::win32
