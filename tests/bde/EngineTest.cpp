#include "bde/Engine.h"

#include <gtest/gtest.h>

#include "tests/ErrorOf.h"
#include "tests/TempFolder.h"
#include "tests/WriteFaults.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bde/ConfigFile.h"
#include "platform/Error.h"
#include "platform/Registry.h"
#include "platform/Text.h"
#include "platform/TextFile.h"
#include "tests/platform/MemoryRegistry.h"

namespace bde {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;

std::string ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteBytes(const std::string& path, const std::string& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << bytes;
}

// The file as our writer lays it out: CR LF after every line.
std::string FileText(const Lines& lines) {
  std::string text;
  for (const std::string& line : lines) text += line + "\r\n";
  return text;
}

std::string LineFeedsOnly(std::string text) {
  std::erase(text, '\r');
  return text;
}

using testing_support::ErrorOf;

std::string Message(std::string_view pattern, const Lines& args) {
  return platform::Format(pattern, args);
}

const Lines kStandardAliasesFile = {
    "KonfigNovera BDE 1",
    "",
    "ALIAS Novera- LM",
    "DRIVER STANDARD",
    "PARAM PATH=C:\\Novera\\LM",
    "PARAM DEFAULT DRIVER=PARADOX",
    "PARAM ENABLE BCD=FALSE",
    "END",
    "",
    "ALIAS Inny program",
    "DRIVER MSACCESS",
    "PARAM DATABASE NAME=C:\\Dane\\baza.mdb",
    "PARAM PASSWORD=obce hasło%20",
    "PARAM OPEN MODE=READ ONLY",
    "END",
};

class EngineTest : public ::testing::Test {
 protected:
  std::unique_ptr<Engine> MakeEngine(ConfigurationMode mode = ConfigurationMode::Persistent) {
    auto engine = std::make_unique<Engine>(registry_, path_);
    engine->SetConfigurationMode(mode);
    return engine;
  }

  testing_support::TempFolder temp_;
  const fs::path& folder_ = temp_.Path();
  std::string path_ = (folder_ / "bde.cfg").string();
  platform::MemoryRegistry registry_;
};

TEST_F(EngineTest, NamesAndValuesRoundTripExactly) {
  struct Case {
    std::string name;
    std::string path;
    std::string defaultDriver;
  };
  const Case cases[] = {
      {" Alias z blankami ", "  C:\\Dane z blankami\\  ", " PARADOX "},
      {"a=b", "x=y=z", "DBASE"},
      {"[Novera- LM]", "[Sekcja]", "ASCIIDRV"},
      {"Zażółć gęślą jaźń", "C:\\Łódź\\Źródła", "PARADOX"},
      {"wiersz\r\ndrugi", "a\rb\nc", "x\r\n"},
      {"100% %41", "%", "%%"},
      {"#nie komentarz", "\tTAB\t", "END"},
      {"END", "ALIAS x", "PARAM a=b"},
      {"DRIVER STANDARD", "", "KonfigNovera BDE 1"},
  };
  {
    auto writer = MakeEngine();
    for (const Case& c : cases) writer->CreateStandardAlias(c.name, c.path, c.defaultDriver);
    writer->SaveConfiguration();
  }
  auto reader = MakeEngine();
  Lines names;
  for (const Case& c : cases) names.push_back(c.name);
  EXPECT_EQ(reader->ListAliases(), names);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const ParameterList params = reader->ReadAliasParameters(c.name);
    EXPECT_EQ(params.Value("PATH"), c.path);
    EXPECT_EQ(params.Value("DEFAULT DRIVER"), c.defaultDriver);
  }
}

