#pragma once

#include <optional>
#include <string>

namespace platform {

// A library loaded at run time (LoadLibraryEx / dlopen), released when the
// owner goes. Move-only.
//
// The wizard runs with administrator rights, so a library is never looked
// for where someone else may have put a copy (beside the executable, in the
// current folder, along PATH):
// - a bare file name ("odbc32.dll") is one of the system's own libraries
//   and is taken from the system folder only;
// - a full path is taken from exactly there, and the libraries it depends
//   on, or loads itself while it stays loaded, from its own folder first,
//   then from the system folder;
// - a relative path is refused.
class DynamicLibrary {
 public:
  // Whether releasing the last owner unloads the library. A library that
  // keeps process-wide state of its own which it never frees stays loaded
  // for the life of the process: unloading it would lose that state, and
  // loading it again would build it anew each time.
  enum class Lifetime { Owner, Process };

  // Empty when the library cannot be loaded or the name is a relative path.
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
  explicit DynamicLibrary(void* handle, void* searchFolder = nullptr)
      : handle_(handle), searchFolder_(searchFolder) {}
  void Release();

  void* handle_ = nullptr;
  // The library's own folder among the process's library folders (Windows).
  void* searchFolder_ = nullptr;
};

// From now on the libraries that anything in the process loads by name,
// the system's own code included, are looked for in the system folder and
// the folders of libraries loaded by full path only. The program calls it
// first thing; false when the system cannot restrict the search.
bool RestrictLibrarySearch();

}  // namespace platform
