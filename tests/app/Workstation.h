#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/AnswersFile.h"
#include "app/ApplyConfiguration.h"
#include "app/CommandLine.h"
#include "app/Unattended.h"
#include "app/UnattendedAnswers.h"
#include "app/Undo.h"
#include "app/plan/Plan.h"
#include "bde/AliasEngineChoice.h"
#include "bde/Engine.h"
#include "bde/StatusReport.h"
#include "platform/NetworkProbe.h"
#include "platform/TextFile.h"
#include "tests/FakeOemCodePage.h"
#include "tests/RegisteredDriver.h"
#include "tests/RegistryDump.h"
#include "tests/TempFolder.h"
#include "tests/platform/MemoryRegistry.h"

namespace testing_support {

enum class EngineKind { Ours, Installed };

inline std::string NameOf(EngineKind kind) { return kind == EngineKind::Ours ? "Ours" : "Installed"; }

// The SQL Server and Oracle answers of the README, with a second set that
// changes every value, for a run over an earlier one.
inline constexpr char kMssqlAnswers[] =
    "[KonfigNovera]\nSerwer=MSSQL\nWersja=11\nKopia=0\n[MSSQL]\nZrodloDanych=Novera LM\nSerwerMSSQL=SRV\\SQLEXPRESS\n"
    "LogowanieWindows=1\nBaza=LUMIRA\nBazaArchiwum=LUMIRA_ARCH\n";
inline constexpr char kOtherMssqlAnswers[] =
    "[KonfigNovera]\nSerwer=MSSQL\nWersja=11\nKopia=0\n[MSSQL]\nZrodloDanych=Novera LM\nSerwerMSSQL=INNY\n"
    "LogowanieWindows=0\nBaza=INNA\nBazaArchiwum=\n";
inline constexpr char kOracleAnswers[] =
    "[KonfigNovera]\nSerwer=Oracle\nWersja=11\nKopia=0\n[Oracle]\nDomOracle=OraClient11g_home1\nSerwis=XE.SERWER\n"
    "Protokol=TCP\nHost=serwer.firma.pl\nPort=1521\nNazwaBazy=XE\nUzytkownikOchrona=OCHRONA\nUzytkownikLumira=LUMIRA\n"
    "UzytkownikLiczniki=LICZNIKI\n";
inline constexpr char kOtherOracleAnswers[] =
    "[KonfigNovera]\nSerwer=Oracle\nWersja=11\nKopia=0\n[Oracle]\nDomOracle=OraClient11g_home1\nSerwis=XE.SERWER\n"
    "Host=inny.firma.pl\nPort=1600\nUzytkownikOchrona=INNY\nUzytkownikLumira=INNY\n";

// A workstation with the ODBC driver, an Oracle home whose tnsnames.ora
// holds XE.SERWER and whose sqlnet.ora lacks what the wizard ensures, and
// either our own engine's file or the installed engine (the stand-in
// library, named by "DLLPATH") with a file of its own; its backups go to a
// folder of their own. Each run is a new program run: a new engine.
class Workstation {
 public:
  explicit Workstation(EngineKind kind) {
    registry_.LoadRegText(kRegisteredDriver);
    registry_.LoadRegText(
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ORACLE\\KEY_OraClient11g_home1]\n"
        "\"ORACLE_HOME_NAME\"=\"OraClient11g_home1\"\n\"ORACLE_HOME\"=\"" +
        Path("oracle") + "\"\n");
    platform::WriteTextLines(Network() + "tnsnames.ora",
                             {"XE.SERWER = (DESCRIPTION = (ADDRESS = (PROTOCOL = TCP)(HOST = stary)(PORT = 1522))"
                              "(CONNECT_DATA = (SERVICE_NAME = XE)))"});
    platform::WriteFileContent(Network() + "sqlnet.ora", "# ręcznie\nSQLNET.AUTHENTICATION_SERVICES= (NONE)\n");
    if (kind == EngineKind::Installed) {
      std::filesystem::create_directory(Path("BDE"));
      std::filesystem::copy_file(FAKE_IDAPI_LIBRARY, Path("BDE") + "/idapi32.dll");
      registry_.LoadRegText("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Borland\\Database Engine]\n\"DLLPATH\"=\"" + Path("BDE") +
                            "/\"\n");
      setenv("KONFIGNOVERA_FAKE_IDAPI_CONFIG", Path("IDAPI32.CFG").c_str(), 1);
      platform::WriteFileContent(Path("IDAPI32.CFG"), "IDAPI STAND-IN\r\n");
    }
  }
  ~Workstation() {
    unsetenv("KONFIGNOVERA_FAKE_IDAPI_CONFIG");
    unsetenv("KONFIGNOVERA_FAKE_IDAPI_FAIL");
  }
  Workstation(const Workstation&) = delete;
  Workstation& operator=(const Workstation&) = delete;

