#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "app/backup/Snapshot.h"
#include "bde/Engine.h"
#include "platform/TextFile.h"
#include "tests/TempFolder.h"
#include "tests/platform/MemoryRegistry.h"

namespace app::backup {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;
using platform::RegistryRoot;
using platform::RegistryValue;

constexpr RegistryRoot kLM = RegistryRoot::LocalMachine;

RegistryValue Text(const std::string& utf16le) { return {platform::kRegSz, utf16le + "\0\0"s}; }

class SnapshotTest : public ::testing::Test {
 protected:
  SnapshotTest() {
    registry_.LoadRegText(
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\Novera LM]\n"
        "\"Driver\"=\"C:\\\\sqlncli.dll\"\n\"Count\"=dword:00000002\n"
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources]\n\"Novera LM\"=\"SQL Native Client\"\n");
    registry_.SetValue(kLM, "\\SOFTWARE\\ODBC\\ODBC.INI\\Novera LM", "Lista",
                       {platform::MemoryRegistry::ValueType::Raw, "a\0\0\0"s, 0, platform::kRegMultiSz});
  }

  std::string PathOf(const char* name) const { return (temp_.Path() / name).string(); }

  testing_support::TempFolder temp_;
  platform::MemoryRegistry registry_;
  bde::Engine engine_{registry_, PathOf("bde.cfg")};
  Workstation workstation_{registry_, [this]() -> bde::AliasEngine& { return engine_; }};
};

TEST_F(SnapshotTest, EachKindIsReadAsItStandsOrAsAbsent) {
  platform::WriteFileContent(PathOf("sqlnet.ora"), "NAMES.DIRECTORY_PATH= (TNSNAMES)\r\n\xA5");
  engine_.CreateAlias("X Novera- LM", "SQL Native Client", bde::ParameterList(Lines{"DATABASE NAME=LUMIRA"}));

  State key = ReadState(workstation_, Place::RegistryKey(kLM, "\\software\\odbc\\odbc.ini\\NOVERA LM"));
  ASSERT_TRUE(key.present);
  EXPECT_EQ(key.values, (std::vector<NamedValue>{{"Driver", Text("C\0:\0\\\0s\0q\0l\0n\0c\0l\0i\0.\0d\0l\0l\0"s)},
                                                 {"Count", {platform::kRegDword, "\2\0\0\0"s}},
                                                 {"Lista", {platform::kRegMultiSz, "a\0\0\0"s}}}));

  const State entry =
      ReadState(workstation_, Place::RegistryValue(kLM, "\\SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources", "novera lm"));
  ASSERT_TRUE(entry.present);
  EXPECT_EQ(ValueText(entry.values.at(0).value), "SQL Native Client");

  const State file = ReadState(workstation_, Place::File(PathOf("sqlnet.ora")));
  EXPECT_TRUE(file.present);
  EXPECT_EQ(file.content, "NAMES.DIRECTORY_PATH= (TNSNAMES)\r\n\xA5");

  const State alias = ReadState(workstation_, Place::Alias("x novera- lm"));
  ASSERT_TRUE(alias.present);
  EXPECT_EQ(alias.driver, "SQL Native Client");
  EXPECT_EQ(bde::ParameterList(alias.parameters).Value("DATABASE NAME"), "LUMIRA");

  struct Absent {
    const char* what;
    Place place;
    int missingKeys;
  };
  const Absent absent[] = {
      {"a key under an existing one", Place::RegistryKey(kLM, "\\SOFTWARE\\ODBC\\ODBC.INI\\Inne"), 1},
      {"a key two levels down", Place::RegistryKey(kLM, "\\SOFTWARE\\ODBC\\Brak\\Inne"), 2},
      {"a value of an existing key", Place::RegistryValue(kLM, "\\SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources", "Inne"),
       0},
      {"a value of a missing key", Place::RegistryValue(kLM, "\\SOFTWARE\\ORACLE\\Brak", "Inne"), 2},
      {"a file", Place::File(PathOf("tnsnames.ora")), 0},
      {"an alias", Place::Alias("X Novera- Ochrona"), 0},
      {"the engine's file", Place::EngineFile(PathOf("bde.cfg")), 0},
  };
  for (const Absent& c : absent) {
    SCOPED_TRACE(c.what);
    const State state = ReadState(workstation_, c.place);
    EXPECT_FALSE(state.present);
    EXPECT_EQ(state.missingKeys, c.missingKeys);
  }
}

