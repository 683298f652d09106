// The database list against a real server: PostgreSQL, reached through
// unixODBC with psqlODBC registered as the "SQL Native Client" driver, and
// a view "sysdatabases" standing in for SQL Server's. Run by
// with_postgres.sh, which starts the server and names it in the environment.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/WizardWindow.h"
#include "bde/Drivers.h"
#include "bde/Engine.h"
#include "bde/Session.h"
#include "mssql/OdbcApi.h"
#include "mssql/OdbcConnectionDriver.h"
#include "mssql/ServerDiscovery.h"
#include "platform/ServerNetwork.h"
#include "platform/UiServices.h"
#include "tests/ErrorOf.h"
#include "tests/FakeUi.h"
#include "tests/TempFolder.h"
#include "tests/platform/MemoryRegistry.h"

namespace {

using Lines = std::vector<std::string>;
using platform::RegistryRoot;

using testing_support::FakeUi;

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

// Everything the server holds apart from the system databases, which the
// server also has (master holds the view) but the statement filters out.
const Lines kUserDatabases = {"Księgowość", "lumira", "postgres", "template0", "template1"};

class DatabaseListIntegrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server = Environment("KONFIGNOVERA_TEST_SERVER");
    const std::string driverPath = Environment("KONFIGNOVERA_TEST_ODBC_DRIVER");
    ASSERT_FALSE(server.empty() || driverPath.empty()) << "run through tests/mssql/with_postgres.sh";
    registry.SetValue(RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBCINST.INI\\ODBC Drivers", "SQL Native Client",
                      {platform::MemoryRegistry::ValueType::String, "Installed", 0});
    registry.SetValue(RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBCINST.INI\\SQL Native Client", "Driver",
                      {platform::MemoryRegistry::ValueType::String, driverPath, 0});
    session.RegisterDriver(std::string(bde::kSqlNativeClientDriver),
                           std::make_unique<mssql::OdbcConnectionDriver>(registry, mssql::odbc::kDriverManagerLibrary));
    window.emplace(registry, session, engine, ui, (folder.Path() / "KonfigNovera").string());
    window->ComboBoxServer.text = server;
  }

  // Opens the list as the user does, through the top-level handler.
  Lines Open(app::ComboBox& field, bool windowsLogin) {
    window->CheckBoxWindows.SetChecked(windowsLogin);
    window->Dispatch([&field] { field.DropDown(); });
    EXPECT_TRUE(ui.errors.empty());
    EXPECT_EQ(ui.busyDepth, 0);
    EXPECT_FALSE(TemporaryDataSourceLeft());
    return field.Items();
  }

  bool TemporaryDataSourceLeft() {
    auto list = registry.OpenKey(RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources",
                                 platform::kKeyRead, false);
    return (list && list->ValueExists("TmpNoveraMSSQLDataSource")) ||
           registry.KeyExists(RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBC.INI\\TmpNoveraMSSQLDataSource");
  }

  std::string server;
  testing_support::TempFolder folder;
  platform::MemoryRegistry registry;
  bde::Engine engine{registry, (folder.Path() / "bde.cfg").string()};
  bde::Session session;
  FakeUi ui;
  std::optional<app::WizardWindow> window;
};

TEST_F(DatabaseListIntegrationTest, SqlServerLoginListsTheUserDatabasesOfEachField) {
  EXPECT_EQ(Open(window->ComboBoxBaza, false), kUserDatabases);
  EXPECT_EQ(Open(window->ComboBoxBazaLiczniki, false), kUserDatabases);
  EXPECT_TRUE(window->ComboBoxBazaArchiwum.Items().empty());
  // Opening again refills rather than adds.
  EXPECT_EQ(Open(window->ComboBoxBaza, false), kUserDatabases);
}

TEST_F(DatabaseListIntegrationTest, WindowsLoginSendsDboWithThePasswordAnEarlierListingLeft) {
  // The role dbo has the fixed password: only the password left by the SQL
  // Server login lets it in.
  EXPECT_TRUE(Open(window->ComboBoxBaza, true).empty());
  EXPECT_EQ(Open(window->ComboBoxBaza, false), kUserDatabases);
  EXPECT_EQ(Open(window->ComboBoxBaza, true), kUserDatabases);
  EXPECT_EQ(window->Database2.Params().Value("USER NAME"), "dbo");
}

