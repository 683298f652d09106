#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/backup/ItemFiles.h"
#include "app/backup/RunBackup.h"
#include "bde/Engine.h"
#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/TextFile.h"
#include "tests/ErrorOf.h"
#include "tests/TempFolder.h"
#include "tests/WriteFaults.h"
#include "tests/platform/MemoryRegistry.h"

namespace app::backup {
namespace {

namespace fs = std::filesystem;
using Lines = std::vector<std::string>;
using platform::RegistryRoot;
using testing_support::ErrorOf;

constexpr RegistryRoot kLM = RegistryRoot::LocalMachine;
constexpr RunTime kTime{2026, 12, 9, 10, 30, 0, 123};

Lines Sorted(Lines lines) {
  std::sort(lines.begin(), lines.end());
  return lines;
}

class RunBackupTest : public ::testing::Test {
 protected:
  std::string PathOf(const std::string& name) const { return (temp_.Path() / name).string(); }
  std::string Root() const { return PathOf("KonfigNovera"); }
  Lines Files(const std::string& folder) const {
    Lines names;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
      names.push_back(entry.path().filename().string());
    }
    return Sorted(names);
  }
  Lines RunFolders() const { return Sorted(platform::SubfolderNames(Root())); }
  RunBackup Begin(const RunTime& time = kTime, RunMode mode = RunMode::Window) {
    return RunBackup::Begin(Root(), time, mode, workstation_);
  }

