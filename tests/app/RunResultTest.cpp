#include <gtest/gtest.h>

#include "app/RunResult.h"

namespace app {
namespace {

TEST(RunResultTest, EveryFieldInTheSchemasOrder) {
  RunResult result;
  result.mode = "configure";
  result.computer = "PC-ŁÓDŹ";
  result.time = "2026-12-09T11:30:05Z";
  result.exitCode = 3;
  result.report = {"Konfiguracja została utworzona!", " Instancja serwera MSSQL: \"SRV\\SQLEXPRESS\"."};
  result.changes = {{bde::Change::Item::DataSource, "Novera LM", true},
                    {bde::Change::Item::File, "C:\\oracle\\tnsnames.ora", false},
                    {bde::Change::Item::Alias, "X Novera- LM", false}};
  result.checks = std::vector<bde::CheckResult>{{bde::CheckStatus::Ok, "Serwer \"db1\""},
                                                {bde::CheckStatus::Failed, "Baza \"LUMIRA\": brak"},
                                                {bde::CheckStatus::Skipped, "Użytkownik"}};
  EXPECT_EQ(RunResultJson(result), R"({
  "schema": 1,
  "computer": "PC-ŁÓDŹ",
  "time": "2026-12-09T11:30:05Z",
  "mode": "configure",
  "exitCode": 3,
  "report": [
    "Konfiguracja została utworzona!",
    " Instancja serwera MSSQL: \"SRV\\SQLEXPRESS\"."
  ],
  "changes": [
    {
      "item": "dataSource",
      "name": "Novera LM",
      "action": "created"
    },
    {
      "item": "file",
      "name": "C:\\oracle\\tnsnames.ora",
      "action": "modified"
    },
    {
      "item": "alias",
      "name": "X Novera- LM",
      "action": "modified"
    }
  ],
  "checks": [
    {
      "status": "ok",
      "detail": "Serwer \"db1\""
    },
    {
      "status": "failed",
      "detail": "Baza \"LUMIRA\": brak"
    },
    {
      "status": "skipped",
      "detail": "Użytkownik"
    }
  ]
}
)");
}

TEST(RunResultTest, ChecksThatDidNotRunAreNullAndNoChangeIsAnEmptyList) {
  RunResult result;
  result.mode = "invalid";
  result.exitCode = 2;
  const std::string json = RunResultJson(result);
  EXPECT_NE(json.find("\n  \"changes\": [],\n  \"checks\": null\n}"), std::string::npos) << json;
}

TEST(RunResultTest, TheTimeIsUtcToTheSecond) {
  // 2026-12-09 11:30:05 UTC, and the last second of a leap year's day.
  EXPECT_EQ(UtcTimestamp(std::chrono::system_clock::from_time_t(1796815805)), "2026-12-09T11:30:05Z");
  EXPECT_EQ(UtcTimestamp(std::chrono::system_clock::from_time_t(951868799)), "2000-02-29T23:59:59Z");
}

}  // namespace
}  // namespace app
