#include <gtest/gtest.h>

#include <chrono>
#include <fstream>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "mssql/OdbcConnectionDriver.h"
#include "mssql/SqlServerChecks.h"
#include "platform/DynamicLibrary.h"
#include "platform/Text.h"
#include "tests/LoopbackServers.h"
#include "tests/MappedPortProbe.h"
#include "tests/TempFolder.h"
#include "tests/platform/MemoryRegistry.h"

namespace mssql {
namespace {

using namespace std::chrono_literals;
using bde::CheckResult;
using bde::CheckStatus;
using testing_support::AnsweringServer;

// Short enough to keep the silent cases quick.
bde::CheckTimeouts ShortTimeouts() { return {300ms, 1s, 2s}; }

class SqlServerChecksTest : public ::testing::Test {
 protected:
  SqlServerChecksTest() { Seed(); }

  // The data source "Kadry" as the wizard writes it, with the driver's
  // file on disk.
  void Seed() {
    std::ofstream(driverFile_) << "driver";
    registry_ = std::make_unique<platform::MemoryRegistry>();
    registry_->LoadRegText(R"(
[HKEY_LOCAL_MACHINE\SOFTWARE\ODBC\ODBCINST.INI\ODBC Drivers]
"SQL Native Client"="Installed"
[HKEY_LOCAL_MACHINE\SOFTWARE\ODBC\ODBC.INI\ODBC Data Sources]
"Kadry"="SQL Native Client"
[HKEY_LOCAL_MACHINE\SOFTWARE\ODBC\ODBC.INI\Kadry]
"Server"="db1\\SQL2"
"Trusted_Connection"="Yes"
)");
    SetValue("\\SOFTWARE\\ODBC\\ODBCINST.INI\\SQL Native Client", "Driver", driverFile_);
    SetValue("\\SOFTWARE\\ODBC\\ODBC.INI\\Kadry", "Driver", driverFile_);
  }

  void SetValue(const std::string& key, const std::string& name, const std::string& value) {
    registry_->SetValue(platform::RegistryRoot::LocalMachine, key, name,
                        {platform::MemoryRegistry::ValueType::String, value, 0});
  }

  // The server check alone, run as a set of one.
  CheckResult Server(const std::string& server, std::map<uint16_t, uint16_t> ports = {}) {
    SqlServerChecks checks(*registry_, std::make_shared<testing_support::MappedPortProbe>(std::move(ports)));
    checks.timeouts = ShortTimeouts();
    return bde::RunChecks({checks.ServerCheck(server)}, checks.timeouts.budget).front();
  }

