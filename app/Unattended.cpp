#include "app/Unattended.h"

#include <exception>
#include <optional>
#include <utility>
#include <vector>

#include "app/AnswersFile.h"
#include "app/ApplyConfiguration.h"
#include "app/CommandLine.h"
#include "app/ErrorText.h"
#include "app/UnattendedAnswers.h"
#include "bde/AliasEngineChoice.h"
#include "bde/StatusReport.h"
#include "platform/TextFile.h"

namespace app {

int RunUnattended(const CommandLine& commandLine, platform::Registry& registry, bde::Engine& engine,
                  const platform::CodePage& oemCodePage, const std::string& backupRoot, const Console& toConsole) {
  std::vector<std::string> lines;
  int code = kExitDone;
  try {
    const AnswersFile file = AnswersFile::Read(commandLine.answersPath);
    std::optional<bde::AliasEngineChoice> aliases;
    const EngineStart started = [&]() -> bde::AliasEngine& {
      if (!aliases) aliases.emplace(registry, engine, oemCodePage);
      return aliases->Aliases();
    };
    const Answers answers = ResolveAnswers(file, registry, started);
    bde::StatusReport report(lines);
    // The report says what was written before the error, and how it was
    // put back.
    if (!ApplyConfiguration(registry, started(), backupRoot).RunAllOrNothing(answers, report)) {
      code = kExitConfigurationFailed;
    }
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