TEST_F(DatabaseListIntegrationTest, WrongPasswordEmptiesTheListWithoutAMessage) {
  EXPECT_EQ(Open(window->ComboBoxBaza, false), kUserDatabases);
  window->Database2.Params().Set("password", "wrong");
  EXPECT_TRUE(Open(window->ComboBoxBaza, true).empty());
  EXPECT_EQ(window->ComboBoxBaza.text, "");
}

TEST_F(DatabaseListIntegrationTest, TheDriverReportsTheServersOwnMessage) {
  registry.SetValue(RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBC.INI\\Kadry", "Driver",
                    {platform::MemoryRegistry::ValueType::String, Environment("KONFIGNOVERA_TEST_ODBC_DRIVER"), 0});
  registry.SetValue(RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBC.INI\\Kadry", "Server",
                    {platform::MemoryRegistry::ValueType::String, server, 0});
  mssql::OdbcConnectionDriver driver(registry, mssql::odbc::kDriverManagerLibrary);
  const bde::ParameterList login({"ODBC DSN=Kadry", "USER NAME=novera", "PASSWORD=wrong", "DATABASE NAME=master"});
  EXPECT_NE(testing_support::ErrorOf([&] { driver.Connect(login); }).find("password authentication failed"),
            std::string::npos);

  // A data source neither the driver manager nor the registry knows.
  const bde::ParameterList unknown({"ODBC DSN=Nieznane", "USER NAME=novera"});
  EXPECT_NE(testing_support::ErrorOf([&] { driver.Connect(unknown); }).find("Data source name not found"),
            std::string::npos);
}

// The driver manager knows no "SQL Native Client" driver to browse with.
TEST_F(DatabaseListIntegrationTest, BrowsingWithoutTheDriverLeavesTheServerList) {
  const std::unique_ptr<platform::ServerNetwork> network = platform::CreateSystemServerNetwork();
  Lines servers = {"ALFA"};
  mssql::ServerDiscovery(mssql::odbc::kDriverManagerLibrary, *network).ListServersByBrowse(servers);
  EXPECT_EQ(servers, Lines{"ALFA"});
}

// A listener on a loopback port: the system accepts connections for it
// (the backlog), and it never answers a word.
class SilentServer {
 public:
  SilentServer() {
    socket_ = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof(address);
    if (socket_ < 0 || ::bind(socket_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        ::listen(socket_, 8) != 0 || ::getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      return;
    }
    port_ = ntohs(address.sin_port);
  }
  ~SilentServer() {
    if (socket_ >= 0) ::close(socket_);
  }
  SilentServer(const SilentServer&) = delete;
  SilentServer& operator=(const SilentServer&) = delete;

  int Port() const { return port_; }

 private:
  int socket_ = -1;
  int port_ = 0;
};

// A server that takes the connection and never answers holds the window
// for the login timeout, not for as long as the driver would wait.
TEST_F(DatabaseListIntegrationTest, ASilentServerIsGivenUpAfterTheLoginTimeout) {
  const SilentServer silent;
  ASSERT_NE(silent.Port(), 0);
  window->ComboBoxServer.text = "127.0.0.1:" + std::to_string(silent.Port());
  const auto start = std::chrono::steady_clock::now();
  EXPECT_TRUE(Open(window->ComboBoxBaza, false).empty());
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::cout << "silent server given up after " << seconds << " s\n";
  RecordProperty("seconds", std::to_string(seconds));
  EXPECT_GE(seconds, mssql::OdbcConnectionDriver::kLoginTimeoutSeconds - 1.0);
  EXPECT_LT(seconds, mssql::OdbcConnectionDriver::kLoginTimeoutSeconds + 5.0);
}

TEST_F(DatabaseListIntegrationTest, ServerStoppedLeavesTheListEmptyWithoutAMessage) {
  window->ComboBoxBaza.AddItem("stara");
  EXPECT_TRUE(Open(window->ComboBoxBaza, false).empty());
}

}  // namespace
