#include <exception>
#include <memory>
#include <optional>
#include <string>

#include "app/ErrorText.h"
#include "app/WizardWindow.h"
#include "bde/Drivers.h"
#include "bde/Engine.h"
#include "bde/InstalledEngine.h"
#include "mssql/OdbcApi.h"
#include "mssql/OdbcConnectionDriver.h"
#include "oracle/OciDriver.h"
#include "platform/DynamicLibrary.h"
#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/win32/SystemServices.h"
#include "platform/win32/Win32UiServices.h"
#include "platform/win32/WizardView.h"

// The program reads no arguments: it shows the one wizard window and ends
// when the window closes.
int main() {
  // Before anything loads a library: a copy planted beside the executable
  // (a downloads folder) would otherwise run with administrator rights.
  platform::RestrictLibrarySearch();
  platform::win32::Win32UiServices ui;
  try {
    platform::win32::InitCommonControls();
    const auto registry = platform::win32::CreateSystemRegistry();
    bde::Engine engine(*registry, platform::win32::DefaultEngineConfigFile());
    engine.RegisterDriver(std::string(bde::kSqlNativeClientDriver),
                          std::make_unique<mssql::OdbcConnectionDriver>(*registry, mssql::odbc::kDriverManagerLibrary));
    engine.RegisterDriver(std::string(bde::kOracleDriver), std::make_unique<oracle::OciConnectionDriver>());
    // The installed BDE does the alias work when its library is there; our
    // own engine only where there is none. An engine that is there but does
    // not start stops the wizard with its own message.
    const bde::InstalledEngineSearch search = bde::FindInstalledEngine(*registry);
    std::optional<platform::DynamicLibrary> idapi;
    std::optional<bde::InstalledEngine> installed;
    if (search.library) {
      idapi = platform::DynamicLibrary::Load(*search.library);
      if (!idapi) throw platform::Error(platform::Format(bde::kIdapiLoadFailedMessage, {*search.library}));
      installed.emplace(bde::LoadIdapiFunctions(*idapi, *search.library), platform::win32::SystemOemCodePage());
    } else {
      engine.SetNoInstalledEngineNote(search.note);
    }
    bde::AliasEngine& aliases = installed ? static_cast<bde::AliasEngine&>(*installed) : engine;
    app::WizardWindow window(*registry, engine, aliases, ui);
    return platform::win32::RunWizardWindow(window, ui);
  } catch (const std::exception& error) {
    ui.ShowError(app::WithFinalStop(error.what()));
    return 1;
  }
}
