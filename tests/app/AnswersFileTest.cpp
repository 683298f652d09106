#include "app/AnswersFile.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "app/servers/Mssql.h"
#include "app/servers/Oracle.h"
#include "tests/ErrorOf.h"
#include "tests/TempFolder.h"

namespace app {
namespace {

TEST(AnswersFileTest, SectionsAndKeysInAnyCaseCommentsAndBlanks) {
  const AnswersFile file = AnswersFile::Parse("a.ini",
                                              "; deployment\r\n"
                                              "  [konfignovera]  \r\n"
                                              "SERWER = Oracle ; or MSSQL\n"
                                              "\twersja=9\r"
                                              "[ORACLE]\n"
                                              "Host=\n"
                                              "UzytkownikLumira=Łukasz Żółć\n");
  EXPECT_EQ(file.Find(kMainSection, "Serwer")->text, "Oracle");
  EXPECT_EQ(file.Find(kMainSection, "Serwer")->line, 3);
  EXPECT_EQ(file.Find(kMainSection, "Wersja")->text, "9");
  EXPECT_EQ(file.Find(kOracleSection, "Host")->text, "");
  EXPECT_EQ(file.Find(kOracleSection, "UzytkownikLumira")->text, "Łukasz Żółć");
  EXPECT_FALSE(file.Find(kMainSection, "Kopia"));
  EXPECT_FALSE(file.Find(kMssqlSection, "Baza"));
}

TEST(AnswersFileTest, EachFaultNamesTheFileTheLineAndTheKey) {
  struct Case {
    const char* text;
    const char* message;
  };
  const Case cases[] = {
      {"[KonfigNovera]\n[Inna]\n", "Plik odpowiedzi \"a.ini\", wiersz 2: nieznana sekcja [Inna]"},
      {"[KonfigNovera]\nSerwerr=MSSQL\n",
       "Plik odpowiedzi \"a.ini\", wiersz 2: nieznany klucz \"Serwerr\" w sekcji [KonfigNovera]"},
      {"[MSSQL]\nHost=x\n", "Plik odpowiedzi \"a.ini\", wiersz 2: nieznany klucz \"Host\" w sekcji [MSSQL]"},
      {"Serwer=MSSQL\n", "Plik odpowiedzi \"a.ini\", wiersz 1: klucz \"Serwer\" przed pierwszą sekcją"},
      {"[KonfigNovera]\n\nSerwer\n",
       "Plik odpowiedzi \"a.ini\", wiersz 3: niezrozumiały wiersz \"Serwer\", oczekiwano \"klucz=wartość\""},
      {"[KonfigNovera\n", "Plik odpowiedzi \"a.ini\", wiersz 1: niezrozumiały wiersz \"[KonfigNovera\""},
      {"[KonfigNovera]\nWersja=9\nwersja=10\n",
       "Plik odpowiedzi \"a.ini\", wiersz 3: klucz \"Wersja\" podany drugi raz (pierwszy raz w wierszu 2)"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(testing_support::ErrorOf([&] { AnswersFile::Parse("a.ini", c.text); }), c.message);
  }
}

TEST(AnswersFileTest, AValueThatCannotBeUsedIsReportedWithItsLineOrAsLeftOut) {
  const AnswersFile file = AnswersFile::Parse("a.ini", "[Oracle]\n\nPort=x\n");
  EXPECT_EQ(testing_support::ErrorOf([&] { file.Fail(kOracleSection, "Port", "zła"); }),
            "Plik odpowiedzi \"a.ini\", wiersz 3: klucz \"Port\": zła");
  EXPECT_EQ(testing_support::ErrorOf([&] { file.Fail(kOracleSection, "Host", "brak"); }),
            "Plik odpowiedzi \"a.ini\", sekcja [Oracle], klucz \"Host\" (brak w pliku): brak");
}

TEST(AnswersFileTest, EncodingsAreToldByTheBomOrTheBytes) {
  const std::string polish = "Żółw";  // UTF-8
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"UTF-8", polish},
      {"UTF-8 with BOM", "\xEF\xBB\xBF" + polish},
      {"UTF-16 LE", std::string("\xFF\xFE\x7B\x01\xF3\x00\x42\x01\x77\x00", 10)},
      {"UTF-16 BE", std::string("\xFE\xFF\x01\x7B\x00\xF3\x01\x42\x00\x77", 10)},
      {"Windows-1250", "\xAF\xF3\xB3w"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DecodeAnswersText(c.bytes), polish);
  }
  // A UTF-16 file's line ends and keys are read like any other.
  std::string utf16 = "\xFF\xFE";
  for (char c : std::string("[Oracle]\r\nHost=h\r\n")) utf16 += std::string{c, '\0'};
  EXPECT_EQ(AnswersFile::Parse("a.ini", *DecodeAnswersText(utf16)).Find(kOracleSection, "Host")->text, "h");
}

// Its BOM says UTF-8 and its bytes say otherwise: no guess is made.
TEST(AnswersFileTest, AFileMarkedUtf8ThatIsNotIsAWrongAnswersFile) {
  testing_support::TempFolder folder;
  const std::string path = (folder.Path() / "a.ini").string();
  std::ofstream(path, std::ios::binary) << "\xEF\xBB\xBF[MSSQL]\r\nBaza=\xA3\xF3" "d\xBF\r\n";
  EXPECT_EQ(testing_support::ErrorOf([&] { AnswersFile::Read(path); }),
            "Plik odpowiedzi \"" + path + "\" zaczyna się znacznikiem UTF-8, ale nie jest w UTF-8");
}

TEST(AnswersFileTest, AFileThatCannotBeReadIsAWrongAnswersFile) {
  EXPECT_THROW(AnswersFile::Read("/nonexistent/a.ini"), AnswersError);
}

}  // namespace
}  // namespace app
