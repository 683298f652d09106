#include "oracle/OracleFilesWriter.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
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

std::string Bytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
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
       {"# ours", "SQLNET.AUTHENTICATION_SERVICES=(nts)", "#NAMES.DIRECTORY_PATH=(LDAP)", "NAMES.DIRECTORY_PATH=(Tnsnames)"},
       {}},
      {"blanks around the key: the line is found and left as it is when it has the item",
       {"SQLNET.AUTHENTICATION_SERVICES = (NTS)", "  names.directory_path\t= (tnsnames, EZCONNECT)"},
       {}},
      {"blanks around the key: the line is rewritten in place with its items",
       {"# site methods", "NAMES.DIRECTORY_PATH = (LDAP, EZCONNECT)", "SQLNET.AUTHENTICATION_SERVICES = (NTS)",
        "SQLNET.EXPIRE_TIME = 10"},
       {"# site methods", "NAMES.DIRECTORY_PATH=(LDAP,EZCONNECT,TNSNAMES)", "SQLNET.AUTHENTICATION_SERVICES = (NTS)",
        "SQLNET.EXPIRE_TIME = 10"}},
      {"a commented-out key stays untouched",
       {"#SQLNET.AUTHENTICATION_SERVICES = (NONE)", "SQLNET.AUTHENTICATION_SERVICES = (NONE)"},
       {"#SQLNET.AUTHENTICATION_SERVICES = (NONE)", "SQLNET.AUTHENTICATION_SERVICES=(NONE,NTS)",
        "NAMES.DIRECTORY_PATH=(TNSNAMES)"}},
      {"blanks after commas are lost, quoted items kept",
       {"SQLNET.AUTHENTICATION_SERVICES=(NTS)", "NAMES.DIRECTORY_PATH=(EZCONNECT, HOSTNAME \"A B\")"},
       {"SQLNET.AUTHENTICATION_SERVICES=(NTS)", "NAMES.DIRECTORY_PATH=(EZCONNECT,HOSTNAME,\"A B\",TNSNAMES)"}},
      {"only the first parentheses go",
       {"SQLNET.AUTHENTICATION_SERVICES=(NTS)", "NAMES.DIRECTORY_PATH=((LDAP))"},
       {"SQLNET.AUTHENTICATION_SERVICES=(NTS)", "NAMES.DIRECTORY_PATH=((LDAP),TNSNAMES)"}},
      {"a value continued on the next line is rewritten whole",
       {"SQLNET.AUTHENTICATION_SERVICES=(NTS)", "NAMES.DIRECTORY_PATH = (LDAP,", "   EZCONNECT)"},
       {"SQLNET.AUTHENTICATION_SERVICES=(NTS)", "NAMES.DIRECTORY_PATH=(LDAP,EZCONNECT,TNSNAMES)"}},
      {"comments inside a continued value stay, the next key is its own",
       {"SQLNET.AUTHENTICATION_SERVICES = (NONE,", "# since 2020", "", "\tBEQ", "  )", "SQLNET.EXPIRE_TIME = 10"},
       {"SQLNET.AUTHENTICATION_SERVICES=(NONE,BEQ,NTS)", "# since 2020", "", "SQLNET.EXPIRE_TIME = 10",
        "NAMES.DIRECTORY_PATH=(TNSNAMES)"}},
      {"a value on the lines after its key, holding the item, stays",
       {"NAMES.DIRECTORY_PATH =", "  (TNSNAMES,", "   EZCONNECT)", "SQLNET.AUTHENTICATION_SERVICES=", " (NTS)"},
       {}},
      {"a line that is not indented ends a value left open",
       {"NAMES.DIRECTORY_PATH = (LDAP,", "  EZCONNECT", "SQLNET.AUTHENTICATION_SERVICES = (NTS)"},
       {"NAMES.DIRECTORY_PATH=(LDAP,EZCONNECT,TNSNAMES)", "SQLNET.AUTHENTICATION_SERVICES = (NTS)"}},
  };
  for (const Case& c : cases) {
    Lines lines = c.before;
    EXPECT_EQ(EnsureSqlnetItems(lines), !c.after.empty()) << c.what;
    EXPECT_EQ(lines, c.after.empty() ? c.before : c.after) << c.what;
  }
}

