#include "app/ApplyConfiguration.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/WizardWindow.h"
#include "bde/Engine.h"
#include "bde/Session.h"
#include "bde/StatusReport.h"
#include "platform/Text.h"
#include "platform/TextFile.h"
#include "platform/UiServices.h"
#include "tests/ErrorOf.h"
#include "tests/FakeUi.h"
#include "tests/LoopbackServers.h"
#include "tests/RegisteredDriver.h"
#include "tests/TempFolder.h"
#include "tests/platform/MemoryRegistry.h"

namespace app {
namespace {

using Lines = std::vector<std::string>;

using testing_support::FakeUi;

// The window driven as a user drives it: choices on the first page, the
// pages walked with "Dalej >", the fields filled, then "Wykonaj".
class ApplyConfigurationTest : public ::testing::Test {
 protected:
  ApplyConfigurationTest() { registry.LoadRegText(testing_support::kRegisteredDriver); }

  // onServicePage runs on the Oracle service page, before leaving it.
  WizardWindow& Start(int server, int version, const std::function<void(WizardWindow&)>& onServicePage = {}) {
    window.emplace(registry, session, *engine, ui);
    window->Dispatch([this] { window->FormShow(); });
    window->Dispatch([&] { window->RadioGroupSerwer.SetItemIndex(server); });
    window->Dispatch([&] { window->RadioGroupWersja.SetItemIndex(version); });
    while (window->ButtonDalej.enabled) {
      const int page = window->CurrentPage();
      if (page == 4 && onServicePage) onServicePage(*window);
      Press(window->ButtonDalej);
      if (window->CurrentPage() == page) break;  // refused: the test sees the error
    }
    return *window;
  }

  void Press(Button& button) {
    window->Dispatch([&button] { button.Click(); });
  }

  // A new program run on the same machine.
  void Restart() {
    window.reset();
    engine.emplace(registry, ConfigPath());
  }

  std::string ConfigPath() const { return (folder.Path() / "bde.cfg").string(); }
  std::string Param(const std::string& alias, const std::string& name) {
    return engine->ReadAliasParameters(alias).Value(name);
  }
  const Lines& Report() const { return window->MemoStatus.lines; }

