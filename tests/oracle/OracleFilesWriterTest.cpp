#include "oracle/OracleFilesWriter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "tests/ErrorOf.h"
#include "tests/TempFolder.h"
#include "tests/WriteFaults.h"
#include "bde/StatusReport.h"
#include "platform/Text.h"
#include "platform/TextFile.h"

namespace oracle {
namespace {

using Lines = std::vector<std::string>;

const ServiceEntry kEntry{"", "TCP", "db1", "1521", "ORCL"};
const Lines kWritten = {"xe =",
                        "  (DESCRIPTION =",
                        "    (ADDRESS_LIST =",
                        "      (ADDRESS = (PROTOCOL = TCP)(HOST = db1)(PORT = 1521))",
                        "    )",
                        "    (CONNECT_DATA =",
                        "      (SERVICE_NAME = ORCL)",
                        "    )",
                        "  )"};

Lines Plus(Lines lines, const Lines& more) {
  lines.insert(lines.end(), more.begin(), more.end());
  return lines;
}

TEST(OracleFilesWriterTest, SqlnetGetsBothItemsAndIsLeftAloneWhenItHasThem) {
  struct Case {
    const char* what;
    Lines before;
    Lines after;  // empty: unchanged
  };
  const Case cases[] = {
      {"missing file", {}, {"SQLNET.AUTHENTICATION_SERVICES=(NTS)", "NAMES.DIRECTORY_PATH=(TNSNAMES)"}},
      {"(NONE) in lower-case key",
       {"sqlnet.authentication_services=(NONE)"},
       {"SQLNET.AUTHENTICATION_SERVICES=(NONE,NTS)", "NAMES.DIRECTORY_PATH=(TNSNAMES)"}},
      {"both present in any case",
       {"# ours", "SQLNET.AUTHENTICATION_SERVICES=(nts)", "names.directory_path = x", "NAMES.DIRECTORY_PATH=(Tnsnames)"},
       {}},
      {"a blank before = is not the key",
       {"SQLNET.AUTHENTICATION_SERVICES = (NTS)"},
       {"SQLNET.AUTHENTICATION_SERVICES = (NTS)", "SQLNET.AUTHENTICATION_SERVICES=(NTS)",
        "NAMES.DIRECTORY_PATH=(TNSNAMES)"}},
      {"blanks after commas are lost, quoted items kept",
       {"SQLNET.AUTHENTICATION_SERVICES=(NTS)", "NAMES.DIRECTORY_PATH=(EZCONNECT, HOSTNAME \"A B\")"},
       {"SQLNET.AUTHENTICATION_SERVICES=(NTS)", "NAMES.DIRECTORY_PATH=(EZCONNECT,HOSTNAME,\"A B\",TNSNAMES)"}},
      {"only the first parentheses go",
       {"SQLNET.AUTHENTICATION_SERVICES=(NTS)", "NAMES.DIRECTORY_PATH=((LDAP))"},
       {"SQLNET.AUTHENTICATION_SERVICES=(NTS)", "NAMES.DIRECTORY_PATH=((LDAP),TNSNAMES)"}},
  };
  for (const Case& c : cases) {
    Lines lines = c.before;
    EXPECT_EQ(EnsureSqlnetItems(lines), !c.after.empty()) << c.what;
    EXPECT_EQ(lines, c.after.empty() ? c.before : c.after) << c.what;
  }
}

TEST(OracleFilesWriterTest, TheOldEntryGivesWayToTheNewOneAtTheEnd) {
  struct Case {
    const char* what;
    const char* name;
    Lines before;
    Lines kept;  // what stays before the nine new lines
  };
  const Case cases[] = {
      {"entry in the middle, its empty line stays",
       "xe",
       {"A=(DESCRIPTION=(X=1))", "XE =", "  (DESCRIPTION =", "\t(ADDRESS = (HOST = old))", "  )", "", "B=(Y)"},
       {"A=(DESCRIPTION=(X=1))", "", "B=(Y)"}},
      {"one-line entry right after the matched one stays",
       "xe",
       {"XE=(DESCRIPTION=(X=1))", "B=(DESCRIPTION=(Y=2))"},
       {"B=(DESCRIPTION=(Y=2))"}},
      {"comment with a parenthesis after the entry stays",
       "xe",
       {"X E = (DESCRIPTION =", "  )", "# backup (2019)", "  (orphan)"},
       {"# backup (2019)", "  (orphan)"}},
      {"a comment naming the entry is not the entry",
       "XE",
       {"#XE = (old)", "xe=(DESCRIPTION=)"},
       {"#XE = (old)"}},
      {"only the first of two entries goes", "xe", {"XE=(A)", "XE=(B)"}, {"XE=(B)"}},
      {"a name with a blank matches nothing", "x e", {"XE=(A)", "X E=(B)"}, {"XE=(A)", "X E=(B)"}},
      {"a longer name does not match", "xe", {"XE.WORLD=(A)"}, {"XE.WORLD=(A)"}},
      {"a name of 31 characters is written whole", "abcdefghijklmnopqrstuvwxyz01234",
       {"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123=(A)"}, {"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123=(A)"}},
  };
  for (const Case& c : cases) {
    Lines lines = c.before;
    ReplaceTnsnamesEntry(lines, c.name, kEntry);
    Lines expected = kWritten;
    expected[0] = std::string(c.name) + " =";
    EXPECT_EQ(lines, Plus(c.kept, expected)) << c.what;
  }
}

TEST(OracleFilesWriterTest, FilesAreWrittenAndReportedOnlyWhenChanged) {
  testing_support::TempFolder folder;
  const std::string network = folder.Path().string() + "/";
  Lines status;
  bde::StatusReport report(status);

  UpdateSqlnetOra(network, report);
  UpdateSqlnetOra(network, report);  // now holds both: neither written nor reported
  Lines tnsnames;
  WriteTnsnamesEntry(network, tnsnames, "xe", kEntry, report);
  EXPECT_EQ(platform::ReadTextLines(network + "tnsnames.ora"), kWritten);
  // A second apply after a failed one finds its own entry and writes the same.
  WriteTnsnamesEntry(network, tnsnames, "xe", kEntry, report);
  EXPECT_EQ(platform::ReadTextLines(network + "tnsnames.ora"), kWritten);
  EXPECT_EQ(status, (Lines{"  Utworzono plik", "     \"" + network + "sqlnet.ora\"", "",
                           "  Utworzono plik", "     \"" + network + "tnsnames.ora\"", "",
                           "  Zmodyfikowano plik", "     \"" + network + "tnsnames.ora\"", ""}));
}

TEST(OracleFilesWriterTest, EntriesOfAFileThatWasNotReadAreNeverWrittenOver) {
  testing_support::TempFolder folder;
  const std::string network = folder.Path().string() + "/";
  platform::WriteTextLines(network + "tnsnames.ora", {"B=(DESCRIPTION=(Y=2))"});
  Lines status;
  bde::StatusReport report(status);
  Lines notRead;
  WriteTnsnamesEntry(network, notRead, "xe", kEntry, report);
  EXPECT_EQ(platform::ReadTextLines(network + "tnsnames.ora"), Plus({"B=(DESCRIPTION=(Y=2))"}, kWritten));
  EXPECT_EQ(status.front(), "  Zmodyfikowano plik");
}

TEST(OracleFilesWriterTest, AFolderThatIsMissingIsAFileError) {
  testing_support::TempFolder folder;
  const std::string network = folder.Path().string() + "/missing/";
  Lines status;
  bde::StatusReport report(status);
  Lines lines = {"A=(B)"};
  const std::string error = testing_support::ErrorOf([&] { WriteTnsnamesEntry(network, lines, "xe", kEntry, report); });
  EXPECT_EQ(error.rfind("Nie można utworzyć pliku \"" + network + "tnsnames.ora\". ", 0), 0u) << error;
  EXPECT_TRUE(status.empty());
  EXPECT_EQ(lines, Plus({"A=(B)"}, kWritten));  // the edit stays in memory
}

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// A write refused at any step (a read-only share, a full disk, the file held
// open by another program) leaves both files of the office byte for byte,
// no temporary beside them, and nothing in the report.
TEST(OracleFilesWriterTest, AFailedWriteLeavesBothFilesAsTheyWere) {
  const std::string sqlnet = "# nasze\r\nSQLNET.AUTHENTICATION_SERVICES= (NONE)\r\n";
  const std::string tnsnames = "B =\r\n  (DESCRIPTION = (Y = 2))\n\r\nxe=(old)\r\n";
  for (const char* file : {"sqlnet.ora", "tnsnames.ora"}) {
    for (const testing_support::InjectedWriteFault& f : testing_support::kWriteFaults) {
      SCOPED_TRACE(std::string(file) + " " + std::strerror(f.error));
      testing_support::TempFolder folder;
      const std::string network = folder.Path().string() + "/";
      std::ofstream(network + "sqlnet.ora", std::ios::binary) << sqlnet;
      std::ofstream(network + "tnsnames.ora", std::ios::binary) << tnsnames;
      Lines status;
      bde::StatusReport report(status);
      Lines lines = platform::ReadTextLines(network + "tnsnames.ora");

      std::string error;
      {
        platform::ScopedWriteFaultForTesting armed(f.fault);
        error = testing_support::ErrorOf([&] {
          if (std::string(file) == "sqlnet.ora") {
            UpdateSqlnetOra(network, report);
          } else {
            WriteTnsnamesEntry(network, lines, "xe", kEntry, report);
          }
        });
      }
      EXPECT_EQ(error, platform::Format(platform::kCreateFileFailedMessage, {network + file, std::strerror(f.error)}));
      EXPECT_EQ(Bytes(network + "sqlnet.ora"), sqlnet);
      EXPECT_EQ(Bytes(network + "tnsnames.ora"), tnsnames);
      EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 2);
      EXPECT_TRUE(status.empty());
    }
  }
}

// Lines the reader cannot make sense of are the office's, not ours: they
// are written back byte for byte around the replaced entry.
TEST(OracleFilesWriterTest, LinesItCannotReadAreWrittenBackAsTheyWere) {
  testing_support::TempFolder folder;
  const std::string network = folder.Path().string() + "/";
  const std::string binary("\x00\x01(=)\xFF\xA5 \t", 8);
  const std::string huge(10 * 1024 * 1024, '(');
  const std::string before = binary + "\r\nxe = ((\r\n  (DESCRIPTION\r\n\r\n" + huge + "\r\nN=\r\n";
  std::ofstream(network + "tnsnames.ora", std::ios::binary) << before;
  Lines status;
  bde::StatusReport report(status);
  Lines lines = platform::ReadTextLines(network + "tnsnames.ora");
  WriteTnsnamesEntry(network, lines, "xe", kEntry, report);
  std::string after = binary + "\r\n\r\n" + huge + "\r\nN=\r\n";
  for (const std::string& line : kWritten) after += line + "\r\n";
  EXPECT_TRUE(Bytes(network + "tnsnames.ora") == after);
}

TEST(OracleFilesWriterTest, AMissingFolderFailsSqlnetOraToo) {
  testing_support::TempFolder folder;
  const std::string network = folder.Path().string() + "/missing/";
  Lines status;
  bde::StatusReport report(status);
  EXPECT_EQ(testing_support::ErrorOf([&] { UpdateSqlnetOra(network, report); }),
            platform::Format(platform::kCreateFileFailedMessage, {network + "sqlnet.ora", std::strerror(ENOENT)}));
  EXPECT_TRUE(status.empty());
  EXPECT_FALSE(std::filesystem::exists(network));
}

}  // namespace
}  // namespace oracle
