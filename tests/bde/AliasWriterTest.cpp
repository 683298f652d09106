#include "bde/AliasWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bde/Connection.h"
#include "bde/Drivers.h"
#include "bde/Engine.h"
#include "bde/StatusReport.h"
#include "bde/Templates.h"
#include "platform/MemoryRegistry.h"
#include "tests/ErrorOf.h"
#include "tests/TempFolder.h"

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
  AliasWriter writer{engine, report, mssql};
};

TEST_F(AliasWriterTest, TemplatesHoldTheirLinesInOrder) {
  EXPECT_EQ(Database1Parameters().Lines().size(), 17u);
  const Lines second = Database2Parameters().Lines();
  ASSERT_EQ(second.size(), 18u);
  EXPECT_EQ(second.front(), "DATABASE NAME=master");
  EXPECT_EQ(second.back(), "PASSWORD=");
  const Lines oracleLines = DatabaseOracleParameters().Lines();
  ASSERT_EQ(oracleLines.size(), 20u);
  EXPECT_EQ(oracleLines[2], "NET PROTOCOL=TNS");
  EXPECT_EQ(oracleLines.back(), "OBJECT MODE=TRUE");
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
  writer.WriteMssqlAlias("X Novera- LM", {});
  mssql.Params().Set("DATABASE NAME", "DB2");
  writer.WriteMssqlAlias("x novera- lm", engine.ListAliases());
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
  writer.WriteMssqlAlias("X Novera- LM", {});
  lines.clear();
  const Lines existing = engine.ListAliases();
  EXPECT_EQ(testing_support::ErrorOf([&] { writer.WriteAlias("X Novera- LM", existing, oracle); }),
            "Alias BDE \"X Novera- LM\" istnieje i jest innego typu");
  EXPECT_TRUE(lines.empty());
  EXPECT_EQ(engine.AliasDriver("X Novera- LM"), kSqlNativeClientDriver);
}

TEST_F(AliasWriterTest, AnEmptyTemplateValueLeavesTheParameterOut) {
  mssql.Params().Set("DATABASE NAME", "");
  writer.WriteMssqlAlias("X Novera- LM", {});
  EXPECT_EQ(engine.ReadAliasParameters("X Novera- LM").Value("DATABASE NAME"), "");
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
    AliasWriter(caseEngine, caseReport, mssql).EnsureNetAlias(caseEngine.ListAliases());
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
