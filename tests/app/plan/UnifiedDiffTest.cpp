#include "app/plan/UnifiedDiff.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/TextFile.h"

namespace app::plan {
namespace {

using Lines = std::vector<std::string>;

// Applies a unified diff as patch would, checking every kept and removed
// line against the old file: a diff whose numbers or lines are wrong fails
// here rather than in the administrator's patch.
Lines Apply(const Lines& before, const Lines& diff) {
  Lines after;
  size_t next = 0;  // the next line of before not yet taken
  for (size_t i = 2; i < diff.size(); ++i) {
    const std::string& line = diff[i];
    if (line.starts_with("@@ -")) {
      const size_t start = std::stoul(line.substr(4));
      const size_t count = std::stoul(line.substr(line.find(',') + 1));
      const size_t first = count == 0 ? start : start - 1;
      EXPECT_GE(first, next) << line;
      while (next < first) after.push_back(before.at(next++));
      continue;
    }
    const std::string text = line.substr(1);
    if (line[0] == '+') {
      after.push_back(text);
    } else {
      EXPECT_EQ(before.at(next), text) << "line " << next + 1;
      if (line[0] == ' ') after.push_back(text);
      ++next;
    }
  }
  while (next < before.size()) after.push_back(before[next++]);
  return after;
}

Lines Numbered(int count, int skip = -1, const char* replaced = nullptr) {
  Lines lines;
  for (int i = 1; i <= count; ++i) {
    if (i == skip && !replaced) continue;
    lines.push_back(i == skip ? replaced : "line " + std::to_string(i));
  }
  return lines;
}

TEST(UnifiedDiffTest, EveryDiffTurnsTheOldFileIntoTheNewOne) {
  struct Case {
    const char* name;
    Lines before;
    Lines after;
    size_t hunks;
  };
  Lines farApart = Numbered(30);
  farApart[1] = "changed 2";
  farApart[25] = "changed 26";
  Lines close = Numbered(30);
  close[1] = "changed 2";
  close[8] = "changed 9";
  const Case cases[] = {
      {"a new file", {}, {"a", "b"}, 1},
      {"a file emptied", {"a", "b"}, {}, 1},
      {"one line in the middle", Numbered(20), Numbered(20, 10, "ten"), 1},
      {"a line removed", Numbered(20), Numbered(20, 10), 1},
      {"lines added at the top", Numbered(5), {"x", "y", "line 1", "line 2", "line 3", "line 4", "line 5"}, 1},
      {"lines added at the end", Numbered(5), Numbered(8), 1},
      {"changes far apart", Numbered(30), farApart, 2},
      {"changes close together", Numbered(30), close, 1},
      {"an entry rewritten", {"A =", "(x)", "B =", "(y)", "C =", "(z)"}, {"A =", "(x)", "B =", "(", "y2", ")", "C =", "(z)"}, 1},
  };
  for (const Case& example : cases) {
    SCOPED_TRACE(example.name);
    const Lines diff = UnifiedDiff(example.before, example.after, "stary", "nowy");
    ASSERT_GE(diff.size(), 3u);
    EXPECT_EQ(diff[0], "--- stary");
    EXPECT_EQ(diff[1], "+++ nowy");
    EXPECT_EQ(Apply(example.before, diff), example.after) << platform::JoinLines(diff);
    size_t hunks = 0;
    for (const std::string& line : diff) hunks += line.starts_with("@@ ");
    EXPECT_EQ(hunks, example.hunks) << platform::JoinLines(diff);
  }
}

TEST(UnifiedDiffTest, HunksCarryThreeLinesOfContextAndTheNumbersDiffWrites) {
  EXPECT_EQ(UnifiedDiff(Numbered(20), Numbered(20, 10, "ten"), "a", "b"),
            (Lines{"--- a", "+++ b", "@@ -7,7 +7,7 @@", " line 7", " line 8", " line 9", "-line 10", "+ten",
                   " line 11", " line 12", " line 13"}));
  EXPECT_EQ(UnifiedDiff({}, {"x"}, "/dev/null", "b"), (Lines{"--- /dev/null", "+++ b", "@@ -0,0 +1,1 @@", "+x"}));
  EXPECT_TRUE(UnifiedDiff(Numbered(3), Numbered(3), "a", "b").empty());
}

// Past what is matched line by line, the middle is replaced whole: longer,
// still right.
TEST(UnifiedDiffTest, AHugeDifferenceIsStillARightDiff) {
  Lines before;
  Lines after;
  for (int i = 0; i < 3000; ++i) {
    before.push_back("old " + std::to_string(i % 7));
    after.push_back("new " + std::to_string(i % 5));
  }
  EXPECT_EQ(Apply(before, UnifiedDiff(before, after, "a", "b")), after);
}

}  // namespace
}  // namespace app::plan
