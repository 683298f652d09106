#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "app/AnswersFile.h"
#include "app/CommandLine.h"
#include "app/Unattended.h"
#include "app/RunResult.h"
#include "app/WizardSettings.h"
#include "bde/Engine.h"
#include "oracle/NetworkFolder.h"
#include "platform/NetworkProbe.h"
#include "platform/Text.h"
#include "platform/TextFile.h"
#include "tests/ErrorOf.h"
#include "tests/FakeOemCodePage.h"
#include "tests/LoopbackServers.h"
#include "tests/RegisteredDriver.h"
#include "tests/ScopedVariable.h"
#include "tests/TempFolder.h"
#include "tests/platform/MemoryRegistry.h"

namespace app {
namespace {

using Lines = std::vector<std::string>;

// The README's answers files, in their order: the administrators copy
// these, so these are what the tests run.
Lines ReadmeExamples() {
  Lines examples;
  const Lines readme = platform::ReadTextLines(KONFIGNOVERA_SOURCE_DIR "/README.md");
  for (size_t i = 0; i < readme.size(); ++i) {
    if (readme[i] != "```ini") continue;
    std::string example;
    while (++i < readme.size() && readme[i] != "```") example += readme[i] + "\n";
    examples.push_back(example);
  }
  return examples;
}

// A workstation with the ODBC driver, an Oracle home whose tnsnames.ora
// holds XE.SERWER, and the engine's file in a throw-away folder.
class UnattendedTest : public ::testing::Test {
 protected:
  UnattendedTest() {
    registry.LoadRegText(testing_support::kRegisteredDriver);
    registry.LoadRegText("[HKEY_LOCAL_MACHINE\\SOFTWARE\\ORACLE\\KEY_OraClient11g_home1]\n"
                         "\"ORACLE_HOME_NAME\"=\"OraClient11g_home1\"\n\"ORACLE_HOME\"=\"" + Home() + "\"\n");
    platform::WriteTextLines(Tnsnames(), kTnsnames);
  }

  int Run(const std::string& answers, bool log = true, bool verify = false) {
    platform::WriteTextLines(Path("answers.ini"), platform::SplitLines(answers));
    CommandLine line{CommandLine::Mode::Unattended, Path("answers.ini"), log ? Path("report.txt") : "",
                     Path("result.json")};
    line.verify = verify;
    return Run(line);
  }
  int Run(const CommandLine& line) {
    bde::Engine engine(registry, Config());
    return RunUnattended(line, registry, engine, codePage, BackupRoot(), Host(), platform::CreateSystemNetworkProbe());
  }
  RunHost Host() {
    return {"PC01", "2026-12-09T11:30:05Z", [this](const std::string& text) { console += text; }};
  }

  int Export(const std::string& path = "") {
    CommandLine line{CommandLine::Mode::Export, "", Path("report.txt"), Path("result.json"),
                     path.empty() ? Path("export.ini") : path};
    bde::Engine engine(registry, Config());
    return RunExport(line, registry, engine, codePage,
                     {"PC01", "2026-12-09T11:30:05Z", [this](const std::string& text) { console += text; }});
  }

  std::string Path(const std::string& name) const { return (folder.Path() / name).string(); }
  std::string Home() const { return Path("oracle"); }
  std::string Tnsnames() const { return Home() + "\\NETWORK\\ADMIN\\tnsnames.ora"; }
  std::string Config() const { return Path("bde.cfg"); }
  std::string BackupRoot() const { return Path("KonfigNovera"); }
  Lines Report() const { return platform::ReadTextLines(Path("report.txt")); }
  std::string Result() const { return platform::ReadFileContent(Path("result.json")); }
  // The result file a run should leave: its report is the log's.
  std::string ExpectedResult(int code, std::vector<bde::Change> changes) const {
    RunResult expected{"configure", "PC01", "2026-12-09T11:30:05Z", code, Report(), std::move(changes), {}};
    return platform::JoinLines(platform::SplitLines(RunResultJson(expected)));
  }
  // The one line of a wrong answers file; "*" in the problem stands for the
  // path of tnsnames.ora.
  std::string WrongAnswersLine(const std::string& problem) const {
    std::string line = "Plik odpowiedzi \"" + Path("answers.ini") + "\", " + problem;
    if (const size_t star = line.find('*'); star != std::string::npos) line.replace(star, 1, Tnsnames());
    return line;
  }
  std::string Param(const std::string& alias, const std::string& name) {
    bde::Engine engine(registry, Config());
    return engine.ReadAliasParameters(alias).Value(name);
  }

