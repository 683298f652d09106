// The SQL Server pages of the wizard: the data source list, the pre-sets
// from an earlier run, and the database lists through a stand-in server.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/WizardWindow.h"
#include "bde/Drivers.h"
#include "bde/Engine.h"
#include "bde/Session.h"
#include "platform/Error.h"
#include "platform/UiServices.h"
#include "tests/FakeUi.h"
#include "tests/TempFolder.h"
#include "tests/platform/MemoryRegistry.h"

namespace app {
namespace {

using Lines = std::vector<std::string>;
using platform::RegistryRoot;

using testing_support::FakeUi;

constexpr char kTmpKey[] = "\\SOFTWARE\\ODBC\\ODBC.INI\\TmpNoveraMSSQLDataSource";

// A server that answers the database list with its rows, or fails after
// some of them; it records each login and what the registry held then.
struct FakeServer {
  platform::MemoryRegistry* registry = nullptr;
  Lines rows;
  size_t failAfter = SIZE_MAX;
  bool refuse = false;
  std::vector<bde::ParameterList> logins;
  Lines dataSourceAtLogin;
  Lines statements;
};

class FakeCursor : public bde::Cursor {
 public:
  explicit FakeCursor(FakeServer& server) : server_(server) {}
  bool Fetch() override {
    if (++row_ > server_.failAfter) throw platform::Error("connection lost");
    return row_ <= server_.rows.size();
  }
  std::string Field(std::string_view name) const override {
    if (name != "name") throw platform::Error("no field");
    return server_.rows[row_ - 1];
  }

 private:
  FakeServer& server_;
  size_t row_ = 0;
};

class FakeConnection : public bde::Connection {
 public:
  explicit FakeConnection(FakeServer& server) : server_(server) {}
  std::unique_ptr<bde::Cursor> Execute(const std::string& sql) override {
    server_.statements.push_back(sql);
    return std::make_unique<FakeCursor>(server_);
  }

 private:
  FakeServer& server_;
};

class FakeDriver : public bde::ConnectionDriver {
 public:
  explicit FakeDriver(FakeServer& server) : server_(server) {}
  std::unique_ptr<bde::Connection> Connect(const bde::ParameterList& params) override {
    server_.logins.push_back(params);
    auto key = server_.registry->OpenKey(RegistryRoot::LocalMachine, kTmpKey, platform::kKeyRead, false);
    server_.dataSourceAtLogin.clear();
    for (const std::string& name : key ? key->ValueNames() : Lines{}) {
      server_.dataSourceAtLogin.push_back(name + "=" + key->ReadString(name));
    }
    if (server_.refuse) throw platform::Error("Login failed for user");
    return std::make_unique<FakeConnection>(server_);
  }

 private:
  FakeServer& server_;
};

class MssqlPagesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server.registry = &registry;
    session.RegisterDriver(std::string(bde::kSqlNativeClientDriver), std::make_unique<FakeDriver>(server));
  }

  WizardWindow& Start() {
    window.emplace(registry, session, engine, ui, (folder.Path() / "KonfigNovera").string());
    window->Dispatch([this] { window->FormShow(); });
    return *window;
  }
  void Press(Button& button) {
    window->Dispatch([&button] { button.Click(); });
  }
  void Open(ComboBox& field) {
    window->Dispatch([&field] { field.DropDown(); });
  }
  void RegisterDriver() {
    registry.LoadRegText(R"(
[HKEY_LOCAL_MACHINE\SOFTWARE\ODBC\ODBCINST.INI\ODBC Drivers]
"SQL Native Client"="Installed"
[HKEY_LOCAL_MACHINE\SOFTWARE\ODBC\ODBCINST.INI\SQL Native Client]
"Driver"="sqlncli.dll"
)");
  }
  bool TemporaryDataSourceLeft() {
    auto list = registry.OpenKey(RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources",
                                 platform::kKeyRead, false);
    return (list && list->ValueExists("TmpNoveraMSSQLDataSource")) || registry.KeyExists(RegistryRoot::LocalMachine, kTmpKey);
  }
  void Alias(const std::string& name, const Lines& params) {
    engine.CreateAlias(name, std::string(bde::kSqlNativeClientDriver), bde::ParameterList(params));
  }

  testing_support::TempFolder folder;
  platform::MemoryRegistry registry;
  bde::Engine engine{registry, (folder.Path() / "bde.cfg").string()};
  bde::Session session;
  FakeServer server;
  FakeUi ui;
  std::optional<WizardWindow> window;
};

