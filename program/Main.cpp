#include <exception>
#include <memory>
#include <string>

#include "app/AnswersFile.h"
#include "app/CommandLine.h"
#include "app/ErrorText.h"
#include "app/Unattended.h"
#include "app/Undo.h"
#include "app/WizardWindow.h"
#include "bde/AliasEngineChoice.h"
#include "bde/Drivers.h"
#include "bde/Engine.h"
#include "bde/Session.h"
#include "mssql/OdbcApi.h"
#include "mssql/OdbcConnectionDriver.h"
#include "oracle/OciDriver.h"
#include "platform/DynamicLibrary.h"
#include "platform/NetworkProbe.h"
#include "platform/win32/SystemServices.h"
#include "platform/win32/Win32UiServices.h"
#include "view/WizardView.h"

namespace {

// Where every run keeps its backup: %ProgramData%\Novera\KonfigNovera.
std::string BackupRoot() { return platform::win32::CommonAppDataFolder() + "\\Novera\\KonfigNovera"; }

// Without arguments the one wizard window, until it closes; with "/s" the
// same configuration without any window, with "/verify" alone the check of
// the workstation as it is, and with "/undo" the latest run put back, also
// without one.
int Run(platform::win32::Win32UiServices& ui) {
  app::CommandLine commandLine;
  try {
    commandLine = app::ParseCommandLine(platform::win32::CommandLineArguments());
  } catch (const app::AnswersError& error) {
    platform::win32::WriteToConsole(app::WithFinalStop(error.what()) + "\r\n" + std::string(app::kUsage));
    return app::kExitWrongAnswers;
  }
  if (commandLine.mode == app::CommandLine::Mode::Usage) {
    platform::win32::WriteToConsole(std::string(app::kUsage));
    return app::kExitDone;
  }

  platform::win32::InitCommonControls();
  const auto registry = platform::win32::CreateSystemRegistry();
  bde::Engine engine(*registry, platform::win32::DefaultEngineConfigFile());
  const platform::CodePage& oemCodePage = platform::win32::SystemOemCodePage();
  if (commandLine.mode == app::CommandLine::Mode::Unattended || commandLine.mode == app::CommandLine::Mode::Verify) {
    return app::RunUnattended(commandLine, *registry, engine, oemCodePage, BackupRoot(),
                              platform::win32::WriteToConsole, platform::CreateSystemNetworkProbe());
  }
  if (commandLine.mode == app::CommandLine::Mode::Undo) {
    return app::RunUndo(commandLine, *registry, engine, oemCodePage, BackupRoot(), platform::win32::WriteToConsole);
  }
  bde::Session session;
  session.RegisterDriver(std::string(bde::kSqlNativeClientDriver),
                         std::make_unique<mssql::OdbcConnectionDriver>(*registry, mssql::odbc::kDriverManagerLibrary));
  session.RegisterDriver(std::string(bde::kOracleDriver), std::make_unique<oracle::OciConnectionDriver>());
  // An engine that is there but does not start stops the wizard with its
  // own message.
  bde::AliasEngineChoice aliases(*registry, engine, oemCodePage);
  app::WizardWindow window(*registry, session, aliases.Aliases(), ui, BackupRoot());
  return view::RunWizardWindow(window, ui);
}

}  // namespace

int main() {
  // Before anything loads a library: a copy planted beside the executable
  // (a downloads folder) would otherwise run with administrator rights.
  platform::RestrictLibrarySearch();
  platform::win32::Win32UiServices ui;
  try {
    return Run(ui);
  } catch (const std::exception& error) {
    ui.ShowError(app::WithFinalStop(error.what()));
    return 1;
  }
}