// Our own reader of sqlnet.ora judges the rewrite: the two keys keep what
// they held and gain their item, every other setting reads as before.
TEST(OracleFilesWriterTest, TheSqlnetRewriteIsCheckedAgainstTheFileBeforeIt) {
  struct Case {
    const char* what;
    Lines before;
    Lines after;
    std::optional<std::string> fault;  // key, then "+" and the item for one of the two keys
  };
  const std::string auth = "SQLNET.AUTHENTICATION_SERVICES=(NTS)";
  const Case cases[] = {
      {"as written", {"NAMES.DIRECTORY_PATH = (LDAP,", "   EZCONNECT)", "A = 1"},
       {"NAMES.DIRECTORY_PATH=(LDAP,EZCONNECT,TNSNAMES)", "A = 1", auth}, std::nullopt},
      {"a continuation left dangling", {"NAMES.DIRECTORY_PATH = (LDAP,", "   EZCONNECT)", auth},
       {"NAMES.DIRECTORY_PATH=(LDAP,,TNSNAMES)", "   EZCONNECT)", auth}, "NAMES.DIRECTORY_PATH+TNSNAMES"},
      {"an item lost", {"NAMES.DIRECTORY_PATH=(LDAP)", auth}, {"NAMES.DIRECTORY_PATH=(TNSNAMES)", auth},
       "NAMES.DIRECTORY_PATH+TNSNAMES"},
      {"the item missing", {}, {"NAMES.DIRECTORY_PATH=(TNSNAMES)", "SQLNET.AUTHENTICATION_SERVICES=(NONE)"},
       "SQLNET.AUTHENTICATION_SERVICES+NTS"},
      {"another key broken apart", {"A = (1,", "  2)"}, {"A = (1,", "2)", auth, "NAMES.DIRECTORY_PATH=(TNSNAMES)"},
       "A"},
      {"another key lost", {"A = (1)", "B = 2"}, {"A = (1)", auth, "NAMES.DIRECTORY_PATH=(TNSNAMES)"}, "B"},
      {"a second line of the same key is another one", {auth, auth, "NAMES.DIRECTORY_PATH=(TNSNAMES)"},
       {auth, "NAMES.DIRECTORY_PATH=(TNSNAMES)"}, "SQLNET.AUTHENTICATION_SERVICES"},
  };
  for (const Case& c : cases) {
    const std::optional<SqlnetFault> fault = FindSqlnetRewriteFault(c.before, c.after);
    std::optional<std::string> found;
    if (fault) found = fault->key + (fault->item.empty() ? "" : "+" + fault->item);
    EXPECT_EQ(found, c.fault) << c.what;
  }
}

// A rewrite the check refuses leaves sqlnet.ora byte for byte and says why.
TEST(OracleFilesWriterTest, ARefusedSqlnetRewriteLeavesTheFileAsItWas) {
  testing_support::TempFolder folder;
  const std::string network = folder.Path().string() + "/";
  const std::string sqlnet = "SQLNET.AUTHENTICATION_SERVICES=(NTS)\r\nNAMES.DIRECTORY_PATH=((LDAP))\r\n";
  std::ofstream(network + "sqlnet.ora", std::ios::binary) << sqlnet;
  Lines status;
  bde::StatusReport report(status);
  EXPECT_EQ(testing_support::ErrorOf([&] { UpdateSqlnetOra(network, report); }),
            platform::Format(kSqlnetEnsuredKeyFaultMessage,
                             {network + "sqlnet.ora", "NAMES.DIRECTORY_PATH", "TNSNAMES"}));
  EXPECT_EQ(Bytes(network + "sqlnet.ora"), sqlnet);
  EXPECT_TRUE(status.empty());
}

