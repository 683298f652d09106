#include <utility>

#include "platform/DynamicLibrary.h"
#include "platform/win32/Unicode.h"
#include "platform/win32/Windows.h"

namespace platform {
namespace {

bool IsBareName(const std::wstring& name) { return name.find_first_of(L"\\/:") == std::wstring::npos; }

// "C:\..." or "\\server\share\...".
bool IsFullPath(const std::wstring& name) {
  if (name.size() >= 3 && name[1] == L':' && (name[2] == L'\\' || name[2] == L'/')) return true;
  return name.size() >= 2 && name[0] == L'\\' && name[1] == L'\\';
}

}  // namespace

std::optional<DynamicLibrary> DynamicLibrary::Load(const std::string& name, Lifetime lifetime) {
  const std::wstring wideName = win32::Widen(name);
  const bool bare = IsBareName(wideName);
  if (!bare && !IsFullPath(wideName)) return std::nullopt;
  // A client library such as Oracle's loads more of its own libraries by
  // bare name later on; with the search restricted at start-up they are
  // found only if its folder is among the process's library folders.
  DLL_DIRECTORY_COOKIE folder = nullptr;
  if (!bare) {
    const std::wstring parent = wideName.substr(0, wideName.find_last_of(L"\\/"));
    folder = AddDllDirectory(parent.c_str());
  }
  // A library whose own dependencies are missing must fail quietly, not
  // stop the wizard with the system's critical-error box.
  DWORD oldMode = 0;
  SetThreadErrorMode(SEM_FAILCRITICALERRORS, &oldMode);
  HMODULE module = LoadLibraryExW(wideName.c_str(), nullptr,
                                  bare ? LOAD_LIBRARY_SEARCH_SYSTEM32
                                       : LOAD_LIBRARY_SEARCH_DLL_LOAD_DIR | LOAD_LIBRARY_SEARCH_SYSTEM32);
  SetThreadErrorMode(oldMode, nullptr);
  if (module == nullptr) {
    if (folder) RemoveDllDirectory(folder);
    return std::nullopt;
  }
  // A pinned module ignores every FreeLibrary, ours included; its folder
  // stays as long.
  if (lifetime == Lifetime::Process) {
    HMODULE pinned = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCWSTR>(module), &pinned);
    folder = nullptr;
  }
  return DynamicLibrary(module, folder);
}

void* DynamicLibrary::Symbol(const char* name) const {
  if (handle_ == nullptr) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

void DynamicLibrary::Release() {
  if (handle_ != nullptr) FreeLibrary(static_cast<HMODULE>(std::exchange(handle_, nullptr)));
  if (searchFolder_ != nullptr) RemoveDllDirectory(std::exchange(searchFolder_, nullptr));
}

bool RestrictLibrarySearch() {
  return SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_USER_DIRS) != 0;
}

}  // namespace platform
