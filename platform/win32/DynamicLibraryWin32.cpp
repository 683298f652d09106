#include <utility>

#include "platform/DynamicLibrary.h"
#include "platform/win32/Unicode.h"
#include "platform/win32/Windows.h"

namespace platform {

std::optional<DynamicLibrary> DynamicLibrary::Load(const std::string& name, Lifetime lifetime) {
  // A library whose own dependencies are missing must fail quietly, not
  // stop the wizard with the system's critical-error box.
  DWORD oldMode = 0;
  SetThreadErrorMode(SEM_FAILCRITICALERRORS, &oldMode);
  HMODULE module = LoadLibraryW(win32::Widen(name).c_str());
  SetThreadErrorMode(oldMode, nullptr);
  if (module == nullptr) return std::nullopt;
  // A pinned module ignores every FreeLibrary, ours included.
  if (lifetime == Lifetime::Process) {
    HMODULE pinned = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                       reinterpret_cast<LPCWSTR>(module), &pinned);
  }
  return DynamicLibrary(module);
}

void* DynamicLibrary::Symbol(const char* name) const {
  if (handle_ == nullptr) return nullptr;
  return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(handle_), name));
}

void DynamicLibrary::Release() {
  if (handle_ != nullptr) FreeLibrary(static_cast<HMODULE>(std::exchange(handle_, nullptr)));
}

}  // namespace platform