  std::string Path(const std::string& name) const { return (folder_.Path() / name).string(); }
  std::string Network() const { return Path("oracle") + "\\NETWORK\\ADMIN\\"; }
  std::string Config() const { return Path("bde.cfg"); }
  std::string BackupRoot() const { return Path("KonfigNovera"); }
  platform::MemoryRegistry& Registry() { return registry_; }
  const std::string& Console() const { return console_; }
  std::vector<std::string> Report() const { return platform::SplitLines(console_); }
  // The /json result of the latest unattended run or /undo.
  std::string Result() const { return platform::ReadFileContent(Path("result.json")); }

  // Everything the wizard may change, byte for byte: the registry, the
  // Oracle files and the engine's file.
  std::string State() {
    std::string state = DumpRegistry(registry_);
    for (const std::string& path :
         {Network() + "tnsnames.ora", Network() + "sqlnet.ora", Config(), Path("IDAPI32.CFG")}) {
      state += path + (platform::FileExists(path) ? ":\n" + platform::ReadFileContent(path) : " brak") + "\n";
    }
    return state;
  }

  int Unattended(const std::string& answers, app::CommandLine::Mode mode = app::CommandLine::Mode::Unattended) {
    platform::WriteTextLines(Path("answers.ini"), platform::SplitLines(answers));
    app::CommandLine line{mode, Path("answers.ini"), "", Path("result.json"), ""};
    line.plan = mode == app::CommandLine::Mode::Plan;
    console_.clear();
    bde::Engine engine(registry_, Config());
    return app::RunUnattended(line, registry_, engine, codePage_, BackupRoot(), Host(),
                              platform::CreateSystemNetworkProbe());
  }

  int Undo(const std::string& logPath = {}) {
    app::CommandLine line{app::CommandLine::Mode::Undo, "", logPath, Path("result.json"), ""};
    console_.clear();
    bde::Engine engine(registry_, Config());
    return app::RunUndo(line, registry_, engine, codePage_, BackupRoot(), Host());
  }

  app::RunHost Host() {
    return {"PC01", "2026-12-09T11:30:05Z", [this](const std::string& text) { console_ += text; }};
  }

  // "Wykonaj" with the answers a window run would collect; the error of a
  // failed run, or nothing.
  std::optional<std::string> Window(const app::Answers& answers) {
    bde::Engine engine(registry_, Config());
    bde::AliasEngineChoice aliases(registry_, engine, codePage_);
    app::ApplyConfiguration apply(registry_, aliases.Aliases(), BackupRoot());
    std::vector<std::string> lines;
    bde::StatusReport report(lines);
    try {
      apply.Run(answers, report);
    } catch (const std::exception& error) {
      return error.what();
    }
    return std::nullopt;
  }

  std::string OracleHome() const { return Path("oracle"); }

  // The preview /plan makes of a run with the answers.
  app::plan::Plan MakePlan(const std::string& answers) {
    bde::Engine engine(registry_, Config());
    bde::AliasEngineChoice aliases(registry_, engine, codePage_);
    const app::Answers resolved =
        app::ResolveAnswers(app::AnswersFile::Parse("answers.ini", answers), registry_,
                            [&]() -> bde::AliasEngine& { return aliases.Aliases(); });
    return app::plan::MakePlan(resolved, registry_, aliases.Aliases());
  }

  // What stands at the places now.
  app::backup::Snapshot TakeSnapshot(const std::vector<app::backup::Place>& places) {
    bde::Engine engine(registry_, Config());
    bde::AliasEngineChoice aliases(registry_, engine, codePage_);
    app::backup::Workstation workstation{registry_, [&]() -> bde::AliasEngine& { return aliases.Aliases(); }};
    return app::backup::TakeSnapshot(workstation, places);
  }

  // Works on the aliases as another program would, saving at the end.
  void WithEngine(const std::function<void(bde::AliasEngine&)>& work) {
    bde::Engine engine(registry_, Config());
    bde::AliasEngineChoice aliases(registry_, engine, codePage_);
    aliases.Aliases().SetConfigurationMode(bde::ConfigurationMode::Persistent);
    work(aliases.Aliases());
    aliases.Aliases().SaveConfiguration();
  }

  // The runs' folders, oldest first.
  std::vector<std::string> Runs() const {
    std::vector<std::string> runs = platform::SubfolderNames(BackupRoot());
    std::sort(runs.begin(), runs.end());
    return runs;
  }
  std::string StateLineOf(const std::string& run) const {
    return platform::ReadTextLines(BackupRoot() + "/" + run + "/manifest.txt").at(3);
  }

 private:
  TempFolder folder_;
  platform::MemoryRegistry registry_;
  FakeOemCodePage codePage_;
  std::string console_;
};

}  // namespace testing_support