TEST_F(EngineTest, AliasesNotTouchedSurviveTheSaveAsTheFileHoldsThem) {
  Lines file = kStandardAliasesFile;
  file.insert(file.end(), {"", "ALIAS X Novera- KP", "DRIVER Oracle", "PARAM SERVER NAME=NOVERA",
                           "PARAM USER NAME=KP", "END"});
  WriteBytes(path_, FileText(file));

  auto engine = MakeEngine();
  // The driver reads back as the file spells it; the alias writer compares
  // it exactly.
  EXPECT_EQ(engine->AliasDriver("x novera- kp"), "Oracle");
  ParameterList changed;
  changed.Set("PATH", "D:\\Nowa ścieżka");
  engine->UpdateAlias("novera- lm", changed);
  engine->CreateStandardAlias("Novera- Net", "D:\\Net", "");
  engine->SaveConfiguration();

  Lines expected = file;
  expected[4] = "PARAM PATH=D:\\Nowa ścieżka";
  expected.insert(expected.end(), {"", "ALIAS Novera- Net", "DRIVER STANDARD", "PARAM PATH=D:\\Net",
                                   "PARAM DEFAULT DRIVER=PARADOX", "PARAM ENABLE BCD=", "END"});
  EXPECT_EQ(ReadBytes(path_), FileText(expected));
}

// A deleted alias leaves the file at the save, found by its name in any
// letter case, and only it; one added and deleted before the save never
// reaches the file.
TEST_F(EngineTest, ADeletedAliasLeavesTheFileAtTheSave) {
  WriteBytes(path_, FileText(kStandardAliasesFile));
  auto engine = MakeEngine();
  engine->CreateStandardAlias("Chwilowy", "C:\\Tmp", "");
  engine->DeleteAlias("CHWILOWY");
  engine->DeleteAlias("novera- lm");
  EXPECT_EQ(engine->ListAliases(), Lines{"Inny program"});
  EXPECT_EQ(ReadBytes(path_), FileText(kStandardAliasesFile));
  engine->SaveConfiguration();

  Lines expected = {kStandardAliasesFile[0], kStandardAliasesFile[1]};
  expected.insert(expected.end(), kStandardAliasesFile.begin() + 9, kStandardAliasesFile.end());
  EXPECT_EQ(ReadBytes(path_), FileText(expected));
  EXPECT_EQ(MakeEngine()->ListAliases(), Lines{"Inny program"});
}

// Deleted and created again, an alias is saved with its new values.
TEST_F(EngineTest, AnAliasDeletedAndCreatedAgainIsSavedAnew) {
  WriteBytes(path_, FileText(kStandardAliasesFile));
  auto engine = MakeEngine();
  engine->DeleteAlias("Novera- LM");
  engine->CreateStandardAlias("Novera- LM", "D:\\Nowa", "");
  engine->SaveConfiguration();
  auto reader = MakeEngine();
  EXPECT_EQ(reader->ListAliases(), (Lines{"Inny program", "Novera- LM"}));
  EXPECT_EQ(reader->ReadAliasParameters("Novera- LM").Value("PATH"), "D:\\Nowa");
}

TEST_F(EngineTest, OwnConfigurationFileIsTheOneLoaded) {
  auto engine = MakeEngine();
  EXPECT_EQ(engine->OwnConfigurationFile(), path_);
  engine->ListAliases();
  registry_.LoadRegText(
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\Database Engine]\n\"CONFIGFILE01\"=\"D:\\\\inny.cfg\"\n");
  EXPECT_EQ(engine->OwnConfigurationFile(), path_);
  EXPECT_EQ(MakeEngine()->OwnConfigurationFile(), "D:\\inny.cfg");
}

