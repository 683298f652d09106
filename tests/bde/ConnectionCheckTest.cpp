#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <stdexcept>
#include <string>
#include <vector>

#include "bde/ConnectionCheck.h"
#include "bde/StatusReport.h"
#include "platform/Error.h"

namespace bde {
namespace {

using namespace std::chrono_literals;

TEST(ConnectionCheckTest, TheSectionHasOneStatusLinePerResultBetweenEmptyLines) {
  const std::vector<CheckResult> results = {
      {CheckStatus::Ok, "Serwer \"db1\": port 1433 przyjmuje połączenia"},
      {CheckStatus::Failed, "Baza \"Kadry\": logowanie nieudane"},
      {CheckStatus::Skipped, "Użytkownik \"KP\": hasło nie jest znane"},
  };
  std::vector<std::string> lines = {" Utworzono źródło danych ODBC \"Kadry\"."};
  StatusReport report(lines);
  ReportChecks(results, report);
  const std::vector<std::string> expected = {
      " Utworzono źródło danych ODBC \"Kadry\".",
      "",
      " Sprawdzenie połączeń:",
      "  [OK] Serwer \"db1\": port 1433 przyjmuje połączenia",
      "  [BŁĄD] Baza \"Kadry\": logowanie nieudane",
      "  [POMINIĘTO] Użytkownik \"KP\": hasło nie jest znane",
      "",
  };
  EXPECT_EQ(lines, expected);
  EXPECT_TRUE(AnyCheckFailed(results));
  // A message of several lines still makes one line of the report.
  EXPECT_EQ(
      CheckLine({CheckStatus::Failed, "Baza \"Kadry\": connection failed: refused\r\n\tIs the server running?\n"}),
      "  [BŁĄD] Baza \"Kadry\": connection failed: refused Is the server running?");
  EXPECT_FALSE(AnyCheckFailed({results[0], results[2]}));
}

TEST(ConnectionCheckTest, ResultsKeepTheOrderOfTheChecksAndLateWorkFailsInTime) {
  std::promise<void> release;
  const std::vector<Check> checks = {
      Check::Known({CheckStatus::Ok, "rejestr"}),
      Check::Pending("Serwer \"db1\"",
                     [gate = release.get_future().share()](CheckDeadline) {
                       gate.wait();
                       return CheckResult{CheckStatus::Ok, "za późno"};
                     }),
      Check::Pending("Baza \"Kadry\"",
                     [](CheckDeadline) -> CheckResult { throw platform::Error("Login failed for user 'x'"); }),
      Check::Pending("Listener",
                     [](CheckDeadline deadline) {
                       // The deadline handed over is the set's: some time is left.
                       return CheckResult{CheckStatus::Ok, StepTimeout(deadline, 3s) > 0ms ? "czas" : "brak czasu"};
                     }),
  };
  const std::vector<CheckResult> expected = {
      {CheckStatus::Ok, "rejestr"},
      {CheckStatus::Failed, "Serwer \"db1\": brak wyniku w ciągu 0,3 s"},
      {CheckStatus::Failed, "Baza \"Kadry\": Login failed for user 'x'"},
      {CheckStatus::Ok, "czas"},
  };
  EXPECT_EQ(RunChecks(checks, 300ms), expected);
  release.set_value();
}

TEST(ConnectionCheckTest, AStepWaitsItsLimitOrWhatIsLeft) {
  const auto now = std::chrono::steady_clock::now();
  EXPECT_EQ(StepTimeout(now + 1h, 3s), 3s);
  EXPECT_LE(StepTimeout(now + 1s, 3s), 1s);
  EXPECT_GT(StepTimeout(now + 1s, 3s), 0s);
  EXPECT_EQ(StepTimeout(now - 1s, 3s), 0s);
}

}  // namespace
}  // namespace bde
