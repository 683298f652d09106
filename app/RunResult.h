#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "bde/ConnectionCheck.h"
#include "bde/StatusReport.h"

namespace app {

// What one start of the program without a window did, for the /json file
// a deployment script gathers. Its layout is the schema the README gives;
// a field added later must keep every one here as it is.
struct RunResult {
  // The mode's name in the file: "configure" (/s, with or without
  // /verify), "plan" (/s with /plan), "verify" (/verify alone), "export",
  // "undo", "usage" (/?), or
  // "invalid" for a command line that names none.
  std::string mode;
  std::string computer;
  // When the run began, in UTC, as "2026-12-09T11:30:05Z".
  std::string time;
  int exitCode = 0;
  // The report's lines, as the /log file holds them.
  std::vector<std::string> report;
  // What the run created or modified, in the order it did.
  std::vector<bde::Change> changes;
  // The connection checks, when they ran.
  std::optional<std::vector<bde::CheckResult>> checks;
};

inline constexpr int kRunResultSchema = 1;

// The result as one JSON object (UTF-8, a line end after it).
std::string RunResultJson(const RunResult& result);

// "YYYY-MM-DDThh:mm:ssZ" for the time, in UTC.
std::string UtcTimestamp(std::chrono::system_clock::time_point time);

// Writes the result to the file, atomically; raises the platform's file
// error when it cannot.
void WriteRunResult(const std::string& path, const RunResult& result);

}  // namespace app