TEST_F(MssqlPagesTest, DataSourcePageListsOurDriversSourcesOnEveryVisit) {
  WizardWindow& w = Start();
  Press(w.ButtonDalej);
  EXPECT_TRUE(w.ComboBoxNazwaZrodla.Items().empty());  // no list key at all
  EXPECT_EQ(w.ComboBoxNazwaZrodla.text, "MSSQL Novera LM");

  // Values that are not text name no data source and are passed over.
  registry.LoadRegText(R"(
[HKEY_LOCAL_MACHINE\SOFTWARE\ODBC\ODBC.INI\ODBC Data Sources]
"Zeta"="SQL Native Client"
"Obca"="SQL Server"
"Mala"="sql native client"
"Liczba"=dword:00000001
"Bajty"=hex:53,51,4c
"Alfa"="SQL Native Client"
)");
  Press(w.ButtonWstecz);
  Press(w.ButtonDalej);
  EXPECT_EQ(w.ComboBoxNazwaZrodla.Items(), (Lines{"Alfa", "Zeta"}));
  EXPECT_EQ(w.ComboBoxNazwaZrodla.text, "MSSQL Novera LM");
  EXPECT_TRUE(ui.errors.empty());
}

TEST_F(MssqlPagesTest, FirstVisitPresetsFromTheAliasesOfAnEarlierRunOnce) {
  Alias("x novera- lm", {"ODBC DSN=Kadry", "DATABASE NAME=NOVERA"});
  Alias("X Novera- LM- Liczniki", {"DATABASE NAME=LICZNIKI"});
  Alias("X Novera- LM- Archiwum", {"DATABASE NAME=ARCHIWUM"});
  Alias("II Novera- LM", {"ODBC DSN=Stara", "DATABASE NAME=STARA"});
  WizardWindow& w = Start();
  Press(w.ButtonDalej);
  EXPECT_EQ(w.ComboBoxNazwaZrodla.text, "Kadry");
  EXPECT_EQ(w.ComboBoxBaza.text, "NOVERA");
  EXPECT_EQ(w.ComboBoxBazaLiczniki.text, "LICZNIKI");
  EXPECT_EQ(w.ComboBoxBazaArchiwum.text, "ARCHIWUM");

  // Another version later changes the prefix, but the pre-set is done.
  w.ComboBoxNazwaZrodla.UserSetText("Moje");
  Press(w.ButtonWstecz);
  w.Dispatch([&] { w.RadioGroupWersja.SetItemIndex(0); });
  Press(w.ButtonDalej);
  EXPECT_EQ(w.ComboBoxNazwaZrodla.text, "Moje");
  EXPECT_EQ(w.ComboBoxBaza.text, "NOVERA");
}

TEST_F(MssqlPagesTest, EmptyOrMissingAliasParametersLeaveTheFields) {
  Alias("X Novera- LM", {"DATABASE NAME=NOVERA"});
  Alias("X Novera- LM- Liczniki", {});
  WizardWindow& w = Start();
  w.ComboBoxBazaLiczniki.text = "typed";
  Press(w.ButtonDalej);
  EXPECT_EQ(w.ComboBoxNazwaZrodla.text, "MSSQL Novera LM");
  EXPECT_EQ(w.ComboBoxBaza.text, "NOVERA");
  EXPECT_EQ(w.ComboBoxBazaLiczniki.text, "typed");
  EXPECT_EQ(w.ComboBoxBazaArchiwum.text, "");
}

