#include "app/Undo.h"

#include <exception>
#include <optional>
#include <utility>
#include <vector>

#include "app/CommandLine.h"
#include "app/ErrorText.h"
#include "app/backup/Restore.h"
#include "app/backup/RunBackup.h"
#include "bde/AliasEngineChoice.h"
#include "platform/Text.h"

namespace app {
namespace {

std::vector<std::string> UndoReport(const backup::RecordedRun& run, const backup::RestoreResult& result) {
  const bool whole = result.failed == 0 && result.leftAlone == 0;
  std::vector<std::string> lines = {whole ? "Cofnięto przebieg " + run.manifest.run + "."
                                          : "Przebieg " + run.manifest.run + " cofnięto tylko częściowo.",
                                    ""};
  if (result.lines.empty()) lines.push_back(" Wszystko było już jak przed przebiegiem.");
  for (const std::string& line : result.lines) lines.push_back(line);
  lines.push_back(" Kopia zapasowa:");
  lines.push_back("     \"" + run.folder + "\"");
  return lines;
}

}  // namespace

int RunUndo(const CommandLine& commandLine, platform::Registry& registry, bde::Engine& engine,
            const platform::CodePage& oemCodePage, const std::string& backupRoot, const RunHost& host) {
  RunResult outcome;
  outcome.mode = ModeName(commandLine);
  outcome.exitCode = kExitDone;
  try {
    const std::optional<std::string> folder = backup::LatestRunToUndo(backupRoot);
    if (!folder) {
      outcome.report = {WithFinalStop(platform::Format(kNothingToUndoMessage, {backupRoot}))};
      outcome.exitCode = kExitWrongAnswers;
      return FinishRun(commandLine, std::move(outcome), host);
    }
    const backup::RecordedRun run = backup::ReadRun(*folder);
    std::optional<bde::AliasEngineChoice> aliases;
    backup::Workstation workstation{registry, [&]() -> bde::AliasEngine& {
                                      if (!aliases) {
                                        aliases.emplace(registry, engine, oemCodePage);
                                        aliases->Aliases().SetConfigurationMode(bde::ConfigurationMode::Persistent);
                                      }
                                      return aliases->Aliases();
                                    }};
    const backup::RestoreResult result = backup::Restore(workstation, run.items, backup::RestoreMode::Undo);
    outcome.report = UndoReport(run, result);
    if (result.failed == 0) backup::SetRunState(run.folder, backup::RunState::Undone);
    if (result.failed != 0 || result.leftAlone != 0) outcome.exitCode = kExitConfigurationFailed;
  } catch (const std::exception& error) {
    outcome.report.push_back(WithFinalStop(error.what()));
    outcome.exitCode = kExitConfigurationFailed;
  }
  return FinishRun(commandLine, std::move(outcome), host);
}

}  // namespace app
