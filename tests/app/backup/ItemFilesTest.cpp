#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/backup/ItemFiles.h"
#include "app/backup/Manifest.h"
#include "platform/TextFile.h"
#include "platform/Utf16.h"
#include "tests/ErrorOf.h"

namespace app::backup {
namespace {

using namespace std::string_literals;
using Lines = std::vector<std::string>;
using platform::RegistryRoot;
using platform::RegistryValue;

constexpr RegistryRoot kLM = RegistryRoot::LocalMachine;

// The lines of a .reg file, read as regedit reads it.
Lines RegLines(const std::string& content) {
  EXPECT_TRUE(content.starts_with("\xFF\xFE"));
  std::u16string units;
  for (size_t i = 2; i + 1 < content.size(); i += 2) {
    units +=
        static_cast<char16_t>(static_cast<unsigned char>(content[i]) | static_cast<unsigned char>(content[i + 1]) << 8);
  }
  return platform::SplitLines(platform::FromUtf16(units));
}

const Place kKey = Place::RegistryKey(kLM, "\\SOFTWARE\\ODBC\\ODBC.INI\\Novera LM");

// Every value comes back with its exact type and bytes; those a person
// can read stand as text, the rest as regedit's hex.
TEST(ItemFilesTest, ARegistryKeyIsARegExportThatReadsBackByteForByte) {
  const std::vector<NamedValue> values = {
      {"Driver", {platform::kRegSz, "C\0:\0\\\0\"\0\0\0"s}},
      {"", {platform::kRegSz, "\x7c\x01\0\0"s}},
      {"Zażółć \"cytat\" \\ ukośnik", {platform::kRegDword, "\xff\0\0\x80"s}},
      {"Dwa wiersze", {platform::kRegSz, "a\0\r\0\n\0b\0\0\0"s}},
      {"Bez zera", {platform::kRegSz, "a\0"s}},
      {"Ścieżka", {platform::kRegExpandSz, "%\0T\0%\0\0\0"s}},
      {"Lista", {platform::kRegMultiSz, "a\0\0\0\0\0"s}},
      {"Bajty", {platform::kRegBinary, ""}},
      {"Krótki DWORD", {platform::kRegDword, "\1\0"s}},
      {"Bez typu", {platform::kRegNone, "\1"s}},
  };
  const State state{true, values, {}, {}, {}, 0};
  const std::string content = ItemFileContent(kKey, state);
  EXPECT_EQ(
      RegLines(content),
      (Lines{"Windows Registry Editor Version 5.00", "", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\Novera LM]",
             "\"Driver\"=\"C:\\\\\\\"\"", "@=\"ż\"", "\"Zażółć \\\"cytat\\\" \\\\ ukośnik\"=dword:800000ff",
             "\"Dwa wiersze\"=hex(1):61,00,0d,00,0a,00,62,00,00,00", "\"Bez zera\"=hex(1):61,00",
             "\"Ścieżka\"=hex(2):25,00,54,00,25,00,00,00", "\"Lista\"=hex(7):61,00,00,00,00,00",
             "\"Bajty\"=hex:", "\"Krótki DWORD\"=hex(4):01,00", "\"Bez typu\"=hex(0):01", ""}));
  const std::optional<State> read = ReadItemFile(kKey, content);
  ASSERT_TRUE(read.has_value());
  EXPECT_TRUE(read->present);
  EXPECT_EQ(read->values, values);
}

TEST(ItemFilesTest, AFileOfAnotherItemOrDamagedIsNoCopy) {
  const State state{true, {{"Driver", {platform::kRegSz, "a\0\0\0"s}}}, {}, {}, {}, 0};
  const std::string content = ItemFileContent(kKey, state);
  EXPECT_FALSE(ReadItemFile(Place::RegistryKey(kLM, "\\SOFTWARE\\ODBC\\ODBC.INI\\Inne"), content));
  EXPECT_FALSE(ReadItemFile(Place::RegistryValue(kLM, kKey.path, "Server"), content));
  EXPECT_TRUE(ReadItemFile(Place::RegistryValue(kLM, kKey.path, "driver"), content));
  const std::string damaged[] = {"", content.substr(2), content.substr(0, content.size() - 1),
                                 content.substr(0, content.size() - 8) + "X\0,\0\r\0\n\0"s};
  for (const std::string& bytes : damaged) EXPECT_FALSE(ReadItemFile(kKey, bytes));
  for (const char* line : {"\"a\"=hex:01\r\n\"A\"=hex:02", "\"a\"=hex:1", "\"a\"=hex:01,", "\"a\"=dword:1", "\"a\"=\"b",
                           "\"a\"x", "a=\"b\"", "\"a\"=hex(zz):01", "\"a\"=hex:0g"}) {
    const std::string text =
        "Windows Registry Editor Version 5.00\r\n\r\n[HKEY_LOCAL_MACHINE" + kKey.path + "]\r\n" + line + "\r\n";
    std::string bytes = "\xFF\xFE";
    for (const char16_t unit : platform::ToUtf16(text)) {
      bytes += static_cast<char>(unit & 0xFF);
      bytes += static_cast<char>(unit >> 8);
    }
    EXPECT_FALSE(ReadItemFile(kKey, bytes)) << line;
  }
}

TEST(ItemFilesTest, AValueNameWithALineBreakCannotBeKept) {
  const State state{true, {{"a\nb", {platform::kRegSz, "\0\0"s}}}, {}, {}, {}, 0};
  EXPECT_EQ(
      testing_support::ErrorOf([&] { ItemFileContent(kKey, state); }),
      "Nie można zachować w kopii zapasowej: klucz rejestru \"HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\Novera "
      "LM\" (nazwa wartości \"a\nb\" zawiera znak końca wiersza)");
}

TEST(ItemFilesTest, AnAliasIsLinesOfItsDriverAndParameters) {
  const Place alias = Place::Alias("X Novera- LM");
  const State state{true, {}, {}, "SQL Native Client", {"DATABASE NAME=Łódź 100%", "ODBC DSN=a\r\nb\tc", "=", ""}, 0};
  const std::string content = ItemFileContent(alias, state);
  EXPECT_EQ(content,
            "Alias BDE: X Novera- LM\r\nSterownik: SQL Native Client\r\nDATABASE NAME=Łódź 100%25\r\n"
            "ODBC DSN=a%0D%0Ab%09c\r\n=\r\n\r\n");
  const std::optional<State> read = ReadItemFile(Place::Alias("x novera- lm"), content);
  ASSERT_TRUE(read.has_value());
  EXPECT_EQ(read->driver, state.driver);
  EXPECT_EQ(read->parameters, state.parameters);
  EXPECT_FALSE(ReadItemFile(Place::Alias("X Novera- Ochrona"), content));
  EXPECT_FALSE(ReadItemFile(alias, "Alias BDE: X Novera- LM\r\n"));
  EXPECT_FALSE(ReadItemFile(alias, "Alias BDE: X Novera- LM\r\nSterownik: S\r\nA=%4\r\n"));
}

TEST(ItemFilesTest, FilesAreTheirBytesUnderTheirOwnNames) {
  const Place file = Place::File("C:\\oracle\\network\\admin\\sqlnet.ora");
  const State state{true, {}, "a\rb\n\0"s, {}, {}, 0};
  EXPECT_EQ(ItemFileContent(file, state), state.content);
  EXPECT_EQ(ReadItemFile(file, state.content)->content, state.content);
  EXPECT_EQ(ItemFileSuffix(file), "-sqlnet.ora");
  EXPECT_EQ(ItemFileSuffix(Place::EngineFile("/var/bde/Konfig:Novera?.cfg")), "-Konfig_Novera_.cfg");
  EXPECT_EQ(ItemFileSuffix(kKey), ".reg");
  EXPECT_EQ(ItemFileSuffix(Place::Alias("X")), ".txt");
}

const char kManifestText[] =
    "KonfigNovera: kopia zapasowa konfiguracji\r\n"
    "Przebieg: 20261209-103000-123\r\n"
    "Tryb: bez okna (/s)\r\n"
    "Stan: zakończony\r\n"
    "Rodzaj\tMiejsce\tNazwa wartości\tPrzed\tPlik\tPo\tPlik\r\n"
    "klucz rejestru\tHKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\Novera LM\t\tbrak (kluczy: "
    "2)\t-\tjest\t01-po.reg\r\n"
    "wartość rejestru\tHKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources\tNovera LM\tbrak\t-\tjest\t"
    "02-po.reg\r\n"
    "plik\tC:\\o\\100%25%09ab\\sqlnet.ora\t\tjest\t03-przed-sqlnet.ora\tjest\t03-po-sqlnet.ora\r\n"
    "alias BDE\tX Novera- LM\t\tjest\t04-przed.txt\r\n";

TEST(ManifestTest, AManifestIsOneItemALineAndReadsBack) {
  Manifest manifest{"20261209-103000-123", RunMode::Unattended, RunState::Finished, {}};
  manifest.items = {
      {Place::RegistryKey(kLM, "\\SOFTWARE\\ODBC\\ODBC.INI\\Novera LM"), false, "", true, "01-po.reg", 2, 0},
      {Place::RegistryValue(kLM, "\\SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources", "Novera LM"), false, "", true,
       "02-po.reg", 0, 0},
      {Place::File("C:\\o\\100%\tab\\sqlnet.ora"), true, "03-przed-sqlnet.ora", true, "03-po-sqlnet.ora", 0, 0},
      {Place::Alias("X Novera- LM"), true, "04-przed.txt", std::nullopt, "", 0, 0},
  };
  EXPECT_EQ(ManifestText(manifest), kManifestText);
  const Manifest read = ParseManifest(kManifestText);
  EXPECT_EQ(read.run, manifest.run);
  EXPECT_EQ(read.mode, RunMode::Unattended);
  EXPECT_EQ(read.state, RunState::Finished);
  ASSERT_EQ(read.items.size(), 4u);
  EXPECT_EQ(ManifestText(read), kManifestText);
  EXPECT_EQ(read.items[0].place.path, "\\SOFTWARE\\ODBC\\ODBC.INI\\Novera LM");
  EXPECT_EQ(read.items[0].missingKeysBefore, 2);
  EXPECT_EQ(read.items[1].place.valueName, "Novera LM");
  EXPECT_EQ(read.items[2].place.path, "C:\\o\\100%\tab\\sqlnet.ora");
  EXPECT_FALSE(read.items[3].presentAfter.has_value());
}

// A manifest edited by hand names the first line it cannot read; a file
// name that leads out of the folder is one of them.
TEST(ManifestTest, ALineThatCannotBeReadIsNamed) {
  struct Case {
    const char* line;
    int number;
  };
  const std::string head(kManifestText, std::string_view(kManifestText).find("klucz rejestru"));
  const Case cases[] = {
      {"plik\tC:\\a\t\tjest\t..\\..\\Windows\\win.ini", 6},
      {"plik\tC:\\a\t\tjest\t..", 6},
      {"plik\tC:\\a\t\tjest\t-", 6},
      {"plik\tC:\\a\t\tbrak\t01-przed-a", 6},
      {"plik\tC:\\a\t\tbyl\t-", 6},
      {"plik\tC:\\a\t\tbrak\t-\tjest", 6},
      {"klucz rejestru\tHKEY_USERS\\X\t\tbrak\t-", 6},
      {"klucz rejestru\tHKEY_LOCAL_MACHINEX\t\tbrak\t-", 6},
      {"klucz rejestru\tHKEY_LOCAL_MACHINE\\X\t\tbrak (kluczy: x)\t-", 6},
      {"folder\tC:\\a\t\tbrak\t-", 6},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(testing_support::ErrorOf([&] { ParseManifest(head + c.line + "\r\n"); }),
              "wiersz " + std::to_string(c.number) + " pliku manifest.txt jest niepoprawny: \"" + c.line + "\"");
  }
  EXPECT_EQ(testing_support::ErrorOf([&] { ParseManifest(""); }), "wiersz 1 pliku manifest.txt jest niepoprawny: \"\"");
  std::string otherState = head;
  otherState.replace(otherState.find("zakończony"), std::string("zakończony").size(), "gotowy");
  EXPECT_EQ(testing_support::ErrorOf([&] { ParseManifest(otherState); }),
            "wiersz 4 pliku manifest.txt jest niepoprawny: \"Stan: gotowy\"");
}

}  // namespace
}  // namespace app::backup
