#include "oracle/OciDriver.h"

#include <gtest/gtest.h>

#include <optional>

#include "bde/Session.h"
#include "bde/Templates.h"
#include "oracle/SchemaUsers.h"
#include "platform/DynamicLibrary.h"
#include "tests/ErrorOf.h"

namespace oracle {
namespace {

using testing_support::ErrorOf;

// FAKE_OCI_LIBRARY: the stand-in for the Oracle client library built with
// the tests (tests/oracle/FakeOci.cpp).
class OciDriverTest : public ::testing::Test {
 protected:
  void SetUp() override {
    fake = platform::DynamicLibrary::Load(FAKE_OCI_LIBRARY);
    ASSERT_TRUE(fake.has_value());
    liveHandles = fake->Function<int()>("FakeOciLiveHandles");
    ASSERT_NE(liveHandles, nullptr);
    ASSERT_EQ(liveHandles(), 0);
  }
  void TearDown() override { EXPECT_EQ(liveHandles(), 0) << "handles left unreleased"; }

  bde::ParameterList Login(const std::string& service, const std::string& user, const std::string& password) {
    bde::ParameterList params = bde::DatabaseOracleParameters();
    params.Set("SERVER NAME", service);
    params.Set("USER NAME", user);
    params.Set("password", password);
    return params;
  }

  std::optional<platform::DynamicLibrary> fake;
  int (*liveHandles)() = nullptr;
  OciConnectionDriver driver{FAKE_OCI_LIBRARY};
};

TEST_F(OciDriverTest, ReadsEveryRowByColumnNameWithNullsAsEmpty) {
  auto connection = driver.Connect(Login("XE.SERWER", "sysnovera", "brevandol"));
  auto cursor = connection->Execute("select USERNAME, ACCOUNT_STATUS from DBA_USERS\n/* comment */");
  std::vector<std::string> rows;
  while (cursor->Fetch()) rows.push_back(cursor->Field("username") + "|" + cursor->Field("ACCOUNT_STATUS"));
  EXPECT_EQ(rows, (std::vector<std::string>{"SYS|OPEN", "SYSTEM|OPEN", "NOVERA_LM|"}));
  EXPECT_EQ(cursor->Field("NO_SUCH_COLUMN"), "");
}

TEST_F(OciDriverTest, FailuresCarryTheClientsMessageAndReleaseEverything) {
  struct Case {
    const char* service;
    const char* password;
    const char* sql;
    const char* message;
  };
  const Case cases[] = {
      {"NOSUCH", "brevandol", "select USERNAME from DBA_USERS",
       "ORA-12154: TNS:could not resolve the connect identifier specified"},
      {"XE", "wrong", "select USERNAME from DBA_USERS", "ORA-01017: invalid username/password; logon denied"},
      {"XE", "brevandol", "select * from NO_SUCH_VIEW", "ORA-00942: table or view does not exist"},
      {"XE", "brevandol", "select USERNAME from DBA_USERS FETCH_FAILS",
       "ORA-03113: end-of-file on communication channel"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    EXPECT_EQ(ErrorOf([&] {
                auto connection = driver.Connect(Login(c.service, "sysnovera", c.password));
                auto cursor = connection->Execute(c.sql);
                while (cursor->Fetch()) {
                }
              }),
              c.message);
    EXPECT_EQ(liveHandles(), 0);
  }
}

TEST_F(OciDriverTest, MissingLibraryIsAnError) {
  OciConnectionDriver missing("konfignovera-no-such-oci-library");
  EXPECT_EQ(ErrorOf([&] { missing.Connect(Login("XE", "sysnovera", "brevandol")); }),
            "Nie można załadować biblioteki klienta Oracle \"konfignovera-no-such-oci-library\"");
}

TEST_F(OciDriverTest, SchemaUsersComeThroughTheEngineOrNotAtAll) {
  bde::Session session;
  session.RegisterDriver("ORACLE", std::make_unique<OciConnectionDriver>(FAKE_OCI_LIBRARY));
  bde::Database database(std::string(bde::kOracleDatabaseName), "ORACLE", bde::DatabaseOracleParameters());
  session.RegisterDatabase(database);
  using Users = std::vector<std::string>;
  std::vector<Users> shown;
  const auto show = [&](const Users& users) { shown.push_back(users); };
  {
    bde::Query query(session, std::string(bde::kOracleDatabaseName), SchemaUserQueryLines());
    PrepareSchemaUserQuery(database, "XE.SERWER");
    FetchSchemaUsers(query, show);
    EXPECT_EQ(shown, (std::vector<Users>{{"SYS", "SYSTEM", "NOVERA_LM"}}));
    EXPECT_FALSE(database.Connected());
    // The fixed password is appended once and stays.
    EXPECT_EQ(database.Params().Lines().back(), "password=brevandol");
    PrepareSchemaUserQuery(database, "NOSUCH");
    FetchSchemaUsers(query, show);
    EXPECT_EQ(shown.size(), 1u);
    EXPECT_EQ(database.Params().Value("SERVER NAME"), "NOSUCH");
    EXPECT_EQ(database.Params().Lines().back(), "password=brevandol");
  }
  {
    // A connection lost in the middle of the list: the rows read before it
    // are still shown, and the error reaches the user.
    bde::Query query(session, std::string(bde::kOracleDatabaseName), {"select USERNAME from DBA_USERS FETCH_FAILS"});
    PrepareSchemaUserQuery(database, "XE");
    EXPECT_EQ(ErrorOf([&] { FetchSchemaUsers(query, show); }), "ORA-03113: end-of-file on communication channel");
    EXPECT_EQ(shown.back(), Users{"SYS"});
    EXPECT_FALSE(database.Connected());
  }
  session.UnregisterDatabase(database);
}

}  // namespace
}  // namespace oracle