TEST_F(SnapshotTest, StatesCompareAsTheWorkstationReadsThem) {
  const NamedValue a{"Driver", Text("a\0"s)};
  const NamedValue b{"Server", Text("b\0"s)};
  State key{true, {a, b}, {}, {}, {}, 0};
  State reordered{true, {{"SERVER", b.value}, a}, {}, {}, {}, 0};
  State changed{true, {a, {"Server", Text("c\0"s)}}, {}, {}, {}, 0};
  State fewer{true, {a}, {}, {}, {}, 0};
  State absent;
  State absentTwoKeys;
  absentTwoKeys.missingKeys = 2;

  EXPECT_TRUE(SameState(ItemKind::RegistryKey, key, reordered));
  EXPECT_FALSE(SameState(ItemKind::RegistryKey, key, changed));
  EXPECT_FALSE(SameState(ItemKind::RegistryKey, key, fewer));
  EXPECT_FALSE(SameState(ItemKind::RegistryKey, key, absent));
  EXPECT_TRUE(SameState(ItemKind::RegistryKey, absent, absentTwoKeys));

  State alias{true, {}, {}, "ORACLE", {"USER NAME=A", "SERVER NAME=XE"}, 0};
  State otherOrder{true, {}, {}, "ORACLE", {"SERVER NAME=XE", "USER NAME=A"}, 0};
  State otherDriver{true, {}, {}, "Oracle", {"USER NAME=A", "SERVER NAME=XE"}, 0};
  EXPECT_TRUE(SameState(ItemKind::Alias, alias, alias));
  EXPECT_FALSE(SameState(ItemKind::Alias, alias, otherOrder));
  EXPECT_FALSE(SameState(ItemKind::Alias, alias, otherDriver));

  State file{true, {}, "x\r\n", {}, {}, 0};
  State lineFeed{true, {}, "x\n", {}, {}, 0};
  State empty{true, {}, "", {}, {}, 0};
  EXPECT_FALSE(SameState(ItemKind::File, file, lineFeed));
  EXPECT_FALSE(SameState(ItemKind::File, empty, absent));
}

TEST(SnapshotPlaceTest, PlacesMatchAsTheRegistryAndTheEnginesFindThem) {
  EXPECT_TRUE(SamePlace(Place::RegistryKey(kLM, "\\SOFTWARE\\A"), Place::RegistryKey(kLM, "\\software\\a")));
  EXPECT_FALSE(SamePlace(Place::RegistryKey(kLM, "\\A"), Place::RegistryKey(RegistryRoot::CurrentUser, "\\A")));
  EXPECT_FALSE(SamePlace(Place::RegistryKey(kLM, "\\A"), Place::RegistryValue(kLM, "\\A", "")));
  EXPECT_FALSE(SamePlace(Place::RegistryValue(kLM, "\\A", "x"), Place::RegistryValue(kLM, "\\A", "y")));
  EXPECT_TRUE(SamePlace(Place::Alias("X Novera- LM"), Place::Alias("x novera- lm")));
  EXPECT_FALSE(SamePlace(Place::File("C:\\a.ora"), Place::File("C:\\A.ora")));
  EXPECT_FALSE(SamePlace(Place::File("C:\\a.ora"), Place::EngineFile("C:\\a.ora")));

  EXPECT_EQ(Describe(Place::RegistryKey(kLM, "\\SOFTWARE\\ODBC\\ODBC.INI\\Novera LM")),
            "klucz rejestru \"HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\Novera LM\"");
  EXPECT_EQ(
      Describe(Place::RegistryValue(kLM, "\\SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources", "Novera LM")),
      "wartość \"Novera LM\" klucza rejestru \"HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources\"");
  EXPECT_EQ(Describe(Place::File("C:\\o\\sqlnet.ora")), "plik \"C:\\o\\sqlnet.ora\"");
  EXPECT_EQ(Describe(Place::Alias("X Novera- LM")), "alias BDE \"X Novera- LM\"");
  EXPECT_EQ(Describe(Place::EngineFile("C:\\k.cfg")), "plik konfiguracji BDE \"C:\\k.cfg\"");
}

