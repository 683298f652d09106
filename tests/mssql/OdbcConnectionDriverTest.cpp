#include "mssql/OdbcConnectionDriver.h"

#include <gtest/gtest.h>

#include <string>

#include "platform/MemoryRegistry.h"
#include "tests/ErrorOf.h"

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

}  // namespace
}  // namespace mssql
