#include "app/Unattended.h"

#include <exception>
#include <optional>
#include <utility>
#include <vector>

#include "app/AnswersFile.h"
#include "app/ApplyConfiguration.h"
#include "app/CommandLine.h"
#include "app/ConnectionChecks.h"
#include "app/ErrorText.h"
#include "app/ExportAnswers.h"
#include "app/UnattendedAnswers.h"
#include "app/plan/Plan.h"
#include "bde/AliasEngineChoice.h"
#include "bde/StatusReport.h"
#include "platform/NetworkProbe.h"
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

using CheckResults = std::optional<std::vector<bde::CheckResult>>;

// The frame of every mode that reports: the work fills the report (and the
// checks' results when it checks) and gives the exit code, and the end
// writes them where they go.
int Reporting(const CommandLine& commandLine, const RunHost& host,
              const std::function<int(bde::StatusReport&, CheckResults&)>& work) {
  RunResult result;
  result.mode = ModeName(commandLine);
  bde::StatusReport report(result.report);
  result.exitCode = work(report, result.checks);
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

// The run of answers already read, all or nothing, checked afterwards when
// asked. The report says what was written before an error, and how it was
// put back.
int Configure(bool verify, const servers::CheckSources& sources, const Answers& answers, const EngineStart& started,
              const std::string& backupRoot, bde::StatusReport& report, CheckResults& checks) {
  try {
    ApplyConfiguration apply(sources.registry, started(), backupRoot);
    if (!apply.RunAllOrNothing(answers, report)) return kExitConfigurationFailed;
    if (!verify) return kExitDone;
    checks = CheckConnections(sources, answers, started(), apply.WrittenAliases(), report);
    return bde::AnyCheckFailed(*checks) ? kExitChecksFailed : kExitDone;
  } catch (const std::exception& error) {
    // What was written before the error stays in the report, and the
    // error after it.
    return Failed(report, error, kExitConfigurationFailed, true);
  }
}

// The preview of the run with answers already read: its report, and the
// result's changes, are what the run would change; nothing is written. An
// error the run would stop at ends the preview as it would end the run.
int Preview(const Answers& answers, const EngineStart& started, platform::Registry& registry,
            bde::StatusReport& report) {
  try {
    const plan::Plan plan = plan::MakePlan(answers, registry, started());
    for (std::string& line : plan::DescribePlan(plan)) report.Add(std::move(line));
    for (const bde::Change& change : plan.changes) report.Changed(change);
    return kExitDone;
  } catch (const std::exception& error) {
    return Failed(report, error, kExitConfigurationFailed, false);
  }
}

// The workstation as it is, checked without writing: the answers are those
// /export would write for it, so that a workstation configured without the
// window (which stores no choices) is checked for the version and kind its
// aliases have. Whatever stops the checks is the one failed check.
int Verify(const servers::CheckSources& sources, const EngineStart& started, const RunHost& host,
           bde::StatusReport& report, CheckResults& checks) {
  try {
    std::vector<std::string> described = DescribeWorkstation(sources.registry, started, host.computer, host.startTime);
    // Its first line only says where and when it was made.
    described.erase(described.begin());
    const Answers answers =
        ResolveAnswers(AnswersFile::Parse("", platform::JoinLines(described)), sources.registry, started);
    checks = CheckConnections(sources, answers, started(), ApplyConfiguration::SuiteAliases(answers), report);
  } catch (const AnswersError& error) {
    checks = {{bde::CheckStatus::Failed, error.Problem()}};
    bde::ReportChecks(*checks, report);
  } catch (const std::exception& error) {
    checks = {{bde::CheckStatus::Failed, error.what()}};
    bde::ReportChecks(*checks, report);
  }
  return bde::AnyCheckFailed(*checks) ? kExitChecksFailed : kExitDone;
}

}  // namespace

int RunExport(const CommandLine& commandLine, platform::Registry& registry, bde::Engine& engine,
              const platform::CodePage& oemCodePage, const RunHost& host) {
  return Reporting(commandLine, host, [&](bde::StatusReport& report, CheckResults&) {
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
                  const platform::CodePage& oemCodePage, const std::string& backupRoot, const RunHost& host,
                  std::shared_ptr<platform::NetworkProbe> network) {
  const servers::CheckSources sources = SystemCheckSources(registry, std::move(network));
  return Reporting(commandLine, host, [&](bde::StatusReport& report, CheckResults& checks) {
    std::optional<bde::AliasEngineChoice> aliases;
    const EngineStart started = StartOnFirstUse(aliases, registry, engine, oemCodePage);
    if (commandLine.mode == CommandLine::Mode::Verify) return Verify(sources, started, host, report, checks);
    try {
      const Answers answers = ResolveAnswers(AnswersFile::Read(commandLine.answersPath), registry, started);
      if (commandLine.mode == CommandLine::Mode::Plan) return Preview(answers, started, registry, report);
      return Configure(commandLine.verify, sources, answers, started, backupRoot, report, checks);
    } catch (const AnswersError& error) {
      return Failed(report, error, kExitWrongAnswers, false);
    } catch (const std::exception& error) {
      return Failed(report, error, kExitConfigurationFailed, false);
    }
  });
}

int EndUnexpectedly(const CommandLine& commandLine, const RunHost& host, const std::string& what) {
  return Reporting(commandLine, host, [&](bde::StatusReport& report, CheckResults&) {
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
