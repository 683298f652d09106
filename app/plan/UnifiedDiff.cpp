#include "app/plan/UnifiedDiff.h"

#include <algorithm>
#include <cstddef>

namespace app::plan {
namespace {

constexpr size_t kContext = 3;
// Cells of the matching table past which the middle is not matched.
constexpr size_t kMaxMatchedCells = 4'000'000;

struct Line {
  char mark;  // ' ', '-' or '+'
  size_t before;  // lines of each file up to and including this one
  size_t after;
  const std::string* text;
};

// The longest common subsequence of before[b0, b1) and after[a0, a1), as
// the edit script between them.
void MatchMiddle(const std::vector<std::string>& before, const std::vector<std::string>& after, size_t b0, size_t b1,
                 size_t a0, size_t a1, std::vector<Line>& script) {
  const size_t n = b1 - b0;
  const size_t m = a1 - a0;
  const auto add = [&](char mark, size_t b, size_t a, const std::string& text) {
    script.push_back({mark, b, a, &text});
  };
  if (n == 0 || m == 0 || n * m > kMaxMatchedCells) {
    for (size_t i = b0; i < b1; ++i) add('-', i + 1, a0, before[i]);
    for (size_t j = a0; j < a1; ++j) add('+', b1, j + 1, after[j]);
    return;
  }
  // common[i][j]: the longest common run of before[b0+i..] and after[a0+j..].
  std::vector<unsigned> common((n + 1) * (m + 1), 0);
  const auto at = [&](size_t i, size_t j) -> unsigned& { return common[i * (m + 1) + j]; };
  for (size_t i = n; i-- > 0;) {
    for (size_t j = m; j-- > 0;) {
      at(i, j) = before[b0 + i] == after[a0 + j] ? at(i + 1, j + 1) + 1 : std::max(at(i + 1, j), at(i, j + 1));
    }
  }
  size_t i = 0;
  size_t j = 0;
  while (i < n || j < m) {
    if (i < n && j < m && before[b0 + i] == after[a0 + j]) {
      add(' ', b0 + i + 1, a0 + j + 1, before[b0 + i]);
      ++i;
      ++j;
    } else if (j == m || (i < n && at(i + 1, j) >= at(i, j + 1))) {
      add('-', b0 + i + 1, a0 + j, before[b0 + i]);
      ++i;
    } else {
      add('+', b0 + i, a0 + j + 1, after[a0 + j]);
      ++j;
    }
  }
}

// "a,b" of a hunk header: the first line and the count, where an empty
// range names the line before it, as diff writes them.
std::string Range(size_t first, size_t count) {
  return std::to_string(count == 0 ? first - 1 : first) + "," + std::to_string(count);
}

}  // namespace

std::vector<std::string> UnifiedDiff(const std::vector<std::string>& before, const std::vector<std::string>& after,
                                     std::string_view beforeName, std::string_view afterName) {
  size_t prefix = 0;
  while (prefix < before.size() && prefix < after.size() && before[prefix] == after[prefix]) ++prefix;
  size_t suffix = 0;
  while (suffix < before.size() - prefix && suffix < after.size() - prefix &&
         before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix]) {
    ++suffix;
  }
  if (prefix == before.size() && prefix == after.size()) return {};

  std::vector<Line> script;
  for (size_t i = 0; i < prefix; ++i) script.push_back({' ', i + 1, i + 1, &before[i]});
  MatchMiddle(before, after, prefix, before.size() - suffix, prefix, after.size() - suffix, script);
  for (size_t k = suffix; k-- > 0;) {
    script.push_back({' ', before.size() - k, after.size() - k, &before[before.size() - 1 - k]});
  }

  std::vector<std::string> lines{"--- " + std::string(beforeName), "+++ " + std::string(afterName)};
  size_t next = 0;
  while (next < script.size()) {
    const auto changed = std::find_if(script.begin() + static_cast<std::ptrdiff_t>(next), script.end(),
                                      [](const Line& line) { return line.mark != ' '; });
    if (changed == script.end()) break;
    // A hunk runs from its first change's context to where more than two
    // contexts' worth of kept lines separate it from the next change.
    size_t start = static_cast<size_t>(changed - script.begin());
    start = start > next + kContext ? start - kContext : next;
    size_t end = static_cast<size_t>(changed - script.begin());
    size_t kept = 0;
    for (size_t k = end; k < script.size() && kept <= 2 * kContext; ++k) {
      kept = script[k].mark == ' ' ? kept + 1 : 0;
      if (kept == 0) end = k;
    }
    end = std::min(script.size(), end + 1 + kContext);

    const Line& first = script[start];
    size_t beforeCount = 0;
    size_t afterCount = 0;
    for (size_t k = start; k < end; ++k) {
      beforeCount += script[k].mark != '+';
      afterCount += script[k].mark != '-';
    }
    const size_t beforeFirst = first.mark == '+' ? first.before + 1 : first.before;
    const size_t afterFirst = first.mark == '-' ? first.after + 1 : first.after;
    lines.push_back("@@ -" + Range(beforeFirst, beforeCount) + " +" + Range(afterFirst, afterCount) + " @@");
    for (size_t k = start; k < end; ++k) lines.push_back(script[k].mark + *script[k].text);
    next = end;
  }
  return lines;
}

}  // namespace app::plan
