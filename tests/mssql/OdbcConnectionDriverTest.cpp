#include "mssql/OdbcConnectionDriver.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "platform/DynamicLibrary.h"

#include "tests/ErrorOf.h"
#include "tests/platform/MemoryRegistry.h"

namespace mssql {
namespace {

TEST(OdbcConnectionDriverTest, ConnectionStringServesSqlServerAndPsqlOdbcDrivers) {
  struct Case {
    RegisteredDataSource source;
    const char* user;
    const char* password;
    const char* database;
    const char* text;
  };
  const Case cases[] = {
      {{"/usr/lib/odbc/psqlodbcw.so", "127.0.0.1:5432", "No"}, "novera", "p.f.j. tevrol", "master",
       "DRIVER=/usr/lib/odbc/psqlodbcw.so;SERVER=127.0.0.1;PORT=5432;Trusted_Connection=No;UID=novera;"
       "PWD={p.f.j. tevrol};DATABASE=master"},
      {{"C:\\Windows\\system32\\sqlncli.dll", "ALFA\\SQLEXPRESS", "Yes"}, "dbo", "", "Kadry",
       "DRIVER=C:\\Windows\\system32\\sqlncli.dll;SERVER=ALFA\\SQLEXPRESS;Trusted_Connection=Yes;UID=dbo;"
       "DATABASE=Kadry"},
      {{"C:\\Program Files\\sqlncli.dll", "ALFA,1433", ""}, "", "a;b}c", "",
       "DRIVER={C:\\Program Files\\sqlncli.dll};SERVER=ALFA,1433;PWD={a;b}}c}"},
      {{"d.so", "host:", ""}, "", "", "", "DRIVER=d.so;SERVER=host:"},
      // An IPv6 address is never cut at a colon of its own.
      {{"d.so", "::1", ""}, "", "", "", "DRIVER=d.so;SERVER=::1"},
      {{"d.so", "[::1]:5432", ""}, "", "", "", "DRIVER=d.so;SERVER=::1;PORT=5432"},
      {{"d.so", "[fe80::1]", ""}, "", "", "", "DRIVER=d.so;SERVER=fe80::1"},
      {{"d.so", "[::1]x", ""}, "", "", "", "DRIVER=d.so;SERVER=[::1]x"},
      {{"d.so", "", ""}, "", "", "", "DRIVER=d.so;SERVER={}"},
  };
  for (const Case& c : cases) EXPECT_EQ(ConnectionString(c.source, c.user, c.password, c.database), c.text);
}

TEST(OdbcConnectionDriverTest, OnlyARegisteredDataSourceWithADriverIsResolved) {
  platform::MemoryRegistry registry;
  registry.LoadRegText(R"(
[HKEY_LOCAL_MACHINE\SOFTWARE\ODBC\ODBC.INI\Kadry]
"Driver"="sqlncli.dll"
"Server"="ALFA"
[HKEY_LOCAL_MACHINE\SOFTWARE\ODBC\ODBC.INI\Bez sterownika]
"Server"="ALFA"
[HKEY_LOCAL_MACHINE\SOFTWARE\ODBC\ODBC.INI\A\B]
"Driver"="inny.dll"
)");
  const auto kadry = ReadRegisteredDataSource(registry, "kadry");
  ASSERT_TRUE(kadry.has_value());
  EXPECT_EQ(kadry->driverPath, "sqlncli.dll");
  EXPECT_EQ(kadry->server, "ALFA");
  EXPECT_EQ(kadry->trustedConnection, "");
  for (const char* name : {"Bez sterownika", "Nie ma", "A\\B", ""}) {
    EXPECT_FALSE(ReadRegisteredDataSource(registry, name).has_value()) << name;
  }
}

TEST(OdbcConnectionDriverTest, MissingDriverManagerIsAnError) {
  platform::MemoryRegistry registry;
  OdbcConnectionDriver driver(registry, "konfignovera-no-such-odbc-library");
  EXPECT_EQ(testing_support::ErrorOf([&] { driver.Connect(bde::ParameterList({"ODBC DSN=Kadry"})); }),
            "Nie można załadować biblioteki ODBC \"konfignovera-no-such-odbc-library\"");
}

// Connections through the stand-in driver manager, which records the calls.
class FakeConnectionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    library = platform::DynamicLibrary::Load(KONFIGNOVERA_FAKE_ODBC);
    ASSERT_TRUE(library.has_value());
    registry.LoadRegText(R"(
[HKEY_LOCAL_MACHINE\SOFTWARE\ODBC\ODBC.INI\Kadry]
"Driver"="C:\\sqlncli.dll"
"Server"="ALFA"
)");
  }
  void TearDown() override { EXPECT_EQ(library->Function<int()>("FakeOdbcLiveHandles")(), 0); }

  void Answer(int16_t connect, const char16_t* state, int16_t getData = 0, const char16_t* value = u"") {
    library->Function<void(int16_t, const char16_t*, int16_t, const char16_t*)>("FakeOdbcSetUpConnection")(
        connect, state, getData, value);
  }
  std::string Calls() { return library->Function<const char*()>("FakeOdbcCalls")(); }

  std::optional<platform::DynamicLibrary> library;
  platform::MemoryRegistry registry;
};

// Only a driver manager that does not read the registry's data sources is
// given the data source as a connection string.
TEST_F(FakeConnectionTest, AnUnknownDataSourceIsRebuiltOnlyWhereTheDriverManagerIsNotWindows) {
  const std::string timeout = "SetConnectAttr(103=10) ";
  Answer(-1, u"IM002");
  OdbcConnectionDriver(registry, KONFIGNOVERA_FAKE_ODBC, false).Connect(bde::ParameterList({"ODBC DSN=Kadry"}));
  EXPECT_EQ(Calls(), timeout + "Connect(Kadry) DriverConnect(DRIVER=C:\\sqlncli.dll;SERVER=ALFA) Disconnect ");

  Answer(-1, u"IM002");
  OdbcConnectionDriver windows(registry, KONFIGNOVERA_FAKE_ODBC, true);
  EXPECT_EQ(testing_support::ErrorOf([&] { windows.Connect(bde::ParameterList({"ODBC DSN=Kadry"})); }), "x");
  EXPECT_EQ(Calls(), timeout + "Connect(Kadry) ");

  // Any other failure is the driver's own answer everywhere.
  Answer(-1, u"08001");
  OdbcConnectionDriver other(registry, KONFIGNOVERA_FAKE_ODBC, false);
  EXPECT_EQ(testing_support::ErrorOf([&] { other.Connect(bde::ParameterList({"ODBC DSN=Kadry"})); }), "x");
  EXPECT_EQ(Calls(), timeout + "Connect(Kadry) ");
}

// A value that comes whole with a warning that is not a truncation is read
// at the length the driver gives, not at the buffer's.
TEST_F(FakeConnectionTest, AValueIsReadAtTheLengthTheDriverReports) {
  for (const int16_t result : {0, 1}) {
    Answer(0, u"", result, u"Kadry");
    auto connection = OdbcConnectionDriver(registry, KONFIGNOVERA_FAKE_ODBC).Connect(
        bde::ParameterList({"ODBC DSN=Kadry"}));
    auto cursor = connection->Execute("select name from sysdatabases");
    ASSERT_TRUE(cursor->Fetch());
    EXPECT_EQ(cursor->Field("NAME"), "Kadry") << result;
    EXPECT_FALSE(cursor->Fetch());
  }
}

}  // namespace
}  // namespace mssql
