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
            const platform::CodePage& oemCodePage, const std::string& backupRoot, const Console& toConsole) {
  std::vector<std::string> lines;
  int code = kExitDone;
  try {
    const std::optional<std::string> folder = backup::LatestRunToUndo(backupRoot);
    if (!folder) {
      lines = {WithFinalStop(platform::Format(kNothingToUndoMessage, {backupRoot}))};
      return DeliverReport(std::move(lines), kExitWrongAnswers, commandLine.logPath, toConsole);
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
    lines = UndoReport(run, result);
    if (result.failed == 0) backup::SetRunState(run.folder, backup::RunState::Undone);
    if (result.failed != 0 || result.leftAlone != 0) code = kExitConfigurationFailed;
  } catch (const std::exception& error) {
    lines.push_back(WithFinalStop(error.what()));
    code = kExitConfigurationFailed;
  }
  return DeliverReport(std::move(lines), code, commandLine.logPath, toConsole);
}

}  // namespace app
