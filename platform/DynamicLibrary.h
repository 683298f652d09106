#pragma once

#include <optional>
#include <string>

namespace platform {

// A library loaded by name at run time (LoadLibrary / dlopen), released
// when the owner goes. Move-only.
class DynamicLibrary {
 public:
  // Whether releasing the last owner unloads the library. A library that
  // keeps process-wide state of its own which it never frees stays loaded
  // for the life of the process: unloading it would lose that state, and
  // loading it again would build it anew each time.
  enum class Lifetime { Owner, Process };

  // Empty when the library cannot be loaded.
  static std::optional<DynamicLibrary> Load(const std::string& name, Lifetime lifetime = Lifetime::Owner);

  DynamicLibrary(DynamicLibrary&& other) noexcept;
  DynamicLibrary& operator=(DynamicLibrary&& other) noexcept;
  DynamicLibrary(const DynamicLibrary&) = delete;
  DynamicLibrary& operator=(const DynamicLibrary&) = delete;
  ~DynamicLibrary();

  // Null when the library has no function of that name.
  void* Symbol(const char* name) const;

  // Typed lookup: Function<decltype(SQLAllocHandle)>("SQLAllocHandle").
  template <typename F>
  F* Function(const char* name) const {
    return reinterpret_cast<F*>(Symbol(name));
  }

 private:
  explicit DynamicLibrary(void* handle) : handle_(handle) {}
  void Release();

  void* handle_ = nullptr;
};

}  // namespace platform
