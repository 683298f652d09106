#include <dlfcn.h>

#include <utility>

#include "platform/DynamicLibrary.h"

namespace platform {

std::optional<DynamicLibrary> DynamicLibrary::Load(const std::string& name, Lifetime lifetime) {
  // RTLD_LOCAL: the library's symbols are reached only through Symbol(),
  // never by accident from another library loaded later.
  int flags = RTLD_NOW | RTLD_LOCAL;
  if (lifetime == Lifetime::Process) flags |= RTLD_NODELETE;
  void* handle = ::dlopen(name.c_str(), flags);
  if (handle == nullptr) return std::nullopt;
  return DynamicLibrary(handle);
}

void* DynamicLibrary::Symbol(const char* name) const {
  // A null handle means RTLD_DEFAULT to dlsym, which would search the
  // whole process; a moved-from library has no functions.
  if (handle_ == nullptr) return nullptr;
  return ::dlsym(handle_, name);
}

void DynamicLibrary::Release() {
  if (handle_ != nullptr) ::dlclose(std::exchange(handle_, nullptr));
}

}  // namespace platform