  testing_support::TempFolder temp_;
  platform::MemoryRegistry registry_;
  bde::Engine engine_{registry_, PathOf("bde.cfg")};
  Workstation workstation_{registry_, [this]() -> bde::AliasEngine& { return engine_; }};
};

// The folder holds what its manifest says: one file per present state,
// read back as the items stood before and after the run.
TEST_F(RunBackupTest, AFolderOfTheRunKeepsEachItemBeforeAndAfter) {
  const std::string sqlnet = PathOf("sqlnet.ora");
  platform::WriteFileContent(sqlnet, "NAMES.DIRECTORY_PATH= (EZCONNECT)\r\n");
  engine_.SetConfigurationMode(bde::ConfigurationMode::Persistent);
  const Place key = Place::RegistryKey(kLM, "\\SOFTWARE\\ODBC\\ODBC.INI\\Novera LM");
  const Place entry = Place::RegistryValue(kLM, "\\SOFTWARE\\ODBC\\ODBC.INI\\ODBC Data Sources", "Novera LM");
  const Place alias = Place::Alias("X Novera- LM");

  RunBackup backup = Begin(kTime, RunMode::Unattended);
  EXPECT_EQ(backup.Folder(), Root() + "/20261209-103000-123");
  for (const Place& place : {key, entry, Place::File(sqlnet), alias}) backup.Keep(place);
  // A second Keep keeps the state from before the first write.
  registry_.OpenKey(kLM, key.path, platform::kKeyAllAccess, true)->WriteString("Server", "SRV");
  backup.Keep(key);
  registry_.OpenKey(kLM, entry.path, platform::kKeyAllAccess, true)->WriteString("Novera LM", "SQL Native Client");
  platform::WriteFileContent(sqlnet, "NAMES.DIRECTORY_PATH= (TNSNAMES, EZCONNECT)\r\n");
  engine_.CreateAlias(alias.path, "SQL Native Client", bde::ParameterList(Lines{"DATABASE NAME=LUMIRA"}));
  backup.Finish(RunState::Finished);

  EXPECT_EQ(Files(backup.Folder()),
            (Lines{"01-po.reg", "02-po.reg", "03-po-sqlnet.ora", "03-przed-sqlnet.ora", "04-po.txt", "manifest.txt"}));
  const Lines manifest = platform::ReadTextLines(backup.Folder() + "/manifest.txt");
  ASSERT_EQ(manifest.size(), 9u);
  EXPECT_EQ(manifest[1], "Przebieg: 20261209-103000-123");
  EXPECT_EQ(manifest[2], "Tryb: bez okna (/s)");
  EXPECT_EQ(manifest[3], "Stan: zakończony");
  EXPECT_EQ(manifest[5],
            "klucz rejestru\tHKEY_LOCAL_MACHINE\\SOFTWARE\\ODBC\\ODBC.INI\\Novera LM\t\tbrak (kluczy: "
            "4)\t-\tjest\t01-po.reg");
  EXPECT_EQ(manifest[7], "plik\t" + sqlnet + "\t\tjest\t03-przed-sqlnet.ora\tjest\t03-po-sqlnet.ora");
  EXPECT_EQ(manifest[8], "alias BDE\tX Novera- LM\t\tbrak\t-\tjest\t04-po.txt");
  EXPECT_EQ(platform::ReadFileContent(backup.Folder() + "/03-przed-sqlnet.ora"),
            "NAMES.DIRECTORY_PATH= (EZCONNECT)\r\n");

  const RecordedRun run = ReadRun(backup.Folder());
  EXPECT_EQ(run.manifest.state, RunState::Finished);
  ASSERT_EQ(run.items.size(), backup.Items().size());
  for (size_t i = 0; i < run.items.size(); ++i) {
    SCOPED_TRACE(Describe(run.items[i].place));
    const BackedUpItem& kept = backup.Items()[i];
    EXPECT_TRUE(SamePlace(run.items[i].place, kept.place));
    EXPECT_TRUE(SameState(kept.place.kind, run.items[i].before, kept.before));
    EXPECT_EQ(run.items[i].before.missingKeys, kept.before.missingKeys);
    ASSERT_TRUE(run.items[i].after && kept.after);
    EXPECT_TRUE(SameState(kept.place.kind, *run.items[i].after, *kept.after));
    EXPECT_TRUE(kept.after->present);
  }
  EXPECT_FALSE(run.items[0].before.present);
  EXPECT_EQ(run.items[0].after->values.size(), 1u);
}

TEST_F(RunBackupTest, TheLastTenRunsAreKept) {
  platform::CreateFolders(Root() + "/Inne");
  platform::WriteFileContent(Root() + "/notatka.txt", "x");
  for (int minute = 0; minute < 12; ++minute) Begin({2026, 12, 9, 10, minute, 0, 0});
  Lines expected;
  for (int minute = 2; minute < 12; ++minute) expected.push_back(RunName({2026, 12, 9, 10, minute, 0, 0}));
  expected.push_back("Inne");
  EXPECT_EQ(RunFolders(), Sorted(expected));
  EXPECT_TRUE(platform::FileExists(Root() + "/notatka.txt"));
}

// Runs of one millisecond get folders of their own, and the latest is the
// last one made, past "-9".
TEST_F(RunBackupTest, RunsOfOneMillisecondGetFoldersOfTheirOwn) {
  for (int i = 0; i < 10; ++i) Begin();
  Lines runs = RunFolders();
  EXPECT_EQ(runs.size(), 10u);
  EXPECT_NE(std::find(runs.begin(), runs.end(), "20261209-103000-123-10"), runs.end());
  EXPECT_EQ(LatestRunToUndo(Root()), Root() + "/20261209-103000-123-10");
  Begin();
  runs = RunFolders();
  EXPECT_EQ(std::find(runs.begin(), runs.end(), "20261209-103000-123"), runs.end());
  EXPECT_EQ(LatestRunToUndo(Root()), Root() + "/20261209-103000-123-11");
}

TEST_F(RunBackupTest, TheLatestRunToUndoIsNeitherUndoneNorRolledBack) {
  EXPECT_EQ(LatestRunToUndo(Root()), std::nullopt);
  const RunState states[] = {RunState::Finished, RunState::InProgress, RunState::Failed, RunState::Undone,
                             RunState::RolledBack};
  for (int i = 0; i < 5; ++i) Begin({2026, 12, 9, 10, i, 0, 0}).SetState(states[i]);
  EXPECT_EQ(LatestRunToUndo(Root()), Root() + "/20261209-100200-000");
  SetRunState(Root() + "/20261209-100200-000", RunState::Undone);
  SetRunState(Root() + "/20261209-100100-000", RunState::Undone);
  EXPECT_EQ(LatestRunToUndo(Root()), Root() + "/20261209-100000-000");
  SetRunState(Root() + "/20261209-100000-000", RunState::Undone);
  EXPECT_EQ(LatestRunToUndo(Root()), std::nullopt);
  EXPECT_EQ(ReadRun(Root() + "/20261209-100000-000").manifest.state, RunState::Undone);
}

TEST_F(RunBackupTest, ADamagedBackupIsNamedWithItsFault) {
  RunBackup backup = Begin();
  platform::WriteFileContent(PathOf("tnsnames.ora"), "XE =\r\n");
  backup.Keep(Place::File(PathOf("tnsnames.ora")));
  const std::string folder = backup.Folder();
  platform::WriteFileContent(folder + "/01-przed-tnsnames.ora", "changed");
  EXPECT_EQ(ReadRun(folder).items[0].before.content, "changed");

  backup.Keep(Place::Alias("X Novera- LM"));
  engine_.CreateStandardAlias("Inny", "C:\\", "");
  backup.Keep(Place::Alias("Inny"));
  platform::WriteFileContent(folder + "/03-przed.txt", "Alias BDE: Obcy\r\nSterownik: STANDARD\r\n");
  EXPECT_EQ(ErrorOf([&] { ReadRun(folder); }), "Kopia zapasowa w folderze \"" + folder +
                                                   "\" jest uszkodzona: plik \"03-przed.txt\" nie zawiera kopii: "
                                                   "alias BDE \"Inny\"");
  platform::RemoveFile(folder + "/03-przed.txt");
  EXPECT_TRUE(ErrorOf([&] {
                ReadRun(folder);
              }).starts_with("Kopia zapasowa w folderze \"" + folder + "\" jest uszkodzona: Nie można otworzyć pliku"));
  platform::WriteFileContent(folder + "/manifest.txt", "KonfigNovera\r\n");
  const std::string damaged = "Kopia zapasowa w folderze \"" + folder +
                              "\" jest uszkodzona: wiersz 1 pliku manifest.txt jest niepoprawny: \"KonfigNovera\"";
  EXPECT_EQ(ErrorOf([&] { ReadRun(folder); }), damaged);
  EXPECT_EQ(ErrorOf([&] { LatestRunToUndo(Root()); }), damaged);
}

// Nothing may change when the backup cannot be made: the message says so,
// and no half folder stays.
TEST_F(RunBackupTest, ABackupThatCannotBeStartedSaysNothingWasChanged) {
  platform::WriteFileContent(PathOf("plik"), "x");
  const std::string root = PathOf("plik") + "/KonfigNovera";
  const std::string message = ErrorOf([&] { RunBackup::Begin(root, kTime, RunMode::Window, workstation_); });
  EXPECT_TRUE(message.starts_with("Nie można zapisać kopii zapasowej konfiguracji w folderze \"" + root +
                                  "/20261209-103000-123\", więc niczego nie zmieniono: Nie można utworzyć pliku"))
      << message;

  for (const testing_support::InjectedWriteFault& fault : testing_support::kWriteFaults) {
    platform::ScopedWriteFaultForTesting armed(fault.fault, "manifest.txt");
    EXPECT_TRUE(ErrorOf([&] { Begin(); }).starts_with("Nie można zapisać kopii zapasowej konfiguracji w folderze"));
    EXPECT_TRUE(RunFolders().empty());
  }
}

// A Keep that cannot be written stops the run before the writer's first
// write; the items kept so far stay in the backup.
TEST_F(RunBackupTest, AKeepThatCannotBeWrittenRaisesAndKeepsTheItemsBefore) {
  platform::WriteFileContent(PathOf("sqlnet.ora"), "a");
  platform::WriteFileContent(PathOf("tnsnames.ora"), "b");
  RunBackup backup = Begin();
  backup.Keep(Place::File(PathOf("sqlnet.ora")));
  for (const char* failing : {"02-przed-tnsnames.ora", "manifest.txt"}) {
    SCOPED_TRACE(failing);
    platform::ScopedWriteFaultForTesting armed(platform::WriteFault::Replace, failing);
    EXPECT_TRUE(ErrorOf([&] { backup.Keep(Place::File(PathOf("tnsnames.ora"))); })
                    .starts_with("Nie można zapisać kopii zapasowej konfiguracji w folderze \"" + backup.Folder() +
                                 "\": Nie można utworzyć pliku"));
  }
  EXPECT_TRUE(SamePlace(backup.Items().at(0).place, Place::File(PathOf("sqlnet.ora"))));
  EXPECT_EQ(ReadRun(backup.Folder()).items.size(), 1u);
}

TEST(RunBackupNameTest, NamesAndPathsOfRuns) {
  EXPECT_EQ(RunName({2026, 1, 2, 3, 4, 5, 6}), "20260102-030405-006");
  EXPECT_EQ(JoinPath("C:\\ProgramData\\Novera\\KonfigNovera", "x"), "C:\\ProgramData\\Novera\\KonfigNovera\\x");
  EXPECT_EQ(JoinPath("C:/ProgramData", "x"), "C:/ProgramData/x");
  EXPECT_EQ(JoinPath("/tmp/", "x"), "/tmp/x");
  EXPECT_EQ(JoinPath("C:", "x"), "C:\\x");
  EXPECT_EQ(RunName(LocalTimeNow()).size(), 19u);
}

}  // namespace
}  // namespace app::backup
