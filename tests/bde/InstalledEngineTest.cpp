#include "bde/InstalledEngine.h"

#include <gtest/gtest.h>

#include "tests/ErrorOf.h"
#include "tests/FakeOemCodePage.h"
#include "tests/TempFolder.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "bde/ConfigFile.h"
#include "bde/Engine.h"
#include "platform/CodePage.h"
#include "platform/DynamicLibrary.h"
#include "platform/Error.h"
#include "platform/Registry.h"
#include "platform/Text.h"
#include "platform/TextFile.h"
#include "tests/platform/MemoryRegistry.h"

namespace bde {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using testing_support::ErrorOf;

std::string ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteLines(const fs::path& path, const Lines& lines) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  for (const std::string& line : lines) out << line << "\r\n";
}

// The stand-in library, loaded by path as the wizard loads the engine's.
class InstalledEngineTest : public ::testing::Test {
 protected:
  InstalledEngineTest() {
    setenv("KONFIGNOVERA_FAKE_IDAPI_CONFIG", config_.string().c_str(), 1);
    library_ = platform::DynamicLibrary::Load(FAKE_IDAPI_LIBRARY);
  }
  ~InstalledEngineTest() override { unsetenv("KONFIGNOVERA_FAKE_IDAPI_CONFIG"); }

  std::unique_ptr<InstalledEngine> Start() {
    auto engine = std::make_unique<InstalledEngine>(LoadIdapiFunctions(*library_, FAKE_IDAPI_LIBRARY), codePage_);
    engine->SetConfigurationMode(ConfigurationMode::Persistent);
    return engine;
  }

  // What the stand-in saved, without its first line.
  Lines Saved() const {
    Lines lines = platform::SplitLines(ReadBytes(config_));
    if (!lines.empty()) lines.erase(lines.begin());
    return lines;
  }

  bool CursorsLeftOpen() const { return fs::exists(config_.string() + ".leak"); }

  testing_support::TempFolder temp_;
  fs::path config_ = temp_.Path() / "IDAPI32.CFG";
  std::optional<platform::DynamicLibrary> library_;
  testing_support::FakeOemCodePage codePage_;
};

const ParameterList kMssqlParams(Lines{"DATABASE NAME=LUMIRA", "USER NAME=dbo", "ODBC DSN=Novera; E2E",
                                       "PASSWORD=tajne", "LANGDRIVER=anpolish"});

TEST_F(InstalledEngineTest, AliasesGoThroughTheEngineAndBackAsItHoldsThem) {
  ASSERT_TRUE(library_);
  {
    auto engine = Start();
    engine->CreateAlias("X Novera- LM", "SQL Native Client", kMssqlParams);
    engine->CreateStandardAlias("Novera- Net", "C:\\Novera\\Dane; stare: 1", "");
    engine->CreateStandardAlias("Stary dBase", "C:\\Dane", "DBASE");
    engine->SaveConfiguration();
  }
  // The password is not a parameter of the driver; a value holding ";"
  // crossed the API quoted and arrived whole.
  EXPECT_EQ(Saved(), (Lines{"ALIAS X Novera- LM", "DB INFO TYPE=SQL Native Client", "DB OPEN DATABASE NAME=LUMIRA",
                            "DB OPEN USER NAME=dbo", "DB OPEN ODBC DSN=Novera; E2E", "DB OPEN LANGDRIVER=anpolish",
                            "ALIAS Novera- Net", "DB INFO TYPE=STANDARD", "DB INFO PATH=C:\\Novera\\Dane; stare: 1",
                            "DB INFO DEFAULT DRIVER=PARADOX", "DB INFO ENABLE BCD=FALSE", "ALIAS Stary dBase",
                            "DB INFO TYPE=STANDARD", "DB INFO PATH=C:\\Dane", "DB INFO DEFAULT DRIVER=DBASE",
                            "DB INFO ENABLE BCD=FALSE"}));
}

