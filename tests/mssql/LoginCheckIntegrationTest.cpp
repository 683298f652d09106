// The login check against a real server: PostgreSQL through unixODBC and
// psqlODBC, as with the database list. A Windows login sends no user name:
// the role "windows_user", which with_postgres.sh lets in without a
// password, stands for the Windows account, named by PGUSER as the
// driver's default user.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "bde/ConnectionCheck.h"
#include "mssql/SqlServerChecks.h"
#include "platform/NetworkProbe.h"
#include "tests/LoopbackServers.h"
#include "tests/platform/MemoryRegistry.h"

namespace {

using namespace std::chrono_literals;
using bde::CheckResult;
using bde::CheckStatus;

std::string Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? value : "";
}

class LoginCheckIntegrationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    server_ = Environment("KONFIGNOVERA_TEST_SERVER");
    ASSERT_FALSE(server_.empty()) << "run through tests/mssql/with_postgres.sh";
    ::setenv("PGUSER", "windows_user", 1);
    UseServer(server_);
  }

  void UseServer(const std::string& server) {
    const std::string source = "\\SOFTWARE\\ODBC\\ODBC.INI\\Kadry";
    for (const auto& [name, value] :
         {std::pair<std::string, std::string>{"Driver", Environment("KONFIGNOVERA_TEST_ODBC_DRIVER")},
          {"Server", server},
          {"Trusted_Connection", "Yes"}}) {
      registry_.SetValue(platform::RegistryRoot::LocalMachine, source, name,
                         {platform::MemoryRegistry::ValueType::String, value, 0});
    }
  }

  std::vector<CheckResult> Logins(const std::vector<std::string>& databases, bde::CheckTimeouts timeouts = {}) {
    mssql::SqlServerChecks checks(registry_, platform::CreateSystemNetworkProbe());
    checks.timeouts = timeouts;
    std::vector<bde::Check> made = checks.Make({"Kadry", server_, true, databases});
    // The data source and the server are checked elsewhere.
    made.erase(made.begin(), made.begin() + 2);
    return bde::RunChecks(made, timeouts.budget);
  }

  std::string server_;
  platform::MemoryRegistry registry_;
};

TEST_F(LoginCheckIntegrationTest, AWindowsLoginReachesEachDatabaseThroughTheDataSource) {
  const std::vector<CheckResult> expected = {
      {CheckStatus::Ok, "Baza \"lumira\": logowanie użytkownikiem Windows przez źródło danych \"Kadry\" udane"},
      {CheckStatus::Ok, "Baza \"Księgowość\": logowanie użytkownikiem Windows przez źródło danych \"Kadry\" udane"},
  };
  EXPECT_EQ(Logins({"lumira", "Księgowość", "LUMIRA"}), expected);
}

TEST_F(LoginCheckIntegrationTest, ADatabaseThatIsNotThereFailsWithTheServersMessage) {
  const std::vector<CheckResult> results = Logins({"brak"});
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0].status, CheckStatus::Failed);
  EXPECT_TRUE(results[0].detail.starts_with("Baza \"brak\": logowanie nieudane: ")) << results[0].detail;
  EXPECT_NE(results[0].detail.find("database \"brak\" does not exist"), std::string::npos) << results[0].detail;
}

// A server that takes the connection and never answers fails the login
// when its timeout is up.
TEST_F(LoginCheckIntegrationTest, ASilentServerFailsTheLogin) {
  const testing_support::SilentTcpServer silent;
  ASSERT_NE(silent.Port(), 0);
  UseServer("127.0.0.1:" + std::to_string(silent.Port()));
  const std::vector<CheckResult> results = Logins({"lumira"}, {3000ms, 1s, 5000ms});
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0].status, CheckStatus::Failed);
  EXPECT_TRUE(results[0].detail.starts_with("Baza \"lumira\": logowanie nieudane: ")) << results[0].detail;
}

TEST_F(LoginCheckIntegrationTest, ServerStoppedFailsTheLoginWithTheDriversMessage) {
  const std::vector<CheckResult> results = Logins({"lumira"});
  ASSERT_EQ(results.size(), 1u);
  EXPECT_EQ(results[0].status, CheckStatus::Failed);
  EXPECT_TRUE(results[0].detail.starts_with("Baza \"lumira\": logowanie nieudane: ")) << results[0].detail;
  EXPECT_NE(results[0].detail.find("SQLSTATE"), std::string::npos) << results[0].detail;
}

}  // namespace