// A setting is made in the file that sets it first, which sqlnet.ora may
// include; one no file sets goes into sqlnet.ora itself. A file that cannot
// be read is never written, and a refusal in any file writes none.
TEST(OracleFilesWriterTest, SqlnetSettingsAreMadeInTheFileThatSetsThemFirst) {
  struct Case {
    const char* what;
    Lines sqlnet;
    std::optional<Lines> shared;  // wspolny.ora
    Lines sqlnetAfter;
    std::optional<Lines> sharedAfter;
    std::string error;  // "@" stands for the folder
  };
  const std::string auth = "SQLNET.AUTHENTICATION_SERVICES=(NTS)";
  const Case cases[] = {
      {"one key in the included file, the other in sqlnet.ora",
       {"IFILE = wspolny.ora", "SQLNET.AUTHENTICATION_SERVICES = (NONE)"},
       Lines{"# firma", "NAMES.DIRECTORY_PATH = (LDAP)"},
       {"IFILE = wspolny.ora", "SQLNET.AUTHENTICATION_SERVICES=(NONE,NTS)"},
       Lines{"# firma", "NAMES.DIRECTORY_PATH=(LDAP,TNSNAMES)"},
       "(no error)"},
      {"the first that sets it, read before the line after the IFILE",
       {"IFILE = wspolny.ora", "NAMES.DIRECTORY_PATH = (LDAP)", auth},
       Lines{"NAMES.DIRECTORY_PATH = (EZCONNECT)"},
       {"IFILE = wspolny.ora", "NAMES.DIRECTORY_PATH = (LDAP)", auth},
       Lines{"NAMES.DIRECTORY_PATH=(EZCONNECT,TNSNAMES)"},
       "(no error)"},
      {"a missing include is not created", {"IFILE = wspolny.ora"}, std::nullopt,
       {"IFILE = wspolny.ora", auth, "NAMES.DIRECTORY_PATH=(TNSNAMES)"}, std::nullopt, "(no error)"},
      {"a refusal in the included file writes neither",
       {"IFILE = wspolny.ora"},
       Lines{"NAMES.DIRECTORY_PATH=((LDAP))"},
       {"IFILE = wspolny.ora"},
       Lines{"NAMES.DIRECTORY_PATH=((LDAP))"},
       platform::Format(kSqlnetEnsuredKeyFaultMessage, {"@wspolny.ora", "NAMES.DIRECTORY_PATH", "TNSNAMES"})},
  };
  for (const Case& c : cases) {
    testing_support::TempFolder folder;
    const std::string network = folder.Path().string() + "/";
    platform::WriteTextLines(network + "sqlnet.ora", c.sqlnet);
    if (c.shared) platform::WriteTextLines(network + "wspolny.ora", *c.shared);
    Lines status;
    bde::StatusReport report(status);
    std::string error = testing_support::ErrorOf([&] { UpdateSqlnetOra(network, report); });
    if (const size_t at = error.find(network); at != std::string::npos) error.replace(at, network.size(), "@");
    EXPECT_EQ(error, c.error) << c.what;
    EXPECT_EQ(platform::ReadTextLines(network + "sqlnet.ora"), c.sqlnetAfter) << c.what;
    EXPECT_EQ(platform::FileExists(network + "wspolny.ora"), c.sharedAfter.has_value()) << c.what;
    if (c.sharedAfter) EXPECT_EQ(platform::ReadTextLines(network + "wspolny.ora"), *c.sharedAfter) << c.what;
    size_t reported = 0;
    for (const std::string& line : status) reported += line.starts_with("     \"");
    EXPECT_EQ(reported, (c.sqlnet != c.sqlnetAfter) + (c.shared != c.sharedAfter)) << c.what;
  }
}