TEST_F(InstalledEngineTest, ReadsWhatAnEarlierRunSavedAndUpdatesOnlyTheNamedNodes) {
  ASSERT_TRUE(library_);
  WriteLines(config_, {"IDAPI STAND-IN", "ALIAS X Novera- LM", "DB INFO TYPE=SQL Native Client",
                       "DB OPEN DATABASE NAME=STARA", "DB OPEN USER NAME=dbo", "DB OPEN ODBC DSN=Stary",
                       "ALIAS Novera- LM", "DB INFO TYPE=STANDARD", "DB INFO PATH=C:\\Novera",
                       "DB INFO DEFAULT DRIVER=PARADOX", "DB INFO ENABLE BCD=FALSE"});
  {
    auto engine = Start();
    EXPECT_EQ(engine->ListAliases(), (Lines{"X Novera- LM", "Novera- LM"}));
    EXPECT_EQ(engine->AliasDriver("x novera- lm"), "SQL Native Client");
    EXPECT_EQ(engine->AliasDriver("Novera- LM"), "STANDARD");
    EXPECT_EQ(engine->ReadAliasParameters("X Novera- LM").Lines(),
              (Lines{"DATABASE NAME=STARA", "USER NAME=dbo", "ODBC DSN=Stary"}));
    EXPECT_EQ(engine->ReadAliasParameters("Novera- LM").Lines(),
              (Lines{"PATH=C:\\Novera", "DEFAULT DRIVER=PARADOX", "ENABLE BCD=FALSE"}));
    engine->UpdateAlias("X Novera- LM", ParameterList(Lines{"DATABASE NAME=łąd", "SERVER NAME=nie ma",
                                                            "odbc dsn=Nowy"}));
    engine->SaveConfiguration();
  }
  EXPECT_FALSE(CursorsLeftOpen());
  const Lines saved = Saved();
  ASSERT_GE(saved.size(), 6u);
  EXPECT_EQ(saved, (Lines{"ALIAS X Novera- LM", "DB INFO TYPE=SQL Native Client",
                          "DB OPEN DATABASE NAME=\x88\xA5" "d", "DB OPEN USER NAME=dbo", "DB OPEN ODBC DSN=Nowy",
                          "ALIAS Novera- LM", "DB INFO TYPE=STANDARD", "DB INFO PATH=C:\\Novera",
                          "DB INFO DEFAULT DRIVER=PARADOX", "DB INFO ENABLE BCD=FALSE"}));
}

TEST_F(InstalledEngineTest, AValueTheCodePageCannotHoldNamesTheAliasAndValueAndIsNeverSent) {
  ASSERT_TRUE(library_);
  auto engine = Start();
  const ParameterList params(Lines{"DATABASE NAME=Łódź"});
  EXPECT_EQ(ErrorOf([&] { engine->CreateAlias("X Novera- LM", "SQL Native Client", params); }),
            platform::Format(kNotInCodePageMessage, {"Łódź", "X Novera- LM"}));
  EXPECT_EQ(ErrorOf([&] { engine->CreateStandardAlias("Novera- Net", "C:\\Sieć", ""); }),
            platform::Format(kNotInCodePageMessage, {"C:\\Sieć", "Novera- Net"}));
  EXPECT_TRUE(engine->ListAliases().empty());
}

// The first node would be modified before the second is refused if values
// were checked one node at a time; an alias created beforehand makes the
// later save write, so a half-applied update would reach the file.
TEST_F(InstalledEngineTest, AnUpdateWithARefusedValueModifiesNothing) {
  ASSERT_TRUE(library_);
  struct Case {
    std::string userName;
    std::string message;
  };
  const std::vector<Case> cases = {
      {"Łukasz", platform::Format(kNotInCodePageMessage, {"Łukasz", "X Novera- LM"})},
      {std::string(128, 'x'), platform::Format(kValueTooLongMessage, {"USER NAME", "X Novera- LM"})},
  };
  const Lines before = {"DATABASE NAME=STARA", "USER NAME=dbo", "ODBC DSN=Stary"};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message);
    WriteLines(config_, {"IDAPI STAND-IN", "ALIAS X Novera- LM", "DB INFO TYPE=SQL Native Client",
                         "DB OPEN DATABASE NAME=STARA", "DB OPEN USER NAME=dbo", "DB OPEN ODBC DSN=Stary"});
    {
      auto engine = Start();
      engine->CreateStandardAlias("Novera- Net", "C:\\Novera", "");
      EXPECT_EQ(ErrorOf([&] {
                  engine->UpdateAlias("X Novera- LM", ParameterList(Lines{"DATABASE NAME=NOWA",
                                                                          "USER NAME=" + c.userName}));
                }),
                c.message);
      EXPECT_EQ(engine->ReadAliasParameters("X Novera- LM").Lines(), before);
      engine->SaveConfiguration();
    }
    EXPECT_FALSE(CursorsLeftOpen());
    const Lines saved = Saved();
    ASSERT_GE(saved.size(), 5u);
    EXPECT_EQ(Lines(saved.begin(), saved.begin() + 5),
              (Lines{"ALIAS X Novera- LM", "DB INFO TYPE=SQL Native Client", "DB OPEN DATABASE NAME=STARA",
                     "DB OPEN USER NAME=dbo", "DB OPEN ODBC DSN=Stary"}));
  }
}

