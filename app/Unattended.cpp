#include "app/Unattended.h"

#include <exception>
#include <optional>
#include <vector>

#include "app/AnswersFile.h"
#include "app/ApplyConfiguration.h"
#include "app/CommandLine.h"
#include "app/ErrorText.h"
#include "app/ExportAnswers.h"
#include "app/UnattendedAnswers.h"
#include "bde/AliasEngineChoice.h"
#include "bde/StatusReport.h"
#include "platform/Text.h"
#include "platform/TextFile.h"

namespace app {
namespace {

void WriteOutput(const std::function<void()>& write, RunResult& result) {
  try {
    write();
  } catch (const std::exception& error) {
    result.report.push_back(WithFinalStop(error.what()));
    if (result.exitCode == kExitDone) result.exitCode = kExitConfigurationFailed;
  }
}

// The engine the window would use, started the first time it is asked for.
EngineStart StartOnFirstUse(std::optional<bde::AliasEngineChoice>& aliases, platform::Registry& registry,
                            bde::Engine& engine, const platform::CodePage& oemCodePage) {
  return [&]() -> bde::AliasEngine& {
    if (!aliases) aliases.emplace(registry, engine, oemCodePage);
    return aliases->Aliases();
  };
}

// The frame of every mode that reports: the work fills the report and
// gives the exit code, and the end writes them where they go.
int Reporting(const CommandLine& commandLine, const RunHost& host,
              const std::function<int(bde::StatusReport&)>& work) {
  RunResult result;
  result.mode = ModeName(commandLine);
  bde::StatusReport report(result.report);
  result.exitCode = work(report);
  result.changes = report.Changes();
  return FinishRun(commandLine, std::move(result), host);
}

// The report of a run stopped by an error: the error's text alone, or
// after what was done when that stays.
int Failed(bde::StatusReport& report, const std::exception& error, int code, bool keepDone) {
  if (!keepDone) report.Clear();
  report.Add(WithFinalStop(error.what()));
  return code;
}

}  // namespace

int RunExport(const CommandLine& commandLine, platform::Registry& registry, bde::Engine& engine,
              const platform::CodePage& oemCodePage, const RunHost& host) {
  return Reporting(commandLine, host, [&](bde::StatusReport& report) {
    try {
      std::optional<bde::AliasEngineChoice> aliases;
      const std::vector<std::string> lines = DescribeWorkstation(
          registry, StartOnFirstUse(aliases, registry, engine, oemCodePage), host.computer, host.startTime);
      const bool existed = platform::FileExists(commandLine.exportPath);
      platform::WriteTextLines(commandLine.exportPath, lines);
      report.Add("Zapisano plik odpowiedzi \"" + commandLine.exportPath + "\".");
      report.Changed({bde::Change::Item::File, commandLine.exportPath, !existed});
      return kExitDone;
    } catch (const std::exception& error) {
      return Failed(report, error, kExitConfigurationFailed, false);
    }
  });
}

int RunUnattended(const CommandLine& commandLine, platform::Registry& registry, bde::Engine& engine,
                  const platform::CodePage& oemCodePage, const RunHost& host) {
  return Reporting(commandLine, host, [&](bde::StatusReport& report) {
    try {
      const AnswersFile file = AnswersFile::Read(commandLine.answersPath);
      std::optional<bde::AliasEngineChoice> aliases;
      const EngineStart started = StartOnFirstUse(aliases, registry, engine, oemCodePage);
      const Answers answers = ResolveAnswers(file, registry, started);
      try {
        ApplyConfiguration(registry, started()).Run(answers, report);
        return kExitDone;
      } catch (const std::exception& error) {
        // What was written before the error stays, so the report says it.
        return Failed(report, error, kExitConfigurationFailed, true);
      }
    } catch (const AnswersError& error) {
      return Failed(report, error, kExitWrongAnswers, false);
    } catch (const std::exception& error) {
      return Failed(report, error, kExitConfigurationFailed, false);
    }
  });
}

int EndUnexpectedly(const CommandLine& commandLine, const RunHost& host, const std::string& what) {
  return Reporting(commandLine, host, [&](bde::StatusReport& report) {
    report.Add(WithFinalStop(platform::Format(kUnexpectedFailureMessage, {what})));
    return kExitConfigurationFailed;
  });
}

int FinishRun(const CommandLine& commandLine, RunResult result, const RunHost& host) {
  result.computer = host.computer;
  result.time = host.startTime;
  if (!commandLine.logPath.empty()) {
    WriteOutput([&] { platform::WriteTextLines(commandLine.logPath, result.report); }, result);
  }
  if (!commandLine.jsonPath.empty()) {
    // A result whose own write failed cannot hold that failure: the
    // console and the exit code carry it.
    WriteOutput([&] { WriteRunResult(commandLine.jsonPath, result); }, result);
  }
  if (host.toConsole) host.toConsole(platform::JoinLines(result.report));
  return result.exitCode;
}

}  // namespace app
