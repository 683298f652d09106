// The unattended run ends either fully configured or exactly as it found
// the workstation: a fault at any of its writes, with either engine, and
// everything comes back byte for byte.

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/Unattended.h"
#include "platform/Text.h"
#include "platform/TextFile.h"
#include "tests/app/Workstation.h"

namespace app {
namespace {

using Lines = std::vector<std::string>;
using testing_support::EngineKind;
using testing_support::Workstation;

const Lines kAliases = {"X Novera- Ochrona",      "X Novera- LM",           "X Novera- LM- Faktury",
                        "X Novera- LM- Magistr",  "X Novera- LM- Odbiorcy", "X Novera- LM- Odczyty",
                        "X Novera- LM- Archiwum", "X Novera- LM- Liczniki"};

enum class Point { RegistryWrite, File, Alias, Save };

struct Fault {
  Point point;
  // The registry write or the alias, counted from 1; or the file's name.
  int n = 0;
  const char* file = "";
};

std::string NameOf(const Fault& fault) {
  switch (fault.point) {
    case Point::RegistryWrite:
      return "registry write " + std::to_string(fault.n);
    case Point::File:
      return fault.file;
    case Point::Alias:
      return "alias " + std::to_string(fault.n);
    case Point::Save:
      break;
  }
  return "the save";
}

// The data source's four values and then its list entry; each alias; the
// engine's save.
std::vector<Fault> MssqlFaults() {
  std::vector<Fault> faults;
  for (int n = 1; n <= 5; ++n) faults.push_back({Point::RegistryWrite, n});
  for (int n = 1; n <= 8; ++n) faults.push_back({Point::Alias, n});
  faults.push_back({Point::Save});
  return faults;
}

std::vector<Fault> OracleFaults() {
  std::vector<Fault> faults = {{Point::File, 0, "sqlnet.ora"}, {Point::File, 0, "tnsnames.ora"}};
  for (int n = 1; n <= 8; ++n) faults.push_back({Point::Alias, n});
  faults.push_back({Point::Save});
  return faults;
}

class AllOrNothingTest : public ::testing::TestWithParam<EngineKind> {
 protected:
  // Arms the fault for the next run; what it must plant goes in before the
  // workstation's state is taken.
  void Arm(Workstation& machine, const Fault& fault, bool overEarlierRun) {
    switch (fault.point) {
      case Point::RegistryWrite:
        machine.Registry().FailNthWrite(fault.n);
        return;
      case Point::File:
        armed_.emplace(platform::WriteFault::Replace, fault.file);
        return;
      case Point::Alias:
        // The engine refusing the new alias, or an alias of the name with
        // another driver, which the writer refuses.
        if (GetParam() == EngineKind::Installed && !overEarlierRun) {
          setenv("KONFIGNOVERA_FAKE_IDAPI_FAIL", ("DbiAddAlias:" + std::to_string(fault.n)).c_str(), 1);
        }
        return;
      case Point::Save:
        if (GetParam() == EngineKind::Installed) {
          setenv("KONFIGNOVERA_FAKE_IDAPI_FAIL", "DbiCfgSave:1", 1);
        } else {
          armed_.emplace(platform::WriteFault::Replace, "bde.cfg");
        }
        return;
    }
  }

  // An alias of the run's name with another driver, planted before the
  // state is taken.
  void Plant(Workstation& machine, const Fault& fault, const char* otherDriver, bool overEarlierRun) {
    // sqlnet.ora written by the earlier run needs no change: someone took
    // an item out of it since.
    if (fault.point == Point::File && overEarlierRun && std::string(fault.file) == "sqlnet.ora") {
      platform::WriteFileContent(machine.Network() + "sqlnet.ora", "NAMES.DIRECTORY_PATH= (TNSNAMES)\r\n");
    }
    if (fault.point != Point::Alias || (GetParam() == EngineKind::Installed && !overEarlierRun)) return;
    machine.WithEngine([&](bde::AliasEngine& engine) {
      const std::string& name = kAliases[static_cast<size_t>(fault.n - 1)];
      if (platform::IndexOfNoCase(engine.ListAliases(), name) >= 0) engine.DeleteAlias(name);
      engine.CreateAlias(name, otherDriver, bde::ParameterList(Lines{"USER NAME=obcy"}));
    });
  }

