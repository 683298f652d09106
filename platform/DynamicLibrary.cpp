#include "platform/DynamicLibrary.h"

#include <utility>

// Ownership is the same on every system; loading, lookup and release are
// in the POSIX and Win32 files.
namespace platform {

DynamicLibrary::DynamicLibrary(DynamicLibrary&& other) noexcept
    : handle_(std::exchange(other.handle_, nullptr)), searchFolder_(std::exchange(other.searchFolder_, nullptr)) {}

DynamicLibrary& DynamicLibrary::operator=(DynamicLibrary&& other) noexcept {
  if (this != &other) {
    Release();
    handle_ = std::exchange(other.handle_, nullptr);
    searchFolder_ = std::exchange(other.searchFolder_, nullptr);
  }
  return *this;
}

DynamicLibrary::~DynamicLibrary() { Release(); }

}  // namespace platform
