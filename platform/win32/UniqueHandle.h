#pragma once

#include <utility>

#include "platform/win32/Windows.h"

namespace platform::win32 {

// Move-only owner of one Win32 handle, closed when the owner goes. Each
// handle kind is one traits struct naming its empty value and its closer.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Empty(); }

  // Closes the handle held and gives the slot to a function that returns
  // a new one through a pointer.
  Handle* Put() {
    Reset();
    return &handle_;
  }

  Handle Release() { return std::exchange(handle_, Traits::Empty()); }

  void Reset(Handle handle = Traits::Empty()) {
    if (handle_ != Traits::Empty()) Traits::Close(handle_);
    handle_ = handle;
  }

 private:
  Handle handle_ = Traits::Empty();
};

// An opened registry key; never one of the predefined roots.
struct HKeyTraits {
  using Handle = HKEY;
  static Handle Empty() { return nullptr; }
  static void Close(Handle key) { RegCloseKey(key); }
};
using UniqueHKey = UniqueHandle<HKeyTraits>;

// A file from CreateFileW, which reports failure as INVALID_HANDLE_VALUE
// rather than null.
struct FileHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle file) { CloseHandle(file); }
};
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;

// A folder listing from FindFirstFileW.
struct FindHandleTraits {
  using Handle = HANDLE;
  static Handle Empty() { return INVALID_HANDLE_VALUE; }
  static void Close(Handle find) { FindClose(find); }
};
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;

}  // namespace platform::win32
