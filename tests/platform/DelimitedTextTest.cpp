#include "platform/DelimitedText.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace platform {
namespace {

using Items = std::vector<std::string>;

TEST(DelimitedTextTest, SplitsAtTheDelimiterAndAtBlanks) {
  struct Case {
    std::string text;
    char delimiter;
    Items items;
  };
  const Case cases[] = {
      {"SERVER:Server={ALFA,BETA\\SQLEXPRESS};UID:Login ID=?", ';',
       {"SERVER:Server={ALFA,BETA\\SQLEXPRESS}", "UID:Login", "ID=?"}},
      {"ALFA,BETA\\SQLEXPRESS", ',', {"ALFA", "BETA\\SQLEXPRESS"}},
      {"MY SRV,BETA", ',', {"MY", "SRV", "BETA"}},
      {"NTS, BEQ", ',', {"NTS", "BEQ"}},
      {"NTS BEQ", ',', {"NTS", "BEQ"}},
      {"  \t NTS", ',', {"NTS"}},
      {"A,,B", ',', {"A", "", "B"}},
      {",A", ',', {"", "A"}},
      {"A,", ',', {"A", ""}},
      {"A, ", ',', {"A"}},  // the delimiter is not the last character
      {"", ',', {}},
      {"   ", ',', {}},
      {"\"a b\",\"say \"\"hi\"\"\"", ',', {"a b", "say \"hi\""}},
      {"\"open", ',', {"open"}},
      {"\"\"", ',', {""}},
      {"Łódź,Kraków", ',', {"Łódź", "Kraków"}},
      {std::string("A\0,B", 4), ',', {"A"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(SplitDelimited(c.text, c.delimiter), c.items);
  }
}

TEST(DelimitedTextTest, JoinQuotesOnlyWhatWouldNotSplitBack) {
  struct Case {
    Items items;
    std::string text;
  };
  const Case cases[] = {
      {{"EZCONNECT", "HOSTNAME", "TNSNAMES"}, "EZCONNECT,HOSTNAME,TNSNAMES"},
      {{"a b", "x,y", "say \"hi\""}, "\"a b\",\"x,y\",\"say \"\"hi\"\"\""},
      {{""}, "\"\""},
      {{"A", ""}, "A,"},
      {{}, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    EXPECT_EQ(JoinCommaList(c.items), c.text);
    EXPECT_EQ(SplitDelimited(c.text, ','), c.items);
  }
}

}  // namespace
}  // namespace platform
