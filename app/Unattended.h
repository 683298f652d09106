#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

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

using Console = std::function<void(const std::string&)>;

// The configuration without a window: the answers file is read and checked
// in full before anything is written, then the same apply step as
// "Wykonaj" runs, on the engine the window would use (AliasEngineChoice),
// all or nothing: its backup goes into a folder under backupRoot, and
// after an error everything it wrote is put back from there. The engine
// starts once the values that need none are checked, so a wrong one ends
// with exit code 2 on any machine; an installed engine that does not start
// then fails the configuration (exit code 1): the answers may well be
// right, the machine is not. The report (the status page's lines, or what
// was done up to the error, the error and what was put back) goes to the
// log file when one is named and to the console. Returns the program's
// exit code.
//
// With "/verify" a run that succeeded checks the connections it configured
// and adds their section to the report. Without "/s" the workstation is
// checked as it is: the answers are those a run would take with none
// given, and nothing at all is written; whatever stands in the way of a
// check (no ODBC driver, no Oracle home, an engine that does not start) is
// a failed check.
int RunUnattended(const CommandLine& commandLine, platform::Registry& registry, bde::Engine& engine,
                  const platform::CodePage& oemCodePage, const std::string& backupRoot, const Console& toConsole,
                  std::shared_ptr<platform::NetworkProbe> network);

// The report of a run without a window: to the log file when one is named
// (a log that cannot be written is one more line, and fails a run that had
// succeeded), then to the console. Returns the exit code.
int DeliverReport(std::vector<std::string> lines, int code, const std::string& logPath, const Console& toConsole);

}  // namespace app
