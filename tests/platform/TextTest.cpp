#include "platform/Text.h"

#include <gtest/gtest.h>

#include <string>

namespace platform {
namespace {

struct CompareCase {
  const char* a;
  const char* b;
  int sign;
};

TEST(TextTest, CompareNoCaseFoldsPolishLetters) {
  const CompareCase cases[] = {
      {"ą", "Ą", 0},
      {"ł", "Ł", 0},
      {"ż", "Ż", 0},
      {"ź", "Ź", 0},
      {"Zażółć gęślą jaźń", "ZAŻÓŁĆ GĘŚLĄ JAŹŃ", 0},
      {"Łódź", "łÓDŹ", 0},
      // Letters with and without their marks stay different.
      {"ż", "ź", 1},
      {"ł", "l", 1},
      {"ą", "a", 1},
      {"", "", 0},
      {"abc", "ABD", -1},
      {"ab", "abc", -1},
      {"ŻABA", "żab", 1},
  };
  for (const CompareCase& c : cases) {
    const int result = CompareNoCase(c.a, c.b);
    EXPECT_EQ((result > 0) - (result < 0), c.sign) << c.a << " vs " << c.b;
    EXPECT_EQ(CompareNoCase(c.b, c.a) == 0, c.sign == 0) << c.b << " vs " << c.a;
    EXPECT_EQ(CaseKey(c.a) == CaseKey(c.b), c.sign == 0) << c.a << " vs " << c.b;
  }
}

// The answers file and .reg text trim spaces and tabs only; the Oracle
// files and ODBC lists every byte of code 32 or less, NUL and DEL aside.
TEST(TextTest, TrimTakesTheBlanksOfItsKindOffBothEnds) {
  struct Case {
    std::string_view text;
    Blanks blanks;
    std::string_view trimmed;
  };
  using namespace std::string_view_literals;
  const Case cases[] = {
      {" \t a b \t ", Blanks::SpaceAndTab, "a b"},
      {"\r\na\r\n", Blanks::SpaceAndTab, "\r\na\r\n"},
      {" \t\r\n\x01" "a b\x1F\x7F \r\n", Blanks::SpaceAndControls, "a b\x1F\x7F"},
      {"\0 a\0"sv, Blanks::SpaceAndControls, "a"},
      {"\0 a\0"sv, Blanks::SpaceAndTab, "\0 a\0"sv},
      {" \t ", Blanks::SpaceAndTab, ""},
      {"\x01\r\n", Blanks::SpaceAndControls, ""},
      {"żółw", Blanks::SpaceAndControls, "żółw"},
  };
  for (const Case& c : cases) EXPECT_EQ(Trim(c.text, c.blanks), c.trimmed) << c.text;
}

TEST(TextTest, CompareNoCaseTakesMalformedUtf8ByteForByte) {
  EXPECT_EQ(CompareNoCase("a\xC5", "A\xC5"), 0);
  EXPECT_NE(CompareNoCase("\xC5", "\xC4"), 0);
  // A lead byte cut off by the end of the text is not a letter.
  EXPECT_NE(CompareNoCase("\xC5", "\xC5\x81"), 0);
}

TEST(TextTest, AsciiUpperLeavesPolishLettersAlone) {
  const std::pair<const char*, const char*> cases[] = {
      {"zażółć gęślą jaźń", "ZAżółć GęśLą JAźń"},
      {"ąłż", "ąłż"},
      {"alias1_x", "ALIAS1_X"},
      {"", ""},
  };
  for (const auto& [text, expected] : cases) EXPECT_EQ(AsciiUpper(text), expected) << text;
  EXPECT_FALSE(EqualsAsciiNoCase("ą", "Ą"));
  EXPECT_TRUE(EqualsAsciiNoCase("Driver", "DRIVER"));
}

TEST(TextTest, IndexOfNoCaseFindsFirstMatch) {
  const std::vector<std::string> items = {"Gęś", "GĘŚ", "kot"};
  EXPECT_EQ(IndexOfNoCase(items, "gęś"), 0);
  EXPECT_EQ(IndexOfNoCase(items, "KOT"), 2);
  EXPECT_EQ(IndexOfNoCase(items, "ges"), -1);
}

struct FormatCase {
  const char* pattern;
  std::vector<std::string> args;
  const char* expected;
};

TEST(TextTest, Format) {
  const FormatCase cases[] = {
      {"Nie można otworzyć pliku \"%s\". %s", {"C:\\a.cfg", "Brak pliku."},
       "Nie można otworzyć pliku \"C:\\a.cfg\". Brak pliku."},
      // Arguments are inserted as they are, never scanned for %s again.
      {"%s|%s", {"%s", "b"}, "%s|b"},
      // Too few arguments leave the rest of the markers.
      {"%s and %s", {"one"}, "one and %s"},
      {"none", {"extra"}, "none"},
      {"100%", {}, "100%"},
      {"%d %s", {"x"}, "%d x"},
  };
  for (const FormatCase& c : cases) EXPECT_EQ(Format(c.pattern, c.args), c.expected) << c.pattern;
}

// The engine's file and the backup's manifest keep any text in one field.
TEST(TextTest, FieldsEscapeWhatWouldBreakTheirLineAndRoundTrip) {
  struct Case {
    std::string text;
    std::string escaped;
  };
  const Case cases[] = {
      {"", ""},
      {"100%", "100%25"},
      {"a\tb\r\nc", "a%09b%0D%0Ac"},
      {" brzegi ", "%20brzegi%20"},
      {"w środku spacja", "w środku spacja"},
      {std::string("\0\x7F", 2), "%00%7F"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(EscapeField(c.text), c.escaped);
    EXPECT_EQ(UnescapeField(c.escaped), c.text);
  }
  for (const char* broken : {"%", "%2", "%zz", "a%G0"}) EXPECT_FALSE(UnescapeField(broken)) << broken;
  EXPECT_EQ(UnescapeField("%0d"), "\r");
}

}  // namespace
}  // namespace platform