  void Check(const char* answers, const char* earlierAnswers, const std::vector<Fault>& faults,
             const char* otherDriver) {
    for (const Fault& fault : faults) {
      SCOPED_TRACE(NameOf(fault) + (earlierAnswers ? " over an earlier run" : " on a fresh workstation"));
      Workstation machine(GetParam());
      if (earlierAnswers) {
        ASSERT_EQ(machine.Unattended(earlierAnswers), kExitDone) << machine.Console();
      }
      Plant(machine, fault, otherDriver, earlierAnswers != nullptr);
      const std::string before = machine.State();
      Arm(machine, fault, earlierAnswers != nullptr);
      EXPECT_EQ(machine.Unattended(answers), kExitConfigurationFailed);
      armed_.reset();
      unsetenv("KONFIGNOVERA_FAKE_IDAPI_FAIL");
      EXPECT_EQ(machine.State(), before);
      const Lines report = machine.Report();
      // Nothing was changed where the fault came before the first change.
      const bool undone = std::find(report.begin(), report.end(), " Wycofano zmiany przebiegu:") != report.end() ||
                          std::find(report.begin(), report.end(), " Przebieg niczego nie zmienił.") != report.end();
      EXPECT_TRUE(undone) << machine.Console();
      EXPECT_EQ(report.at(report.size() - 2), " Kopia zapasowa:");
      const std::string run = machine.Runs().back();
      EXPECT_EQ(report.back(), "     \"" + machine.BackupRoot() + "/" + run + "\"");
      EXPECT_EQ(machine.StateLineOf(run), "Stan: wycofany");
    }
  }

