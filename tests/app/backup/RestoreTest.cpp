#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/backup/Restore.h"
#include "bde/Engine.h"
#include "bde/InstalledEngine.h"
#include "platform/DynamicLibrary.h"
#include "platform/TextFile.h"
#include "tests/FakeOemCodePage.h"
#include "tests/RegistryDump.h"
#include "tests/TempFolder.h"
#include "tests/WriteFaults.h"
#include "tests/platform/MemoryRegistry.h"

namespace app::backup {
namespace {

using Lines = std::vector<std::string>;
using platform::RegistryRoot;

constexpr RegistryRoot kLM = RegistryRoot::LocalMachine;
const std::string kSources = "\\SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources";
const std::string kSource = "\\SOFTWARE\\ODBC\\ODBC.INI\\Novera LM";
const std::string kOther = "\\SOFTWARE\\ODBC\\ODBC.INI\\Inne";

// A workstation with a data source of its own, an older one of ours, an
// Oracle home's files and our engine's file laid out by hand, which the
// engine's own save would lay out otherwise.
class World {
 public:
  World() {
    registry_.LoadRegText(
        "[HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\Inne]\n\"Server\"=\"stary\"\n"
        "\"Port\"=dword:00000599\n\"Stara\"=hex:01,02\n");
    platform::WriteFileContent(Sqlnet(), "SQLNET.AUTHENTICATION_SERVICES= (NONE)\n");
    platform::WriteFileContent(Config(),
                               "KonfigNovera BDE 1\r\n\r\n\r\nALIAS X Novera- LM\r\nDRIVER SQL Native Client\r\n"
                               "PARAM DATABASE NAME=STARA\r\nPARAM USER NAME=dbo\r\nEND\r\n");
  }

  std::string Folder() const { return temp_.Path().string(); }
  std::string PathOf(const char* name) const { return (temp_.Path() / name).string(); }
  std::string Sqlnet() const { return PathOf("sqlnet.ora"); }
  std::string Tnsnames() const { return PathOf("tnsnames.ora"); }
  std::string Config() const { return PathOf("bde.cfg"); }
  platform::MemoryRegistry& Registry() { return registry_; }

  // Everything a run may have changed.
  std::string State() {
    std::string state = testing_support::DumpRegistry(registry_);
    for (const std::string& path : {Sqlnet(), Tnsnames(), Config()}) {
      state += path + (platform::FileExists(path) ? "=" + platform::ReadFileContent(path) : " brak") + "\n";
    }
    return state;
  }

  // The engine of a new process, which reads the file afresh.
  void NewEngine() {
    engine_.emplace(registry_, Config());
    engine_->SetConfigurationMode(bde::ConfigurationMode::Persistent);
  }
  app::backup::Workstation& Workstation() { return workstation_; }

  // Takes the places, then makes the changes a run of both server kinds
  // would make, as a run does: each place just before its first write.
  std::vector<BackedUpItem> Run(app::backup::Workstation& workstation) {
    bde::AliasEngine& engine = workstation.aliases();
    std::vector<BackedUpItem> items;
    const auto keep = [&](const Place& place) {
      items.push_back({place, ReadState(workstation, place), std::nullopt});
    };
    keep(Place::RegistryKey(kLM, kOther));
    registry_.OpenKey(kLM, kOther, platform::kKeyAllAccess, true)->WriteString("Server", "nowy");
    registry_.OpenKey(kLM, kOther, platform::kKeyAllAccess, true)->WriteString("MARS_Connection", "Yes");
    keep(Place::RegistryKey(kLM, kSource));
    registry_.OpenKey(kLM, kSource, platform::kKeyAllAccess, true)->WriteString("Server", "SRV");
    keep(Place::RegistryValue(kLM, kSources, "Novera LM"));
    registry_.OpenKey(kLM, kSources, platform::kKeyAllAccess, true)->WriteString("Novera LM", "SQL Native Client");
    keep(Place::File(Sqlnet()));
    platform::WriteFileContent(Sqlnet(), "SQLNET.AUTHENTICATION_SERVICES= (NTS)\r\n");
    keep(Place::File(Tnsnames()));
    platform::WriteFileContent(Tnsnames(), "XE =\r\n");
    keep(Place::Alias("X Novera- LM"));
    engine.UpdateAlias("X Novera- LM", bde::ParameterList(Lines{"DATABASE NAME=NOWA"}));
    keep(Place::Alias("X Novera- Ochrona"));
    engine.CreateAlias("X Novera- Ochrona", "SQL Native Client", bde::ParameterList(Lines{"DATABASE NAME=NOWA"}));
    keep(Place::EngineFile(Config()));
    engine.SaveConfiguration();
    for (BackedUpItem& item : items) item.after = ReadState(workstation, item.place);
    return items;
  }