TEST_F(EngineTest, PasswordLinesNeverReachTheFile) {
  const ParameterList sqlServer(
      Lines{"DATABASE NAME=lumira", "USER NAME=novera", "ODBC DSN=Novera", "PASSWORD=tajne1"});
  const ParameterList oracle(
      Lines{"SERVER NAME=NOVERA", "USER NAME=novera", "password=tajne2", "NET PROTOCOL=TNS"});
  auto engine = MakeEngine();
  engine->CreateAlias("MSSQL", "SQL Native Client", sqlServer);
  engine->CreateAlias("Oracle", "ORACLE", oracle);
  engine->CreateAlias("Standard", "STANDARD", ParameterList(Lines{"PATH=C:\\", "PASSWORD=tajne3"}));
  engine->UpdateAlias("Oracle", ParameterList(Lines{"password=tajne4", "USER NAME=inny"}));
  engine->SaveConfiguration();

  EXPECT_EQ(ReadBytes(path_).find("tajne"), std::string::npos);
  auto reader = MakeEngine();
  struct Case {
    std::string alias;
    std::string parameter;
    std::string value;
  };
  const Case cases[] = {
      {"MSSQL", "DATABASE NAME", "lumira"}, {"MSSQL", "USER NAME", "novera"},
      {"MSSQL", "ODBC DSN", "Novera"},      {"Oracle", "SERVER NAME", "NOVERA"},
      {"Oracle", "USER NAME", "inny"},      {"Standard", "PATH", "C:\\"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.alias + " " + c.parameter);
    const ParameterList params = reader->ReadAliasParameters(c.alias);
    EXPECT_EQ(params.Value(c.parameter), c.value);
    EXPECT_FALSE(params.Has("PASSWORD"));
  }
}

struct BadFile {
  const char* what;
  std::string bytes;
  std::string_view message;  // %s: the path, then `detail`
  std::string detail;
};

std::vector<BadFile> BadFiles() {
  constexpr std::string_view kForeign = kNotConfigFileMessage;
  constexpr std::string_view kDamaged = kDamagedConfigFileMessage;
  const std::string sig = "KonfigNovera BDE 1\r\n";
  const std::string standard = "ALIAS A\r\nDRIVER STANDARD\r\nPARAM PATH=C:\\\r\nEND\r\n";
  const std::string binary("IDAPI\0\x01\x02\xFF\r\n", 11);
  return {
      {"another program's binary file", binary + sig, kForeign, ""},
      {"an ini file", "[Novera- LM]\r\nPATH=C:\\\r\n", kForeign, ""},
      {"signature not on the first line", "\r\n" + sig, kForeign, ""},
      {"a newer format", "KonfigNovera BDE 2\r\n" + standard, kUnsupportedVersionMessage, "2"},
      {"unknown keyword", sig + "ALIAS A\r\nDRIVER STANDARD\r\nPATH=C:\\\r\nEND\r\n", kDamaged,
       "4"},
      {"keyword in lower case", sig + "alias A\r\n", kDamaged, "2"},
      {"parameter outside an alias", sig + standard + "PARAM PATH=C:\\\r\n", kDamaged, "6"},
      {"parameter before the driver", sig + "ALIAS A\r\nPARAM PATH=C:\\\r\n", kDamaged, "3"},
      {"second driver", sig + "ALIAS A\r\nDRIVER STANDARD\r\nDRIVER ORACLE\r\nEND\r\n", kDamaged,
       "4"},
      {"alias without a driver", sig + "ALIAS A\r\nEND\r\n", kDamaged, "3"},
      {"missing END at the end of the file", sig + standard + "\r\nALIAS B\r\nDRIVER STANDARD\r\n",
       kDamaged, "7"},
      {"missing END before the next alias", sig + "ALIAS A\r\nDRIVER STANDARD\r\n" + standard,
       kDamaged, "4"},
      {"duplicate name in other letter case",
       sig + "ALIAS Łódź\r\nDRIVER STANDARD\r\nEND\r\nALIAS łÓDŹ\r\nDRIVER STANDARD\r\nEND\r\n",
       kDamaged, "5"},
      {"bad escape", sig + "ALIAS A\r\nDRIVER STANDARD\r\nPARAM PATH=100%\r\nEND\r\n", kDamaged,
       "4"},
      {"escape with one digit", sig + "ALIAS A%4\r\n", kDamaged, "2"},
      {"escape with no hex digits", sig + "ALIAS A%ZZ\r\n", kDamaged, "2"},
      {"parameter without =", sig + "ALIAS A\r\nDRIVER STANDARD\r\nPARAM PATH\r\nEND\r\n", kDamaged,
       "4"},
      {"parameter name with =", sig + "ALIAS A\r\nDRIVER STANDARD\r\nPARAM A%3DB=1\r\nEND\r\n",
       kDamaged, "4"},
      {"empty alias name", sig + "ALIAS \r\nDRIVER STANDARD\r\nEND\r\n", kDamaged, "2"},
  };
}

