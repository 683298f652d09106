// /plan rehearses the run and writes nothing; what it says the run would
// leave is what the run then leaves, with either engine and either server
// kind.

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/Unattended.h"
#include "app/plan/Plan.h"
#include "tests/app/Workstation.h"

namespace app {
namespace {

using Lines = std::vector<std::string>;
using testing_support::EngineKind;
using testing_support::Workstation;

struct Case {
  const char* name;
  const char* earlier;  // the answers of a run made before, or none
  const char* answers;
};

const Case kCases[] = {
    {"SQL Server on a fresh workstation", nullptr, testing_support::kMssqlAnswers},
    {"Oracle on a fresh workstation", nullptr, testing_support::kOracleAnswers},
    {"SQL Server over another run", testing_support::kMssqlAnswers, testing_support::kOtherMssqlAnswers},
    {"Oracle over another run", testing_support::kOracleAnswers, testing_support::kOtherOracleAnswers},
    {"SQL Server again", testing_support::kMssqlAnswers, testing_support::kMssqlAnswers},
    {"Oracle again", testing_support::kOracleAnswers, testing_support::kOracleAnswers},
};

bool Has(const Lines& lines, const std::string& line) {
  return std::find(lines.begin(), lines.end(), line) != lines.end();
}

class PlanTest : public ::testing::TestWithParam<EngineKind> {};

TEST_P(PlanTest, ThePlanWritesNothingAndIsWhatTheRunThenLeaves) {
  for (const Case& example : kCases) {
    SCOPED_TRACE(example.name);
    Workstation machine(GetParam());
    if (example.earlier) ASSERT_EQ(machine.Unattended(example.earlier), kExitDone) << machine.Console();
    const std::string before = machine.State();
    const size_t runs = machine.Runs().size();

    ASSERT_EQ(machine.Unattended(example.answers, CommandLine::Mode::Plan), kExitDone) << machine.Console();
    EXPECT_EQ(machine.State(), before);
    EXPECT_EQ(machine.Runs().size(), runs) << "a preview keeps no backup";
    const Lines report = machine.Report();
    const bool same = example.earlier == example.answers;
    EXPECT_EQ(report.back() == "Konfiguracja niczego by nie zmieniła.", same) << machine.Console();

    const plan::Plan plan = machine.MakePlan(example.answers);
    std::vector<backup::Place> places;
    for (const plan::PlannedItem& item : plan.items) places.push_back(item.place);
    ASSERT_EQ(machine.Unattended(example.answers), kExitDone) << machine.Console();
    const backup::Snapshot after = machine.TakeSnapshot(places);
    for (size_t i = 0; i < after.size(); ++i) {
      EXPECT_TRUE(backup::SameState(places[i].kind, plan.items[i].planned, after[i].state))
          << backup::Describe(places[i]);
    }
    EXPECT_EQ(plan.changes.empty(), same);
  }
}

// Each kind of item in the words of the report: a registry value old → new,
// a file as a unified diff, an alias's parameter, and what stays.
TEST_P(PlanTest, TheReportSaysWhatWouldChangeInEachItem) {
  Workstation machine(GetParam());
  ASSERT_EQ(machine.Unattended(testing_support::kMssqlAnswers), kExitDone);
  ASSERT_EQ(machine.Unattended(testing_support::kOtherMssqlAnswers, CommandLine::Mode::Plan), kExitDone);
  Lines report = machine.Report();
  EXPECT_EQ(report[0], "Podgląd konfiguracji: niczego nie zapisano.");
  EXPECT_TRUE(Has(report, " Klucz rejestru \"HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\Novera LM\": do zmiany."));
  EXPECT_TRUE(Has(report, "  wartość \"Server\": \"SRV\\SQLEXPRESS\" → \"INNY\""));
  EXPECT_TRUE(Has(report, " Alias BDE \"X Novera- LM\": do zmiany."));
  EXPECT_TRUE(Has(report, "  parametr \"DATABASE NAME\": \"LUMIRA\" → \"INNA\""));
  EXPECT_TRUE(Has(report, " Klucz rejestru \"HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBCINST.INI\\ODBC Drivers\": bez zmian."))
      << machine.Console();

  Workstation oracle(GetParam());
  ASSERT_EQ(oracle.Unattended(testing_support::kOracleAnswers, CommandLine::Mode::Plan), kExitDone);
  report = oracle.Report();
  const std::string tnsnames = oracle.Network() + "tnsnames.ora";
  const auto header = std::find(report.begin(), report.end(), "--- " + tnsnames);
  ASSERT_NE(header, report.end()) << oracle.Console();
  EXPECT_EQ(header[-1], " Plik \"" + tnsnames + "\": do zmiany.");
  EXPECT_EQ(header[1], "+++ " + tnsnames);
  EXPECT_TRUE(header[2].starts_with("@@ -1,1 +1,")) << header[2];
  EXPECT_TRUE(header[3].starts_with("-XE.SERWER = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = stary)"));
  EXPECT_TRUE(header[4].starts_with("+XE.SERWER")) << header[4];
  EXPECT_TRUE(Has(report, " Alias BDE \"X Novera- LM\": do utworzenia."));
  EXPECT_TRUE(Has(report, "  sterownik: \"ORACLE\"")) << oracle.Console();
}

// A wrong answers file gets what the run would give it; the result names
// the mode and what would change.
TEST_P(PlanTest, AWrongFileIsRefusedAsTheRunRefusesIt) {
  Workstation machine(GetParam());
  const std::string wrong = std::string(testing_support::kMssqlAnswers) + "Port=x\n[MSSQL]\n";
  const int runCode = machine.Unattended(wrong);
  const std::string runConsole = machine.Console();
  const std::string before = machine.State();
  EXPECT_EQ(machine.Unattended(wrong, CommandLine::Mode::Plan), runCode);
  EXPECT_EQ(runCode, kExitWrongAnswers);
  EXPECT_EQ(machine.Console(), runConsole);
  EXPECT_EQ(machine.State(), before);

  ASSERT_EQ(machine.Unattended(testing_support::kMssqlAnswers, CommandLine::Mode::Plan), kExitDone);
  const std::string result = machine.Result();
  EXPECT_NE(result.find("\"mode\": \"plan\""), std::string::npos) << result;
  EXPECT_NE(result.find("\"item\": \"dataSource\""), std::string::npos) << result;
  EXPECT_NE(result.find("\"name\": \"X Novera- LM- Liczniki\""), std::string::npos) << result;
}

INSTANTIATE_TEST_SUITE_P(BothEngines, PlanTest, ::testing::Values(EngineKind::Ours, EngineKind::Installed),
                         [](const auto& info) { return testing_support::NameOf(info.param); });

}  // namespace
}  // namespace app