  testing_support::TempFolder temp_;
  std::string driverFile_ = (temp_.Path() / "sqlncli.dll").string();
  std::unique_ptr<platform::MemoryRegistry> registry_;
  SqlServerSetup setup_{"Kadry", "db1\\SQL2", true, {"Kadry"}};
};

TEST_F(SqlServerChecksTest, TheDataSourceIsCheckedFromItsKeyToTheDriverFile) {
  struct Case {
    const char* what;
    std::function<void()> change;
    CheckResult expected;
  };
  const std::string ok = "Źródło danych ODBC \"Kadry\": ";
  const Case cases[] = {
      {"as written",
       [] {},
       {CheckStatus::Ok, ok + "zarejestrowane ze sterownikiem \"SQL Native Client\" (plik \"" + driverFile_ + "\")"}},
      {"no key",
       [&] { registry_->DeleteKey(platform::RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBC.INI\\Kadry"); },
       {CheckStatus::Failed,
        ok +
            "brak klucza rejestru \"HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\Kadry\" (32-bitowy widok rejestru)"}},
      {"not listed",
       [&] {
         registry_
             ->OpenKey(platform::RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources",
                       platform::kKeyAllAccess, false)
             ->DeleteValue("Kadry");
       },
       {CheckStatus::Failed, ok + "brak go na liście \"ODBC Data Sources\""}},
      {"listed for another driver",
       [&] { SetValue("\\SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources", "Kadry", "SQL Server"); },
       {CheckStatus::Failed,
        ok + "lista \"ODBC Data Sources\" podaje sterownik \"SQL Server\" zamiast \"SQL Native Client\""}},
      {"driver not installed",
       [&] { SetValue("\\SOFTWARE\\ODBC\\ODBCINST.INI\\ODBC Drivers", "SQL Native Client", "Removed"); },
       {CheckStatus::Failed, ok + "sterownik ODBC \"SQL Native Client\" nie jest zarejestrowany jako zainstalowany"}},
      {"driver without its file",
       [&] {
         registry_->DeleteKey(platform::RegistryRoot::LocalMachine,
                              "\\SOFTWARE\\ODBC\\ODBCINST.INI\\SQL Native Client");
       },
       {CheckStatus::Failed, ok + "rejestracja sterownika \"SQL Native Client\" nie podaje jego pliku"}},
      {"driver file gone",
       [&] { std::filesystem::remove(driverFile_); },
       {CheckStatus::Failed, ok + "brak pliku sterownika \"" + driverFile_ + "\""}},
      {"another server",
       [&] { SetValue("\\SOFTWARE\\ODBC\\ODBC.INI\\Kadry", "Server", "db2"); },
       {CheckStatus::Failed, ok + "wskazuje serwer \"db2\" zamiast \"db1\\SQL2\""}},
      {"another login",
       [&] { SetValue("\\SOFTWARE\\ODBC\\ODBC.INI\\Kadry", "Trusted_Connection", "No"); },
       {CheckStatus::Failed, ok + "zapisane logowanie \"No\" nie odpowiada wybranemu (Windows)"}},
      {"a value of another type",
       [&] {
         registry_->SetValue(platform::RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBC.INI\\Kadry", "Server",
                             {platform::MemoryRegistry::ValueType::Integer, "", 1});
       },
       {CheckStatus::Failed, ok + "Niepoprawny typ danych : Server"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // Each case changes a registry and a file of its own.
    Seed();
    c.change();
    SqlServerChecks checks(*registry_, platform::CreateSystemNetworkProbe());
    EXPECT_EQ(checks.CheckDataSource(setup_), c.expected);
  }
  SqlServerChecks checks(*registry_, platform::CreateSystemNetworkProbe());
  EXPECT_EQ(checks.CheckDataSource({"A;B", "db1", true, {}}),
            (CheckResult{CheckStatus::Failed, "Źródło danych ODBC \"A;B\": nazwa zawiera niedozwolony znak \";\""}));
  EXPECT_EQ(checks.CheckDataSource({"", "db1", true, {}}),
            (CheckResult{CheckStatus::Failed, "Źródło danych ODBC \"\": Nazwa źródła danych ODBC nie może być pusta"}));
}

TEST_F(SqlServerChecksTest, ABareHostIsReachedOnPort1433AndAWrittenPortAsWritten) {
  const AnsweringServer server(false, "");
  const uint16_t closed = testing_support::ClosedPort(false);
  const std::string port = std::to_string(server.Port());
  EXPECT_EQ(Server("127.0.0.1", {{1433, server.Port()}}),
            (CheckResult{CheckStatus::Ok, "Serwer \"127.0.0.1\": port 1433 przyjmuje połączenia (adres 127.0.0.1)"}));
  EXPECT_EQ(Server("tcp:127.0.0.1," + port),
            (CheckResult{CheckStatus::Ok, "Serwer \"tcp:127.0.0.1," + port + "\": port " + port +
                                              " przyjmuje połączenia (adres 127.0.0.1)"}));
  EXPECT_EQ(Server("127.0.0.1", {{1433, closed}}),
            (CheckResult{CheckStatus::Failed, "Serwer \"127.0.0.1\": port " + std::to_string(closed) +
                                                  " odrzuca połączenie (nic na nim nie nasłuchuje)"}));
}

TEST_F(SqlServerChecksTest, ANamedInstanceIsReachedOnThePortTheBrowserGives) {
  const AnsweringServer instance(false, "");
  const std::string port = std::to_string(instance.Port());
  const std::string data = "ServerName;DB1;InstanceName;SQL2;IsClustered;No;Version;10.0.1600.22;tcp;" + port + ";;";
  const AnsweringServer browser(true, std::string(1, '\x05') + static_cast<char>(data.size()) + '\0' + data);
  EXPECT_EQ(Server("127.0.0.1\\SQL2", {{1434, browser.Port()}}),
            (CheckResult{CheckStatus::Ok, "Serwer \"127.0.0.1\\SQL2\": SQL Server Browser podał port " + port +
                                              ", port przyjmuje połączenia (adres 127.0.0.1)"}));
  EXPECT_EQ(browser.Requests(), std::vector<std::string>{std::string("\x04SQL2\0", 6)});
  // With a port written, the Browser is not asked.
  EXPECT_EQ(Server("127.0.0.1\\SQL2," + port, {{1434, browser.Port()}}).status, CheckStatus::Ok);
  EXPECT_EQ(browser.Requests().size(), 1u);
}

TEST_F(SqlServerChecksTest, ABrowserThatIsSilentOrAnswersOtherwiseFailsTheServer) {
  const testing_support::SilentUdpServer silent;
  const AnsweringServer noTcp(true, std::string("\x05\x1B\x00", 3) + "InstanceName;SQL2;np;\\\\x;;");
  const AnsweringServer other(true, "HTTP/1.1 400 Bad Request");
  struct Case {
    uint16_t browser;
    std::string detail;
  };
  const std::string server = "Serwer \"127.0.0.1\\SQL2\": ";
  const Case cases[] = {
      {silent.Port(), server + "SQL Server Browser (port UDP 1434) nie odpowiedział w ciągu 0,3 s; usługa nie "
                               "działa, port blokuje zapora albo nie ma instancji \"SQL2\""},
      {noTcp.Port(), server + "instancja \"SQL2\" nie przyjmuje połączeń TCP (SQL Server Browser nie podał portu TCP)"},
      {other.Port(), server + "na porcie UDP 1434 odpowiada coś innego niż SQL Server Browser"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Server("127.0.0.1\\SQL2", {{1434, c.browser}}), (CheckResult{CheckStatus::Failed, c.detail}));
  }
}

TEST_F(SqlServerChecksTest, ServersThatAreNotReachedOverTcpAreSkippedAndBadNamesFail) {
  EXPECT_EQ(Server("(local)"), (CheckResult{CheckStatus::Skipped,
                                            "Serwer \"(local)\": serwer tego komputera, łączony przez pamięć "
                                            "współdzieloną; sieci nie sprawdzano"}));
  EXPECT_EQ(Server("np:db1"), (CheckResult{CheckStatus::Skipped,
                                           "Serwer \"np:db1\": połączenie protokołem \"np\"; "
                                           "sprawdzane są tylko połączenia TCP"}));
  EXPECT_EQ(Server("db1,port"), (CheckResult{CheckStatus::Failed,
                                             "Serwer \"db1,port\": nazwa serwera nie ma postaci komputer, "
                                             "komputer\\instancja ani komputer,port"}));
  EXPECT_EQ(Server("db1\\" + std::string(33, 'I')),
            (CheckResult{CheckStatus::Failed,
                         "Serwer \"db1\\" + std::string(33, 'I') + "\": nazwa instancji jest dłuższa niż 32 bajty"}));
  // The longest name is asked of the Browser (here one that is closed).
  EXPECT_EQ(
      Server("127.0.0.1\\" + std::string(32, 'I'), {{1434, testing_support::ClosedPort(true)}}).detail.find("32 bajty"),
      std::string::npos);
}

// Logins through the stand-in driver manager, which records its calls.
class SqlServerLoginTest : public SqlServerChecksTest {
 protected:
  void SetUp() override {
    library_ = platform::DynamicLibrary::Load(KONFIGNOVERA_FAKE_ODBC);
    ASSERT_TRUE(library_.has_value());
    library_->Function<void(int16_t, const char16_t*, int16_t, const char16_t*)>("FakeOdbcSetUpConnection")(0, u"", 0,
                                                                                                            u"");
  }
  std::string Calls() { return library_->Function<const char*()>("FakeOdbcCalls")(); }

  std::optional<platform::DynamicLibrary> library_;
};

TEST_F(SqlServerLoginTest, EachDistinctDatabaseIsLoggedIntoThroughTheDataSourceWithTheTimeoutSet) {
  SqlServerChecks checks(*registry_, platform::CreateSystemNetworkProbe(), KONFIGNOVERA_FAKE_ODBC, true);
  setup_.databases = {"Kadry 2024", "", "KADRY 2024"};
  const std::vector<bde::Check> made = checks.Make(setup_);
  ASSERT_EQ(made.size(), 3u);
  const std::vector<CheckResult> expected = {
      {CheckStatus::Ok, "Baza \"Kadry 2024\": logowanie użytkownikiem Windows przez źródło danych \"Kadry\" udane"}};
  EXPECT_EQ(bde::RunChecks({made[2]}, 5s), expected);
  EXPECT_EQ(Calls(),
            "SetConnectAttr(103=5) DriverConnect(DSN=Kadry;DATABASE={Kadry 2024};Trusted_Connection=Yes) "
            "Disconnect ");
  EXPECT_EQ(library_->Function<int()>("FakeOdbcLiveHandles")(), 0);
}

// A driver manager with its own list of data sources is given the data
// source's values instead of its name.
TEST_F(SqlServerLoginTest, ADriverManagerWithoutTheRegistryIsGivenTheDataSourceValues) {
  SqlServerChecks checks(*registry_, platform::CreateSystemNetworkProbe(), KONFIGNOVERA_FAKE_ODBC, false);
  EXPECT_EQ(bde::RunChecks({checks.LoginCheck(setup_, "Kadry", LoadApi(KONFIGNOVERA_FAKE_ODBC))}, 5s).front().status,
            CheckStatus::Ok);
  EXPECT_EQ(Calls(), "SetConnectAttr(103=5) DriverConnect(DRIVER=" + driverFile_ +
                         ";SERVER=db1\\SQL2;Trusted_Connection=Yes;DATABASE=Kadry) Disconnect ");
  setup_.dataSource = "Nieznane";
  EXPECT_EQ(
      checks.LoginCheck(setup_, "Kadry", LoadApi(KONFIGNOVERA_FAKE_ODBC)).Result(),
      (CheckResult{CheckStatus::Failed, "Baza \"Kadry\": logowanie niemożliwe, brak źródła danych \"Nieznane\""}));
}

TEST_F(SqlServerLoginTest, ASqlServerLoginIsSkippedAndAMissingDriverManagerFailsEachDatabase) {
  setup_.windowsLogin = false;
  setup_.databases = {"Kadry", "Liczniki"};
  SqlServerChecks fake(*registry_, platform::CreateSystemNetworkProbe(), KONFIGNOVERA_FAKE_ODBC, true);
  const std::vector<bde::Check> skipped = fake.Make(setup_);
  ASSERT_EQ(skipped.size(), 4u);
  EXPECT_EQ(skipped[3].Result(),
            (CheckResult{CheckStatus::Skipped,
                         "Baza \"Liczniki\": logowania nie sprawdzono, bo hasło użytkownika serwera MSSQL nie jest "
                         "znane"}));
  EXPECT_FALSE(skipped[3].WorkToDo());
  EXPECT_EQ(Calls(), "");

  setup_.windowsLogin = true;
  SqlServerChecks missing(*registry_, platform::CreateSystemNetworkProbe(), "konfignovera-no-such-odbc-library");
  const std::vector<bde::Check> failed = missing.Make(setup_);
  ASSERT_EQ(failed.size(), 4u);
  EXPECT_EQ(failed[2].Result(),
            (CheckResult{CheckStatus::Failed,
                         "Baza \"Kadry\": Nie można załadować biblioteki ODBC \"konfignovera-no-such-odbc-library\""}));
}

}  // namespace
}  // namespace mssql