TEST_F(EngineTest, RefusesAForeignOrDamagedFileAndLeavesItAsItWas) {
  for (const BadFile& bad : BadFiles()) {
    SCOPED_TRACE(bad.what);
    WriteBytes(path_, bad.bytes);
    const std::string expected = Message(bad.message, {path_, bad.detail});

    auto engine = MakeEngine();
    EXPECT_EQ(ErrorOf([&] { engine->ListAliases(); }), expected);
    // Every later operation reads the file again and fails the same way.
    EXPECT_EQ(ErrorOf([&] { engine->CreateStandardAlias("Nowy", "C:\\", ""); }), expected);
    engine->SaveConfiguration();
    EXPECT_EQ(ReadBytes(path_), bad.bytes);
  }
}

TEST_F(EngineTest, RefusesToSaveOverAFileThatTurnedForeignOrDamaged) {
  for (const BadFile& bad : BadFiles()) {
    SCOPED_TRACE(bad.what);
    WriteBytes(path_, FileText(kStandardAliasesFile));
    auto engine = MakeEngine();
    engine->CreateStandardAlias("Nowy", "C:\\", "");
    WriteBytes(path_, bad.bytes);
    EXPECT_EQ(ErrorOf([&] { engine->SaveConfiguration(); }),
              Message(bad.message, {path_, bad.detail}));
    EXPECT_EQ(ReadBytes(path_), bad.bytes);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);
  }
}

