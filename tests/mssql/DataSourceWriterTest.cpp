#include "mssql/DataSourceWriter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "bde/StatusReport.h"
#include "tests/ErrorOf.h"
#include "tests/RegisteredDriver.h"
#include "tests/platform/MemoryRegistry.h"

namespace mssql {
namespace {

using Lines = std::vector<std::string>;
using platform::RegistryRoot;
using testing_support::ErrorOf;

using testing_support::kRegisteredDriver;

class DataSourceWriterTest : public ::testing::Test {
 protected:
  // The values of a key as "name=value" lines, in the order written.
  Lines Values(const std::string& path) {
    auto key = registry.OpenKey(RegistryRoot::LocalMachine, path, platform::kKeyRead, false);
    if (!key) return {"(no key)"};
    Lines values;
    for (const std::string& name : key->ValueNames()) values.push_back(name + "=" + key->ReadString(name));
    return values;
  }
  Lines DataSource(const std::string& name) { return Values("\\SOFTWARE\\ODBC\\ODBC.INI\\" + name); }
  Lines List() { return Values("\\SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources"); }

  platform::MemoryRegistry registry;
  Lines lines;
  bde::StatusReport report{lines};
  DataSourceWriter writer{registry};
};

TEST_F(DataSourceWriterTest, ConfigureCreatesThenModifiesAndReportsEach) {
  registry.LoadRegText(kRegisteredDriver);
  writer.ConfigureDataSource("MSSQL Novera LM", "ALFA\\SQLEXPRESS", true, report);
  EXPECT_EQ(List(), Lines{"MSSQL Novera LM=SQL Native Client"});
  EXPECT_EQ(DataSource("MSSQL Novera LM"),
            (Lines{"Driver=C:\\Windows\\system32\\sqlncli.dll", "MARS_Connection=Yes", "Server=ALFA\\SQLEXPRESS",
                   "Trusted_Connection=Yes"}));
  EXPECT_EQ(lines, (Lines{" Utworzono źródło danych ODBC \"MSSQL Novera LM\".",
                          "  Instancja serwera MSSQL: \"ALFA\\SQLEXPRESS\".",
                          "  Logowanie poprzez użytkownika Windows.", ""}));

  lines.clear();
  writer.ConfigureDataSource("mssql novera lm", " BETA ", false, report);
  EXPECT_EQ(DataSource("MSSQL Novera LM"), (Lines{"Driver=C:\\Windows\\system32\\sqlncli.dll", "MARS_Connection=Yes",
                                                  "Server= BETA ", "Trusted_Connection=No"}));
  EXPECT_EQ(lines, (Lines{" Zmodyfikowano źródło danych ODBC \"mssql novera lm\".",
                          "  Instancja serwera MSSQL: \" BETA \".", "  Logowanie poprzez użytkownika serwera MSSQL.",
                          ""}));
}

TEST_F(DataSourceWriterTest, DriverChecksFailBeforeAnythingIsWritten) {
  struct Case {
    const char* what;
    const char* reg;
    std::string message;
  };
  const Case cases[] = {
      {"no driver list", "", std::string(kNoDriverMessage)},
      {"not in the list", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBCINST.INI\\ODBC Drivers]\n\"SQL Server\"=\"Installed\"",
       std::string(kNoDriverMessage)},
      {"trailing blank",
       "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBCINST.INI\\ODBC Drivers]\n\"SQL Native Client\"=\"Installed \"",
       std::string(kDriverNotInstalledMessage)},
      {"another word",
       "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBCINST.INI\\ODBC Drivers]\n\"SQL Native Client\"=\"Removed\"",
       std::string(kDriverNotInstalledMessage)},
      {"no driver path",
       "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBCINST.INI\\ODBC Drivers]\n\"SQL Native Client\"=\"installed\"",
       std::string(kNoDriverPathMessage)},
      {"wrong type", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBCINST.INI\\ODBC Drivers]\n\"SQL Native Client\"=dword:1",
       "Niepoprawny typ danych : SQL Native Client"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform::MemoryRegistry fresh;
    fresh.LoadRegText(c.reg);
    DataSourceWriter caseWriter(fresh);
    EXPECT_EQ(ErrorOf([&] { caseWriter.ConfigureDataSource("Kadry", "ALFA", true, report); }), c.message);
    if (c.message.starts_with("Niepoprawny")) {
      EXPECT_EQ(ErrorOf([&] { caseWriter.CreateDataSource("Kadry", "ALFA", true); }), c.message);
    } else {
      EXPECT_FALSE(caseWriter.CreateDataSource("Kadry", "ALFA", true));
    }
    EXPECT_TRUE(lines.empty());
    EXPECT_FALSE(fresh.KeyExists(RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBC.INI"));
    // The driver list is opened with creation allowed.
    EXPECT_TRUE(fresh.KeyExists(RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBCINST.INI\\ODBC Drivers"));
  }
}

TEST_F(DataSourceWriterTest, AnExistingDataSourceMustUseOurDriver) {
  registry.LoadRegText(std::string(kRegisteredDriver) + R"(
[HKEY_LOCAL_MACHINE\SOFTWARE\ODBC\ODBC.INI\ODBC Data Sources]
"Obca"="SQL Server"
"Mala"="sql native client"
"Bez klucza"="SQL Native Client"
[HKEY_LOCAL_MACHINE\SOFTWARE\ODBC\ODBC.INI\Obca]
"Server"="GAMMA"
[HKEY_LOCAL_MACHINE\SOFTWARE\ODBC\ODBC.INI\Mala]
"Database"="NOVERA"
"Server"="OLD"
"LastUser"="jan"
[HKEY_LOCAL_MACHINE\SOFTWARE\ODBC\ODBC.INI\Bez listy]
"Server"="OLD"
)");
  EXPECT_EQ(ErrorOf([&] { writer.ConfigureDataSource("obca", "ALFA", true, report); }),
            "Źródło danych \"obca\" istnieje i jest innego typu");
  EXPECT_EQ(DataSource("Obca"), Lines{"Server=GAMMA"});
  EXPECT_TRUE(lines.empty());

  // Letter case of the driver does not matter; values not ours survive.
  writer.ConfigureDataSource("Mala", "ALFA", false, report);
  EXPECT_EQ(DataSource("Mala"), (Lines{"Database=NOVERA", "Server=ALFA", "LastUser=jan",
                                       "Driver=C:\\Windows\\system32\\sqlncli.dll", "MARS_Connection=Yes",
                                       "Trusted_Connection=No"}));
  // A list entry without a key counts as existing, a key without an entry not.
  writer.ConfigureDataSource("Bez klucza", "ALFA", false, report);
  writer.ConfigureDataSource("Bez listy", "ALFA", false, report);
  EXPECT_EQ(DataSource("Bez listy")[0], "Server=ALFA");
  EXPECT_EQ(List(), (Lines{"Obca=SQL Server", "Mala=SQL Native Client", "Bez klucza=SQL Native Client",
                           "Bez listy=SQL Native Client"}));
  EXPECT_EQ(lines[0], " Zmodyfikowano źródło danych ODBC \"Mala\".");
  EXPECT_EQ(lines[4], " Zmodyfikowano źródło danych ODBC \"Bez klucza\".");
  EXPECT_EQ(lines[8], " Utworzono źródło danych ODBC \"Bez listy\".");
}

TEST_F(DataSourceWriterTest, CreateWritesSilentlyAndDeleteRemovesBoth) {
  registry.LoadRegText(std::string(kRegisteredDriver) +
                       "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources]\n\"Obca\"=\"SQL Server\"");
  ASSERT_TRUE(writer.CreateDataSource("Obca", "ALFA", false));  // no check of an existing entry
  ASSERT_TRUE(writer.CreateDataSource("Tmp", "BETA\\X", true));
  EXPECT_EQ(DataSource("Tmp"),
            (Lines{"Driver=C:\\Windows\\system32\\sqlncli.dll", "Server=BETA\\X", "Trusted_Connection=Yes"}));
  EXPECT_EQ(List(), (Lines{"Obca=SQL Native Client", "Tmp=SQL Native Client"}));

  writer.DeleteDataSource("tmp");
  writer.DeleteDataSource("Nie ma");
  EXPECT_EQ(List(), Lines{"Obca=SQL Native Client"});
  EXPECT_EQ(DataSource("Tmp"), Lines{"(no key)"});
}

TEST_F(DataSourceWriterTest, NamesOdbcForbidsAreRefusedBeforeAnyWrite) {
  registry.LoadRegText(std::string(kRegisteredDriver) + R"(
[HKEY_LOCAL_MACHINE\SOFTWARE\ODBC\ODBC.INI\ODBC Data Sources]
@="keep"
[HKEY_LOCAL_MACHINE\SOFTWARE\ODBC\ODBC.INI\A\B]
"Server"="keep"
)");
  EXPECT_EQ(ErrorOf([&] { writer.ConfigureDataSource("", "ALFA", true, report); }), kEmptyNameMessage);
  for (const char* name : {"A\\B", "x;y", "[a]", "{a}", "(a)", "a,b", "a?", "a*", "a=b", "a!", "a@b"}) {
    SCOPED_TRACE(name);
    const std::string forbidden(1, ForbiddenDataSourceNameChar(name));
    EXPECT_EQ(ErrorOf([&] { writer.ConfigureDataSource(name, "ALFA", true, report); }),
              "Nazwa źródła danych ODBC \"" + std::string(name) + "\" zawiera niedozwolony znak \"" + forbidden + "\"");
    EXPECT_FALSE(writer.CreateDataSource(name, "ALFA", true));
    writer.DeleteDataSource(name);
  }
  EXPECT_FALSE(writer.CreateDataSource("", "ALFA", true));
  writer.DeleteDataSource("");
  EXPECT_EQ(List(), Lines{"=keep"});
  EXPECT_EQ(DataSource("A\\B"), Lines{"Server=keep"});
  EXPECT_TRUE(lines.empty());
}

TEST_F(DataSourceWriterTest, AKeyThatCannotBeOpenedEndsTheWritesThere) {
  registry.LoadRegText(std::string(kRegisteredDriver) + R"(
[HKEY_LOCAL_MACHINE\SOFTWARE\ODBC\ODBC.INI\Zablokowane]
"Server"="OLD"
)");
  ASSERT_TRUE(registry.DenyWrites(RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBC.INI\\Zablokowane"));
  const std::string message =
      "Nie można otworzyć klucza rejestru \"HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\Zablokowane\"";
  EXPECT_EQ(ErrorOf([&] { writer.ConfigureDataSource("Zablokowane", "ALFA", true, report); }), message);
  EXPECT_EQ(ErrorOf([&] { writer.CreateDataSource("Zablokowane", "ALFA", true); }), message);
  EXPECT_TRUE(lines.empty());
  // Nothing is listed without its key, and nothing meant for the key
  // landed in the list key.
  EXPECT_EQ(List(), Lines{});
  EXPECT_EQ(DataSource("Zablokowane"), Lines{"Server=OLD"});

  lines.clear();
  ASSERT_TRUE(registry.DenyWrites(RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources"));
  EXPECT_EQ(ErrorOf([&] { writer.ConfigureDataSource("Kadry", "ALFA", true, report); }),
            "Nie można otworzyć klucza rejestru \"HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources\"");
  EXPECT_TRUE(lines.empty());

  // A driver list that refuses full access counts as a missing driver.
  ASSERT_TRUE(registry.DenyWrites(RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBCINST.INI\\ODBC Drivers"));
  EXPECT_EQ(ErrorOf([&] { writer.ConfigureDataSource("Kadry", "ALFA", true, report); }), kNoDriverMessage);
  EXPECT_FALSE(writer.CreateDataSource("Kadry", "ALFA", true));
}

// The registry refuses one write halfway: the error reaches the caller,
// what was written before it stays, the values after it keep their old
// contents, and the list entry, written last, is untouched.
TEST_F(DataSourceWriterTest, AWriteRefusedHalfwayIsReportedAndWhatWasWrittenStays) {
  struct Case {
    int failingWrite;
    const char* value;
    Lines dataSource;
  };
  const std::string old = "Database=NOVERA";
  const std::string driver = "Driver=C:\\Windows\\system32\\sqlncli.dll";
  const Case cases[] = {
      {1, "Driver", {"Server=OLD", "Trusted_Connection=No", old}},
      {2, "MARS_Connection", {"Server=OLD", "Trusted_Connection=No", old, driver}},
      {3, "Server", {"Server=OLD", "Trusted_Connection=No", old, driver, "MARS_Connection=Yes"}},
      {4, "Trusted_Connection", {"Server=ALFA", "Trusted_Connection=No", old, driver, "MARS_Connection=Yes"}},
      {5, "Kadry", {"Server=ALFA", "Trusted_Connection=Yes", old, driver, "MARS_Connection=Yes"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.value);
    platform::MemoryRegistry fresh;
    fresh.LoadRegText(std::string(kRegisteredDriver) + R"(
[HKEY_LOCAL_MACHINE\SOFTWARE\ODBC\ODBC.INI\ODBC Data Sources]
"Kadry"="sql native client"
[HKEY_LOCAL_MACHINE\SOFTWARE\ODBC\ODBC.INI\Kadry]
"Server"="OLD"
"Trusted_Connection"="No"
"Database"="NOVERA"
)");
    fresh.FailNthWrite(c.failingWrite);
    lines.clear();
    EXPECT_EQ(ErrorOf([&] { DataSourceWriter(fresh).ConfigureDataSource("Kadry", "ALFA", true, report); }),
              "Nie można zapisać wartości rejestru \"" + std::string(c.value) + "\"");
    auto list = fresh.OpenKey(RegistryRoot::LocalMachine, std::string(kDataSourceListKey), platform::kKeyRead, false);
    EXPECT_EQ(list->ReadString("Kadry"), "sql native client");
    auto key = fresh.OpenKey(RegistryRoot::LocalMachine, "\\SOFTWARE\\ODBC\\ODBC.INI\\Kadry", platform::kKeyRead, false);
    Lines values;
    for (const std::string& name : key->ValueNames()) values.push_back(name + "=" + key->ReadString(name));
    EXPECT_EQ(values, c.dataSource);
    EXPECT_TRUE(lines.empty());
  }
}

TEST_F(DataSourceWriterTest, AListEntryOfAnotherTypeIsReportedBeforeAnyWrite) {
  registry.LoadRegText(std::string(kRegisteredDriver) + R"(
[HKEY_LOCAL_MACHINE\SOFTWARE\ODBC\ODBC.INI\ODBC Data Sources]
"Kadry"=dword:00000001
)");
  EXPECT_EQ(ErrorOf([&] { writer.ConfigureDataSource("Kadry", "ALFA", true, report); }),
            "Niepoprawny typ danych : Kadry");
  EXPECT_EQ(DataSource("Kadry"), Lines{"(no key)"});
  EXPECT_TRUE(lines.empty());
}

}  // namespace
}  // namespace mssql
