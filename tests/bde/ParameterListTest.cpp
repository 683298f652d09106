#include "bde/ParameterList.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace bde {
namespace {

using Lines = std::vector<std::string>;

TEST(ParameterListTest, SplitsAtTheFirstEqualsSign) {
  struct Case {
    std::string line;
    std::string name;
    std::string value;
  };
  const Case cases[] = {
      {"A=B=C", "A", "B=C"},
      {" USER NAME =x", " USER NAME ", "x"},
      {"=x", "", "x"},
      {"EMPTY=", "EMPTY", ""},
      {"NOEQUALS", "NOEQUALS", ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(ParameterList::NameOf(c.line), c.name);
    EXPECT_EQ(ParameterList::ValueOf(c.line), c.value);
  }
}

TEST(ParameterListTest, LooksUpTheFirstLineWhoseNameMatchesInAnyCase) {
  const ParameterList list(Lines{"USER NAME=pierwszy", "user name=drugi", "PATH=C:\\a=b",
                                 "ŁÓDŹ=miasto", "EMPTY=", "NOEQUALS"});
  struct Case {
    std::string name;
    bool has;
    std::string value;
  };
  const Case cases[] = {
      {"User Name", true, "pierwszy"},
      {"path", true, "C:\\a=b"},
      {"łódź", true, "miasto"},
      {"EMPTY", true, ""},
      // A line without "=" is no parameter at all.
      {"NOEQUALS", false, ""},
      {"USER", false, ""},
      {"USER NAME ", false, ""},
      {"", false, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(list.Has(c.name), c.has);
    EXPECT_EQ(list.Value(c.name), c.value);
  }
}

TEST(ParameterListTest, SetReplacesInPlaceAppendsOrDeletes) {
  struct Case {
    const char* what;
    Lines before;
    std::string name;
    std::string value;
    Lines after;
  };
  const Case cases[] = {
      {"replaces in place under the name as given", {"A=1", "B=2", "C=3"}, "b", "9",
       {"A=1", "b=9", "C=3"}},
      {"replaces the first of two matches", {"A=1", "a=2"}, "A", "3", {"A=3", "a=2"}},
      {"appends an unknown name at the end", {"A=1", "B=2"}, "ODBC DSN", "x",
       {"A=1", "B=2", "ODBC DSN=x"}},
      {"an empty line is set in place",
       {"DATABASE NAME=", "USER NAME="}, "DATABASE NAME", "baza",
       {"DATABASE NAME=baza", "USER NAME="}},
      {"a missing line lands at the end", {"USER NAME="}, "DATABASE NAME", "baza",
       {"USER NAME=", "DATABASE NAME=baza"}},
      {"empty deletes the first match only", {"A=1", "B=2", "a=3"}, "A", "", {"B=2", "a=3"}},
      {"empty on a missing name does nothing", {"A=1"}, "B", "", {"A=1"}},
      {"a line without = is not replaced", {"NOEQUALS"}, "NOEQUALS", "1",
       {"NOEQUALS", "NOEQUALS=1"}},
      {"a value may hold =", {}, "A", "b=c", {"A=b=c"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ParameterList list(c.before);
    list.Set(c.name, c.value);
    EXPECT_EQ(list.Lines(), c.after);
  }
}

}  // namespace
}  // namespace bde
