#include "bde/ConnectionCheck.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <utility>

#include "bde/StatusReport.h"
#include "platform/NetworkProbe.h"
#include "platform/ParallelTasks.h"
#include "platform/Text.h"

namespace bde {

std::string CheckLine(const CheckResult& result) {
  std::string_view mark = "[OK]";
  if (result.status == CheckStatus::Failed) mark = "[BŁĄD]";
  if (result.status == CheckStatus::Skipped) mark = "[POMINIĘTO]";
  std::string line = std::string("  ").append(mark).append(" ");
  // A driver's or the system's message may run over several lines; the
  // report keeps one line per check, so each run of blanks that holds a
  // line end becomes one blank.
  constexpr std::string_view kBlanks = " \t\r\n";
  std::string_view rest = platform::Trim(result.detail, platform::Blanks::SpaceAndControls);
  for (;;) {
    const size_t gapStart = rest.find_first_of(kBlanks);
    line.append(rest.substr(0, gapStart));
    if (gapStart == std::string_view::npos) break;
    // The text is trimmed, so something follows every gap.
    const size_t gapEnd = rest.find_first_not_of(kBlanks, gapStart);
    const std::string_view gap = rest.substr(gapStart, gapEnd - gapStart);
    line.append(gap.find_first_of("\r\n") == std::string_view::npos ? gap : " ");
    rest.remove_prefix(gapEnd);
  }
  return line;
}

void ReportChecks(const std::vector<CheckResult>& results, StatusReport& report) {
  report.Add("");
  report.Add(std::string(kChecksSectionLine));
  for (const CheckResult& result : results) report.Add(CheckLine(result));
  report.Add("");
}

bool AnyCheckFailed(const std::vector<CheckResult>& results) {
  return std::any_of(results.begin(), results.end(),
                     [](const CheckResult& result) { return result.status == CheckStatus::Failed; });
}

std::chrono::milliseconds StepTimeout(CheckDeadline deadline, std::chrono::milliseconds limit) {
  const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
  return std::clamp(left, std::chrono::milliseconds(0), limit);
}

Check Check::Known(CheckResult result) {
  Check check;
  check.result_ = std::move(result);
  return check;
}

Check Check::Pending(std::string subject, Work work) {
  Check check;
  check.subject_ = std::move(subject);
  check.work_ = std::move(work);
  return check;
}

std::vector<CheckResult> RunChecks(const std::vector<Check>& checks, std::chrono::milliseconds budget) {
  const CheckDeadline deadline = std::chrono::steady_clock::now() + budget;
  std::vector<std::function<CheckResult()>> tasks;
  for (const Check& check : checks) {
    if (!check.WorkToDo()) continue;
    tasks.push_back([work = check.WorkToDo(), subject = check.Subject(), deadline]() -> CheckResult {
      try {
        return work(deadline);
      } catch (const std::exception& error) {
        return {CheckStatus::Failed, subject + ": " + error.what()};
      }
    });
  }
  std::vector<std::optional<CheckResult>> done = platform::RunInParallel(std::move(tasks), deadline);
  std::vector<CheckResult> results;
  size_t next = 0;
  for (const Check& check : checks) {
    if (!check.WorkToDo()) {
      results.push_back(check.Result());
      continue;
    }
    std::optional<CheckResult>& result = done[next++];
    results.push_back(result ? std::move(*result)
                             : CheckResult{CheckStatus::Failed,
                                           platform::Format(kNoResultInTimeDetail,
                                                            {check.Subject(), platform::DescribeSeconds(budget)})});
  }
  return results;
}

}  // namespace bde
