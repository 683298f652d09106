#include "bde/AliasWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "bde/Connection.h"
#include "bde/Drivers.h"
#include "bde/Engine.h"
#include "bde/StatusReport.h"
#include "bde/Templates.h"
#include "tests/ErrorOf.h"
#include "tests/TempFolder.h"
#include "tests/platform/MemoryRegistry.h"

namespace bde {
namespace {

using Lines = std::vector<std::string>;

class AliasWriterTest : public ::testing::Test {
 protected:
  testing_support::TempFolder folder;
  platform::MemoryRegistry registry;
  Engine engine{registry, (folder.Path() / "bde.cfg").string()};
  Lines lines;
  StatusReport report{lines};
  Database mssql{"", std::string(kSqlNativeClientDriver), Database1Parameters()};
  Database oracle{std::string(kOracleDatabaseName), std::string(kOracleDriver), DatabaseOracleParameters()};
  AliasWriter writer{engine, report};
};

// The templates as the configuration of the suite defines them, written out
// here rather than derived from the code, so that a wrong value shows.
TEST_F(AliasWriterTest, TemplatesHoldTheirLinesInOrder) {
  struct SqlServerRow {
    const char* name;
    const char* database1;  // nullptr: no line
    const char* database2;
  };
  const SqlServerRow sqlServer[] = {
      {"DATABASE NAME", "", "master"},
      {"USER NAME", "", ""},
      {"ODBC DSN", "", ""},
      {"OPEN MODE", "READ/WRITE", "READ/WRITE"},
      {"BATCH COUNT", "200", "200"},
      {"LANGDRIVER", "anpolish", "anpolish"},
      {"MAX ROWS", "-1", "-1"},
      {"SCHEMA CACHE DIR", "", ""},
      {"SCHEMA CACHE SIZE", "8", "8"},
      {"SCHEMA CACHE TIME", "-1", "-1"},
      {"SQLPASSTHRU MODE", "SHARED AUTOCOMMIT", "SHARED AUTOCOMMIT"},
      {"SQLQRYMODE", "", ""},
      {"ENABLE SCHEMA CACHE", "FALSE", "FALSE"},
      {"ENABLE BCD", "FALSE", "FALSE"},
      {"ROWSET SIZE", "20", "20"},
      {"BLOBS TO CACHE", "64", "64"},
      {"BLOB SIZE", "32", "32"},
      {"PASSWORD", nullptr, ""},
  };
  const std::pair<const char*, const char*> oracleRows[] = {
      {"SERVER NAME", ""},         {"USER NAME", ""},
      {"NET PROTOCOL", "TNS"},     {"OPEN MODE", "READ/WRITE"},
      {"SCHEMA CACHE SIZE", "8"},  {"LANGDRIVER", "anpolish"},
      {"SQLQRYMODE", ""},          {"SQLPASSTHRU MODE", "SHARED AUTOCOMMIT"},
      {"SCHEMA CACHE TIME", "-1"}, {"MAX ROWS", "-1"},
      {"BATCH COUNT", "200"},      {"ENABLE SCHEMA CACHE", "FALSE"},
      {"SCHEMA CACHE DIR", ""},    {"ENABLE BCD", "FALSE"},
      {"ENABLE INTEGERS", "TRUE"}, {"LIST SYNONYMS", "NONE"},
      {"ROWSET SIZE", "20"},       {"BLOBS TO CACHE", "64"},
      {"BLOB SIZE", "32"},         {"OBJECT MODE", "TRUE"},
  };
  Lines database1, database2, databaseOracle;
  for (const SqlServerRow& row : sqlServer) {
    if (row.database1) database1.push_back(std::string(row.name) + "=" + row.database1);
    database2.push_back(std::string(row.name) + "=" + row.database2);
  }
  for (const auto& [name, value] : oracleRows) databaseOracle.push_back(std::string(name) + "=" + value);
  EXPECT_EQ(Database1Parameters().Lines(), database1);
  EXPECT_EQ(Database2Parameters().Lines(), database2);
  EXPECT_EQ(DatabaseOracleParameters().Lines(), databaseOracle);
  // Every template line is one the driver stores; nothing is lost silently.
  for (const auto& [params, driver] : {std::pair{Database1Parameters(), kSqlNativeClientDriver},
                                       std::pair{DatabaseOracleParameters(), kOracleDriver}}) {
    const DriverDefinition* definition = FindDriverDefinition(driver);
    ASSERT_NE(definition, nullptr);
    ASSERT_EQ(definition->parameters.size(), params.Lines().size());
    for (size_t i = 0; i < params.Lines().size(); ++i) {
      EXPECT_EQ(definition->parameters[i], ParameterList::NameOf(params.Lines()[i]));
    }
  }
}

TEST_F(AliasWriterTest, CreatesThenModifiesUnderTheNameAsTheCallerSpellsIt) {
  mssql.Params().Set("DATABASE NAME", "DB");
  writer.WriteAlias("X Novera- LM", {}, mssql);
  mssql.Params().Set("DATABASE NAME", "DB2");
  writer.WriteAlias("x novera- lm", engine.ListAliases(), mssql);
  EXPECT_EQ(lines, (Lines{"  Utworzono alias \"X Novera- LM\".", "  Zmodyfikowano alias \"x novera- lm\"."}));
  EXPECT_EQ(engine.ReadAliasParameters("X Novera- LM").Value("DATABASE NAME"), "DB2");
  EXPECT_EQ(engine.ListAliases().size(), 1u);
}

TEST_F(AliasWriterTest, TheListOfTheRunDecidesNotTheEngine) {
  // Created earlier in the same run: still not in the run's list, so the
  // second write tries to create it again and the engine refuses.
  writer.WriteAlias("X Novera- LM", {}, oracle);
  EXPECT_NE(testing_support::ErrorOf([&] { writer.WriteAlias("X Novera- LM", {}, oracle); }), "(no error)");
  EXPECT_EQ(lines.size(), 1u);
}

TEST_F(AliasWriterTest, AnAliasOfAnotherDriverIsRefusedAndLeftAlone) {
  writer.WriteAlias("X Novera- LM", {}, mssql);
  lines.clear();
  const Lines existing = engine.ListAliases();
  EXPECT_EQ(testing_support::ErrorOf([&] { writer.WriteAlias("X Novera- LM", existing, oracle); }),
            "Alias BDE \"X Novera- LM\" istnieje i jest innego typu");
  EXPECT_TRUE(lines.empty());
  EXPECT_EQ(engine.AliasDriver("X Novera- LM"), kSqlNativeClientDriver);
}

// Our engine, which also keeps the parameter list each new alias was
// handed: it stores every parameter of the driver, so what it holds cannot
// tell a line left out from a line written empty.
class RecordingEngine final : public Engine {
 public:
  using Engine::Engine;
  void CreateAlias(const std::string& name, const std::string& driver, const ParameterList& params) override {
    handed.push_back(params);
    Engine::CreateAlias(name, driver, params);
  }
  std::vector<ParameterList> handed;
};

// An empty value removes the template's line, so the alias is written
// without it, and a value set later lands at the end.
TEST_F(AliasWriterTest, AnEmptyTemplateValueLeavesTheParameterOut) {
  RecordingEngine recording{registry, (folder.Path() / "nagrany.cfg").string()};
  AliasWriter recordingWriter{recording, report};
  mssql.Params().Set("DATABASE NAME", "NOVERA");
  mssql.Params().Set("DATABASE NAME", "");
  recordingWriter.WriteAlias("X Novera- LM", {}, mssql);
  ASSERT_EQ(recording.handed.size(), 1u);
  EXPECT_FALSE(recording.handed[0].Has("DATABASE NAME"));
  EXPECT_TRUE(recording.handed[0].Has("USER NAME"));
  mssql.Params().Set("DATABASE NAME", "ARCH");
  const Lines lines = mssql.Params().Lines();
  EXPECT_EQ(lines.size(), 17u);
  EXPECT_EQ(lines.front(), "USER NAME=");
  EXPECT_EQ(lines.back(), "DATABASE NAME=ARCH");
}

TEST_F(AliasWriterTest, NetAliasIsBroughtForwardOnlyFromAStandardAliasWithAPath) {
  struct Case {
    const char* what;
    std::string driver;
    std::string path;
    bool netExists;
    bool created;
  };
  const Case cases[] = {
      {"standard with a path", "STANDARD", "C:\\Novera", false, true},
      {"no path", "STANDARD", "", false, false},
      {"net already there", "STANDARD", "C:\\Novera", true, false},
      {"another driver", "ORACLE", "", false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    testing_support::TempFolder caseFolder;
    Engine caseEngine{registry, (caseFolder.Path() / "bde.cfg").string()};
    if (c.driver == "STANDARD") {
      caseEngine.CreateStandardAlias("Novera- LM", c.path, "DBASE");
    } else {
      caseEngine.CreateAlias("Novera- LM", c.driver, {});
    }
    if (c.netExists) caseEngine.CreateStandardAlias("Novera- Net", "D:\\", "");
    Lines caseLines;
    StatusReport caseReport(caseLines);
    AliasWriter(caseEngine, caseReport).EnsureNetAlias(caseEngine.ListAliases());
    EXPECT_EQ(caseLines.size(), c.created ? 1u : 0u);
    if (c.created) {
      EXPECT_EQ(caseLines[0], "  Utworzono alias \"Novera- Net\".");
      const ParameterList net = caseEngine.ReadAliasParameters("Novera- Net");
      EXPECT_EQ(net.Value("PATH"), c.path);
      EXPECT_EQ(net.Value("DEFAULT DRIVER"), "DBASE");
    }
  }
}

}  // namespace
}  // namespace bde