// An entry the nine-line layout holds whole moves to the end in that layout.
TEST(OracleFilesWriterTest, TheOldEntryGivesWayToTheNewOneAtTheEnd) {
  struct Case {
    const char* what;
    const char* name;
    Lines before;
    Lines kept;  // what stays before the nine new lines
  };
  const std::string a = "A=(DESCRIPTION=(ADDRESS=(PROTOCOL=TCP)(HOST=ha)(PORT=1)))";
  const std::string b = "B=(DESCRIPTION=(ADDRESS=(PROTOCOL=TCP)(HOST=hb)(PORT=1)))";
  const std::string xe = "XE=(DESCRIPTION=(ADDRESS=(PROTOCOL=TCP)(HOST=old)(PORT=1))(CONNECT_DATA=(SERVICE_NAME=XE)))";
  const Case cases[] = {
      {"entry in the middle, its empty line stays",
       "xe",
       {a, "XE =", "  (DESCRIPTION =", "\t(ADDRESS = (PROTOCOL = TCP)(HOST = old)(PORT = 1))", "  )", "", b},
       {a, "", b}},
      {"one-line entry right after the matched one stays", "xe", {xe, b}, {b}},
      {"comment with a parenthesis after the entry stays",
       "xe",
       {"X E = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = old)(PORT = 1))", "  )", "# backup (2019)", "  (orphan)"},
       {"# backup (2019)", "  (orphan)"}},
      {"a comment naming the entry is not the entry", "XE", {"#XE = (old)", xe}, {"#XE = (old)"}},
      {"comment lines inside the entry stay, the rest of its body goes",
       "xe",
       {"XE =", "# moved to the new server (2019)", "  (DESCRIPTION =", "#   (ADDRESS = (PROTOCOL = TCP)(HOST = x)(PORT = 1))",
        "    (ADDRESS = (PROTOCOL = TCP)(HOST = old)(PORT = 1))", "  )", b},
       {"# moved to the new server (2019)", "#   (ADDRESS = (PROTOCOL = TCP)(HOST = x)(PORT = 1))", b}},
      {"name line indented by a tab", "xe", {"\t" + xe, b}, {b}},
      {"repeated name: the later one, which the user saw, goes", "xe", {xe, b, xe}, {xe, b}},
      {"an entry that cannot be read stays", "xe", {"XE=(A)", b}, {"XE=(A)", b}},
      {"a name with a blank matches nothing", "x e", {a, "X E=(B)"}, {a, "X E=(B)"}},
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

// Entries that hold more than the layout keep every character but the
// values the user changed, where they stand; names given together part.
TEST(OracleFilesWriterTest, EntriesAsSitesKeepThemChangeOnlyWhatTheUserChanged) {
  struct Case {
    const char* what;
    const char* name;
    Lines before;
    ServiceEntry entry;  // as the user left it
    Lines after;
  };
  const Lines failover = {
      "PROD.WORLD =",
      "  (DESCRIPTION =",
      "    (ADDRESS_LIST =",
      "      (LOAD_BALANCE = off)(FAILOVER = on)",
      "      (ADDRESS = (PROTOCOL = TCP)(HOST = prod1.firma.pl)(PORT = 1521))",
      "      # standby since 2021",
      "      (ADDRESS = (PROTOCOL = TCP)(HOST = prod2.firma.pl)(PORT = 1521))",
      "    )",
      "    (CONNECT_DATA =",
      "      (SERVER = DEDICATED)",
      "      (SERVICE_NAME = prod)",
      "      (FAILOVER_MODE = (TYPE = SELECT)(METHOD = BASIC)(RETRIES = 20)(DELAY = 5))",
      "    )",
      "  )"};
  Lines failoverMoved = failover;
  failoverMoved[4] = "      (ADDRESS = (PROTOCOL = TCP)(HOST = prod3.firma.pl)(PORT = 1530))";
  const Lines gateway = {"dg4msql =", "\t(DESCRIPTION =", "\t\t(ADDRESS = (PROTOCOL = tcp)(HOST = gw)(PORT = 1521))",
                         "\t\t(CONNECT_DATA = (SID = dg4msql))", "\t\t(HS = OK)", "\t)"};
  Lines gatewayMoved = gateway;
  gatewayMoved[3] = "\t\t(CONNECT_DATA = (SID = MSSQL2))";
  const std::string other = "OTHER = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = o)(PORT = 1)))";
  const Lines sid = {"ORCL =", "  (DESCRIPTION =", "    (ADDRESS = (PROTOCOL = TCP)(HOST = old)(PORT = 1521))",
                     "    (CONNECT_DATA = (SID = ORCL))", "  )"};
  Lines sidLayout = EntryLayout("ORCL", {"ORCL", "TCP", "db1", "1521", "ORCL", true});
  const Lines together = {"N2, N2.WORLD, N2.FIRMA.PL =", "  (DESCRIPTION =",
                          "    (ADDRESS = (PROTOCOL = TCP)(HOST = h2)(PORT = 1521))",
                          "    (CONNECT_DATA = (SERVICE_NAME = n2)))"};
  const Lines togetherMore = {"N2,N2.WORLD = (DESCRIPTION = (SDU = 8192)", "    (ADDRESS = (PROTOCOL = TCP)(HOST = h2)(PORT = 1521))",
                              "    (CONNECT_DATA = (SERVICE_NAME = n2)))"};
  const Case cases[] = {
      {"failover list: first address changed in place",
       "PROD.WORLD", failover, {"PROD.WORLD", "TCP", "prod3.firma.pl", "1530", "prod"}, failoverMoved},
      {"gateway by SID keeps (HS = OK)", "DG4MSQL", Plus({other}, gateway), {"DG4MSQL", "tcp", "gw", "1521", "MSSQL2", true},
       Plus({other}, gatewayMoved)},
      {"SID entry the layout holds keeps its keyword", "ORCL", Plus(sid, {other}),
       {"ORCL", "TCP", "db1", "1521", "ORCL", true}, Plus({other}, sidLayout)},
      {"one of three names: the others keep the entry",
       "n2.world", Plus(together, {other}), {"N2.WORLD", "TCP", "db1", "1521", "ORCL"},
       Plus(Plus({"N2, N2.FIRMA.PL ="}, Lines(together.begin() + 1, together.end())), Plus({other}, [] {
              Lines l = kWritten;
              l[0] = "n2.world =";
              return l;
            }()))},
      {"one of two names of a fuller entry: copied after it, value changed",
       "N2", togetherMore, {"N2", "TCP", "h9", "1521", "n2"},
       {"N2.WORLD = (DESCRIPTION = (SDU = 8192)", togetherMore[1], togetherMore[2], "N2 = (DESCRIPTION = (SDU = 8192)",
        "    (ADDRESS = (PROTOCOL = TCP)(HOST = h9)(PORT = 1521))", togetherMore[2]}},
      {"lower-case keywords with a server part",
       "low", {"low = (description = (address = (protocol = tcp)(host = hl)(port = 1522))", "  (connect_data = (server = shared)(service_name = Low)))"},
       {"LOW", "tcp", "hl", "1522", "Low2"},
       {"low = (description = (address = (protocol = tcp)(host = hl)(port = 1522))", "  (connect_data = (server = shared)(service_name = Low2)))"}},
  };
  for (const Case& c : cases) {
    Lines lines = c.before;
    ReplaceTnsnamesEntry(lines, c.name, c.entry);
    EXPECT_EQ(lines, c.after) << c.what;
    EXPECT_EQ(FindRewriteFault(c.before, lines, c.name, c.entry), std::nullopt) << c.what;
  }
}

TEST(OracleFilesWriterTest, TheRewriteIsCheckedAgainstTheFileBeforeIt) {
  struct Case {
    const char* what;
    Lines after;
    ServiceEntry entry;
    std::optional<RewriteFault> fault;
  };
  const std::string a = "A = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = ha)(PORT = 1)))";
  const std::string body = "  (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = old)(PORT = 1)))";
  const Lines before = {a, "XE =", "# moved", body, "B = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = hb)(PORT = 1)))"};
  const ServiceEntry spaced{"", "TCP", "my host", "1521", "ORCL"};
  const Case cases[] = {
      {"as written", Plus({a, "# moved", before[4]}, kWritten), kEntry, std::nullopt},
      {"a body left behind joins the entry before it", Plus({a, body, before[4]}, kWritten), kEntry,
       RewriteFault{"A", false}},
      {"a body left behind as a loose fragment", Plus({a, "# moved", body, before[4]}, kWritten), kEntry,
       RewriteFault{"xe", true}},
      {"another entry dropped", Plus({a}, kWritten), kEntry, RewriteFault{"B", false}},
      {"another entry gained", Plus(before, {"C = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = c)(PORT = 1)))"}),
       kEntry, RewriteFault{"C", false, true}},
      {"the edited entry reads back otherwise", Plus({a, "# moved", before[4]}, EntryLayout("xe", spaced)), spaced,
       RewriteFault{"xe", true}},
  };
  for (const Case& c : cases) {
    const auto fault = FindRewriteFault(before, c.after, "xe", c.entry);
    EXPECT_EQ(fault.has_value(), c.fault.has_value()) << c.what;
    const auto text = [](const RewriteFault& f) { return f.name + (f.edited ? "+" : "-") + (f.added ? " added" : ""); };
    if (fault && c.fault) EXPECT_EQ(text(*fault), text(*c.fault)) << c.what;
  }
}

// A rewrite the check refuses leaves the file and the lines in memory as
// they were, and says why.
TEST(OracleFilesWriterTest, ARefusedRewriteLeavesTheFileAsItWas) {
  testing_support::TempFolder folder;
  const std::string network = folder.Path().string() + "/";
  const std::string tnsnames = "# ours\r\nXE =\r\n  (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = h)(PORT = 1)))\r\n";
  std::ofstream(network + "tnsnames.ora", std::ios::binary) << tnsnames;
  Lines status;
  bde::StatusReport report(status);
  Lines lines = platform::ReadTextLines(network + "tnsnames.ora");
  const Lines read = lines;
  const std::string error = testing_support::ErrorOf(
      [&] { WriteTnsnamesEntry(network, lines, "XE", {"XE", "TCP", "my host", "1521", "XE"}, report); });
  EXPECT_EQ(error, platform::Format(kEditedEntryFaultMessage, {network + "tnsnames.ora", "XE"}));
  EXPECT_EQ(Bytes(network + "tnsnames.ora"), tnsnames);
  EXPECT_EQ(lines, read);
  EXPECT_TRUE(status.empty());

  // A name the file would read otherwise is a new entry, not an edited one.
  EXPECT_EQ(testing_support::ErrorOf([&] { WriteTnsnamesEntry(network, lines, "XE SERWER", kEntry, report); }),
            platform::Format(kNewEntryFaultMessage, {network + "tnsnames.ora", "XESERWER"}));
  EXPECT_EQ(Bytes(network + "tnsnames.ora"), tnsnames);
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
// are written back byte for byte, and the entry goes after them.
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
  std::string after = before;
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
