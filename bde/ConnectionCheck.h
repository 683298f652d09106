#pragma once

#include <chrono>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace bde {

class StatusReport;

// The outcome of one check of a connection the suite's programs will make.
// A check that could not be made (no password is known, say) is skipped,
// which is no failure.
enum class CheckStatus { Ok, Failed, Skipped };

struct CheckResult {
  CheckStatus status = CheckStatus::Ok;
  // What was checked and what came of it, in Polish, for the administrator.
  std::string detail;

  bool operator==(const CheckResult&) const = default;
};

// The report line of a result: "  [OK] …", "  [BŁĄD] …", "  [POMINIĘTO] …".
std::string CheckLine(const CheckResult& result);

inline constexpr std::string_view kChecksSectionLine = " Sprawdzenie połączeń:";

// Adds the section of the checks: an empty line, the section line, one line
// per result in order, and an empty line.
void ReportChecks(const std::vector<CheckResult>& results, StatusReport& report);

// Whether any check failed; skipped ones do not count.
bool AnyCheckFailed(const std::vector<CheckResult>& results);

// How long the checks wait. Every network step (a name lookup, a TCP
// connection, a UDP answer) waits at most network, a login at most login
// (whole seconds, as ODBC counts them), and the whole set ends after
// budget, whatever is still running.
struct CheckTimeouts {
  std::chrono::milliseconds network{3000};
  std::chrono::seconds login{5};
  std::chrono::milliseconds budget{5000};
};

using CheckDeadline = std::chrono::steady_clock::time_point;

// What a step may wait: its own limit, or what is left until the deadline
// when that is less; never below zero.
std::chrono::milliseconds StepTimeout(CheckDeadline deadline, std::chrono::milliseconds limit);

// One check of a set: either its result is known at once (it read the
// registry, or it cannot be made), or it is work that may wait on the
// network and runs, with the set's other work, on a thread of its own.
class Check {
 public:
  using Work = std::function<CheckResult(CheckDeadline)>;

  static Check Known(CheckResult result);
  // The subject names what is checked ("Serwer \"db1\"") in the failure
  // given when the work has no result by the deadline. The work must own
  // everything it uses (values, shared pointers): if it overruns, it goes
  // on after its caller has gone.
  static Check Pending(std::string subject, Work work);

  const CheckResult& Result() const { return result_; }
  const std::string& Subject() const { return subject_; }
  const Work& WorkToDo() const { return work_; }

 private:
  CheckResult result_;
  std::string subject_;
  Work work_;
};

// %s: the subject, then the time.
inline constexpr std::string_view kNoResultInTimeDetail = "%s: brak wyniku w ciągu %s";

// Runs the pending checks all at once and waits until they are all in or
// the budget is spent; the results come in the order of the checks. Work
// without a result by then fails with kNoResultInTimeDetail, and work that
// throws fails with the error's message.
std::vector<CheckResult> RunChecks(const std::vector<Check>& checks, std::chrono::milliseconds budget);

}  // namespace bde
