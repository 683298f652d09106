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
#include "app/UnattendedAnswers.h"
#include "bde/AliasEngineChoice.h"
#include "bde/StatusReport.h"
#include "platform/NetworkProbe.h"
#include "platform/TextFile.h"

namespace app {
namespace {

// The engine of the run, started the first time it is asked for.
class StartedEngine {
 public:
  StartedEngine(platform::Registry& registry, bde::Engine& engine, const platform::CodePage& oemCodePage)
      : start_([&, this]() -> bde::AliasEngine& {
          if (!aliases_) aliases_.emplace(registry, engine, oemCodePage);
          return aliases_->Aliases();
        }) {}
  StartedEngine(const StartedEngine&) = delete;
  StartedEngine& operator=(const StartedEngine&) = delete;

  const EngineStart& Start() const { return start_; }

 private:
  std::optional<bde::AliasEngineChoice> aliases_;
  EngineStart start_;
};

// The run of an answers file, all or nothing, checked afterwards when
// asked. The report says what was written before an error, and how it was
// put back.
int Configure(const CommandLine& commandLine, const servers::CheckSources& sources, const EngineStart& started,
              const std::string& backupRoot, std::vector<std::string>& lines) {
  const AnswersFile file = AnswersFile::Read(commandLine.answersPath);
  const Answers answers = ResolveAnswers(file, sources.registry, started);
  bde::StatusReport report(lines);
  try {
    ApplyConfiguration apply(sources.registry, started(), backupRoot);
    if (!apply.RunAllOrNothing(answers, report)) return kExitConfigurationFailed;
    if (commandLine.verify && CheckConnections(sources, answers, started(), apply.WrittenAliases(), report)) {
      return kExitChecksFailed;
    }
  } catch (const std::exception& error) {
    lines.push_back(WithFinalStop(error.what()));
    return kExitConfigurationFailed;
  }
  return kExitDone;
}

// The workstation as it is, checked without writing: the answers are those
// of an answers file that gives nothing.
int Verify(const servers::CheckSources& sources, const EngineStart& started, std::vector<std::string>& lines) {
  bde::StatusReport report(lines);
  try {
    const Answers answers = ResolveAnswers(AnswersFile::Parse("", ""), sources.registry, started);
    const bool failed = CheckConnections(sources, answers, started(), ApplyConfiguration::SuiteAliases(answers),
                                         report);
    return failed ? kExitChecksFailed : kExitDone;
  } catch (const AnswersError& error) {
    bde::ReportChecks({{bde::CheckStatus::Failed, error.Problem()}}, report);
  } catch (const std::exception& error) {
    bde::ReportChecks({{bde::CheckStatus::Failed, error.what()}}, report);
  }
  return kExitChecksFailed;
}

}  // namespace

int RunUnattended(const CommandLine& commandLine, platform::Registry& registry, bde::Engine& engine,
                  const platform::CodePage& oemCodePage, const std::string& backupRoot, const Console& toConsole,
                  std::shared_ptr<platform::NetworkProbe> network) {
  std::vector<std::string> lines;
  int code = kExitDone;
  const servers::CheckSources sources = SystemCheckSources(registry, std::move(network));
  StartedEngine engineOfRun(registry, engine, oemCodePage);
  try {
    code = commandLine.mode == CommandLine::Mode::Verify
               ? Verify(sources, engineOfRun.Start(), lines)
               : Configure(commandLine, sources, engineOfRun.Start(), backupRoot, lines);
  } catch (const AnswersError& error) {
    lines = {WithFinalStop(error.what())};
    code = kExitWrongAnswers;
  } catch (const std::exception& error) {
    lines = {WithFinalStop(error.what())};
    code = kExitConfigurationFailed;
  }
  return DeliverReport(std::move(lines), code, commandLine.logPath, toConsole);
}

int DeliverReport(std::vector<std::string> lines, int code, const std::string& logPath, const Console& toConsole) {
  if (!logPath.empty()) {
    try {
      platform::WriteTextLines(logPath, lines);
    } catch (const std::exception& error) {
      lines.push_back(WithFinalStop(error.what()));
      if (code == kExitDone) code = kExitConfigurationFailed;
    }
  }
  toConsole(platform::JoinLines(lines));
  return code;
}

}  // namespace app
