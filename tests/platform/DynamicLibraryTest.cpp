#include "platform/DynamicLibrary.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <filesystem>
#include <utility>

#ifdef _WIN32
#include "platform/win32/Windows.h"
#endif

namespace platform {
namespace {

// A library every machine has, with a plain C function in it.
#ifdef _WIN32
constexpr const char* kLibrary = "msvcrt.dll";
#else
constexpr const char* kLibrary = "libc.so.6";
#endif

using StrlenFunction = size_t(const char*);

// A library that is not the system's own, lying beside the test program as
// a copy planted in a downloads folder would lie beside the wizard.
std::filesystem::path PlantedLibrary() {
#ifdef _WIN32
  wchar_t program[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, program, MAX_PATH);
  return std::filesystem::path(program).parent_path() / "konfignovera-planted.dll";
#else
  return KONFIGNOVERA_FAKE_ODBC;
#endif
}

TEST(DynamicLibraryTest, MissingLibraryIsEmpty) {
  EXPECT_FALSE(DynamicLibrary::Load("konfignovera-no-such-library").has_value());
}

TEST(DynamicLibraryTest, FindsFunctionsByName) {
  std::optional<DynamicLibrary> library = DynamicLibrary::Load(kLibrary);
  ASSERT_TRUE(library.has_value());
  StrlenFunction* length = library->Function<StrlenFunction>("strlen");
  ASSERT_NE(length, nullptr);
  EXPECT_EQ(length("Zażółć"), 10u);
  EXPECT_EQ(library->Symbol("KonfigNoveraNoSuchFunction"), nullptr);
}

TEST(DynamicLibraryTest, MovedFromLibraryHasNoFunctions) {
  std::optional<DynamicLibrary> library = DynamicLibrary::Load(kLibrary);
  ASSERT_TRUE(library.has_value());
  DynamicLibrary moved = std::move(*library);
  EXPECT_NE(moved.Symbol("strlen"), nullptr);
  EXPECT_EQ(library->Symbol("strlen"), nullptr);
  library = std::move(moved);
  EXPECT_NE(library->Symbol("strlen"), nullptr);
}

// A bare name means the system's own library: the copy beside the program
// is not found by it, only by its full path. A relative path is refused.
TEST(DynamicLibraryTest, ABareNameIsLookedForInTheSystemFolderOnly) {
  const std::filesystem::path planted = PlantedLibrary();
  // The bare name first: a module already loaded would be found by it.
  EXPECT_FALSE(DynamicLibrary::Load(planted.filename().string()).has_value());
  EXPECT_FALSE(DynamicLibrary::Load((planted.parent_path().filename() / planted.filename()).string()).has_value());
  EXPECT_TRUE(DynamicLibrary::Load(planted.string()).has_value());
}

#ifdef _WIN32
// After start-up no load by bare name looks beside the program any more,
// not even one the system or another library makes itself.
TEST(DynamicLibraryTest, TheRestrictedSearchPassesOverTheProgramsFolder) {
  ASSERT_TRUE(RestrictLibrarySearch());
  HMODULE module = LoadLibraryW(PlantedLibrary().filename().wstring().c_str());
  EXPECT_EQ(module, nullptr);
  if (module) FreeLibrary(module);
}
#endif

}  // namespace
}  // namespace platform