TEST_F(EngineTest, ReadsAFileEditedByHand) {
  struct Case {
    const char* what;
    std::string bytes;
  };
  const std::string alias = "ALIAS Łódź\r\nDRIVER STANDARD\r\nPARAM PATH=C:\\%c5%81\r\nEND\r\n";
  const Case cases[] = {
      {"saved by Notepad with a byte order mark", "\xEF\xBB\xBFKonfigNovera BDE 1\r\n" + alias},
      {"comments and empty lines",
       "KonfigNovera BDE 1\r\n# zmienione ręcznie\r\n\r\n" + alias + "#koniec\r\n"},
      {"line ends LF only", LineFeedsOnly("KonfigNovera BDE 1\r\n" + alias)},
      {"no line end after END", "KonfigNovera BDE 1\r\n" + alias.substr(0, alias.size() - 2)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(path_, c.bytes);
    auto engine = MakeEngine();
    EXPECT_EQ(engine->ListAliases(), Lines{"Łódź"});
    EXPECT_EQ(engine->ReadAliasParameters("ŁÓDŹ").Value("PATH"), "C:\\Ł");
  }
}

TEST_F(EngineTest, AFailedLoadIsRetriedByTheNextOperation) {
  WriteBytes(path_, "KonfigNovera BDE 1\r\nALIAS A\r\n");
  auto engine = MakeEngine();
  EXPECT_NE(ErrorOf([&] { engine->ListAliases(); }), "(no error)");
  WriteBytes(path_, FileText(kStandardAliasesFile));
  EXPECT_EQ(engine->ListAliases(), (Lines{"Novera- LM", "Inny program"}));
}

TEST_F(EngineTest, MissingOrEmptyFileIsAnEmptyConfiguration) {
  struct Case {
    const char* what;
    std::optional<std::string> bytes;
  };
  const Case cases[] = {
      {"missing", std::nullopt},
      {"0 bytes", ""},
      {"line ends only", "\r\n\n\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove(path_);
    if (c.bytes) WriteBytes(path_, *c.bytes);
    auto engine = MakeEngine();
    EXPECT_TRUE(engine->ListAliases().empty());
    engine->CreateStandardAlias("Novera- Net", "C:\\Net", "");
    engine->SaveConfiguration();
    EXPECT_EQ(MakeEngine()->ListAliases(), Lines{"Novera- Net"});
  }
}

TEST_F(EngineTest, SaveCreatesTheMissingFolderOfTheFile) {
  const std::string nested = (folder_ / "Borland Shared" / "BDE" / "bde.cfg").string();
  Engine engine(registry_, nested);
  engine.SetConfigurationMode(ConfigurationMode::Persistent);
  engine.CreateStandardAlias("Novera- Net", "C:\\Net", "");
  engine.SaveConfiguration();
  EXPECT_EQ(Engine(registry_, nested).ListAliases(), Lines{"Novera- Net"});
}

// The file holds every alias of the machine: a save that cannot be
// written leaves it byte for byte, and the changes wait for the next save.
TEST_F(EngineTest, AFailedWriteLeavesTheFileAndTheNextSaveWritesTheChanges) {
  for (const testing_support::InjectedWriteFault& f : testing_support::kWriteFaults) {
    SCOPED_TRACE(std::strerror(f.error));
    const std::string before = FileText(kStandardAliasesFile);
    WriteBytes(path_, before);
    auto engine = MakeEngine();
    engine->CreateStandardAlias("Nowy", "C:\\Nowy", "");
    {
      platform::ScopedWriteFaultForTesting armed(f.fault);
      EXPECT_EQ(ErrorOf([&] { engine->SaveConfiguration(); }),
                Message(platform::kCreateFileFailedMessage, {path_, std::strerror(f.error)}));
    }
    EXPECT_EQ(ReadBytes(path_), before);
    EXPECT_EQ(std::distance(fs::directory_iterator(folder_), fs::directory_iterator()), 1);

    engine->SaveConfiguration();
    EXPECT_EQ(MakeEngine()->ListAliases(), (Lines{"Novera- LM", "Inny program", "Nowy"}));
  }
}

TEST_F(EngineTest, SessionModeWritesNothing) {
  for (const bool fileExists : {false, true}) {
    SCOPED_TRACE(fileExists ? "file exists" : "no file");
    fs::remove(path_);
    if (fileExists) WriteBytes(path_, FileText(kStandardAliasesFile));
    auto engine = MakeEngine(ConfigurationMode::Session);
    engine->CreateStandardAlias("Novera- Net", "C:\\Net", "");
    engine->UpdateAlias("Novera- Net", ParameterList(Lines{"PATH=D:\\"}));
    engine->SaveConfiguration();
    EXPECT_EQ(engine->ListAliases().back(), "Novera- Net");
    EXPECT_EQ(fs::exists(path_), fileExists);
    if (fileExists) {
      EXPECT_EQ(ReadBytes(path_), FileText(kStandardAliasesFile));
    }
  }
}

TEST_F(EngineTest, ChangesOfAnotherWriterMadeBeforeTheSaveSurvive) {
  WriteBytes(path_, FileText({"KonfigNovera BDE 1", "ALIAS A", "DRIVER STANDARD", "PARAM PATH=a",
                              "END", "ALIAS B", "DRIVER STANDARD", "PARAM PATH=b", "END"}));
  auto ours = MakeEngine();
  ASSERT_EQ(ours->ListAliases(), (Lines{"A", "B"}));

  auto theirs = MakeEngine();
  theirs->UpdateAlias("A", ParameterList(Lines{"PATH=a (ich)"}));
  theirs->UpdateAlias("B", ParameterList(Lines{"PATH=b (ich)"}));
  theirs->CreateStandardAlias("D", "d (ich)", "");
  theirs->SaveConfiguration();

  ours->UpdateAlias("A", ParameterList(Lines{"PATH=a (nasza)"}));
  ours->CreateStandardAlias("C", "c (nasza)", "");
  ours->SaveConfiguration();

  // An alias both changed holds ours, the later save.
  struct Case {
    std::string alias;
    std::string path;
  };
  const Case cases[] = {{"A", "a (nasza)"}, {"B", "b (ich)"}, {"D", "d (ich)"}, {"C", "c (nasza)"}};
  auto reader = MakeEngine();
  EXPECT_EQ(reader->ListAliases(), (Lines{"A", "B", "D", "C"}));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.alias);
    EXPECT_EQ(reader->ReadAliasParameters(c.alias).Value("PATH"), c.path);
  }
  // Our engine now sees the file as saved.
  EXPECT_EQ(ours->ReadAliasParameters("B").Value("PATH"), "b (ich)");
}

