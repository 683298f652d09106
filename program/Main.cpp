#include <chrono>
#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "app/AnswersFile.h"
#include "app/CommandLine.h"
#include "app/ErrorText.h"
#include "app/RunResult.h"
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

// A command line that names no mode: the error and the usage on the
// console, and the report and result where the refused line names them.
int RefuseCommandLine(const std::vector<std::string>& arguments, const std::string& error, const app::RunHost& host) {
  app::RunResult result;
  result.mode = "invalid";
  result.exitCode = app::kExitWrongAnswers;
  result.report = {app::WithFinalStop(error)};
  app::RunHost withUsage = host;
  withUsage.toConsole = [&](const std::string& text) { host.toConsole(text + "\r\n" + std::string(app::kUsage)); };
  return app::FinishRun(app::OutputsOfRefusedCommandLine(arguments), std::move(result), withUsage);
}

int RunWithoutWindow(const app::CommandLine& commandLine, const app::RunHost& host) {
  const auto registry = platform::win32::CreateSystemRegistry();
  bde::Engine engine(*registry, platform::win32::DefaultEngineConfigFile());
  const platform::CodePage& oemCodePage = platform::win32::SystemOemCodePage();
  if (commandLine.mode == app::CommandLine::Mode::Export) {
    return app::RunExport(commandLine, *registry, engine, oemCodePage, host);
  }
  if (commandLine.mode == app::CommandLine::Mode::Undo) {
    return app::RunUndo(commandLine, *registry, engine, oemCodePage, BackupRoot(), host);
  }
  return app::RunUnattended(commandLine, *registry, engine, oemCodePage, BackupRoot(), host,
                            platform::CreateSystemNetworkProbe());
}

// Without arguments the one wizard window, until it closes; with any
// switch no window at all, not even for a crash: "/s" is the same
// configuration, "/verify" alone the check of the workstation as it is,
// "/undo" the latest run put back and "/export" the answers file of the
// workstation.
int Run(platform::win32::Win32UiServices& ui) {
  const std::vector<std::string> arguments = platform::win32::CommandLineArguments();
  const app::RunHost host{platform::win32::ComputerName(), app::UtcTimestamp(std::chrono::system_clock::now()),
                          platform::win32::WriteToConsole};
  app::CommandLine commandLine;
  if (!arguments.empty()) {
    // Until the command line is read, a crash has no files to write.
    platform::win32::PrepareForNobodyAtScreen(
        [&](const std::string& what) { app::EndUnexpectedly(commandLine, host, what); });
  }
  try {
    commandLine = app::ParseCommandLine(arguments);
  } catch (const app::AnswersError& error) {
    return RefuseCommandLine(arguments, error.what(), host);
  }
  if (commandLine.mode == app::CommandLine::Mode::Usage) {
    platform::win32::WriteToConsole(std::string(app::kUsage));
    return app::kExitDone;
  }
  if (commandLine.mode != app::CommandLine::Mode::Window) {
    try {
      return RunWithoutWindow(commandLine, host);
    } catch (const std::exception& error) {
      return app::EndUnexpectedly(commandLine, host, error.what());
    } catch (...) {
      return app::EndUnexpectedly(commandLine, host, "wyjątek nieznanego rodzaju");
    }
  }

  platform::win32::InitCommonControls();
  const auto registry = platform::win32::CreateSystemRegistry();
  bde::Engine engine(*registry, platform::win32::DefaultEngineConfigFile());
  const platform::CodePage& oemCodePage = platform::win32::SystemOemCodePage();
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
