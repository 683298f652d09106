#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace {

// Every .cpp and .h of the product's folders is free of the pattern.
void ExpectNoSourceMatches(const std::regex& forbidden) {
  const std::filesystem::path root = KONFIGNOVERA_SOURCE_DIR;
  int scanned = 0;
  for (const char* folder : {"app", "bde", "mssql", "oracle", "platform"}) {
    if (!std::filesystem::exists(root / folder)) continue;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root / folder)) {
      const std::string extension = entry.path().extension().string();
      if (!entry.is_regular_file() || (extension != ".cpp" && extension != ".h")) continue;
      std::ifstream file(entry.path());
      std::stringstream text;
      text << file.rdbuf();
      const std::string content = text.str();
      std::smatch match;
      EXPECT_FALSE(std::regex_search(content, match, forbidden)) << entry.path() << ": " << match.str();
      ++scanned;
    }
  }
  EXPECT_GT(scanned, 20);
}

// Wine's odbc32 aborts the whole process in most ANSI ("A") functions, so
// the program calls the wide ones only. This keeps a call like
// SQLDriverConnectA( out of every source folder.
TEST(NoAnsiOdbcTest, NoSourceCallsAnAnsiOdbcFunction) { ExpectNoSourceMatches(std::regex(R"(SQL[A-Za-z]+A\s*\()")); }

// The wizard runs with administrator rights: a library loaded through the
// search path could be a copy planted beside the executable. Libraries
// are loaded through platform::DynamicLibrary, with LoadLibraryExW only.
TEST(NoAnsiOdbcTest, NoSourceLoadsALibraryThroughTheSearchPath) {
  ExpectNoSourceMatches(std::regex(R"(\bLoadLibrary(A|W|ExA)?\s*\()"));
}

}  // namespace
