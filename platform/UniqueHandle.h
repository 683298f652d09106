#pragma once

#include <utility>

namespace platform {

// Move-only owner of one handle of a C interface (a registry key, a file,
// a statement of a database client), closed when the owner goes. Each
// handle kind is one line that names the handle type and its closer:
//
//   using UniqueHKey = UniqueHandle<HKEY, CloseWith<RegCloseKey>>;
//
// The closer is called with the handle, and only when there is one. It may
// carry what closing needs, such as the table of functions of the library
// that handed the handle out; it is given with the handle and moves with
// it. The empty value is the handle type's null, unless the closer names
// another with a static Empty().
template <typename Handle, typename Closer>
class UniqueHandle {
 public:
  UniqueHandle() = default;
  // Empty, for a closer that needs what only the caller knows; the handle
  // comes later through Put.
  explicit UniqueHandle(Closer closer) : closer_(std::move(closer)) {}
  explicit UniqueHandle(Handle handle, Closer closer = Closer()) : handle_(handle), closer_(std::move(closer)) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()), closer_(std::move(other.closer_)) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) {
      Reset();
      closer_ = std::move(other.closer_);
      handle_ = other.Release();
    }
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  Handle Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Empty(); }

  // Closes the handle held and gives the slot to a function that hands a
  // new one out through a pointer. Whatever it leaves there is owned, so a
  // handle given out along with a warning is still closed.
  Handle* Put() {
    Reset();
    return &handle_;
  }

  Handle Release() { return std::exchange(handle_, Empty()); }

  void Reset(Handle handle = Empty()) {
    if (handle_ != Empty()) closer_(handle_);
    handle_ = handle;
  }

 private:
  static Handle Empty() {
    if constexpr (requires { Closer::Empty(); }) {
      return Closer::Empty();
    } else {
      return Handle{};
    }
  }

  Handle handle_ = Empty();
  [[no_unique_address]] Closer closer_;
};

// The closer of a handle kind that one function closes by itself.
template <auto Close>
struct CloseWith {
  template <typename Handle>
  void operator()(Handle handle) const {
    Close(handle);
  }
};

}  // namespace platform