// A later engine may carry more than the fields declared here; the stand-in
// then also checks that the bytes past them come back as it gave them.
TEST_F(InstalledEngineTest, ALongerRecordIsReadFromItsStartAndAShorterOneIsRefused) {
  ASSERT_TRUE(library_);
  const Lines file = {"IDAPI STAND-IN", "ALIAS X Novera- LM", "DB INFO TYPE=SQL Native Client",
                      "DB OPEN DATABASE NAME=STARA", "DB OPEN USER NAME=dbo"};
  {
    Lines longer = file;
    longer.insert(longer.begin() + 1, "RECORD EXTRA 40");
    WriteLines(config_, longer);
    auto engine = Start();
    EXPECT_EQ(engine->ListAliases(), Lines{"X Novera- LM"});
    EXPECT_EQ(engine->ReadAliasParameters("X Novera- LM").Lines(), (Lines{"DATABASE NAME=STARA", "USER NAME=dbo"}));
    engine->UpdateAlias("X Novera- LM", ParameterList(Lines{"USER NAME=jan"}));
    engine->SaveConfiguration();
  }
  EXPECT_FALSE(CursorsLeftOpen());
  EXPECT_EQ(Saved(), (Lines{"RECORD EXTRA 40", "ALIAS X Novera- LM", "DB INFO TYPE=SQL Native Client",
                            "DB OPEN DATABASE NAME=STARA", "DB OPEN USER NAME=jan"}));

  Lines shorter = file;
  shorter.insert(shorter.begin() + 1, "RECORD EXTRA -1");
  WriteLines(config_, shorter);
  const std::string before = ReadBytes(config_);
  {
    auto engine = Start();
    EXPECT_EQ(ErrorOf([&] { engine->ListAliases(); }), platform::Format(kRecordSizeMessage, {"356", "357"}));
    EXPECT_EQ(ErrorOf([&] { engine->UpdateAlias("X Novera- LM", ParameterList(Lines{"USER NAME=jan"})); }),
              platform::Format(kRecordSizeMessage, {"291", "292"}));
    engine->SaveConfiguration();
  }
  EXPECT_FALSE(CursorsLeftOpen());
  EXPECT_EQ(ReadBytes(config_), before);
}

// The engine gives a parameter left out of the string its driver's default;
// an empty value would replace that default with nothing.
TEST_F(InstalledEngineTest, ANewAliasIsAddedWithoutItsEmptyValues) {
  ASSERT_TRUE(library_);
  {
    auto engine = Start();
    engine->CreateAlias("X Novera- LM", "SQL Native Client",
                        ParameterList(Lines{"DATABASE NAME=LUMIRA", "USER NAME=", "SCHEMA CACHE DIR=",
                                            "BATCH COUNT=200", "SQLQRYMODE="}));
    engine->SaveConfiguration();
  }
  EXPECT_EQ(Saved(), (Lines{"ALIAS X Novera- LM", "DB INFO TYPE=SQL Native Client", "DB OPEN DATABASE NAME=LUMIRA",
                            "DB OPEN BATCH COUNT=200"}));
}

