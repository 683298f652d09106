#include <dlfcn.h>

#include <utility>

#include "platform/DynamicLibrary.h"

namespace platform {

std::optional<DynamicLibrary> DynamicLibrary::Load(const std::string& name, Lifetime lifetime) {
  // dlopen looks a bare name up in the system's library folders only; a
  // name with a slash it takes as a path, which must then be absolute.
  if (name.find('/') != std::string::npos && name.front() != '/') return std::nullopt;
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

// dlopen never looks beside the executable unless told so at link time.
bool RestrictLibrarySearch() { return true; }

}  // namespace platform
