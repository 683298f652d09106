#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace {

// Wine's odbc32 aborts the whole process in most ANSI ("A") functions, so
// the program calls the wide ones only. This keeps a call like
// SQLDriverConnectA( out of every source folder.
TEST(NoAnsiOdbcTest, NoSourceCallsAnAnsiOdbcFunction) {
  const std::regex ansiCall(R"(SQL[A-Za-z]+A\s*\()");
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
      EXPECT_FALSE(std::regex_search(content, match, ansiCall)) << entry.path() << ": " << match.str();
      ++scanned;
    }
  }
  EXPECT_GT(scanned, 20);
}

}  // namespace