TEST_F(EngineTest, AliasOperationsRefuseAndChangeNothing) {
  struct Case {
    const char* what;
    std::function<void(Engine&)> action;
    std::string expected;
  };
  const ParameterList params(Lines{"PATH=C:\\"});
  const Case cases[] = {
      {"driver of a missing alias", [](Engine& e) { e.AliasDriver("Brak"); }, Message(kAliasMissingMessage, {"Brak"})},
      {"parameters of a missing alias", [](Engine& e) { e.ReadAliasParameters("Brak"); },
       Message(kAliasMissingMessage, {"Brak"})},
      {"update of a missing alias", [&](Engine& e) { e.UpdateAlias("Brak", params); },
       Message(kAliasMissingMessage, {"Brak"})},
      {"create an existing name in other case", [&](Engine& e) { e.CreateAlias("NOVERA- lm", "STANDARD", params); },
       Message(kAliasExistsMessage, {"NOVERA- lm"})},
      {"create a standard alias over an existing one",
       [](Engine& e) { e.CreateStandardAlias("inny PROGRAM", "C:\\", ""); },
       Message(kAliasExistsMessage, {"inny PROGRAM"})},
      {"create of an unknown driver", [&](Engine& e) { e.CreateAlias("Nowy", "MSACCESS", params); },
       Message(kUnknownDriverMessage, {"MSACCESS"})},
      {"update of an alias of an unknown driver", [&](Engine& e) { e.UpdateAlias("Inny program", params); },
       Message(kUnknownDriverMessage, {"MSACCESS"})},
      {"delete of a missing alias", [](Engine& e) { e.DeleteAlias("Brak"); }, Message(kAliasMissingMessage, {"Brak"})},
      {"create without a name", [&](Engine& e) { e.CreateAlias("", "STANDARD", params); },
       std::string(kEmptyAliasNameMessage)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    WriteBytes(path_, FileText(kStandardAliasesFile));
    auto engine = MakeEngine();
    EXPECT_EQ(ErrorOf([&] { c.action(*engine); }), c.expected);
    EXPECT_EQ(engine->ListAliases(), (Lines{"Novera- LM", "Inny program"}));
    engine->SaveConfiguration();
    EXPECT_EQ(ReadBytes(path_), FileText(kStandardAliasesFile));
  }
}

TEST_F(EngineTest, UpdateChangesOnlyParametersTheAliasHas) {
  WriteBytes(path_, FileText({"KonfigNovera BDE 1", "ALIAS Stary", "DRIVER SQL Native Client",
                              "PARAM DATABASE NAME=stara", "PARAM USER NAME=jan",
                              "PARAM SQLQRYMODE=SERVER", "END"}));
  auto engine = MakeEngine();
  engine->UpdateAlias("stary", ParameterList(Lines{"database name=nowa", "ODBC DSN=Novera",
                                                   "SQLQRYMODE=", "PASSWORD=tajne"}));
  EXPECT_EQ(engine->ReadAliasParameters("Stary").Lines(),
            (Lines{"DATABASE NAME=nowa", "USER NAME=jan", "SQLQRYMODE="}));
}

// A file written by other tools may give an alias of a known driver a
// password line; an update must not put the template's password into it.
TEST_F(EngineTest, UpdateLeavesAPasswordLineTheFileHolds) {
  WriteBytes(path_, FileText({"KonfigNovera BDE 1", "ALIAS Stary", "DRIVER SQL Native Client",
                              "PARAM DATABASE NAME=stara", "PARAM PASSWORD=", "END", "ALIAS Oracle",
                              "DRIVER ORACLE", "PARAM SERVER NAME=NOVERA", "PARAM password=stare", "END"}));
  auto engine = MakeEngine();
  engine->UpdateAlias("Stary", ParameterList(Lines{"DATABASE NAME=nowa", "PASSWORD=tajne1"}));
  engine->UpdateAlias("Oracle", ParameterList(Lines{"SERVER NAME=XE", "PASSWORD=tajne2"}));
  EXPECT_EQ(engine->ReadAliasParameters("Stary").Lines(), (Lines{"DATABASE NAME=nowa", "PASSWORD="}));
  EXPECT_EQ(engine->ReadAliasParameters("Oracle").Lines(), (Lines{"SERVER NAME=XE", "password=stare"}));
  engine->SaveConfiguration();
  EXPECT_EQ(ReadBytes(path_).find("tajne"), std::string::npos);
}

TEST_F(EngineTest, StandardAliasWithoutDefaultDriverUsesParadox) {
  struct Case {
    std::string defaultDriver;
    std::string expected;
  };
  const Case cases[] = {{"", "PARADOX"}, {"DBASE", "DBASE"}};
  auto engine = MakeEngine();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.expected);
    engine->CreateStandardAlias(c.expected, "C:\\Dane", c.defaultDriver);
    EXPECT_EQ(engine->AliasDriver(c.expected), "STANDARD");
    const ParameterList params = engine->ReadAliasParameters(c.expected);
    EXPECT_EQ(params.Value("PATH"), "C:\\Dane");
    EXPECT_EQ(params.Value("DEFAULT DRIVER"), c.expected);
  }
}

