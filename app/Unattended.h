#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/RunResult.h"

namespace platform {
class CodePage;
class NetworkProbe;
class Registry;
}  // namespace platform

namespace bde {
class Engine;
}

namespace app {

struct CommandLine;

inline constexpr int kExitDone = 0;
inline constexpr int kExitConfigurationFailed = 1;
inline constexpr int kExitWrongAnswers = 2;
// Configured (with "/s"), but a check of the connections failed.
inline constexpr int kExitChecksFailed = 3;

// What the program entry gives every mode without a window: where the run
// happens, when it began, and where its report goes besides the files.
struct RunHost {
  std::string computer;
  std::string startTime;
  std::function<void(const std::string&)> toConsole;
};

// The configuration without a window: the answers file is read and checked
// in full before anything is written, then the same apply step as
// "Wykonaj" runs, on the engine the window would use (AliasEngineChoice),
// all or nothing: its backup goes into a folder under backupRoot, and
// after an error everything it wrote is put back from there. The engine
// starts once the values that need none are checked, so a wrong one ends
// with exit code 2 on any machine; an installed engine that does not start
// then fails the configuration (exit code 1): the answers may well be
// right, the machine is not. The report (the status page's lines, or what
// was done up to the error, the error and what was put back) goes where
// FinishRun sends it. Returns the program's exit code.
//
// With "/plan" the run is only previewed: the report says what it would
// change (plan::DescribePlan), the result lists it, and nothing at all is
// written, not even a backup; exit code 0, or 1 where the run would stop
// at an error.
//
// With "/verify" a run that succeeded checks the connections it configured
// and adds their section to the report and their results to the result.
// Without "/s" the workstation is checked as it is: the answers are those
// /export would write for it (DescribeWorkstation), and nothing at all is
// written; whatever
// stands in the way of a check (no ODBC driver, no Oracle home, an engine
// that does not start) is a failed check.
int RunUnattended(const CommandLine& commandLine, platform::Registry& registry, bde::Engine& engine,
                  const platform::CodePage& oemCodePage, const std::string& backupRoot, const RunHost& host,
                  std::shared_ptr<platform::NetworkProbe> network);

// /export: writes the answers file that describes this workstation
// (DescribeWorkstation), reading the registry, the files and the engine
// the window would use and changing nothing else. Exit code 0, or 1 when
// the file cannot be written or the workstation cannot be read (an
// installed engine that does not start). The report is one line.
int RunExport(const CommandLine& commandLine, platform::Registry& registry, bde::Engine& engine,
              const platform::CodePage& oemCodePage, const RunHost& host);

// %s: what happened, as the system's crash handler or the last catch says it.
inline constexpr char kUnexpectedFailureMessage[] = "Nieoczekiwany błąd programu: %s";

// Ends a mode without a window on a failure nobody foresaw: its report
// and result say so (kUnexpectedFailureMessage), with exit code 1.
int EndUnexpectedly(const CommandLine& commandLine, const RunHost& host, const std::string& what);

// The end of every mode without a window: the report goes to the log file
// when one is named, the result to the /json file when one is named, and
// the report to the console. A file that cannot be written adds its error
// to the report and turns exit code 0 into 1. Returns the exit code.
int FinishRun(const CommandLine& commandLine, RunResult result, const RunHost& host);

}  // namespace app
