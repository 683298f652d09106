#include "oracle/TnsnamesReader.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "oracle/OracleFilesWriter.h"
#include "oracle/ServiceEntryTable.h"

namespace oracle {
namespace {

// The table as "NAME|protocol|host|port|service" rows, in table order.
std::vector<std::string> Rows(const ServiceEntryTable& table) {
  std::vector<std::string> rows;
  for (const std::string& name : table.Names()) {
    const ServiceEntry& e = *table.Find(name);
    rows.push_back(e.name + "|" + e.protocol + "|" + e.host + "|" + e.port + "|" + e.service + (e.sid ? " (SID)" : ""));
  }
  return rows;
}

std::vector<std::string> Read(const std::vector<std::string>& lines) {
  ServiceEntryTable table;
  ParseServiceEntries(JoinTnsnamesLines(lines), table);
  return Rows(table);
}

TEST(TnsnamesReaderTest, ParenGroupGivesTheTextInsideTheGroupAtAPosition) {
  struct Case {
    const char* text;
    size_t position;
    const char* group;
  };
  for (const Case& c : {Case{"(a(b)c)d", 1, "a(b)c"}, Case{"(a)(b=(c))", 4, "b=(c)"}, Case{"x(a)", 1, ""},
                        Case{"(open(end", 1, "open(end"}, Case{"(a)", 9, ""}, Case{"(a)", 0, ""}, Case{")(a)", 1, ""}}) {
    EXPECT_EQ(ParenGroup(c.text, c.position), c.group) << c.text << " at " << c.position;
  }
}

// Comments and empty lines inside an open entry are passed over; once the
// entry has closed, an empty line ends it and a comment stands alone.
TEST(TnsnamesReaderTest, LinesJoinIntoOneLinePerEntryWithoutBlanks) {
  const std::vector<std::string> lines = {
      "(ORPHAN = 1)", "  # comment ( kept  as is ) ", "XE =\t", "# moved (2019)", "  (DESCRIPTION = ", "",
      "  # (ADDRESS = (HOST = old))", "\t ) ", "  (SDU = 1)", "N\tX = (A = 1)", "   ", "  ) trailing", "# after",
      "(B = 2)"};
  const std::vector<JoinedLine> joined = JoinTnsnamesLinesWithOrigin(lines);
  std::vector<std::string> texts;
  std::vector<std::vector<size_t>> origins;
  for (const JoinedLine& line : joined) texts.push_back(line.text), origins.push_back(line.lines);
  EXPECT_EQ(texts, (std::vector<std::string>{"(ORPHAN=1)", "# comment ( kept  as is )", "XE=(DESCRIPTION=)(SDU=1)",
                                             "N\tX=(A=1)", ")trailing", "# after(B=2)"}));
  EXPECT_EQ(origins, (std::vector<std::vector<size_t>>{{0}, {1}, {2, 4, 7, 8}, {9}, {11}, {12, 13}}));
  EXPECT_EQ(JoinTnsnamesLines(lines), texts);
}

TEST(TnsnamesReaderTest, WhatTheWriterWritesReadsBackWithTheNameUpperCased) {
  std::vector<std::string> lines = {"# our workstation", ""};
  ReplaceTnsnamesEntry(lines, "xe.world", {"", "TCP", "db.example.pl", "1522", "ORCL"});
  ReplaceTnsnamesEntry(lines, "Zapas", {"", "tcps", "10.0.0.7", "2484", "XEPDB1"});
  EXPECT_EQ(Read(lines), (std::vector<std::string>{"XE.WORLD|TCP|db.example.pl|1522|ORCL",
                                                   "ZAPAS|tcps|10.0.0.7|2484|XEPDB1"}));
}

TEST(TnsnamesReaderTest, EveryShapeGivesTheFirstAddressAndTheServiceOrIsPassedOver) {
  struct Case {
    const char* shape;
    std::vector<std::string> lines;
    std::vector<std::string> rows;
  };
  const std::string next = "NEXT=(DESCRIPTION=(ADDRESS=(PROTOCOL=TCP)(HOST=n)(PORT=1)))";
  const Case cases[] = {
      {"server before the service name",
       {"A = (DESCRIPTION = (ADDRESS_LIST = (ADDRESS = (PROTOCOL = TCP)(HOST = ha)(PORT = 1521)))",
        "  (CONNECT_DATA = (SERVER = DEDICATED) (SERVICE_NAME = sa)))"},
       {"A|TCP|ha|1521|sa"}},
      {"two addresses in a list",
       {"B=(DESCRIPTION=(ADDRESS_LIST=(ADDRESS=(PROTOCOL=TCP)(HOST=h1)(PORT=1))(ADDRESS=(PROTOCOL=TCP)(HOST=h2)"
        "(PORT=2)))(CONNECT_DATA=(SERVICE_NAME=sb)))"},
       {"B|TCP|h1|1|sb"}},
      {"addresses without a list, connect data last",
       {"C =", "  (DESCRIPTION =", "    (ADDRESS = (PROTOCOL = TCP)(HOST = h1)(PORT = 1526))",
        "    (ADDRESS = (PROTOCOL = TCP)(HOST = h2)(PORT = 1527))", "    (CONNECT_DATA = (SERVICE_NAME = sc))",
        "  )"},
       {"C|TCP|h1|1526|sc"}},
      {"values absent keep the defaults", {"D=(DESCRIPTION=(ADDRESS=(PROTOCOL=TCP)(HOST=hd)))"}, {"D|TCP|hd|1521|XE"}},
      {"IPC has no host", {"EXTPROC=(DESCRIPTION=(ADDRESS_LIST=(ADDRESS=(PROTOCOL=IPC)(KEY=EXTPROC1))))", next},
       {"NEXT|TCP|n|1|XE"}},
      {"address parts in another order", {"E=(DESCRIPTION=(ADDRESS=(HOST=he)(PROTOCOL=TCP)(PORT=1)))", next},
       {"NEXT|TCP|n|1|XE"}},
      {"tabs and blanks around the name trimmed",
       {"\tG\t=(DESCRIPTION=(ADDRESS=(PROTOCOL=TCP)(HOST=hg)(PORT=1)))\t", "\t)"},
       {"G|TCP|hg|1|XE"}},
      {"repeated name: the later one wins",
       {"xe=(DESCRIPTION=(ADDRESS=(PROTOCOL=TCP)(HOST=old)(PORT=1)))",
        "XE=(DESCRIPTION=(ADDRESS=(PROTOCOL=TCP)(HOST=new)(PORT=2)))"},
       {"XE|TCP|new|2|XE"}},
      {"long names cut to 30 collide",
       {"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123x=(DESCRIPTION=(ADDRESS=(PROTOCOL=TCP)(HOST=h1)(PORT=1)))",
        "abcdefghijklmnopqrstuvwxyz0123y=(DESCRIPTION=(ADDRESS=(PROTOCOL=TCP)(HOST=" + std::string(40, 'h') +
            ")(PORT=1)))"},
       {"ABCDEFGHIJKLMNOPQRSTUVWXYZ0123|TCP|" + std::string(30, 'h') + "|1|XE"}},
      {"no equals sign, or equals first", {"JUSTTEXT", "=(DESCRIPTION=)", next}, {"NEXT|TCP|n|1|XE"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Read(c.lines), c.rows) << c.shape;
}

// Shapes as administrators keep them, each of which was once read wrong.
TEST(TnsnamesReaderTest, EntriesAsSitesKeepThemAreReadWhole) {
  struct Case {
    const char* shape;
    std::vector<std::string> lines;
    std::vector<std::string> rows;
  };
  const std::string next = "NEXT=(DESCRIPTION=(ADDRESS=(PROTOCOL=TCP)(HOST=n)(PORT=1)))";
  const Case cases[] = {
      {"comment between the name line and the body",
       {"F =", "# moved (2019)", "  (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = hf)(PORT = 1))",
        "    (CONNECT_DATA = (SERVICE_NAME = sf)))"},
       {"F|TCP|hf|1|sf"}},
      {"comment and empty line between two groups",
       {"F = (DESCRIPTION =", "    (ADDRESS = (PROTOCOL = TCP)(HOST = hf)(PORT = 1))", "",
        "#   (ADDRESS = (PROTOCOL = TCP)(HOST = old)(PORT = 1))", "    (CONNECT_DATA = (SERVICE_NAME = sf))", "  )"},
       {"F|TCP|hf|1|sf"}},
      {"database named by SID",
       {"ORCL = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = ho)(PORT = 1521))", "  (CONNECT_DATA = (SID = ORCL)))"},
       {"ORCL|TCP|ho|1521|ORCL (SID)"}},
      {"SERVICE_NAME wins over SID",
       {"S=(DESCRIPTION=(ADDRESS=(PROTOCOL=TCP)(HOST=hs)(PORT=1))(CONNECT_DATA=(SID=old)(SERVICE_NAME=new)))"},
       {"S|TCP|hs|1|new"}},
      {"keywords in lower case",
       {"low.world = (description = (address_list = (address = (protocol = tcp)(host = hl)(port = 1522)))",
        "  (connect_data = (server = dedicated)(service_name = Low)))"},
       {"LOW.WORLD|tcp|hl|1522|Low"}},
      {"several names on one line",
       {"N2, N2.WORLD =", "  (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = h2)(PORT = 1)))"},
       {"N2|TCP|h2|1|XE", "N2.WORLD|TCP|h2|1|XE"}},
      {"a value cut short by an unclosed group",
       {"CRP = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = hc)(PORT = 1))",
        "  (CONNECT_DATA = (SERVICE_NAME = CRP2", "  (INSTANCE_NAME = crp2)))", next},
       {"NEXT|TCP|n|1|XE"}},
  };
  for (const Case& c : cases) EXPECT_EQ(Read(c.lines), c.rows) << c.shape;
}

// Whatever the file holds, reading it ends: a damaged entry is read partly
// or passed over, and the entries around it are read as they stand.
TEST(TnsnamesReaderTest, DamagedLinesAreReadPartlyOrPassedOverAndTheRestStays) {
  struct Case {
    const char* damage;
    std::vector<std::string> lines;
    std::vector<std::string> rows;  // besides GOOD's
  };
  const std::string good = "GOOD=(DESCRIPTION=(ADDRESS=(PROTOCOL=TCP)(HOST=g)(PORT=1))(CONNECT_DATA=(SERVICE_NAME=s)))";
  const size_t tenMegabytes = 10 * 1024 * 1024;
  std::string binary(4096, '\0');
  for (size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>((i * 131 + 7) & 0xFF);
  std::string emptyGroups = "A=(DESCRIPTION=";
  for (size_t i = 0; i < tenMegabytes / 2; ++i) emptyGroups += "()";
  const Case cases[] = {
      {"groups never closed",
       {"XE=(DESCRIPTION=(ADDRESS=(PROTOCOL=TCP)(HOST=h1)(PORT=1)", "(CONNECT_DATA=(SERVICE_NAME=sx)", good},
       {"XE|TCP|h1|1|XE"}},
      {"groups closed too often",
       {"XE=(DESCRIPTION=(ADDRESS=(PROTOCOL=TCP)(HOST=h1)(PORT=1))))))", ")))(CONNECT_DATA=(SERVICE_NAME=sx)))", good},
       {"XE|TCP|h1|1|XE"}},
      {"only parentheses", {"((((", "))))", ")(", good}, {}},
      {"binary garbage", {binary, "\x01\x02(=)\xFF", std::string("N\0=(\0)", 6), good}, {}},
      {"service name empty", {"E=(DESCRIPTION=(ADDRESS=(PROTOCOL=TCP)(HOST=he)(PORT=1))(CONNECT_DATA=(SERVICE_NAME=)))", good},
       {}},
      {"10 MB without =", {std::string(tenMegabytes, 'x'), good}, {}},
      {"10 MB of open parentheses", {"A=" + std::string(tenMegabytes, '('), good}, {}},
      {"10 MB of empty groups", {emptyGroups + ")", good}, {}},
      {"10 MB host, cut to its field",
       {"A=(DESCRIPTION=(ADDRESS=(PROTOCOL=TCP)(HOST=" + std::string(tenMegabytes, 'h') + ")(PORT=1)))", good},
       {"A|TCP|" + std::string(30, 'h') + "|1|XE"}},
  };
  for (const Case& c : cases) {
    std::vector<std::string> rows = c.rows;
    rows.push_back("GOOD|TCP|g|1|s");
    std::sort(rows.begin(), rows.end());  // table order: by name
    EXPECT_EQ(Read(c.lines), rows) << c.damage;
  }
}

}  // namespace
}  // namespace oracle