TEST_F(EngineTest, ConfigFileComesFromTheRegistryElseTheDefault) {
  const std::string named = (folder_ / "IDAPI32.CFG").string();
  const std::string key = "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\Database Engine]\n";
  struct Case {
    const char* what;
    std::string reg;
    std::string expected;
  };
  const Case cases[] = {
      {"no BDE key", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland]\n", path_},
      {"key without the value", key + "\"CONFIGFILE02\"=\"x\"\n", path_},
      {"empty value", key + "\"CONFIGFILE01\"=\"\"\n", path_},
      {"value names the file", key + "\"configfile01\"=\"" + named + "\"\n", named},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    platform::MemoryRegistry registry;
    registry.LoadRegText(c.reg);
    const bool keyExisted = registry.KeyExists(platform::RegistryRoot::LocalMachine, kBdeKeyPath);
    WriteBytes(c.expected, FileText({"KonfigNovera BDE 1", "ALIAS " + std::string(c.what),
                                     "DRIVER STANDARD", "END"}));

    Engine engine(registry, path_);
    EXPECT_EQ(engine.ConfigFilePath(), c.expected);
    EXPECT_EQ(engine.ListAliases(), Lines{c.what});
    // The BDE key is only read, never created.
    EXPECT_EQ(registry.KeyExists(platform::RegistryRoot::LocalMachine, kBdeKeyPath), keyExisted);
  }
}

TEST_F(EngineTest, ConfigFileValueOfAnotherTypeRaises) {
  registry_.LoadRegText(
      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\Database Engine]\n"
      "\"CONFIGFILE01\"=dword:00000001\n");
  auto engine = MakeEngine();
  EXPECT_EQ(ErrorOf([&] { engine->ListAliases(); }),
            Message(platform::kWrongTypeMessage, {"CONFIGFILE01"}));
}

}  // namespace
}  // namespace bde