TEST_F(InstalledEngineTest, EveryRefusedCallCarriesTheEnginesTextAndLeavesNoCursorOpen) {
  ASSERT_TRUE(library_);
  struct Case {
    std::string refused;
    std::function<void(InstalledEngine&)> call;
    std::string message;
  };
  const std::string path = config_.string();
  const std::vector<Case> cases = {
      {"DbiCfgSave",
       [](InstalledEngine& e) {
         e.CreateStandardAlias("A", "C:\\", "");
         e.SaveConfiguration();
       },
       "Cannot write to Engine configuration file: " + path},
      {"DbiAddAlias", [](InstalledEngine& e) { e.CreateStandardAlias("A", "C:\\", ""); },
       "Capability not supported: " + path},
      {"DbiOpenDatabaseList", [](InstalledEngine& e) { e.ListAliases(); }, "Capability not supported: " + path},
      {"DbiGetNextRecord", [](InstalledEngine& e) { e.ListAliases(); }, "Capability not supported: " + path},
      {"DbiModifyRecord", [](InstalledEngine& e) { e.UpdateAlias("B", ParameterList(Lines{"USER NAME=x"})); },
       "Capability not supported: " + path},
      {"DbiOpenCfgInfoList", [](InstalledEngine& e) { e.ReadAliasParameters("B"); },
       "Capability not supported: " + path},
      {"DbiDeleteAlias", [](InstalledEngine& e) { e.DeleteAlias("B"); }, "Capability not supported: " + path},
      {"", [](InstalledEngine& e) { e.DeleteAlias("Nie ma"); }, "Object not found: Nie ma"},
      {"", [](InstalledEngine& e) { e.ReadAliasParameters("Nie ma"); }, "Object not found: Nie ma"},
      {"", [](InstalledEngine& e) { e.CreateStandardAlias("B", "C:\\", ""); }, "Name not unique in this context: B"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.refused + " " + c.message);
    Lines file = {"IDAPI STAND-IN", "ALIAS B", "DB INFO TYPE=ORACLE", "DB OPEN USER NAME=dbo"};
    if (!c.refused.empty()) file.insert(file.begin() + 1, "REFUSE " + c.refused);
    WriteLines(config_, file);
    const std::string before = ReadBytes(config_);
    {
      auto engine = Start();
      EXPECT_EQ(ErrorOf([&] { c.call(*engine); }), c.message);
    }
    EXPECT_EQ(ReadBytes(config_), before);
    EXPECT_FALSE(CursorsLeftOpen());
  }
}

// An alias goes through the engine's own call and leaves its file at the
// save, as the suite's programs would then read it.
TEST_F(InstalledEngineTest, ADeletedAliasLeavesTheEngineAndItsFileAtTheSave) {
  ASSERT_TRUE(library_);
  WriteLines(config_, {"IDAPI STAND-IN", "ALIAS B", "DB INFO TYPE=ORACLE", "DB OPEN USER NAME=dbo", "ALIAS Laka",
                       "DB INFO TYPE=STANDARD", "DB INFO PATH=C:\\"});
  {
    auto engine = Start();
    engine->DeleteAlias("LAKA");
    EXPECT_EQ(engine->ListAliases(), Lines{"B"});
    EXPECT_EQ(Saved().size(), 6u);
    engine->SaveConfiguration();
  }
  EXPECT_EQ(Saved(), (Lines{"ALIAS B", "DB INFO TYPE=ORACLE", "DB OPEN USER NAME=dbo"}));
}

// The stand-in's counted failure, which the all-or-nothing tests use: the
// nth call fails once, the calls around it go through.
TEST_F(InstalledEngineTest, ACountedFailureFailsTheNthCallOnly) {
  ASSERT_TRUE(library_);
  setenv("KONFIGNOVERA_FAKE_IDAPI_FAIL", "DbiAddAlias:2", 1);
  auto engine = Start();
  unsetenv("KONFIGNOVERA_FAKE_IDAPI_FAIL");
  engine->CreateStandardAlias("A", "C:\\", "");
  EXPECT_EQ(ErrorOf([&] { engine->CreateStandardAlias("B", "C:\\", ""); }),
            "Capability not supported: " + config_.string());
  engine->CreateStandardAlias("C", "C:\\", "");
  EXPECT_EQ(engine->ListAliases(), (Lines{"A", "C"}));
}