TEST_F(MssqlPagesTest, ServerPagePresetsFromTheChosenDataSourceOnce) {
  struct Case {
    std::string reg;  // values of the data source "Kadry"
    std::string server;
    bool windowsLogin;
  };
  const Case cases[] = {
      {"\"Server\"=\"ALFA\\\\SQLEXPRESS\"\n\"Trusted_Connection\"=\"No\"", "ALFA\\SQLEXPRESS", false},
      {"\"Trusted_Connection\"=\"yEs\"", "typed", true},
      {"\"Server\"=\"\"\n\"Trusted_Connection\"=\"Nie\"", "", false},
      {"\"Server\"=\"BETA\"", "BETA", true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.reg);
    registry.DeleteKey(RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBC.INI\\Kadry");
    registry.LoadRegText("[HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\Kadry]\n" + c.reg);
    WizardWindow& w = Start();
    Press(w.ButtonDalej);
    w.ComboBoxNazwaZrodla.UserSetText("Kadry");
    w.ComboBoxServer.text = "typed";
    Press(w.ButtonDalej);
    EXPECT_EQ(w.ComboBoxServer.text, c.server);
    EXPECT_EQ(w.CheckBoxWindows.Checked(), c.windowsLogin);

    // Only once: back, another data source, forth again.
    w.ComboBoxServer.text = "kept";
    Press(w.ButtonWstecz);
    Press(w.ButtonDalej);
    EXPECT_EQ(w.ComboBoxServer.text, "kept");
  }
  // A data source without a key leaves the page's defaults.
  WizardWindow& w = Start();
  Press(w.ButtonDalej);
  Press(w.ButtonDalej);
  EXPECT_EQ(w.ComboBoxServer.text, "");
  EXPECT_TRUE(w.CheckBoxWindows.Checked());
  EXPECT_TRUE(ui.errors.empty());
}

TEST_F(MssqlPagesTest, DatabaseListLogsInThroughTheTemporaryDataSource) {
  RegisterDriver();
  server.rows = {"NOVERA", "archiwum", "Liczniki"};
  WizardWindow& w = Start();
  w.ComboBoxServer.text = "ALFA\\SQLEXPRESS";
  w.CheckBoxWindows.SetChecked(false);
  w.ComboBoxBaza.text = "typed";
  Open(w.ComboBoxBaza);
  EXPECT_EQ(w.ComboBoxBaza.Items(), (Lines{"archiwum", "Liczniki", "NOVERA"}));
  EXPECT_EQ(w.ComboBoxBaza.text, "typed");
  EXPECT_TRUE(w.ComboBoxBazaLiczniki.Items().empty());
  EXPECT_EQ(server.dataSourceAtLogin,
            (Lines{"Driver=sqlncli.dll", "Server=ALFA\\SQLEXPRESS", "Trusted_Connection=No"}));
  EXPECT_EQ(server.statements,
            Lines{"select cast(NAME as varchar(128)) NAME\n from sysdatabases where NAME not in ('master', 'msdb', "
                  "'model', 'tempdb', 'resource', 'distribution')\n"});
  const Lines& sqlLogin = server.logins.at(0).Lines();
  EXPECT_EQ(sqlLogin[0], "DATABASE NAME=master");
  EXPECT_EQ(sqlLogin[1], "USER NAME=novera");
  EXPECT_EQ(sqlLogin[2], "ODBC DSN=TmpNoveraMSSQLDataSource");
  EXPECT_EQ(sqlLogin.back(), "password=p.f.j. tevrol");  // the PASSWORD line, renamed in place
  EXPECT_EQ(sqlLogin.size(), 18u);

  // A Windows login keeps the password the SQL Server login left.
  w.CheckBoxWindows.SetChecked(true);
  Open(w.ComboBoxBazaLiczniki);
  EXPECT_EQ(w.ComboBoxBazaLiczniki.Items().size(), 3u);
  EXPECT_EQ(server.logins.at(1).Value("USER NAME"), "dbo");
  EXPECT_EQ(server.logins.at(1).Value("PASSWORD"), "p.f.j. tevrol");
  EXPECT_EQ(server.dataSourceAtLogin.back(), "Trusted_Connection=Yes");

  EXPECT_FALSE(TemporaryDataSourceLeft());
  EXPECT_FALSE(w.Database2.Connected());
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(MssqlPagesTest, AFailingServerKeepsWhatWasReadAndSaysNothing) {
  server.rows = {"B", "A", "C"};
  server.failAfter = 2;
  WizardWindow& w = Start();
  // Without the driver registered no connection is tried.
  w.ComboBoxBaza.AddItem("stara");
  Open(w.ComboBoxBaza);
  EXPECT_TRUE(w.ComboBoxBaza.Items().empty());
  EXPECT_TRUE(server.logins.empty());

  RegisterDriver();
  Open(w.ComboBoxBaza);
  EXPECT_EQ(w.ComboBoxBaza.Items(), (Lines{"A", "B"}));

  server.refuse = true;
  Open(w.ComboBoxBaza);
  EXPECT_TRUE(w.ComboBoxBaza.Items().empty());
  EXPECT_TRUE(ui.errors.empty());
  EXPECT_FALSE(TemporaryDataSourceLeft());
  EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(MssqlPagesTest, ARegistryFailureIsShownAndTheTemporaryEntryStillRemoved) {
  RegisterDriver();
  // The data source key exists and refuses writing: neither the key nor
  // the list entry is written.
  registry.LoadRegText("[HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\TmpNoveraMSSQLDataSource]\n\"Server\"=\"x\"");
  ASSERT_TRUE(registry.DenyWrites(RegistryRoot::LocalMachine, kTmpKey));
  WizardWindow& w = Start();
  w.ComboBoxBaza.AddItem("stara");
  Open(w.ComboBoxBaza);
  ASSERT_EQ(ui.errors.size(), 1u);
  EXPECT_EQ(ui.errors[0],
            "Nie można otworzyć klucza rejestru \"HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\TmpNoveraMSSQLDataSource\"");
  EXPECT_TRUE(w.ComboBoxBaza.Items().empty());
  EXPECT_TRUE(server.logins.empty());
  auto list = registry.OpenKey(RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources",
                               platform::kKeyRead, false);
  EXPECT_FALSE(list->ValueExists("TmpNoveraMSSQLDataSource"));
  EXPECT_EQ(ui.busyDepth, 0);
}

TEST_F(MssqlPagesTest, ServerListWithoutAnyDiscoveryKeepsItsEntriesAndText) {
  WizardWindow& w = Start();
  w.ComboBoxServer.SetItems({"ALFA"});
  w.ComboBoxServer.text = "typed";
  for (bool browse : {true, false}) {
    w.CheckBoxDMO.SetChecked(browse);
    Open(w.ComboBoxServer);
    EXPECT_EQ(w.ComboBoxServer.Items(), Lines{"ALFA"});
    EXPECT_EQ(w.ComboBoxServer.text, "typed");
  }
  EXPECT_EQ(ui.busyDepth, 0);
  EXPECT_TRUE(ui.errors.empty());
}

}  // namespace
}  // namespace app
