#include "platform/win32/SystemServices.h"

#include "platform/win32/Unicode.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Windows.h"

#include <commctrl.h>
#include <shlobj.h>

namespace platform::win32 {

void InitCommonControls() {
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);
}

std::unique_ptr<Registry> CreateSystemRegistry() { return std::make_unique<Win32Registry>(); }

std::string DefaultEngineConfigFile() {
  wchar_t folder[MAX_PATH] = L"C:\\ProgramData";
  SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder);
  return Narrow(folder) + "\\Novera\\BDE\\KonfigNovera.cfg";
}

}  // namespace platform::win32