// What a preview of a run shows: the items that differ, each told in lines.
TEST(SnapshotChangesTest, ChangesListTheItemsThatDifferAndSayHow) {
  const Place key = Place::RegistryKey(kLM, "\\SOFTWARE\\ODBC\\ODBC.INI\\Novera LM");
  const Place alias = Place::Alias("X Novera- LM");
  const Place file = Place::File("C:\\o\\sqlnet.ora");
  const Place same = Place::File("C:\\o\\tnsnames.ora");
  const Snapshot before = {
      {key, {true, {{"Server", Text("A\0"s)}, {"Stara", Text("s\0"s)}}, {}, {}, {}, 0}},
      {alias, {true, {}, {}, "SQL Native Client", {"DATABASE NAME=A", "USER NAME=dbo"}, 0}},
      {file, {true, {}, "abc", {}, {}, 0}},
      {same, {true, {}, "x", {}, {}, 0}},
  };
  const Snapshot after = {
      {key, {true, {{"Server", Text("B\0"s)}, {"MARS_Connection", Text("Y\0"s)}}, {}, {}, {}, 0}},
      {alias, {true, {}, {}, "SQL Native Client", {"DATABASE NAME=B", "USER NAME=dbo", "ODBC DSN=N"}, 0}},
      {same, {true, {}, "x", {}, {}, 0}},
      {Place::Alias("X Novera- Ochrona"), {true, {}, {}, "ORACLE", {"USER NAME=O"}, 0}},
  };
  const std::vector<Change> changes = Changes(before, after);
  ASSERT_EQ(changes.size(), 4u);
  EXPECT_EQ(DescribeChange(changes[0]),
            (Lines{"zmieniono", "wartość \"Server\": \"A\" → \"B\"", "wartość \"MARS_Connection\": dodano \"Y\"",
                   "wartość \"Stara\": usunięto \"s\""}));
  EXPECT_EQ(DescribeChange(changes[1]),
            (Lines{"zmieniono", "parametr \"DATABASE NAME\": \"A\" → \"B\"", "parametr \"ODBC DSN\": dodano \"N\""}));
  EXPECT_EQ(DescribeChange(changes[2]),
            (Lines{"utworzono", "sterownik: \"ORACLE\"", "parametr \"USER NAME\": dodano \"O\""}));
  EXPECT_TRUE(SamePlace(changes[3].place, file));
  EXPECT_EQ(DescribeChange(changes[3]), Lines{"usunięto"});
}

TEST(SnapshotValueTest, ValuesAreToldAsAPersonReadsThem) {
  struct Case {
    RegistryValue value;
    std::string text;
  };
  const Case cases[] = {
      {Text("Z\0\x05\x01"s), "\"Zą\""},
      {{platform::kRegExpandSz, "%\0T\0%\0\0\0"s}, "\"%T%\" (REG_EXPAND_SZ)"},
      {{platform::kRegDword, "\x2a\0\0\0"s}, "42"},
      {{platform::kRegDword, "\x2a\0\0"s}, "hex(4):2a,00,00"},
      {{platform::kRegBinary, "\x01\xff"s}, "hex:01,ff"},
      {{platform::kRegMultiSz, "a\0\0\0\0\0"s}, "hex(7):61,00,00,00,00,00"},
      {{platform::kRegQword, "\1\0\0\0\0\0\0\0"s}, "hex(b):01,00,00,00,00,00,00,00"},
      {{platform::kRegSz, "a\0"s}, "hex(1):61,00"},
      {{platform::kRegSz, "a\0\0\0b\0\0\0"s}, "hex(1):61,00,00,00,62,00,00,00"},
  };
  for (const Case& c : cases) EXPECT_EQ(DescribeValue(c.value), c.text);
}

}  // namespace
}  // namespace app::backup
