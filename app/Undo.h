#pragma once

#include <string>
#include <string_view>

// The exit codes, the console and the declarations of the unattended run.
#include "app/Unattended.h"

namespace app {

// %s: the backup folder of every run.
inline constexpr std::string_view kNothingToUndoMessage =
    "Nie ma przebiegu do cofnięcia: w folderze \"%s\" nie ma kopii zapasowej przebiegu, którego jeszcze nie cofnięto";

// "/undo": puts the workstation back as it was before the latest run (in
// the window or unattended) that was neither undone nor rolled back, from
// that run's backup, and reports what it put back. An item that no longer
// holds what the run left there is left alone and named. The run counts as
// undone unless something could not be written, so a second /undo goes one
// run further back, while one that failed can be tried again. The engine
// is the one the window would use, started only for aliases. Exit code 0
// when everything was put back, 1 when something was left alone or could
// not be put back, 2 when there is no run to undo; the report and the
// result (mode "undo", what was put back in the report alone) go where
// FinishRun sends them.
int RunUndo(const CommandLine& commandLine, platform::Registry& registry, bde::Engine& engine,
            const platform::CodePage& oemCodePage, const std::string& backupRoot, const RunHost& host);

}  // namespace app
