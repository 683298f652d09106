#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "app/Answers.h"
#include "app/CommandLine.h"
#include "app/Undo.h"
#include "platform/Text.h"
#include "platform/TextFile.h"
#include "tests/ErrorOf.h"
#include "tests/app/Workstation.h"

namespace app {
namespace {

using Lines = std::vector<std::string>;
using testing_support::EngineKind;
using testing_support::Workstation;

// What the window's pages would collect for a run of either kind.
Answers MssqlAnswers(const std::string& database) {
  Answers answers;
  answers.server = ServerKind::MicrosoftSqlServer;
  answers.version = SuiteVersion::V11;
  answers.dataSourceName = "Novera LM";
  answers.sqlServer = "SRV\\SQLEXPRESS";
  answers.windowsLogin = true;
  answers.database = database;
  return answers;
}

Answers OracleAnswers(const Workstation& machine) {
  Answers answers;
  answers.server = ServerKind::Oracle;
  answers.version = SuiteVersion::V10;
  answers.oracleHomeFolder = machine.OracleHome();
  answers.oracleService = "XE.SERWER";
  answers.serviceEntry.host = "nowy.firma.pl";
  answers.userOchrona = "OCHRONA";
  answers.userLM = "LUMIRA";
  return answers;
}

std::string NothingToUndo(const Workstation& machine) {
  return platform::Format(kNothingToUndoMessage, {machine.BackupRoot()}) + ".";
}

class UndoTest : public ::testing::TestWithParam<EngineKind> {};

TEST_P(UndoTest, AnUnattendedRunOfEitherKindIsPutBack) {
  for (const char* answers : {testing_support::kMssqlAnswers, testing_support::kOracleAnswers}) {
    SCOPED_TRACE(answers);
    Workstation machine(GetParam());
    const std::string before = machine.State();
    ASSERT_EQ(machine.Unattended(answers), kExitDone) << machine.Console();
    ASSERT_NE(machine.State(), before);
    const std::string run = machine.Runs().back();

    EXPECT_EQ(machine.Undo(), kExitDone) << machine.Console();
    EXPECT_EQ(machine.State(), before);
    const Lines report = machine.Report();
    ASSERT_GE(report.size(), 4u);
    EXPECT_EQ(report[0], "Cofnięto przebieg " + run + ".");
    EXPECT_EQ(report[1], "");
    EXPECT_NE(std::find(report.begin(), report.end(), "  alias BDE \"X Novera- LM- Liczniki\": usunięto."),
              report.end());
    EXPECT_EQ(Lines(report.end() - 2, report.end()),
              (Lines{" Kopia zapasowa:", "     \"" + machine.BackupRoot() + "/" + run + "\""}));
    EXPECT_EQ(machine.StateLineOf(run), "Stan: cofnięty");

    EXPECT_EQ(machine.Undo(), kExitWrongAnswers);
    EXPECT_EQ(machine.Report(), Lines{NothingToUndo(machine)});
    EXPECT_EQ(machine.State(), before);
  }
}

TEST_P(UndoTest, AWindowRunOfEitherKindIsPutBack) {
  for (bool oracle : {false, true}) {
    SCOPED_TRACE(oracle ? "Oracle" : "SQL Server");
    Workstation machine(GetParam());
    const std::string before = machine.State();
    ASSERT_EQ(machine.Window(oracle ? OracleAnswers(machine) : MssqlAnswers("LUMIRA")), std::nullopt);
    ASSERT_NE(machine.State(), before);
    const std::string run = machine.Runs().back();
    EXPECT_EQ(platform::ReadTextLines(machine.BackupRoot() + "/" + run + "/manifest.txt").at(2), "Tryb: okno");

    EXPECT_EQ(machine.Undo(), kExitDone) << machine.Console();
    EXPECT_EQ(machine.State(), before);
    EXPECT_EQ(machine.Report().at(0), "Cofnięto przebieg " + run + ".");
  }
}

// A second /undo goes one run further back, past a run that put itself
// back; a third finds nothing left.
TEST_P(UndoTest, EachUndoGoesOneRunFurtherBack) {
  Workstation machine(GetParam());
  const std::string fresh = machine.State();
  ASSERT_EQ(machine.Unattended(testing_support::kMssqlAnswers), kExitDone) << machine.Console();
  const std::string first = machine.State();
  ASSERT_EQ(machine.Window(MssqlAnswers("INNA")), std::nullopt);
  const std::string second = machine.State();
  ASSERT_NE(second, first);
  machine.Registry().FailNthWrite(2);
  ASSERT_EQ(machine.Unattended(testing_support::kOtherMssqlAnswers), kExitConfigurationFailed);
  ASSERT_EQ(machine.State(), second);

  EXPECT_EQ(machine.Undo(), kExitDone) << machine.Console();
  EXPECT_EQ(machine.State(), first);
  EXPECT_EQ(machine.Undo(), kExitDone) << machine.Console();
  EXPECT_EQ(machine.State(), fresh);
  EXPECT_EQ(machine.Undo(), kExitWrongAnswers);
  const Lines runs = machine.Runs();
  ASSERT_EQ(runs.size(), 3u);
  EXPECT_EQ(machine.StateLineOf(runs[0]), "Stan: cofnięty");
  EXPECT_EQ(machine.StateLineOf(runs[1]), "Stan: cofnięty");
  EXPECT_EQ(machine.StateLineOf(runs[2]), "Stan: wycofany");
}

// What someone changed after the run is left as they left it and named;
// everything else of the run is put back, and the run counts as undone.
TEST_P(UndoTest, AnItemChangedSinceTheRunIsLeftAlone) {
  struct Case {
    const char* what;
    std::function<void(Workstation&)> change;
    std::function<std::string(const Workstation&)> line;
  };
  const Case cases[] = {
      {"tnsnames.ora edited by hand",
       [](Workstation& m) { platform::WriteFileContent(m.Network() + "tnsnames.ora", "XE.SERWER = (ręcznie)\r\n"); },
       [](const Workstation& m) {
         return "  plik \"" + m.Network() + "tnsnames.ora\": pozostawiono, bo zmieniono to po przebiegu.";
       }},
      {"an alias modified by another tool",
       [](Workstation& m) {
         m.WithEngine([](bde::AliasEngine& engine) {
           engine.UpdateAlias("X Novera- LM", bde::ParameterList(Lines{"USER NAME=INNY"}));
         });
       },
       [](const Workstation&) {
         return std::string("  alias BDE \"X Novera- LM\": pozostawiono, bo zmieniono to po przebiegu.");
       }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Workstation machine(GetParam());
    const std::string sqlnet = platform::ReadFileContent(machine.Network() + "sqlnet.ora");
    ASSERT_EQ(machine.Unattended(testing_support::kOracleAnswers), kExitDone) << machine.Console();
    c.change(machine);
    const std::string changed = machine.State();
    const std::string run = machine.Runs().back();

    EXPECT_EQ(machine.Undo(), kExitConfigurationFailed);
    const Lines report = machine.Report();
    EXPECT_EQ(report.at(0), "Przebieg " + run + " cofnięto tylko częściowo.");
    EXPECT_EQ(std::count(report.begin(), report.end(), c.line(machine)), 1) << machine.Console();
    EXPECT_EQ(platform::ReadFileContent(machine.Network() + "sqlnet.ora"), sqlnet);
    EXPECT_NE(machine.State(), changed);
    EXPECT_EQ(machine.StateLineOf(run), "Stan: cofnięty");
    EXPECT_EQ(machine.Undo(), kExitWrongAnswers);
  }
}

// "Wykonaj" leaves what it wrote before an error; /undo takes that back
// too, down to the key the data source writer made for a driver that was
// not there.
TEST_P(UndoTest, AFailedWindowRunIsPutBack) {
  {
    Workstation machine(GetParam());
    machine.WithEngine([](bde::AliasEngine& engine) {
      engine.CreateAlias("X Novera- LM- Magistr", "ORACLE", bde::ParameterList(Lines{"USER NAME=obcy"}));
    });
    const std::string before = machine.State();
    EXPECT_EQ(machine.Window(MssqlAnswers("LUMIRA")),
              "Alias BDE \"X Novera- LM- Magistr\" istnieje i jest innego typu");
    ASSERT_NE(machine.State(), before);
    EXPECT_EQ(machine.StateLineOf(machine.Runs().back()), "Stan: zakończony błędem");
    EXPECT_EQ(machine.Undo(), kExitDone) << machine.Console();
    EXPECT_EQ(machine.State(), before);
  }
  {
    Workstation machine(GetParam());
    machine.Registry().DeleteKey(platform::RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC");
    const std::string before = machine.State();
    EXPECT_EQ(machine.Window(MssqlAnswers("LUMIRA")), "Brak sterownika ODBC \"SQL Native Client\"");
    ASSERT_TRUE(machine.Registry().KeyExists(platform::RegistryRoot::LocalMachine,
                                             "\\SOFTWARE\\ODBC\\ODBCINST.INI\\ODBC Drivers"));
    EXPECT_EQ(machine.Undo(), kExitDone) << machine.Console();
    EXPECT_EQ(machine.State(), before);
  }
}

INSTANTIATE_TEST_SUITE_P(BothEngines, UndoTest, ::testing::Values(EngineKind::Ours, EngineKind::Installed),
                         [](const auto& info) { return testing_support::NameOf(info.param); });

TEST(UndoReportTest, TheReportGoesToTheLogFileAndADamagedBackupIsNamed) {
  Workstation machine(EngineKind::Ours);
  EXPECT_EQ(machine.Undo(machine.Path("raport.txt")), kExitWrongAnswers);
  EXPECT_EQ(platform::ReadTextLines(machine.Path("raport.txt")), Lines{NothingToUndo(machine)});

  ASSERT_EQ(machine.Unattended(testing_support::kMssqlAnswers), kExitDone);
  const std::string folder = machine.BackupRoot() + "/" + machine.Runs().back();
  platform::WriteFileContent(folder + "/manifest.txt", "Inny plik\r\n");
  const std::string state = machine.State();
  EXPECT_EQ(machine.Undo(machine.Path("raport.txt")), kExitConfigurationFailed);
  EXPECT_EQ(platform::ReadTextLines(machine.Path("raport.txt")),
            Lines{"Kopia zapasowa w folderze \"" + folder +
                  "\" jest uszkodzona: wiersz 1 pliku manifest.txt jest niepoprawny: \"Inny plik\""});
  EXPECT_EQ(machine.State(), state);
}

// /undo ends as every mode without a window does: its result names the
// mode and holds the report; what was put back is in the report alone.
TEST(UndoReportTest, TheResultNamesTheModeAndHoldsTheReport) {
  Workstation machine(EngineKind::Ours);
  ASSERT_EQ(machine.Unattended(testing_support::kMssqlAnswers), kExitDone);
  const std::string run = machine.Runs().back();
  EXPECT_EQ(machine.Undo(), kExitDone) << machine.Console();
  const std::string result = machine.Result();
  EXPECT_NE(result.find("\"mode\": \"undo\""), std::string::npos) << result;
  EXPECT_NE(result.find("\"exitCode\": 0"), std::string::npos) << result;
  EXPECT_NE(result.find("przebieg " + run + ".\""), std::string::npos) << result;
  EXPECT_NE(result.find("\"changes\": []"), std::string::npos) << result;
}

TEST(UndoCommandLineTest, UndoTakesALogFileAResultFileAndNothingElse) {
  EXPECT_EQ(ParseCommandLine({"/undo"}).mode, CommandLine::Mode::Undo);
  const CommandLine logged = ParseCommandLine({"/LOG", "r.txt", "/Undo"});
  EXPECT_EQ(logged.mode, CommandLine::Mode::Undo);
  EXPECT_EQ(logged.logPath, "r.txt");
  const CommandLine withResult = ParseCommandLine({"/undo", "/json", "w.json"});
  EXPECT_EQ(withResult.mode, CommandLine::Mode::Undo);
  EXPECT_EQ(withResult.jsonPath, "w.json");
  EXPECT_EQ(ModeName(withResult), "undo");
  const std::pair<std::vector<std::string>, const char*> refused[] = {
      {{"/undo", "/undo"}, "argument \"/undo\" podany drugi raz"},
      {{"/undo", "/s", "a.ini"}, "\"/undo\" nie łączy się z \"/s\", \"/verify\", \"/plan\" ani z \"/export\""},
      {{"/verify", "/undo"}, "\"/undo\" nie łączy się z \"/s\", \"/verify\", \"/plan\" ani z \"/export\""},
      {{"/undo", "/export", "a.ini"}, "\"/undo\" nie łączy się z \"/s\", \"/verify\", \"/plan\" ani z \"/export\""},
      {{"/undo", "x"}, "nieznany argument \"x\""},
  };
  for (const auto& c : refused) {
    EXPECT_EQ(testing_support::ErrorOf([&] { ParseCommandLine(c.first); }),
              std::string("Niepoprawny wiersz poleceń: ") + c.second);
  }
}

}  // namespace
}  // namespace app