TEST_F(InstalledEngineTest, AnEngineThatDoesNotStartSaysWhy) {
  ASSERT_TRUE(library_);
  WriteLines(config_, {"KonfigNovera BDE 1"});
  EXPECT_EQ(ErrorOf([&] { Start(); }), "Cannot open a system file: " + config_.string());
}

TEST_F(InstalledEngineTest, SessionModeAddsAliasesThatAreNeverSaved) {
  ASSERT_TRUE(library_);
  auto engine = Start();
  engine->SetConfigurationMode(ConfigurationMode::Session);
  engine->CreateStandardAlias("Chwilowy", "C:\\", "");
  engine->SaveConfiguration();
  EXPECT_EQ(engine->ListAliases(), Lines{"Chwilowy"});
  EXPECT_FALSE(fs::exists(config_));
}

// The library's path joins DLLPATH and the file name with a backslash
// unless DLLPATH already ends in a separator. POSIX takes a backslash as a
// name character, so the library is planted under both of the names the
// joined path can have here: "<folder>/idapi32.dll" and, beside the
// folder, "<folder>\idapi32.dll" as one file name.
TEST(FindInstalledEngineTest, TheLibraryIsFoundInTheFolderNamedByDllPathOnly) {
  testing_support::TempFolder temp;
  const std::string folder = (temp.Path() / "bde").string();
  fs::create_directories(folder);
  std::ofstream(folder + "/idapi32.dll") << "MZ";
  std::ofstream(folder + "\\idapi32.dll") << "MZ";
  const std::string empty = (temp.Path() / "pusty").string();
  fs::create_directories(empty);
  const std::string where = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\Database Engine";
  struct Case {
    std::optional<std::string> dllPath;
    std::optional<std::string> library;
    std::string note;
  };
  const std::vector<Case> cases = {
      {std::nullopt, std::nullopt, "brak wartości \"DLLPATH\" w kluczu \"" + where + "\""},
      {empty, std::nullopt, "brak pliku \"" + empty + "\\idapi32.dll\""},
      {folder, folder + "\\idapi32.dll", ""},
      {folder + "\\", folder + "\\idapi32.dll", ""},
      {folder + "/", folder + "/idapi32.dll", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.dllPath.value_or("(none)"));
    platform::MemoryRegistry registry;
    registry.OpenKey(platform::RegistryRoot::LocalMachine, kBdeKeyPath, platform::kKeyAllAccess, true)
        ->WriteString("CONFIGFILE01", "C:\\BDE\\IDAPI32.CFG");
    if (c.dllPath) {
      registry.OpenKey(platform::RegistryRoot::LocalMachine, kBdeKeyPath, platform::kKeyAllAccess, true)
          ->WriteString(kDllPathValue, *c.dllPath);
    }
    const InstalledEngineSearch search = FindInstalledEngine(registry);
    EXPECT_EQ(search.library, c.library);
    EXPECT_EQ(search.note, c.library ? "" : platform::Format(kNoInstalledEngineNote, {c.note}));
  }
}

TEST(EngineNoteTest, AFileNotOursAlsoSaysThatNoInstalledEngineWasFound) {
  testing_support::TempFolder temp;
  const std::string path = (temp.Path() / "IDAPI32.CFG").string();
  std::ofstream(path, std::ios::binary) << std::string("\x01\x02" "\x00" "BDE", 6);
  platform::MemoryRegistry registry;
  Engine engine(registry, path);
  engine.SetNoInstalledEngineNote("Nie znaleziono zainstalowanego BDE (brak pliku \"C:\\BDE\\idapi32.dll\")");
  EXPECT_EQ(ErrorOf([&] { engine.ListAliases(); }),
            platform::Format(kNotConfigFileMessage, {path}) +
                ". Nie znaleziono zainstalowanego BDE (brak pliku \"C:\\BDE\\idapi32.dll\")");
}

}  // namespace
}  // namespace bde
