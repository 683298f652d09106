#include "platform/DynamicLibrary.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <utility>

namespace platform {
namespace {

// A library every machine has, with a plain C function in it.
#ifdef _WIN32
constexpr const char* kLibrary = "msvcrt.dll";
#else
constexpr const char* kLibrary = "libc.so.6";
#endif

using StrlenFunction = size_t(const char*);

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

}  // namespace
}  // namespace platform
