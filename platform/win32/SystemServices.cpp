#include "platform/win32/SystemServices.h"

#include "platform/UniqueHandle.h"
#include "platform/win32/Unicode.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Windows.h"

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

namespace platform::win32 {

void InitCommonControls() {
  INITCOMMONCONTROLSEX classes{sizeof(classes), ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&classes);
}

std::unique_ptr<Registry> CreateSystemRegistry() { return std::make_unique<Win32Registry>(); }

std::vector<std::string> CommandLineArguments() {
  int count = 0;
  const UniqueHandle<wchar_t**, CloseWith<LocalFree>> arguments(CommandLineToArgvW(GetCommandLineW(), &count));
  std::vector<std::string> result;
  for (int i = 1; arguments && i < count; ++i) result.push_back(Narrow(arguments.Get()[i]));
  return result;
}

void WriteToConsole(const std::string& text) {
  // A window program has no console of its own; the one it was started
  // from is borrowed, unless its output was redirected to a file or pipe.
  HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
  if (out == nullptr || out == INVALID_HANDLE_VALUE) {
    if (!AttachConsole(ATTACH_PARENT_PROCESS)) return;
    out = GetStdHandle(STD_OUTPUT_HANDLE);
    if (out == nullptr || out == INVALID_HANDLE_VALUE) return;
  }
  DWORD mode = 0;
  DWORD written = 0;
  if (GetConsoleMode(out, &mode)) {
    const std::wstring wide = Widen(text);
    WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
  } else {
    WriteFile(out, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }
}

// The known folder first; where the shell cannot say, the environment's
// ProgramData, and only then the usual place.
std::string CommonAppDataFolder() {
  wchar_t folder[MAX_PATH] = {};
  if (SUCCEEDED(SHGetFolderPathW(nullptr, CSIDL_COMMON_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder))) {
    return Narrow(folder);
  }
  wchar_t variable[MAX_PATH] = {};
  const DWORD length = GetEnvironmentVariableW(L"ProgramData", variable, MAX_PATH);
  if (length > 0 && length < MAX_PATH) return Narrow(std::wstring_view(variable, length));
  return "C:\\ProgramData";
}

std::string DefaultEngineConfigFile() { return CommonAppDataFolder() + "\\Novera\\BDE\\KonfigNovera.cfg"; }

}  // namespace platform::win32