  std::optional<platform::ScopedWriteFaultForTesting> armed_;
};

TEST_P(AllOrNothingTest, AFaultAtAnyWriteOfASqlServerRunLeavesTheWorkstationAsItWas) {
  Check(testing_support::kMssqlAnswers, nullptr, MssqlFaults(), "ORACLE");
}

TEST_P(AllOrNothingTest, AFaultAtAnyWriteOfAnOracleRunLeavesTheWorkstationAsItWas) {
  Check(testing_support::kOracleAnswers, nullptr, OracleFaults(), "SQL Native Client");
}

// Over an earlier run everything is modified rather than created: the old
// values come back.
TEST_P(AllOrNothingTest, OverAnEarlierRunTheOldValuesComeBack) {
  const std::vector<Fault> mssql = {
      {Point::RegistryWrite, 1}, {Point::RegistryWrite, 5}, {Point::Alias, 1}, {Point::Alias, 8}, {Point::Save}};
  Check(testing_support::kOtherMssqlAnswers, testing_support::kMssqlAnswers, mssql, "ORACLE");
  const std::vector<Fault> oracle = {
      {Point::File, 0, "sqlnet.ora"}, {Point::File, 0, "tnsnames.ora"}, {Point::Alias, 8}, {Point::Save}};
  Check(testing_support::kOtherOracleAnswers, testing_support::kOracleAnswers, oracle, "SQL Native Client");
}

// The alias an older workstation's STANDARD alias is brought forward as
// goes again too.
TEST_P(AllOrNothingTest, TheNetAliasBroughtForwardGoesAgain) {
  Workstation machine(GetParam());
  machine.WithEngine([](bde::AliasEngine& engine) { engine.CreateStandardAlias("Novera- LM", "C:\\Novera", ""); });
  const std::string before = machine.State();
  Arm(machine, {Point::Save}, false);
  EXPECT_EQ(machine.Unattended(testing_support::kMssqlAnswers), kExitConfigurationFailed);
  armed_.reset();
  unsetenv("KONFIGNOVERA_FAKE_IDAPI_FAIL");
  EXPECT_EQ(machine.State(), before);
  const Lines report = machine.Report();
  EXPECT_NE(std::find(report.begin(), report.end(), "  Utworzono alias \"Novera- Net\"."), report.end());
  EXPECT_NE(std::find(report.begin(), report.end(), "  alias BDE \"Novera- Net\": usunięto."), report.end());
}

// A run that succeeds keeps what it wrote, and its backup says what stood
// before and after it.
TEST_P(AllOrNothingTest, ARunThatSucceedsIsRecordedAsFinished) {
  Workstation machine(GetParam());
  ASSERT_EQ(machine.Unattended(testing_support::kMssqlAnswers), kExitDone) << machine.Console();
  ASSERT_EQ(machine.Runs().size(), 1u);
  const std::string folder = machine.BackupRoot() + "/" + machine.Runs()[0];
  const Lines manifest = platform::ReadTextLines(folder + "/manifest.txt");
  EXPECT_EQ(manifest[2], "Tryb: bez okna (/s)");
  EXPECT_EQ(manifest[3], "Stan: zakończony");
  // The Net alias, the driver's two keys, the data source's key and entry,
  // eight aliases, and our own engine's file.
  EXPECT_EQ(manifest.size(), 5u + 1 + 4 + 8 + (GetParam() == EngineKind::Ours ? 1 : 0));
  EXPECT_EQ(manifest[5], "alias BDE\tNovera- Net\t\tbrak\t-\tbrak\t-");
  EXPECT_EQ(manifest[8],
            "klucz rejestru\tHKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\Novera LM\t\tbrak (kluczy: "
            "2)\t-\tjest\t04-po.reg");
}

// Putting back that fails too is named, with the folder where the backup
// lies; the run stays one that /undo can take up later. The installed
// engine here refuses every save, the run's and the rollback's.
TEST(AllOrNothingRollbackTest, WhatTheRollbackCannotPutBackIsNamed) {
  Workstation machine(EngineKind::Installed);
  platform::WriteFileContent(machine.Path("IDAPI32.CFG"), "IDAPI STAND-IN\r\nREFUSE DbiCfgSave\r\n");
  EXPECT_EQ(machine.Unattended(testing_support::kMssqlAnswers), kExitConfigurationFailed);
  const Lines report = machine.Report();
  const auto heading = std::find(report.begin(), report.end(), " Nie wszystkie zmiany przebiegu udało się wycofać:");
  ASSERT_NE(heading, report.end()) << machine.Console();
  EXPECT_EQ(
      std::count_if(heading, report.end(),
                    [](const std::string& line) { return line.find(": nie przywrócono: ") != std::string::npos; }),
      8);
  EXPECT_NE(std::find(heading, report.end(),
                      "  klucz rejestru \"HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\Novera LM\": usunięto."),
            report.end());
  EXPECT_EQ(report.back(), "     \"" + machine.BackupRoot() + "/" + machine.Runs().back() + "\"");
  EXPECT_EQ(machine.StateLineOf(machine.Runs().back()), "Stan: zakończony błędem");
}

// The result for scripts holds the same report, so a deployment script
// learns from it what was put back.
TEST(AllOrNothingRollbackTest, TheResultSaysWhatWasPutBack) {
  Workstation machine(EngineKind::Ours);
  ASSERT_EQ(machine.Unattended(testing_support::kOracleAnswers), kExitDone) << machine.Console();
  EXPECT_EQ(machine.Unattended(testing_support::kMssqlAnswers), kExitConfigurationFailed) << machine.Console();
  const std::string result = machine.Result();
  EXPECT_NE(result.find("\"exitCode\": 1"), std::string::npos) << result;
  EXPECT_NE(result.find("\" Wycofano zmiany przebiegu:\""), std::string::npos) << result;
  EXPECT_NE(result.find("ODBC.INI\\\\Novera LM\\\": usuni"), std::string::npos) << result;
}

// Nothing is written when the backup cannot be: the run stops before its
// first write and says why.
TEST_P(AllOrNothingTest, ARunWhoseBackupCannotBeWrittenChangesNothing) {
  Workstation machine(GetParam());
  platform::WriteFileContent(machine.BackupRoot(), "nie folder");
  const std::string before = machine.State();
  EXPECT_EQ(machine.Unattended(testing_support::kMssqlAnswers), kExitConfigurationFailed);
  EXPECT_EQ(machine.State(), before);
  const Lines report = machine.Report();
  ASSERT_EQ(report.size(), 1u);
  EXPECT_TRUE(report[0].starts_with("Nie można zapisać kopii zapasowej konfiguracji w folderze \"" +
                                    machine.BackupRoot() + "/"))
      << report[0];
  EXPECT_NE(report[0].find("\", więc niczego nie zmieniono: "), std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(BothEngines, AllOrNothingTest, ::testing::Values(EngineKind::Ours, EngineKind::Installed),
                         [](const auto& info) { return testing_support::NameOf(info.param); });

}  // namespace
}  // namespace app
