#include "platform/win32/SystemServices.h"

#include "platform/UniqueHandle.h"
#include "platform/win32/Unicode.h"
#include "platform/win32/Win32Registry.h"
#include "platform/win32/Windows.h"

#include <atomic>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <exception>

#include <commctrl.h>
#include <shellapi.h>
#include <shlobj.h>

namespace platform::win32 {
namespace {

// The crash handlers below are called by the system with no argument of
// ours, so what they call is kept here, once per process.
std::function<void(const std::string&)>& LastWords() {
  static std::function<void(const std::string&)> lastWords;
  return lastWords;
}

[[noreturn]] void EndAfter(const std::string& what) {
  // A second failure while the first is being written (in the handler
  // itself, or on another thread) ends the process without a second try.
  static std::atomic<bool> ending{false};
  if (!ending.exchange(true) && LastWords()) {
    try {
      LastWords()(what);
    } catch (...) {
    }
  }
  // TerminateProcess, not ExitProcess: the libraries of a damaged process
  // are not asked to detach, which could hang or crash once more.
  TerminateProcess(GetCurrentProcess(), 1);
  std::_Exit(1);
}

LONG WINAPI OnUnhandledException(EXCEPTION_POINTERS* info) {
  char text[96];
  std::snprintf(text, sizeof(text), "wyjątek systemowy 0x%08lX pod adresem %p",
                static_cast<unsigned long>(info->ExceptionRecord->ExceptionCode),
                info->ExceptionRecord->ExceptionAddress);
  EndAfter(text);
}

void OnTerminate() {
  std::string what = "nieobsłużony wyjątek";
  if (const std::exception_ptr current = std::current_exception()) {
    try {
      std::rethrow_exception(current);
    } catch (const std::exception& error) {
      what += ": ";
      what += error.what();
    } catch (...) {
    }
  }
  EndAfter(what);
}

void OnAbort(int) { EndAfter("przerwanie programu (abort)"); }

}  // namespace

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

std::string ComputerName() {
  wchar_t name[MAX_COMPUTERNAME_LENGTH + 1] = L"";
  DWORD size = MAX_COMPUTERNAME_LENGTH + 1;
  if (!GetComputerNameW(name, &size)) return {};
  return Narrow(std::wstring_view(name, size));
}

void PrepareForNobodyAtScreen(std::function<void(const std::string&)> lastWords) {
  LastWords() = std::move(lastWords);
  SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX | SEM_NOOPENFILEERRORBOX);
  SetUnhandledExceptionFilter(OnUnhandledException);
  std::set_terminate(OnTerminate);
  // The C runtime of a window program reports abort and its other fatal
  // errors in a message box unless told to use the error output.
  _set_error_mode(_OUT_TO_STDERR);
  std::signal(SIGABRT, OnAbort);
}

std::string DefaultEngineConfigFile() { return CommonAppDataFolder() + "\\Novera\\BDE\\KonfigNovera.cfg"; }

}  // namespace platform::win32