  testing_support::TempFolder folder;
  platform::MemoryRegistry registry;
  std::optional<bde::Engine> engine{std::in_place, registry, ConfigPath()};
  bde::Session session;
  FakeUi ui;
  std::optional<WizardWindow> window;
};

const Lines kModules = {"Ochrona", "LM", "LM- Faktury", "LM- Magistr", "LM- Odbiorcy", "LM- Odczyty"};

TEST_F(ApplyConfigurationTest, FirstSqlServerRunReportsEveryStepAndShowsTheStatusPage) {
  WizardWindow& w = Start(0, 2);
  w.ComboBoxServer.text = "SRV\\SQLEXPRESS";
  w.ComboBoxBaza.text = "DB";
  Press(w.ButtonWykonaj);

  Lines expected = {"Konfiguracja została utworzona!",
                    "",
                    " Utworzono źródło danych ODBC \"MSSQL Novera LM\".",
                    "  Instancja serwera MSSQL: \"SRV\\SQLEXPRESS\".",
                    "  Logowanie poprzez użytkownika Windows.",
                    "",
                    " Zmodyfikowano konfigurację BDE."};
  for (const char* alias : {"X Novera- Ochrona", "X Novera- LM", "X Novera- LM- Faktury", "X Novera- LM- Magistr",
                            "X Novera- LM- Odbiorcy", "X Novera- LM- Odczyty", "X Novera- LM- Archiwum",
                            "X Novera- LM- Liczniki"}) {
    expected.push_back(std::string("  Utworzono alias \"") + alias + "\".");
  }
  EXPECT_EQ(Report(), expected);
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_EQ(w.PageControl2.ActiveIndex(), 1);

  // Saved: a new run of the program finds every alias with its values.
  Restart();
  EXPECT_EQ(engine->ListAliases().size(), 8u);
  EXPECT_EQ(Param("X Novera- LM- Liczniki", "DATABASE NAME"), "DB");
  EXPECT_EQ(Param("X Novera- Ochrona", "USER NAME"), "dbo");
  EXPECT_EQ(Param("X Novera- LM", "ODBC DSN"), "MSSQL Novera LM");
  EXPECT_EQ(engine->AliasDriver("X Novera- LM"), "SQL Native Client");
}

// "Sprawdź połączenia" adds the checks' section under the page's own
// lines, which stay as they are; while the network part runs the button
// cannot be pressed again, and it can once the results are in.
TEST_F(ApplyConfigurationTest, TheCheckButtonAddsTheSectionWhenTheBackgroundWorkIsDone) {
  const testing_support::AnsweringServer server(false, "");
  const std::string address = "127.0.0.1," + std::to_string(server.Port());
  WizardWindow& w = Start(0, 2);
  w.ComboBoxServer.text = address;
  w.Dispatch([&] { w.CheckBoxWindows.SetChecked(false); });
  w.ComboBoxBaza.text = "DB";
  Press(w.ButtonWykonaj);
  const Lines statusLines = Report();
  EXPECT_TRUE(w.ButtonSprawdz.enabled);

  Press(w.ButtonSprawdz);
  EXPECT_FALSE(w.ButtonSprawdz.enabled);
  Press(w.ButtonSprawdz);
  EXPECT_EQ(ui.background.size(), 1u);
  EXPECT_EQ(Report(), statusLines);

  w.Dispatch([this] { ui.FinishBackground(); });
  EXPECT_TRUE(w.ButtonSprawdz.enabled);
  Lines expected = statusLines;
  for (const std::string& line :
       {std::string(), std::string(" Sprawdzenie połączeń:"),
        std::string("  [BŁĄD] Źródło danych ODBC \"MSSQL Novera LM\": brak pliku sterownika "
                    "\"C:\\Windows\\system32\\sqlncli.dll\""),
        "  [OK] Serwer \"" + address + "\": port " + std::to_string(server.Port()) +
            " przyjmuje połączenia (adres 127.0.0.1)",
        std::string("  [POMINIĘTO] Baza \"DB\": logowania nie sprawdzono, bo hasło użytkownika serwera MSSQL nie "
                    "jest znane")}) {
    expected.push_back(line);
  }
  for (const char* alias : {"Ochrona", "LM", "LM- Faktury", "LM- Magistr", "LM- Odbiorcy", "LM- Odczyty",
                            "LM- Archiwum", "LM- Liczniki"}) {
    expected.push_back(std::string("  [OK] Alias BDE \"X Novera- ") + alias +
                       "\": odczytany z konfiguracji BDE, sterownik \"SQL Native Client\", wartości zgodne z "
                       "zapisanymi");
  }
  expected.push_back("");
  EXPECT_EQ(Report(), expected);
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_EQ(w.PageControl2.ActiveIndex(), 1);
}

// The aliases are read back as the run wrote them: one changed since
// fails its check.
TEST_F(ApplyConfigurationTest, TheCheckReadsTheAliasesBackAsWritten) {
  WizardWindow& w = Start(0, 1);
  w.ComboBoxBaza.text = "DB";
  Press(w.ButtonWykonaj);
  Lines params = {"DATABASE NAME=INNA"};
  engine->UpdateAlias("X Novera- LM- Magistr", bde::ParameterList(params));
  Press(w.ButtonSprawdz);
  w.Dispatch([this] { ui.FinishBackground(); });
  const Lines& report = Report();
  EXPECT_NE(std::find(report.begin(), report.end(),
                      "  [BŁĄD] Alias BDE \"X Novera- LM- Magistr\": wartości inne niż zapisane: DATABASE NAME "
                      "\"INNA\" zamiast \"DB\""),
            report.end());
  EXPECT_EQ(report.back(), "");
}

TEST_F(ApplyConfigurationTest, VersionsBeforeElevenHaveNoArchiveAlias) {
  for (const auto& [version, prefix] : {std::pair{0, "II "}, std::pair{1, "X "}}) {
    SCOPED_TRACE(version);
    Restart();
    std::filesystem::remove(ConfigPath());
    Restart();
    WizardWindow& w = Start(0, version);
    w.ComboBoxBazaArchiwum.text = "ARCH";
    Press(w.ButtonWykonaj);
    Lines names;
    for (const std::string& module : kModules) names.push_back(prefix + std::string("Novera- ") + module);
    names.push_back(prefix + std::string("Novera- LM- Liczniki"));
    EXPECT_EQ(engine->ListAliases(), names);
  }
}

TEST_F(ApplyConfigurationTest, ArchiveAndMetersDatabasesAndTheValueInForce) {
  struct Case {
    const char* archive;
    const char* meters;
    const char* archiveAlias;
    const char* metersAlias;
  };
  const Case cases[] = {
      {"", "", "DB", "DB"},
      {"ARCH", "", "ARCH", "ARCH"},  // the archive database stays in force
      {"", "LICZ", "DB", "LICZ"},
      {"ARCH", "LICZ", "ARCH", "LICZ"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.archive) + "/" + c.meters);
    Restart();
    std::filesystem::remove(ConfigPath());
    Restart();
    WizardWindow& w = Start(0, 2);
    w.ComboBoxBaza.text = "DB";
    w.ComboBoxBazaArchiwum.text = c.archive;
    w.ComboBoxBazaLiczniki.text = c.meters;
    Press(w.ButtonWykonaj);
    EXPECT_EQ(Param("X Novera- LM- Odczyty", "DATABASE NAME"), "DB");
    EXPECT_EQ(Param("X Novera- LM- Archiwum", "DATABASE NAME"), c.archiveAlias);
    EXPECT_EQ(Param("X Novera- LM- Liczniki", "DATABASE NAME"), c.metersAlias);
  }
}

TEST_F(ApplyConfigurationTest, SqlServerLoginUsesNoveraAndASecondRunModifies) {
  WizardWindow& w = Start(0, 1);
  w.Dispatch([&] { w.CheckBoxWindows.SetChecked(false); });
  w.ComboBoxBaza.text = "DB";
  Press(w.ButtonWykonaj);
  EXPECT_EQ(Report()[4], "  Logowanie poprzez użytkownika serwera MSSQL.");
  for (const std::string& module : kModules) EXPECT_EQ(Param("X Novera- " + module, "USER NAME"), "novera");

  Restart();
  WizardWindow& again = Start(0, 1);
  again.ComboBoxBaza.text = "DB";
  Press(again.ButtonWykonaj);
  EXPECT_EQ(Report()[2], " Zmodyfikowano źródło danych ODBC \"MSSQL Novera LM\".");
  EXPECT_EQ(Report().back(), "  Zmodyfikowano alias \"X Novera- LM- Liczniki\".");
  // The login was taken over from the data source the first run wrote.
  EXPECT_EQ(Report()[4], "  Logowanie poprzez użytkownika serwera MSSQL.");
}

TEST_F(ApplyConfigurationTest, AnAliasOfAnotherDriverStopsTheRunBeforeTheSave) {
  engine->SetConfigurationMode(bde::ConfigurationMode::Persistent);
  engine->CreateAlias("x novera- lm", "SQL Native Client", {});  // other letter case: modified
  engine->CreateAlias("X Novera- LM- Magistr", "ORACLE", {});
  engine->SaveConfiguration();
  const Lines before = platform::ReadTextLines(ConfigPath());
  Restart();

  WizardWindow& w = Start(0, 2);
  Press(w.ButtonWykonaj);
  EXPECT_EQ(ui.errors, Lines{"Alias BDE \"X Novera- LM- Magistr\" istnieje i jest innego typu."});
  EXPECT_EQ(w.PageControl2.ActiveIndex(), 0);
  EXPECT_EQ(w.CurrentPage(), 5);
  const Lines tail(Report().end() - 4, Report().end());
  EXPECT_EQ(tail, (Lines{" Zmodyfikowano konfigurację BDE.", "  Utworzono alias \"X Novera- Ochrona\".",
                         "  Zmodyfikowano alias \"X Novera- LM\".", "  Utworzono alias \"X Novera- LM- Faktury\"."}));
  EXPECT_EQ(platform::ReadTextLines(ConfigPath()), before);
}

TEST_F(ApplyConfigurationTest, MissingDriverEndsTheRunWithItsMessage) {
  registry.DeleteKey(platform::RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBCINST.INI");
  WizardWindow& w = Start(0, 2);
  Press(w.ButtonWykonaj);
  // A text ending in a double quote gets no full stop.
  EXPECT_EQ(ui.errors, Lines{"Brak sterownika ODBC \"SQL Native Client\""});
  EXPECT_EQ(w.CurrentPage(), 5);
  EXPECT_FALSE(std::filesystem::exists(ConfigPath()));
  EXPECT_TRUE(engine->ListAliases().empty());
}

// A client file that cannot be written ends "Wykonaj" with the file's
// error: the old files stay, no alias is written and nothing is saved.
TEST_F(ApplyConfigurationTest, AClientFileThatCannotBeWrittenEndsTheRunBeforeTheAliases) {
  const std::string home = folder.Path().string();
  const std::string network = home + "\\NETWORK\\ADMIN\\";
  registry.LoadRegText("[HKEY_LOCAL_MACHINE\\SOFTWARE\\ORACLE\\KEY_Client]\n\"ORACLE_HOME_NAME\"=\"Client\"\n"
                       "\"ORACLE_HOME\"=\"" + home + "\"\n");
  const Lines sqlnet = {"SQLNET.AUTHENTICATION_SERVICES=(NONE)"};
  platform::WriteTextLines(network + "sqlnet.ora", sqlnet);
  WizardWindow& w = Start(1, 2, [&](WizardWindow& page) { page.Dispatch([&] { page.DBEdit2.UserSetText("db"); }); });
  {
    platform::ScopedWriteFaultForTesting armed(platform::WriteFault::CreateTemporary);
    Press(w.ButtonWykonaj);
  }
  EXPECT_EQ(ui.errors, Lines{"Nie można utworzyć pliku \"" + network + "sqlnet.ora\". " + std::strerror(EACCES) + "."});
  EXPECT_EQ(w.CurrentPage(), 6);
  EXPECT_EQ(platform::ReadTextLines(network + "sqlnet.ora"), sqlnet);
  EXPECT_FALSE(platform::FileExists(network + "tnsnames.ora"));
  EXPECT_FALSE(std::filesystem::exists(ConfigPath()));
  EXPECT_TRUE(engine->ListAliases().empty());
}

// With TNS_ADMIN set in the home's key, the page offers and edits what the
// client reads there: the entry of an included file, found under the name
// the default domain completes; the home's own files are not touched.
TEST_F(ApplyConfigurationTest, TheFilesTheClientReadsAreEditedAndTheHomesOwnAreNot) {
  const std::string home = folder.Path().string() + "/home";
  const std::string own = home + "\\NETWORK\\ADMIN\\tnsnames.ora";
  const std::string network = folder.Path().string() + "/central/";
  std::filesystem::create_directory(network);
  registry.LoadRegText("[HKEY_LOCAL_MACHINE\\SOFTWARE\\ORACLE\\KEY_Client]\n\"ORACLE_HOME_NAME\"=\"Client\"\n"
                       "\"ORACLE_HOME\"=\"" + home + "\"\n\"TNS_ADMIN\"=\"" + network + "\"\n");
  platform::WriteTextLines(own, {"LM.FIRMA.PL = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = domowy)))"});
  platform::WriteTextLines(network + "sqlnet.ora", {"NAMES.DEFAULT_DOMAIN = firma.pl"});
  platform::WriteTextLines(network + "tnsnames.ora", {"IFILE = wspolny.ora"});
  platform::WriteTextLines(network + "wspolny.ora", {"LM.FIRMA.PL = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)"
                                                     "(HOST = stary)(PORT = 1521))(CONNECT_DATA = (SERVICE_NAME = LM)))",
                                                     "LM = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = martwy)))"});
  WizardWindow& w = Start(1, 2, [&](WizardWindow& page) {
    EXPECT_EQ(page.ComboBoxOracleServer.Items(), Lines{"LM.FIRMA.PL"});
    page.Dispatch([&] { page.ComboBoxOracleServer.UserSetText("LM"); });
    EXPECT_EQ(page.DBEdit2.text, "stary");
    page.Dispatch([&] { page.DBEdit2.UserSetText("nowy"); });
  });
  Press(w.ButtonWykonaj);
  ASSERT_TRUE(ui.errors.empty()) << ui.errors.front();
  ASSERT_GT(Report().size(), 6u);
  EXPECT_EQ(Report()[6], "     \"" + network + "wspolny.ora\"");
  const Lines shared = platform::ReadTextLines(network + "wspolny.ora");
  ASSERT_EQ(shared.size(), 10u);
  EXPECT_EQ(shared.back(), "  )");
  EXPECT_EQ(shared[4], "      (ADDRESS = (PROTOCOL = TCP)(HOST = nowy)(PORT = 1521))");
  EXPECT_EQ(platform::ReadTextLines(network + "tnsnames.ora"), Lines{"IFILE = wspolny.ora"});
  EXPECT_EQ(platform::ReadTextLines(own).front().find("domowy") != std::string::npos, true);
  EXPECT_FALSE(platform::FileExists(home + "\\NETWORK\\ADMIN\\sqlnet.ora"));
  EXPECT_EQ(Param("X Novera- LM", "SERVER NAME"), "LM");
}

// The Oracle home's folder as the registry names it; the client files lie
// in its NETWORK\ADMIN folder, joined with backslashes as on Windows.
TEST_F(ApplyConfigurationTest, OracleWritesTheClientFilesAndTheSchemaUsers) {
  struct Case {
    bool editEntry;
    const char* meters;
    const char* metersAlias;
  };
  const Lines tnsnames = {"# wspólny plik", "LM.SERWER = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = stary)"
                          "(PORT = 1521))(CONNECT_DATA = (SERVICE_NAME = LM)))", "", "INNY = (DESCRIPTION = "
                          "(ADDRESS = (PROTOCOL = TCP)(HOST = inny)(PORT = 1522))(CONNECT_DATA = (SID = X)))"};
  for (const Case& c : {Case{false, "", "NOVERA_LM"}, Case{true, "LICZ", "LICZ"}}) {
    SCOPED_TRACE(c.editEntry);
    const std::string home = (folder.Path() / (c.editEntry ? "edited" : "plain")).string();
    const std::string network = home + "\\NETWORK\\ADMIN\\";
    registry.LoadRegText("[HKEY_LOCAL_MACHINE\\SOFTWARE\\ORACLE\\KEY_Client]\n\"ORACLE_HOME_NAME\"=\"Client\"\n"
                         "\"ORACLE_HOME\"=\"" + home + "\"\n");
    platform::WriteTextLines(network + "tnsnames.ora", tnsnames);
    Restart();
    std::filesystem::remove(ConfigPath());
    Restart();
    WizardWindow& w = Start(1, 2, [&](WizardWindow& page) {
      page.Dispatch([&] { page.ComboBoxOracleServer.UserSetText("LM.SERWER"); });
      if (c.editEntry) page.Dispatch([&] { page.DBEdit2.UserSetText("db.example.pl"); });
    });
    w.ComboBoxUserLiczniki.text = c.meters;
    Press(w.ButtonWykonaj);
    ASSERT_TRUE(ui.errors.empty()) << ui.errors.front();

    EXPECT_EQ(platform::ReadTextLines(network + "sqlnet.ora"),
              (Lines{"SQLNET.AUTHENTICATION_SERVICES=(NTS)", "NAMES.DIRECTORY_PATH=(TNSNAMES)"}));
    Lines written = tnsnames;
    if (c.editEntry) {
      written.erase(written.begin() + 1);
      for (const char* line : {"LM.SERWER =", "  (DESCRIPTION =", "    (ADDRESS_LIST =",
                               "      (ADDRESS = (PROTOCOL = TCP)(HOST = db.example.pl)(PORT = 1521))", "    )",
                               "    (CONNECT_DATA =", "      (SERVICE_NAME = LM)", "    )", "  )"}) {
        written.push_back(line);
      }
    }
    EXPECT_EQ(platform::ReadTextLines(network + "tnsnames.ora"), written);
    Lines head = {"Konfiguracja została utworzona!", "", "  Utworzono plik", "     \"" + network + "sqlnet.ora\"", ""};
    if (c.editEntry) {
      for (const std::string& line : {std::string("  Zmodyfikowano plik"), "     \"" + network + "tnsnames.ora\"",
                                      std::string()}) {
        head.push_back(line);
      }
    }
    head.push_back(" Zmodyfikowano konfigurację BDE.");
    EXPECT_EQ(Lines(Report().begin(), Report().begin() + static_cast<long>(head.size())), head);
    EXPECT_EQ(Param("X Novera- Ochrona", "USER NAME"), "NOVERA_OCHRONA");
    EXPECT_EQ(Param("X Novera- LM- Archiwum", "USER NAME"), "NOVERA_LM");
    EXPECT_EQ(Param("X Novera- LM- Liczniki", "USER NAME"), c.metersAlias);
    EXPECT_EQ(Param("X Novera- LM- Faktury", "SERVER NAME"), "LM.SERWER");
    EXPECT_EQ(engine->AliasDriver("X Novera- LM"), "ORACLE");
    registry.DeleteKey(platform::RegistryRoot::LocalMachine, "\\SOFTWARE\\ORACLE");
  }
}

// The step on its own, as the unattended run uses it, on a workstation
// whose Oracle home is the folder.
struct OracleStep {
  explicit OracleStep(const testing_support::TempFolder& folder)
      : config((folder.Path() / "bde.cfg").string()), engine(registry, config), status(report) {
    answers.server = ServerKind::Oracle;
    answers.oracleHomeFolder = folder.Path().string();
  }
  void Run() { ApplyConfiguration(registry, engine).Run(answers, status); }

  platform::MemoryRegistry registry;
  std::string config;
  bde::Engine engine;
  Lines report;
  bde::StatusReport status;
  Answers answers;
};

// The step saves without
// anyone switching the engine's mode, and writes the service entry only
// when a value of it is given, keeping the values not given.
TEST(ApplyConfigurationStepTest, TheEntryTakesOnlyTheValuesGivenAndTheRunSaves) {
  struct Case {
    const char* service;
    ServiceEntryValues given;
    const char* written;  // the address line written, or nothing when the file stays
  };
  const Case cases[] = {
      {"INNY", {}, nullptr},
      {"inny", {std::nullopt, "nowy", std::nullopt, std::nullopt},
       "      (ADDRESS = (PROTOCOL = TCP)(HOST = nowy)(PORT = 1522))"},
      {"NOWY", {std::nullopt, "h", "1600", std::nullopt}, "      (ADDRESS = (PROTOCOL = TCP)(HOST = h)(PORT = 1600))"},
  };
  const Lines tnsnames = {"INNY = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = inny)(PORT = 1522))"
                          "(CONNECT_DATA = (SERVICE_NAME = I)))"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.service);
    testing_support::TempFolder folder;
    const std::string network = folder.Path().string() + "\\NETWORK\\ADMIN\\";
    platform::WriteTextLines(network + "tnsnames.ora", tnsnames);
    OracleStep step(folder);
    step.answers.version = SuiteVersion::V9;
    step.answers.testCopy = true;
    step.answers.oracleService = c.service;
    step.answers.serviceEntry = c.given;
    step.Run();

    Lines file = platform::ReadTextLines(network + "tnsnames.ora");
    if (c.written == nullptr) {
      EXPECT_EQ(file, tnsnames);
    } else {
      // The old entry gives way; another one stays in front.
      ASSERT_GE(file.size(), 9u);
      EXPECT_EQ(Lines(file.begin(), file.end() - 9), std::string(c.service) == "NOWY" ? tnsnames : Lines{});
      file.erase(file.begin(), file.end() - 9);
      EXPECT_EQ(file[0], std::string(c.service) + " =");
      EXPECT_EQ(file[3], c.written);
      EXPECT_EQ(file[6], std::string("      (SERVICE_NAME = ") + (c.given.port ? "XE" : "I") + ")");
    }
    bde::Engine again(step.registry, step.config);
    EXPECT_EQ(again.ListAliases().size(), 7u);
    EXPECT_EQ(again.ReadAliasParameters("Kopia Novera- LM").Value("SERVER NAME"), c.service);
  }
}

// An entry left as it is must be one the client finds: a name that the
// default domain completes to one no file holds is refused before anything
// is written.
TEST(ApplyConfigurationStepTest, ANameTheClientWouldNotFindIsRefusedBeforeAnythingIsWritten) {
  testing_support::TempFolder folder;
  const std::string network = folder.Path().string() + "\\NETWORK\\ADMIN\\";
  const Lines sqlnet = {"NAMES.DEFAULT_DOMAIN = world"};
  platform::WriteTextLines(network + "sqlnet.ora", sqlnet);
  platform::WriteTextLines(network + "tnsnames.ora", {"XE = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = h)))"});
  OracleStep step(folder);
  step.answers.oracleService = "XE";
  EXPECT_TRUE(testing_support::ErrorOf([&] { step.Run(); }).starts_with("Klient Oracle nie odnajdzie serwisu \"XE\""));
  EXPECT_EQ(platform::ReadTextLines(network + "sqlnet.ora"), sqlnet);
  EXPECT_TRUE(bde::Engine(step.registry, step.config).ListAliases().empty());
}

}  // namespace
}  // namespace app