  const Lines kTnsnames = {"XE.SERWER = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = stary)(PORT = 1522))"
                           "(CONNECT_DATA = (SERVICE_NAME = XE)))"};
  testing_support::TempFolder folder;
  platform::MemoryRegistry registry;
  testing_support::FakeOemCodePage codePage;
  std::string console;
};

const Lines kAliases = {"Ochrona", "LM", "LM- Faktury", "LM- Magistr", "LM- Odbiorcy", "LM- Odczyty", "LM- Archiwum",
                        "LM- Liczniki"};

Lines CreatedAliasLines() {
  Lines lines;
  for (const std::string& alias : kAliases) lines.push_back("  Utworzono alias \"X Novera- " + alias + "\".");
  return lines;
}

std::vector<bde::Change> AliasChanges(bool created) {
  std::vector<bde::Change> changes;
  for (const std::string& alias : kAliases) {
    changes.push_back({bde::Change::Item::Alias, "X Novera- " + alias, created});
  }
  return changes;
}

std::vector<bde::Change> Then(std::vector<bde::Change> first, const std::vector<bde::Change>& more) {
  first.insert(first.end(), more.begin(), more.end());
  return first;
}

TEST_F(UnattendedTest, TheResultNamesEachItemCreatedOrModifiedInOrder) {
  EXPECT_EQ(Run(ReadmeExamples()[0]), kExitDone);
  const bde::Change created{bde::Change::Item::DataSource, "Novera LM", true};
  EXPECT_EQ(Result(), ExpectedResult(kExitDone, Then({created}, AliasChanges(true))));
  EXPECT_EQ(Run(ReadmeExamples()[0]), kExitDone);
  const bde::Change modified{bde::Change::Item::DataSource, "Novera LM", false};
  EXPECT_EQ(Result(), ExpectedResult(kExitDone, Then({modified}, AliasChanges(false))));

  // The SQL Server aliases are of another driver: the Oracle run fails at
  // the first, after its files.
  EXPECT_EQ(Run(ReadmeExamples()[1]), kExitConfigurationFailed);
  const std::string network = Home() + "\\NETWORK\\ADMIN\\";
  const std::vector<bde::Change> files = {{bde::Change::Item::File, network + "sqlnet.ora", true},
                                          {bde::Change::Item::File, network + "tnsnames.ora", false}};
  EXPECT_EQ(Result(), ExpectedResult(kExitConfigurationFailed, files));
}

TEST_F(UnattendedTest, AWrongFileOrAFailedRunHasItsCodeInTheResult) {
  EXPECT_EQ(Run("[KonfigNovera]\nWersja=12\n"), kExitWrongAnswers);
  EXPECT_EQ(Result(), ExpectedResult(kExitWrongAnswers, {}));
  {
    bde::Engine engine(registry, Config());
    engine.SetConfigurationMode(bde::ConfigurationMode::Persistent);
    engine.CreateAlias("X Novera- LM", "ORACLE", {});
    engine.SaveConfiguration();
  }
  EXPECT_EQ(Run("[KonfigNovera]\nSerwer=MSSQL\n"), kExitConfigurationFailed);
  EXPECT_EQ(Result(), ExpectedResult(kExitConfigurationFailed,
                                     {{bde::Change::Item::DataSource, "MSSQL Novera LM", true},
                                      {bde::Change::Item::Alias, "X Novera- Ochrona", true}}));
}

// A log that cannot be written fails the run; the result says so. A result
// that cannot be written fails it too, and the console says so.
TEST_F(UnattendedTest, AnOutputFileThatCannotBeWrittenEndsWithExitCodeOne) {
  platform::WriteTextLines(Path("answers.ini"), platform::SplitLines(ReadmeExamples()[0]));
  const std::string missing = Path("brak") + "/";
  const RunHost host{"PC01", "2026-12-09T11:30:05Z", [this](const std::string& text) { console += text; }};
  bde::Engine engine(registry, Config());
  CommandLine line{CommandLine::Mode::Unattended, Path("answers.ini"), missing + "report.txt", Path("result.json")};
  EXPECT_EQ(RunUnattended(line, registry, engine, codePage, BackupRoot(), host, platform::CreateSystemNetworkProbe()),
            kExitConfigurationFailed);
  EXPECT_NE(Result().find("\"exitCode\": 1,"), std::string::npos);
  EXPECT_NE(Result().find("report.txt"), std::string::npos);

  console.clear();
  line = {CommandLine::Mode::Unattended, Path("answers.ini"), Path("report.txt"), missing + "result.json"};
  EXPECT_EQ(RunUnattended(line, registry, engine, codePage, BackupRoot(), host, platform::CreateSystemNetworkProbe()),
            kExitConfigurationFailed);
  EXPECT_NE(platform::SplitLines(console).back().find("result.json"), std::string::npos) << console;
}

// What a workstation holds that an answers file decides: the data source's
// values and its list entry, every alias with its driver and parameters,
// and tnsnames.ora.
std::string WorkstationState(platform::Registry& registry, const std::string& config, const std::string& tnsnames) {
  std::string state;
  for (const char* key :
       {"\\SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources", "\\SOFTWARE\\ODBC\\ODBC.INI\\Novera LM"}) {
    if (const platform::OpenedKey opened =
            registry.OpenKey(platform::RegistryRoot::LocalMachine, key, platform::kKeyRead, false)) {
      for (const std::string& name : opened->ValueNames()) state += name + "=" + opened->ReadString(name) + "\n";
    }
  }
  bde::Engine engine(registry, config);
  for (const std::string& alias : engine.ListAliases()) {
    state += alias + " " + engine.AliasDriver(alias) + ":";
    const bde::ParameterList params = engine.ReadAliasParameters(alias);
    for (const std::string& line : params.Lines()) state += " " + line;
    state += "\n";
  }
  return state + platform::JoinLines(platform::ReadTextLines(tnsnames));
}

// /export on one workstation, then /s with its file on a second one made
// afresh like the first, gives the second the same data source, aliases
// and service entry; and run on the first it changes no value.
TEST_F(UnattendedTest, AnExportedFileReproducesTheWorkstation) {
  for (size_t example = 0; example < 2; ++example) {
    SCOPED_TRACE(example);
    platform::WriteTextLines(Tnsnames(), kTnsnames);
    std::filesystem::remove(Config());
    registry.DeleteKey(platform::RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBC.INI");
    ASSERT_EQ(Run(ReadmeExamples()[example]), kExitDone);
    const std::string configured = WorkstationState(registry, Config(), Tnsnames());
    ASSERT_EQ(Export(), kExitDone);
    EXPECT_EQ(Report(), Lines{"Zapisano plik odpowiedzi \"" + Path("export.ini") + "\"."});
    const Lines exported = platform::ReadTextLines(Path("export.ini"));
    EXPECT_EQ(exported[0],
              "\xEF\xBB\xBF; Stacja robocza PC01 opisana 2026-12-09T11:30:05Z (KonfigNovera.exe /export)");

    // Applied again here, nothing changes.
    ASSERT_EQ(Run(platform::JoinLines(exported)), kExitDone);
    EXPECT_EQ(WorkstationState(registry, Config(), Tnsnames()), configured);

    // A second workstation as the first was before its run.
    platform::WriteTextLines(Tnsnames(), kTnsnames);
    std::filesystem::remove(Config());
    registry.DeleteKey(platform::RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBC.INI");
    std::filesystem::remove(Home() + "\\NETWORK\\ADMIN\\sqlnet.ora");
    ASSERT_EQ(Run(platform::JoinLines(exported)), kExitDone);
    EXPECT_EQ(WorkstationState(registry, Config(), Tnsnames()), configured);
  }
}

TEST_F(UnattendedTest, AnExportWritesTheReadmeLayoutWithTheProposedValues) {
  ASSERT_EQ(Run(ReadmeExamples()[1]), kExitDone);
  ASSERT_EQ(Export(), kExitDone);
  EXPECT_EQ(platform::ReadTextLines(Path("export.ini")),
            (Lines{"\xEF\xBB\xBF; Stacja robocza PC01 opisana 2026-12-09T11:30:05Z (KonfigNovera.exe /export)",
                   "[KonfigNovera]", "Serwer=Oracle", "Wersja=11", "Kopia=0", "", "[Oracle]",
                   "DomOracle=OraClient11g_home1", "Serwis=XE.SERWER", "Protokol=TCP", "Host=serwer.firma.pl",
                   "Port=1521", "NazwaBazy=XE", "UzytkownikOchrona=OCHRONA", "UzytkownikLumira=LUMIRA",
                   "UzytkownikLiczniki=LICZNIKI"}));
  EXPECT_NE(Result().find("\"mode\": \"export\""), std::string::npos);
}

// With nothing stored, the first page's choices are those of the main alias
// an earlier run left; a stored choice stays.
TEST_F(UnattendedTest, AnExportTakesTheChoicesOfTheMainAliasUnlessStored) {
  ASSERT_EQ(Run("[KonfigNovera]\nSerwer=Oracle\nWersja=9\nKopia=1\n[Oracle]\nHost=h\n"), kExitDone);
  ASSERT_EQ(Export(), kExitDone);
  Lines exported = platform::ReadTextLines(Path("export.ini"));
  EXPECT_EQ(Lines(exported.begin() + 1, exported.begin() + 7),
            (Lines{"[KonfigNovera]", "Serwer=Oracle", "Wersja=9", "Kopia=1", "", "[Oracle]"}));
  StoreChoices(registry, 0, 0);
  ASSERT_EQ(Export(), kExitDone);
  exported = platform::ReadTextLines(Path("export.ini"));
  EXPECT_EQ(Lines(exported.begin() + 1, exported.begin() + 7),
            (Lines{"[KonfigNovera]", "Serwer=MSSQL", "Wersja=9", "Kopia=1", "", "[MSSQL]"}));
}

// A value the answers file cannot hold, or a file that cannot be written,
// ends with exit code 1 and writes nothing.
TEST_F(UnattendedTest, AnExportThatCannotBeWrittenEndsWithExitCodeOne) {
  ASSERT_EQ(Run("[KonfigNovera]\nSerwer=MSSQL\n[MSSQL]\nZrodloDanych=Novera LM\nSerwerMSSQL=SRV\n"), kExitDone);
  registry.SetValue(platform::RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBC.INI\\Novera LM", "Server",
                    {platform::MemoryRegistry::ValueType::String, "SRV;1 "});
  EXPECT_EQ(Export(), kExitConfigurationFailed);
  EXPECT_EQ(Report(), Lines{"Wartości klucza \"SerwerMSSQL\" (\"SRV;1 \") nie można zapisać w pliku odpowiedzi: "
                            "zawiera średnik albo odstęp na początku lub na końcu."});
  EXPECT_FALSE(platform::FileExists(Path("export.ini")));
  EXPECT_EQ(Export(Path("brak") + "/export.ini"), kExitConfigurationFailed);
}

// What the crash handlers call: the report and the result of the mode say
// what happened, with exit code 1.
TEST_F(UnattendedTest, AnUnexpectedEndIsReportedWithExitCodeOne) {
  const CommandLine line{CommandLine::Mode::Export, "", Path("report.txt"), Path("result.json"), Path("a.ini")};
  const RunHost host{"PC01", "2026-12-09T11:30:05Z", [this](const std::string& text) { console += text; }};
  EXPECT_EQ(EndUnexpectedly(line, host, "wyjątek systemowy 0xC0000005"), kExitConfigurationFailed);
  const Lines expected = {"Nieoczekiwany błąd programu: wyjątek systemowy 0xC0000005."};
  EXPECT_EQ(Report(), expected);
  const RunResult result{"export", "PC01", "2026-12-09T11:30:05Z", kExitConfigurationFailed, expected, {}, {}};
  EXPECT_EQ(Result(), platform::JoinLines(platform::SplitLines(RunResultJson(result))));
}

TEST_F(UnattendedTest, TheSqlServerExampleConfiguresTheDataSourceAndTheAliases) {
  ASSERT_EQ(ReadmeExamples().size(), 2u);
  EXPECT_EQ(Run(ReadmeExamples()[0]), kExitDone);
  Lines expected = {"Konfiguracja została utworzona!", "", " Utworzono źródło danych ODBC \"Novera LM\".",
                    "  Instancja serwera MSSQL: \"SRV\\SQLEXPRESS\".", "  Logowanie poprzez użytkownika Windows.", "",
                    " Zmodyfikowano konfigurację BDE."};
  for (const std::string& line : CreatedAliasLines()) expected.push_back(line);
  EXPECT_EQ(Report(), expected);
  EXPECT_EQ(console, platform::JoinLines(expected));
  EXPECT_EQ(Param("X Novera- LM- Faktury", "DATABASE NAME"), "LUMIRA");
  EXPECT_EQ(Param("X Novera- LM- Archiwum", "DATABASE NAME"), "LUMIRA_ARCH");
  EXPECT_EQ(Param("X Novera- LM- Liczniki", "DATABASE NAME"), "LUMIRA_ARCH");  // the value in force
  EXPECT_EQ(Param("X Novera- LM", "ODBC DSN"), "Novera LM");

  // Run again with only the server kind: the values of the first run stand.
  EXPECT_EQ(Run("[KonfigNovera]\nSerwer=MSSQL\n"), kExitDone);
  EXPECT_EQ(Report()[2], " Zmodyfikowano źródło danych ODBC \"Novera LM\".");
  EXPECT_EQ(Report()[3], "  Instancja serwera MSSQL: \"SRV\\SQLEXPRESS\".");
  EXPECT_EQ(Param("X Novera- LM- Faktury", "DATABASE NAME"), "LUMIRA");
  EXPECT_EQ(Param("X Novera- LM- Archiwum", "DATABASE NAME"), "LUMIRA_ARCH");
}

TEST_F(UnattendedTest, TheOracleExampleRewritesTheEntryAndWritesTheAliases) {
  EXPECT_EQ(Run(ReadmeExamples()[1]), kExitDone);
  const std::string network = Home() + "\\NETWORK\\ADMIN\\";
  Lines expected = {"Konfiguracja została utworzona!", "", "  Utworzono plik", "     \"" + network + "sqlnet.ora\"", "",
                    "  Zmodyfikowano plik", "     \"" + network + "tnsnames.ora\"", "",
                    " Zmodyfikowano konfigurację BDE."};
  for (const std::string& line : CreatedAliasLines()) expected.push_back(line);
  EXPECT_EQ(Report(), expected);
  EXPECT_EQ(platform::ReadTextLines(Tnsnames())[3],
            "      (ADDRESS = (PROTOCOL = TCP)(HOST = serwer.firma.pl)(PORT = 1521))");
  EXPECT_EQ(Param("X Novera- Ochrona", "USER NAME"), "OCHRONA");
  EXPECT_EQ(Param("X Novera- LM- Liczniki", "USER NAME"), "LICZNIKI");
  EXPECT_EQ(Param("X Novera- LM", "SERVER NAME"), "XE.SERWER");
}

// A key the file gives wins over what an earlier run left, which the pages
// would propose; a key left out takes that instead.
TEST_F(UnattendedTest, AGivenValueWinsOverWhatAnEarlierRunLeft) {
  struct Case {
    size_t example;  // the README's example of the earlier run
    const char* answers;
    const char* alias;
    const char* parameter;
    const char* value;
  };
  const char* const mssql = "[KonfigNovera]\nSerwer=MSSQL\n[MSSQL]\nLogowanieWindows=0\nBaza=INNA\n";
  const char* const oracle = "[KonfigNovera]\nSerwer=Oracle\n[Oracle]\nUzytkownikOchrona=INNY\n";
  const Case cases[] = {
      {0, mssql, "X Novera- LM- Faktury", "DATABASE NAME", "INNA"},  // over the aliases
      {0, mssql, "X Novera- LM", "USER NAME", "novera"},             // over the data source
      {0, mssql, "X Novera- LM", "ODBC DSN", "Novera LM"},           // left out: the aliases'
      {1, oracle, "X Novera- Ochrona", "USER NAME", "INNY"},
      {1, oracle, "X Novera- LM", "USER NAME", "LUMIRA"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.alias) + " " + c.parameter);
    std::filesystem::remove(Config());
    ASSERT_EQ(Run(ReadmeExamples()[c.example]), kExitDone);
    ASSERT_EQ(Run(c.answers), kExitDone) << console;
    EXPECT_EQ(Param(c.alias, c.parameter), c.value);
  }
}

// Nothing is read into the run before the whole file is known good.
TEST_F(UnattendedTest, AWrongFileGetsOneLineAndTouchesNothing) {
  struct Case {
    const char* answers;
    const char* line;
  };
  const Case cases[] = {
      {"[KonfigNovera]\nWersja=12\n", "wiersz 2: klucz \"Wersja\": niepoprawna wartość \"12\", dozwolone: 9, 10, 11."},
      {"[KonfigNovera]\nSerwer=DB2\n",
       "wiersz 2: klucz \"Serwer\": niepoprawna wartość \"DB2\", dozwolone: MSSQL, Oracle."},
      {"[KonfigNovera]\nKopia=tak\n", "wiersz 2: klucz \"Kopia\": niepoprawna wartość \"tak\", dozwolone: 0, 1."},
      {"[KonfigNovera]\nSerwer=Oracle\n[Oracle]\nPort=15a\n",
       "wiersz 4: klucz \"Port\": niepoprawna liczba \"15a\", dozwolone: 1 do 65535."},
      {"[KonfigNovera]\nSerwer=Oracle\n[Oracle]\nPort=65536\n",
       "wiersz 4: klucz \"Port\": niepoprawna liczba \"65536\", dozwolone: 1 do 65535."},
      {"[KonfigNovera]\nSerwer=Oracle\n[Oracle]\nDomOracle=Inny\n",
       "wiersz 4: klucz \"DomOracle\": nieznany Oracle Home \"Inny\""},
      {"[KonfigNovera]\nSerwer=Oracle\n[Oracle]\nHost=\n", "wiersz 4: klucz \"Host\": wartość nie może być pusta."},
      {"[KonfigNovera]\nSerwer=Oracle\n[Oracle]\nSerwis=NOWY\nPort=1600\n",
       "sekcja [Oracle], klucz \"Host\" (brak w pliku): wpisu \"NOWY\" nie ma w pliku \"*\", więc adres serwera "
       "jest wymagany."},
      {"[KonfigNovera]\nSerwer=Oracle\n[Oracle]\nNazwaBazy=123456789012345678901\n",
       "wiersz 4: klucz \"NazwaBazy\": wartość \"123456789012345678901\" jest dłuższa niż 20 znaków."},
      // Values tnsnames.ora cannot hold, found before sqlnet.ora is written.
      {"[KonfigNovera]\nSerwer=Oracle\n[Oracle]\nHost=serwer firma.pl\n",
       "wiersz 4: klucz \"Host\": wpisu \"XE.SERWER\" nie można zapisać w pliku \"*\" z wartością \"serwer firma.pl\""},
      {"[KonfigNovera]\nSerwer=Oracle\n[Oracle]\nProtokol=TCP)\n",
       "wiersz 4: klucz \"Protokol\": wpisu \"XE.SERWER\" nie można zapisać w pliku \"*\" z wartością \"TCP)\""},
      {"[KonfigNovera]\nSerwer=Oracle\n[Oracle]\nSerwis=XE SERWER\nHost=nowy\n",
       "wiersz 4: klucz \"Serwis\": zapis wpisu \"XE SERWER\" w pliku \"*\" dodałby wpis \"XESERWER\" o nazwie innej "
       "niż podana."},
      {"[KonfigNovera]\nSerwer=Oracle\n[Oracle]\nSerwis=XE. SERWER\nHost=nowy\n",
       "wiersz 4: klucz \"Serwis\": zapis wpisu \"XE. SERWER\" w pliku \"*\" zmieniłby wpis \"XE.SERWER\", którego "
       "nie edytowano."},
      {"[KonfigNovera]\nSerwer=Oracle\n[Oracle]\nSerwis=XE.SERWER\nPort=1600\nNazwaBazy=N B\n",
       "wiersz 6: klucz \"NazwaBazy\": wpisu \"XE.SERWER\" nie można zapisać w pliku \"*\" z wartością \"N B\""},
      {"[MSSQL]\nZrodloDanych=a[b\n",
       "wiersz 2: klucz \"ZrodloDanych\": nazwa źródła danych \"a[b\" zawiera niedozwolony znak \"[\""},
      {"[Inna]\n", "wiersz 1: nieznana sekcja [Inna]."},
  };
  platform::WriteTextLines(Config(), {"KonfigNovera BDE 1"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answers);
    console.clear();
    EXPECT_EQ(Run(c.answers), kExitWrongAnswers);
    ASSERT_EQ(Report().size(), 1u);
    const std::string expected = WrongAnswersLine(c.line);
    EXPECT_EQ(Report()[0], expected);
    EXPECT_EQ(console, expected + "\r\n");
    EXPECT_EQ(platform::ReadTextLines(Tnsnames()), kTnsnames);
    EXPECT_FALSE(platform::FileExists(Home() + "\\NETWORK\\ADMIN\\sqlnet.ora"));
    EXPECT_EQ(platform::ReadTextLines(Config()), Lines{"KonfigNovera BDE 1"});
  }
  registry.DeleteKey(platform::RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBCINST.INI");
  EXPECT_EQ(Run("[KonfigNovera]\nSerwer=MSSQL\n"), kExitWrongAnswers);
  EXPECT_EQ(Report(), Lines{"Plik odpowiedzi \"" + Path("answers.ini") +
                            "\", wiersz 2: klucz \"Serwer\": brak sterownika ODBC \"SQL Native Client\""});
  EXPECT_FALSE(registry.KeyExists(platform::RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBC.INI"));
}

// What the client of the home reads is what is configured: the folder
// TNS_ADMIN names (for the machine, else in the home's key), the file an
// IFILE line includes, a name the default domain completes; the home's own
// files stay.
TEST_F(UnattendedTest, TheFilesTheClientReadsAreTheOnesConfigured) {
  const std::string network = Path("central") + "/";
  const std::string missing = Path("brak");
  const Lines shared = kTnsnames;
  constexpr const char* kEnvironment = "\\SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Environment";
  struct Case {
    const char* what;
    std::optional<std::string> process;  // TNS_ADMIN of the run's own environment
    const char* environmentKey;          // where the machine's environment is kept
    Lines sqlnet;
    const char* answers;
    int code;
    std::string said;  // the report's line that matters; "@" stands for the folder
    bool edited;
  };
  const Case cases[] = {
      {"the entry in an included file", {}, kEnvironment, {}, "Host=nowy\n", kExitDone, "     \"@wspolny.ora\"", true},
      {"set in the home's key only", {}, "\\SYSTEM\\Gdzie indziej", {}, "Host=nowy\n", kExitDone,
       "     \"@wspolny.ora\"", true},
      {"a missing folder: the machine is wrong, not the answers", missing, kEnvironment, {}, "Host=nowy\n",
       kExitConfigurationFailed, platform::Format(oracle::kMissingNetworkFolderMessage, {missing, "zmienna środowiskowa"}) + ".",
       false},
      {"a name the default domain completes to one no file holds", {}, kEnvironment, {"NAMES.DEFAULT_DOMAIN = world"},
       "Serwis=XE\n",
       kExitWrongAnswers, WrongAnswersLine("wiersz 4: klucz \"Serwis\": przy domyślnej domenie \"world\" (NAMES.DEFAULT_DOMAIN "
       "w pliku \"@sqlnet.ora\") klient Oracle szuka wpisu \"XE.WORLD\", którego nie ma w pliku \"@tnsnames.ora\" ani w "
       "plikach, które on włącza; należy użyć nazwy \"XE.SERWER\""), false},
  };
  std::filesystem::create_directory(network);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    registry.DeleteKey(platform::RegistryRoot::LocalMachine, kEnvironment);
    registry.SetValue(platform::RegistryRoot::LocalMachine, c.environmentKey, "TNS_ADMIN",
                      {platform::MemoryRegistry::ValueType::String, network, 0});
    registry.SetValue(platform::RegistryRoot::LocalMachine, "\\SOFTWARE\\ORACLE\\KEY_OraClient11g_home1", "TNS_ADMIN",
                      {platform::MemoryRegistry::ValueType::String, c.environmentKey == kEnvironment ? missing : network, 0});
    platform::WriteTextLines(Config(), {"KonfigNovera BDE 1"});
    platform::WriteTextLines(network + "tnsnames.ora", {"IFILE = wspolny.ora"});
    platform::WriteTextLines(network + "wspolny.ora", shared);
    platform::WriteTextLines(network + "sqlnet.ora", c.sqlnet);
    const testing_support::ScopedVariable process("TNS_ADMIN", c.process);
    EXPECT_EQ(Run(std::string("[KonfigNovera]\nSerwer=Oracle\n[Oracle]\n") + c.answers), c.code);
    const Lines report = Report();
    ASSERT_FALSE(report.empty());
    std::string said = report[std::min<size_t>(report.size() - 1, c.code == kExitDone ? 6 : 2)];
    for (size_t at; (at = said.find(network)) != std::string::npos;) said.replace(at, network.size(), "@");
    EXPECT_EQ(said, c.said);
    EXPECT_EQ(platform::ReadTextLines(network + "wspolny.ora") != shared, c.edited);
    EXPECT_EQ(platform::ReadTextLines(Tnsnames()), kTnsnames);
    EXPECT_FALSE(platform::FileExists(Home() + "\\NETWORK\\ADMIN\\sqlnet.ora"));
    EXPECT_EQ(platform::ReadTextLines(Config()).size() > 1, c.edited);
  }
}

// The entry keeps what the answers do not give: its keyword for the
// database (SID or SERVICE_NAME) and the parts the nine-line layout has no
// room for; with no value given the file is left as it is.
TEST_F(UnattendedTest, OnlyTheGivenValuesOfTheServiceEntryChange) {
  struct Case {
    const char* name;
    Lines before;
    const char* given;
    Lines after;  // empty: the file as it was
  };
  const Lines kSid = {"XE.SERWER = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = stary)(PORT = 1522))",
                      "  (CONNECT_DATA = (SID = XE)))"};
  const Lines kServer = {"XE.SERWER = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = stary)(PORT = 1522))",
                         "  (CONNECT_DATA = (SERVER = DEDICATED)(SID = XE)))"};
  const Case cases[] = {
      {"nothing given", kServer, "", {}},
      {"SID kept in the layout", kSid, "Host=nowy\n",
       {"XE.SERWER =", "  (DESCRIPTION =", "    (ADDRESS_LIST =",
        "      (ADDRESS = (PROTOCOL = TCP)(HOST = nowy)(PORT = 1522))", "    )", "    (CONNECT_DATA =",
        "      (SID = XE)", "    )", "  )"}},
      {"edited in place", kServer, "NazwaBazy=NOWA\n",
       {"XE.SERWER = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = stary)(PORT = 1522))",
        "  (CONNECT_DATA = (SERVER = DEDICATED)(SID = NOWA)))"}},
      {"a new entry", kSid, "Serwis=NOWY\nHost=nowy\nNazwaBazy=NB\n",
       {kSid[0], kSid[1], "NOWY =", "  (DESCRIPTION =", "    (ADDRESS_LIST =",
        "      (ADDRESS = (PROTOCOL = TCP)(HOST = nowy)(PORT = 1521))", "    )", "    (CONNECT_DATA =",
        "      (SERVICE_NAME = NB)", "    )", "  )"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    platform::WriteTextLines(Tnsnames(), c.before);
    ASSERT_EQ(Run(std::string("[KonfigNovera]\nSerwer=Oracle\n[Oracle]\n") + c.given), kExitDone);
    EXPECT_EQ(platform::ReadTextLines(Tnsnames()), c.after.empty() ? c.before : c.after);
    const Lines report = Report();
    EXPECT_EQ(std::find(report.begin(), report.end(), "  Zmodyfikowano plik") != report.end(), !c.after.empty());
  }
}

// Left-out first-page keys take what the window would start with: the
// choices stored in the settings key (a version past the last item is the
// last one), else its defaults; the settings key is only read.
TEST_F(UnattendedTest, LeftOutServerAndVersionTakeTheStoredChoices) {
  struct Case {
    const char* what;
    const char* stored;  // values of the settings key; nullptr: no key
    const char* answers;
    const char* aliases;  // the aliases written, with the driver of the suite's main alias
  };
  const Case cases[] = {
      {"nothing stored: the defaults", nullptr, "[KonfigNovera]\nKopia=0\n", "X 8 SQL Native Client"},
      {"an empty key: the defaults", "", "", "X 8 SQL Native Client"},
      {"Oracle and 9 stored", "\"Server\"=dword:00000001\n\"Wersja\"=dword:00000000\n", "[Oracle]\nHost=nowy\n",
       "II 7 ORACLE"},
      {"only 10 stored", "\"Wersja\"=dword:00000001\n", "", "X 7 SQL Native Client"},
      {"a version past the last item", "\"Server\"=dword:00000000\n\"Wersja\"=dword:00000007\n", "",
       "X 8 SQL Native Client"},
      {"given keys win", "\"Server\"=dword:00000001\n\"Wersja\"=dword:00000000\n",
       "[KonfigNovera]\nSerwer=MSSQL\nWersja=11\n", "X 8 SQL Native Client"},
      {"one key given, the other stored", "\"Server\"=dword:00000001\n\"Wersja\"=dword:00000000\n",
       "[KonfigNovera]\nWersja=10\n", "X 7 ORACLE"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::filesystem::remove(Config());
    registry.DeleteKey(platform::RegistryRoot::CurrentUser, kSettingsKey);
    if (c.stored) registry.LoadRegText(std::string("[HKEY_CURRENT_USER\\software\\Novera\\KonfigNovera]\n") + c.stored);
    ASSERT_EQ(Run(c.answers), kExitDone) << console;
    bde::Engine engine(registry, Config());
    const std::vector<std::string> aliases = engine.ListAliases();
    const std::string prefix = aliases.back().substr(0, aliases.back().find("Novera- "));
    EXPECT_EQ(prefix + std::to_string(aliases.size()) + " " + engine.AliasDriver(prefix + "Novera- LM"),
              c.aliases);
    EXPECT_EQ(registry.KeyExists(platform::RegistryRoot::CurrentUser, kSettingsKey), c.stored != nullptr);
  }
}

// The report says what was written before the error, the error's text,
// and then what was put back: the data source and the one alias written.
TEST_F(UnattendedTest, AFailedConfigurationReportsWhatItWroteAndTheError) {
  {
    bde::Engine engine(registry, Config());
    engine.SetConfigurationMode(bde::ConfigurationMode::Persistent);
    engine.CreateAlias("X Novera- LM", "ORACLE", {});
    engine.SaveConfiguration();
  }
  EXPECT_EQ(Run("[KonfigNovera]\nSerwer=MSSQL\n", false), kExitConfigurationFailed);
  EXPECT_FALSE(platform::FileExists(Path("report.txt")));
  const Lines report = platform::SplitLines(console);
  ASSERT_EQ(report.size(), 16u);
  EXPECT_EQ(report[2], " Utworzono źródło danych ODBC \"MSSQL Novera LM\".");
  EXPECT_EQ(report[7], "  Utworzono alias \"X Novera- Ochrona\".");
  EXPECT_EQ(report[8], "Alias BDE \"X Novera- LM\" istnieje i jest innego typu.");
  EXPECT_EQ(Lines(report.begin() + 9, report.end() - 1),
            (Lines{"", " Wycofano zmiany przebiegu:", "  alias BDE \"X Novera- Ochrona\": usunięto.",
                   "  wartość \"MSSQL Novera LM\" klucza rejestru "
                   "\"HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources\": usunięto.",
                   "  klucz rejestru \"HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\MSSQL Novera LM\": usunięto.",
                   " Kopia zapasowa:"}));
  EXPECT_TRUE(report.back().starts_with("     \"" + BackupRoot() + "/"));
  EXPECT_FALSE(registry.KeyExists(platform::RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBC.INI"));
}

TEST(CommandLineTest, ARefusedLineStillNamesItsReportAndResult) {
  const CommandLine named = OutputsOfRefusedCommandLine({"/x", "/json", "w.json", "/log", "r.txt", "/json", "2.json"});
  EXPECT_EQ(named.jsonPath, "w.json");
  EXPECT_EQ(named.logPath, "r.txt");
  EXPECT_EQ(OutputsOfRefusedCommandLine({"/json", "/log", "r.txt"}).jsonPath, "");
  EXPECT_EQ(OutputsOfRefusedCommandLine({"/json", "/log", "r.txt"}).logPath, "r.txt");
  EXPECT_EQ(OutputsOfRefusedCommandLine({"/json"}).jsonPath, "");
  EXPECT_EQ(ParseCommandLine({"/s", "a.ini", "/JSON", "w.json"}).jsonPath, "w.json");
}

TEST(CommandLineTest, ArgumentsChooseTheModeOrAreRefused) {
  using Mode = CommandLine::Mode;
  EXPECT_EQ(ParseCommandLine({}).mode, Mode::Window);
  EXPECT_EQ(ParseCommandLine({"/?"}).mode, Mode::Usage);
  const CommandLine full = ParseCommandLine({"/S", "C:\\a b.ini", "/LOG", "r.txt"});
  EXPECT_EQ(full.mode, Mode::Unattended);
  EXPECT_EQ(full.answersPath, "C:\\a b.ini");
  EXPECT_EQ(full.logPath, "r.txt");
  EXPECT_EQ(ParseCommandLine({"/log", "r.txt", "/s", "a.ini"}).answersPath, "a.ini");
  EXPECT_EQ(ParseCommandLine({"/PLAN", "/s", "a.ini"}).mode, Mode::Plan);

  const std::pair<std::vector<std::string>, const char*> refused[] = {
      {{"/x"}, "nieznany argument \"/x\""},
      {{"/s"}, "po \"/s\" brak nazwy pliku"},
      {{"/s", ""}, "po \"/s\" brak nazwy pliku"},
      {{"/log", "r.txt"}, "brak \"/s PLIK_ODPOWIEDZI\", \"/verify\", \"/undo\" ani \"/export PLIK_ODPOWIEDZI\""},
      {{"/s", "a.ini", "/s", "b.ini"}, "argument \"/s\" podany drugi raz"},
      {{"/s", "a.ini", "/?"}, "nieznany argument \"/?\""},
      {{"/plan"}, "\"/plan\" wymaga \"/s PLIK_ODPOWIEDZI\""},
      {{"/s", "a.ini", "/plan", "/plan"}, "argument \"/plan\" podany drugi raz"},
      {{"/s", "a.ini", "/plan", "/verify"}, "\"/plan\" i \"/verify\" wykluczają się: podgląd niczego nie konfiguruje"},
      {{"/export", "e.ini", "/plan"}, "\"/plan\" i \"/export\" wykluczają się"},
  };
  for (const auto& c : refused) {
    SCOPED_TRACE(c.second);
    EXPECT_EQ(testing_support::ErrorOf([&] { ParseCommandLine(c.first); }),
              std::string("Niepoprawny wiersz poleceń: ") + c.second);
  }
}

}  // namespace
}  // namespace app

namespace app {
namespace {

// The installed BDE: "DLLPATH" names the folder of the stand-in library.
class UnattendedInstalledEngineTest : public UnattendedTest {
 protected:
  UnattendedInstalledEngineTest() {
    std::filesystem::create_directory(Path("BDE"));
    std::filesystem::copy_file(FAKE_IDAPI_LIBRARY, Path("BDE") + "/idapi32.dll");
    registry.LoadRegText("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\Database Engine]\n\"DLLPATH\"=\"" + Path("BDE") +
                         "/\"\n");
    setenv("KONFIGNOVERA_FAKE_IDAPI_CONFIG", StandinConfig().c_str(), 1);
  }
  ~UnattendedInstalledEngineTest() override { unsetenv("KONFIGNOVERA_FAKE_IDAPI_CONFIG"); }

  std::string StandinConfig() const { return Path("IDAPI32.CFG"); }
};

// The aliases go where the suite's programs read them, as from the window.
TEST_F(UnattendedInstalledEngineTest, TheAliasesGoThroughTheInstalledEngine) {
  EXPECT_EQ(Run(ReadmeExamples()[0]), kExitDone);
  const Lines saved = platform::ReadTextLines(StandinConfig());
  EXPECT_NE(std::find(saved.begin(), saved.end(), "ALIAS X Novera- LM- Liczniki"), saved.end());
  EXPECT_NE(std::find(saved.begin(), saved.end(), "DB OPEN ODBC DSN=Novera LM"), saved.end());
  EXPECT_FALSE(platform::FileExists(Config()));
}

// A wrong value needs no engine to be found: on a machine whose engine
// does not start, the faulty line is still named, with exit code 2.
TEST_F(UnattendedInstalledEngineTest, AWrongValueIsNamedWhereTheEngineDoesNotStart) {
  struct Case {
    const char* answers;
    const char* line;
  };
  const Case cases[] = {
      {"[KonfigNovera]\nWersja=12\n", "wiersz 2: klucz \"Wersja\": niepoprawna wartość \"12\", dozwolone: 9, 10, 11."},
      {"[KonfigNovera]\nSerwer=Oracle\n[Oracle]\nPort=abc\n",
       "wiersz 4: klucz \"Port\": niepoprawna liczba \"abc\", dozwolone: 1 do 65535."},
      {"[KonfigNovera]\nSerwer=Oracle\n[Oracle]\nDomOracle=Inny\n",
       "wiersz 4: klucz \"DomOracle\": nieznany Oracle Home \"Inny\""},
      {"[KonfigNovera]\nSerwer=Oracle\n[Oracle]\nSerwis=XE.SERWER\nHost=serwer firma.pl\n",
       "wiersz 5: klucz \"Host\": wpisu \"XE.SERWER\" nie można zapisać w pliku \"*\" z wartością \"serwer firma.pl\""},
      {"[MSSQL]\nZrodloDanych=a[b\n",
       "wiersz 2: klucz \"ZrodloDanych\": nazwa źródła danych \"a[b\" zawiera niedozwolony znak \"[\""},
  };
  platform::WriteTextLines(StandinConfig(), {"KonfigNovera BDE 1"});
  for (const Case& c : cases) {
    SCOPED_TRACE(c.answers);
    EXPECT_EQ(Run(c.answers), kExitWrongAnswers);
    const std::string expected = WrongAnswersLine(c.line);
    EXPECT_EQ(Report(), Lines{expected});
  }
}

// Our own engine's file is no stand-in for the installed one: with the
// answers right, the run fails before anything is written.
TEST_F(UnattendedInstalledEngineTest, AnEngineThatDoesNotStartFailsTheConfiguration) {
  platform::WriteTextLines(StandinConfig(), {"KonfigNovera BDE 1"});
  EXPECT_EQ(Run(ReadmeExamples()[0]), kExitConfigurationFailed);
  EXPECT_EQ(Report(), Lines{"Cannot open a system file: " + StandinConfig() + "."});
  EXPECT_FALSE(registry.KeyExists(platform::RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBC.INI"));
  EXPECT_FALSE(platform::FileExists(Config()));
}

}  // namespace
}  // namespace app

namespace app {
namespace {

// A SQL Server whose port answers on the loopback address, a data source
// with a SQL Server login (no password is known, so no login is tried),
// and a driver whose file the test puts or leaves out.
class UnattendedVerifyTest : public UnattendedTest {
 protected:
  UnattendedVerifyTest() {
    registry.LoadRegText("[HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBCINST.INI\\SQL Native Client]\n\"Driver\"=\"" +
                         DriverFile() + "\"\n");
    platform::WriteTextLines(DriverFile(), {"driver"});
  }

  std::string DriverFile() const { return Path("sqlncli.dll"); }
  std::string Server() const { return "127.0.0.1," + std::to_string(server.Port()); }
  std::string Answers() const {
    return "[KonfigNovera]\nSerwer=MSSQL\nWersja=11\n[MSSQL]\nSerwerMSSQL=" + Server() +
           "\nLogowanieWindows=0\nBaza=DB\n";
  }
  int Verify() {
    CommandLine line{CommandLine::Mode::Verify, "", Path("report.txt"), Path("result.json")};
    line.verify = true;
    return Run(line);
  }

  // The section the checks add, the data source's line as given.
  Lines Section(const std::string& dataSourceLine) const {
    Lines lines = {"", " Sprawdzenie połączeń:", dataSourceLine,
                   "  [OK] Serwer \"" + Server() + "\": port " + std::to_string(server.Port()) +
                       " przyjmuje połączenia (adres 127.0.0.1)",
                   "  [POMINIĘTO] Baza \"DB\": logowania nie sprawdzono, bo hasło użytkownika serwera MSSQL nie jest "
                   "znane"};
    for (const char* alias : {"Ochrona", "LM", "LM- Faktury", "LM- Magistr", "LM- Odbiorcy", "LM- Odczyty",
                              "LM- Archiwum", "LM- Liczniki"}) {
      lines.push_back(std::string("  [OK] Alias BDE \"X Novera- ") + alias +
                      "\": odczytany z konfiguracji BDE, sterownik \"SQL Native Client\", wartości zgodne z "
                      "zapisanymi");
    }
    lines.push_back("");
    return lines;
  }
  Lines ReportTail(size_t count) const {
    const Lines report = Report();
    return count > report.size() ? report : Lines(report.end() - static_cast<long>(count), report.end());
  }

  const std::string kDataSourceOk = "  [OK] Źródło danych ODBC \"MSSQL Novera LM\": zarejestrowane ze sterownikiem "
                                    "\"SQL Native Client\" (plik \"" + DriverFile() + "\")";
  const std::string kDriverFileMissing = "  [BŁĄD] Źródło danych ODBC \"MSSQL Novera LM\": brak pliku sterownika \"" +
                                         DriverFile() + "\"";
  testing_support::AnsweringServer server{false, ""};
};

// A skipped login is no failure; a missing driver file is, after a
// configuration that was made all the same.
TEST_F(UnattendedVerifyTest, TheChecksFollowASuccessfulRunAndAFailureExitsWithThree) {
  ASSERT_NE(server.Port(), 0);
  EXPECT_EQ(Run(Answers(), true, true), kExitDone) << console;
  const Lines section = Section(kDataSourceOk);
  EXPECT_EQ(ReportTail(section.size()), section);
  EXPECT_EQ(Report()[0], "Konfiguracja została utworzona!");

  std::filesystem::remove(DriverFile());
  EXPECT_EQ(Run(Answers(), true, true), kExitChecksFailed);
  EXPECT_EQ(ReportTail(section.size()), Section(kDriverFileMissing));
  EXPECT_EQ(Param("X Novera- LM", "DATABASE NAME"), "DB");

  // Without the switch the same run checks nothing.
  EXPECT_EQ(Run(Answers()), kExitDone);
  EXPECT_EQ(Report().back(), "  Zmodyfikowano alias \"X Novera- LM- Liczniki\".");
}

// The workstation as an earlier run of version 11 (the first page's
// default, as nothing is stored) left it: the data source, its server and
// login, and the aliases' database, all read, and not one value written:
// the write the registry is set to refuse is still to come.
TEST_F(UnattendedVerifyTest, VerifyAloneChecksTheWorkstationAsItIsAndWritesNothing) {
  ASSERT_EQ(Run(Answers()), kExitDone) << console;
  const Lines config = platform::ReadTextLines(Config());
  registry.FailNthWrite(1);

  EXPECT_EQ(Verify(), kExitDone) << console;
  EXPECT_EQ(Report(), Section(kDataSourceOk));
  std::filesystem::remove(DriverFile());
  console.clear();
  EXPECT_EQ(Verify(), kExitChecksFailed);
  EXPECT_EQ(Report(), Section(kDriverFileMissing));
  EXPECT_EQ(console, platform::JoinLines(Report()));

  EXPECT_EQ(platform::ReadTextLines(Config()), config);
  EXPECT_FALSE(registry.KeyExists(platform::RegistryRoot::CurrentUser, kSettingsKey));
  auto key = registry.OpenKey(platform::RegistryRoot::CurrentUser, "\\SOFTWARE\\Test", platform::kKeyAllAccess, true);
  EXPECT_THROW(key->WriteString("x", "y"), platform::Error);
}

// Nothing stored by a window: the aliases say which version the run made,
// so a version 10 workstation is not checked for version 11's Archiwum.
TEST_F(UnattendedVerifyTest, VerifyAloneChecksTheVersionTheAliasesHave) {
  std::string answers = Answers();
  answers.replace(answers.find("Wersja=11"), 9, "Wersja=10");
  ASSERT_EQ(Run(answers), kExitDone) << console;
  EXPECT_EQ(Verify(), kExitDone) << console;
  Lines expected = Section(kDataSourceOk);
  std::erase_if(expected, [](const std::string& line) { return line.find("Archiwum") != std::string::npos; });
  EXPECT_EQ(Report(), expected);
}

// What stops the answers being found is a failed check, not a wrong file.
TEST_F(UnattendedVerifyTest, VerifyAloneReportsWhatStandsInTheWayAsAFailedCheck) {
  registry.DeleteKey(platform::RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBCINST.INI");
  EXPECT_EQ(Verify(), kExitChecksFailed);
  EXPECT_EQ(Report(), (Lines{"", " Sprawdzenie połączeń:",
                             "  [BŁĄD] klucz \"Serwer\": brak sterownika ODBC \"SQL Native Client\"", ""}));
  EXPECT_FALSE(platform::FileExists(Config()));
}

// The result holds the checks the report's section shows, one object each,
// and names /verify alone as a mode of its own.
TEST_F(UnattendedVerifyTest, TheResultHoldsTheChecksWhenTheyRan) {
  const auto count = [](const std::string& text, const std::string& part) {
    size_t found = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++found;
    return found;
  };
  const size_t checks = Section(kDataSourceOk).size() - 3;
  EXPECT_EQ(Run(Answers()), kExitDone);
  EXPECT_NE(Result().find("\"checks\": null"), std::string::npos) << Result();

  EXPECT_EQ(Run(Answers(), true, true), kExitDone);
  EXPECT_NE(Result().find("\"mode\": \"configure\""), std::string::npos);
  EXPECT_EQ(count(Result(), "\"status\": "), checks) << Result();
  EXPECT_EQ(count(Result(), "\"status\": \"skipped\""), 1u);

  std::filesystem::remove(DriverFile());
  EXPECT_EQ(Verify(), kExitChecksFailed);
  EXPECT_NE(Result().find("\"mode\": \"verify\""), std::string::npos);
  EXPECT_NE(Result().find("\"exitCode\": 3,"), std::string::npos);
  EXPECT_EQ(count(Result(), "\"status\": "), checks);
  EXPECT_NE(Result().find("\"status\": \"failed\",\r\n      \"detail\": "
                          "\"Źródło danych ODBC \\\"MSSQL Novera LM\\\": brak "
                          "pliku sterownika"),
            std::string::npos)
      << Result();
}

// What stops /verify alone is its one failed check in the result too.
TEST_F(UnattendedVerifyTest, TheCheckThatCouldNotBeMadeIsInTheResult) {
  registry.DeleteKey(platform::RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBCINST.INI");
  EXPECT_EQ(Verify(), kExitChecksFailed);
  EXPECT_NE(Result().find("\"status\": \"failed\",\r\n      \"detail\": \"klucz \\\"Serwer\\\": brak "
                          "sterownika ODBC"),
            std::string::npos)
      << Result();
}

TEST(CommandLineTest, VerifyJsonAndExportGoTogetherAsTheyMay) {
  using Mode = CommandLine::Mode;
  const CommandLine alone = ParseCommandLine({"/verify", "/json", "w.json"});
  EXPECT_EQ(alone.mode, Mode::Verify);
  EXPECT_EQ(alone.jsonPath, "w.json");
  EXPECT_EQ(ModeName(alone), "verify");
  const CommandLine after = ParseCommandLine({"/json", "w.json", "/s", "a.ini", "/verify"});
  EXPECT_EQ(after.mode, Mode::Unattended);
  EXPECT_TRUE(after.verify);
  EXPECT_EQ(ModeName(after), "configure");
  EXPECT_EQ(ParseCommandLine({"/export", "e.ini", "/json", "w.json"}).mode, Mode::Export);
  EXPECT_EQ(testing_support::ErrorOf([] {
              ParseCommandLine({"/export", "e.ini", "/verify"});
            }),
            "Niepoprawny wiersz poleceń: \"/verify\" i \"/export\" wykluczają się");
  EXPECT_EQ(OutputsOfRefusedCommandLine({"/x", "/json", "/verify", "/log", "r.txt"}).jsonPath, "");
  for (const char* flag : {"/s ", "/verify", "/plan", "/export ", "/log ", "/json ", "/?"}) {
    EXPECT_NE(kUsage.find(flag), std::string_view::npos) << flag;
  }
}

TEST(CommandLineTest, VerifyChecksAfterARunOrAlone) {
  using Mode = CommandLine::Mode;
  const CommandLine after = ParseCommandLine({"/s", "a.ini", "/VERIFY", "/log", "r.txt"});
  EXPECT_EQ(after.mode, Mode::Unattended);
  EXPECT_TRUE(after.verify);
  EXPECT_EQ(after.logPath, "r.txt");
  EXPECT_FALSE(ParseCommandLine({"/s", "a.ini"}).verify);
  const CommandLine alone = ParseCommandLine({"/verify", "/log", "r.txt"});
  EXPECT_EQ(alone.mode, Mode::Verify);
  EXPECT_EQ(alone.logPath, "r.txt");
  EXPECT_EQ(ParseCommandLine({"/Verify"}).mode, Mode::Verify);
  EXPECT_EQ(testing_support::ErrorOf([] { ParseCommandLine({"/verify", "/verify"}); }),
            "Niepoprawny wiersz poleceń: argument \"/verify\" podany drugi raz");
  EXPECT_EQ(testing_support::ErrorOf([] { ParseCommandLine({"/verify", "x"}); }),
            "Niepoprawny wiersz poleceń: nieznany argument \"x\"");
  EXPECT_NE(kUsage.find("/verify"), std::string_view::npos);
  EXPECT_NE(kUsage.find("3 - "), std::string_view::npos);
}

}  // namespace
}  // namespace app