 private:
  testing_support::TempFolder temp_;
  platform::MemoryRegistry registry_;
  std::optional<bde::Engine> engine_;
  app::backup::Workstation workstation_{registry_, [this]() -> bde::AliasEngine& { return *engine_; }};
};

const Lines kAllPutBack = {
    "  alias BDE \"X Novera- Ochrona\": usunięto.",
    "  alias BDE \"X Novera- LM\": przywrócono.",
    "  plik \"*tnsnames.ora\": usunięto.",
    "  plik \"*sqlnet.ora\": przywrócono.",
    "  wartość \"Novera LM\" klucza rejestru \"HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources\": "
    "usunięto.",
    "  klucz rejestru \"HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\Novera LM\": usunięto.",
    "  klucz rejestru \"HKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\Inne\": przywrócono.",
    "  plik konfiguracji BDE \"*bde.cfg\": przywrócono.",
};

// "*" stands for the test's folder.
Lines InFolder(Lines lines, const std::string& folder) {
  for (std::string& line : lines) {
    for (size_t star = line.find('*'); star != std::string::npos; star = line.find('*', star + folder.size())) {
      line.replace(star, 1, folder + "/");
    }
  }
  return lines;
}

// Back byte for byte, in the reverse order, with the keys the run made on
// the way, and last, after the engine's save, the engine's file as the
// hand had laid it out; then once
// more, with nothing left to do. A rollback does it in the run's own
// process, an undo in a new one.
TEST(RestoreTest, EveryItemComesBackByteForByte) {
  for (RestoreMode mode : {RestoreMode::Rollback, RestoreMode::Undo}) {
    SCOPED_TRACE(mode == RestoreMode::Rollback ? "rollback" : "undo");
    World world;
    const std::string before = world.State();
    world.NewEngine();
    app::backup::Workstation& workstation = world.Workstation();
    const std::vector<BackedUpItem> items = world.Run(workstation);
    ASSERT_NE(world.State(), before);
    if (mode == RestoreMode::Undo) world.NewEngine();
    const RestoreResult result = Restore(workstation, items, mode);
    EXPECT_EQ(result.lines, InFolder(kAllPutBack, world.Folder()));
    EXPECT_EQ(result.restored, 8);
    EXPECT_EQ(result.failed + result.leftAlone, 0);
    EXPECT_EQ(world.State(), before);
    EXPECT_FALSE(world.Registry().KeyExists(kLM, kSources));
    EXPECT_TRUE(Restore(workstation, items, mode).lines.empty());
    EXPECT_EQ(world.State(), before);
  }
}

// What someone changed after the run stays and is named; the rest of the
// run is put back around it.
TEST(RestoreTest, AnUndoLeavesWhatWasChangedSinceTheRun) {
  struct Case {
    const char* what;
    std::function<void(World&)> change;
    Place changed;
  };
  const Case cases[] = {
      {"a file edited by hand", [](World& w) { platform::WriteFileContent(w.Sqlnet(), "# ręcznie\r\n"); },
       Place::File("sqlnet.ora")},
      {"a value added to a key the run made",
       [](World& w) {
         w.Registry().OpenKey(kLM, kSource, platform::kKeyAllAccess, false)->WriteString("Database", "x");
       },
       Place::RegistryKey(kLM, kSource)},
      {"an alias another tool modified",
       [](World& w) {
         bde::Engine other(w.Registry(), w.Config());
         other.SetConfigurationMode(bde::ConfigurationMode::Persistent);
         other.UpdateAlias("X Novera- Ochrona", bde::ParameterList(Lines{"DATABASE NAME=INNA"}));
         other.SaveConfiguration();
       },
       Place::Alias("X Novera- Ochrona")},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    World world;
    world.NewEngine();
    app::backup::Workstation& workstation = world.Workstation();
    const std::vector<BackedUpItem> items = world.Run(workstation);
    c.change(world);
    Place changed = c.changed;
    if (changed.kind == ItemKind::File) changed.path = world.PathOf(changed.path.c_str());
    world.NewEngine();
    const State kept = ReadState(workstation, changed);
    const RestoreResult result = Restore(workstation, items, RestoreMode::Undo);
    EXPECT_EQ(result.leftAlone, 1);
    EXPECT_EQ(result.failed, 0);
    ASSERT_FALSE(result.lines.empty());
    EXPECT_EQ(result.lines.back(), "  " + Describe(changed) + ": pozostawiono, bo zmieniono to po przebiegu.");
    for (const BackedUpItem& item : items) {
      if (item.place.kind == ItemKind::EngineFile) continue;
      const State now = ReadState(workstation, item.place);
      if (SamePlace(item.place, changed)) {
        EXPECT_TRUE(SameState(item.place.kind, now, kept));
      } else {
        EXPECT_TRUE(SameState(item.place.kind, now, item.before)) << Describe(item.place);
      }
    }
  }
}

// A run that never recorded its end has no after-state to check against:
// its items are put back whatever they hold.
TEST(RestoreTest, AnUndoOfARunThatNeverEndedPutsBackUnchecked) {
  World world;
  const std::string before = world.State();
  world.NewEngine();
  std::vector<BackedUpItem> items = world.Run(world.Workstation());
  for (BackedUpItem& item : items) item.after.reset();
  platform::WriteFileContent(world.Sqlnet(), "# ręcznie\r\n");
  world.NewEngine();
  const RestoreResult result = Restore(world.Workstation(), items, RestoreMode::Undo);
  EXPECT_EQ(result.leftAlone, 0);
  EXPECT_EQ(result.restored, 8);
  EXPECT_EQ(world.State(), before);
}

// What cannot be put back is named with its error; the items around it
// still come back, and an alias counts as back only once the engine saved it.
TEST(RestoreTest, WhatCannotBePutBackIsNamedAndTheRestComesBack) {
  struct Case {
    const char* fileName;
    Lines failed;  // "*" stands for the test's folder
  };
  const Case cases[] = {
      {"sqlnet.ora", {"  plik \"*sqlnet.ora\": nie przywrócono: Nie można utworzyć pliku \"*sqlnet.ora\". "}},
      // The engine's save fails first, then its file cannot be put back.
      {"bde.cfg",
       {"  alias BDE \"X Novera- Ochrona\": nie przywrócono: Nie można utworzyć pliku \"*bde.cfg\". ",
        "  alias BDE \"X Novera- LM\": nie przywrócono: Nie można utworzyć pliku \"*bde.cfg\". "}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.fileName);
    World world;
    world.NewEngine();
    const std::vector<BackedUpItem> items = world.Run(world.Workstation());
    RestoreResult result;
    {
      platform::ScopedWriteFaultForTesting armed(platform::WriteFault::Replace, c.fileName);
      result = Restore(world.Workstation(), items, RestoreMode::Rollback);
    }
    EXPECT_EQ(result.failed, static_cast<int>(c.failed.size()));
    Lines failed;
    for (const std::string& line : result.lines) {
      if (line.find("nie przywrócono") != std::string::npos) failed.push_back(line.substr(0, line.rfind(". ") + 2));
    }
    EXPECT_EQ(failed, InFolder(c.failed, world.Folder()));
    EXPECT_EQ(result.restored, 8 - result.failed);
    EXPECT_FALSE(world.Registry().KeyExists(kLM, kSource));
  }
}

// The installed engine deletes the alias the run created through its own
// call and takes the modified one's old values, with one save.
TEST(RestoreTest, TheInstalledEnginePutsItsAliasesBack) {
  testing_support::TempFolder temp;
  const std::string config = (temp.Path() / "IDAPI32.CFG").string();
  platform::WriteFileContent(config,
                             "IDAPI STAND-IN\r\nALIAS X Novera- LM\r\nDB INFO TYPE=ORACLE\r\n"
                             "DB OPEN SERVER NAME=STARY\r\nDB OPEN USER NAME=LM\r\n");
  const std::string before = platform::ReadFileContent(config);
  setenv("KONFIGNOVERA_FAKE_IDAPI_CONFIG", config.c_str(), 1);
  std::optional<platform::DynamicLibrary> library = platform::DynamicLibrary::Load(FAKE_IDAPI_LIBRARY);
  ASSERT_TRUE(library);
  testing_support::FakeOemCodePage codePage;
  platform::MemoryRegistry registry;
  for (RestoreMode mode : {RestoreMode::Rollback, RestoreMode::Undo}) {
    std::optional<bde::InstalledEngine> engine;
    engine.emplace(bde::LoadIdapiFunctions(*library, FAKE_IDAPI_LIBRARY), codePage);
    engine->SetConfigurationMode(bde::ConfigurationMode::Persistent);
    app::backup::Workstation workstation{registry, [&]() -> bde::AliasEngine& { return *engine; }};
    std::vector<BackedUpItem> items;
    for (const char* name : {"X Novera- LM", "X Novera- Ochrona"}) {
      items.push_back({Place::Alias(name), ReadState(workstation, Place::Alias(name)), std::nullopt});
    }
    engine->UpdateAlias("X Novera- LM", bde::ParameterList(Lines{"SERVER NAME=NOWY"}));
    engine->CreateAlias("X Novera- Ochrona", "ORACLE", bde::ParameterList(Lines{"SERVER NAME=NOWY"}));
    if (mode == RestoreMode::Undo) {
      engine->SaveConfiguration();
      for (BackedUpItem& item : items) item.after = ReadState(workstation, item.place);
      engine.reset();
      engine.emplace(bde::LoadIdapiFunctions(*library, FAKE_IDAPI_LIBRARY), codePage);
      engine->SetConfigurationMode(bde::ConfigurationMode::Persistent);
    }
    const RestoreResult result = Restore(workstation, items, mode);
    EXPECT_EQ(result.lines,
              (Lines{"  alias BDE \"X Novera- Ochrona\": usunięto.", "  alias BDE \"X Novera- LM\": przywrócono."}));
    engine.reset();
    EXPECT_EQ(platform::ReadFileContent(config), before);
  }
  unsetenv("KONFIGNOVERA_FAKE_IDAPI_CONFIG");
}

}  // namespace
}  // namespace app::backup
