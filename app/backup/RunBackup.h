#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/backup/Manifest.h"
#include "app/backup/Snapshot.h"

// The backup of each run, in a folder of its own under the backup root
// (%ProgramData%\Novera\KonfigNovera on Windows), named by the run's time:
// its manifest (Manifest.h) and one file for each state of a present item
// (ItemFiles.h). The last ten runs are kept.
namespace app::backup {

inline constexpr size_t kRunsKept = 10;

// %s: the folder, then the fault.
inline constexpr std::string_view kBackupNotStartedMessage =
    "Nie można zapisać kopii zapasowej konfiguracji w folderze \"%s\", więc niczego nie zmieniono: %s";
inline constexpr std::string_view kBackupNotWrittenMessage =
    "Nie można zapisać kopii zapasowej konfiguracji w folderze \"%s\": %s";
inline constexpr std::string_view kBackupDamagedMessage = "Kopia zapasowa w folderze \"%s\" jest uszkodzona: %s";

// A run's local time, which names its folder.
struct RunTime {
  int year = 0;
  int month = 0;
  int day = 0;
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;
};

RunTime LocalTimeNow();

// "20261209-103000-123": names sort as the runs' times do.
std::string RunName(const RunTime& time);

// The folder's path joined with a name inside it, by the separator the
// folder's path already uses (a backslash unless it has only slashes).
std::string JoinPath(const std::string& folder, const std::string& name);

struct BackedUpItem {
  Place place;
  State before;
  // What the run left there, once it has ended.
  std::optional<State> after;
};

// Where a run's writers take each item before their first write to it.
class ItemKeeper {
 public:
  virtual ~ItemKeeper() = default;
  virtual void Keep(const Place& place) = 0;
};

// One run's backup, written as the run goes. Every failure to write it
// raises kBackupNotWrittenMessage (kBackupNotStartedMessage when the
// folder itself cannot be made), so the caller stops before its next
// write.
class RunBackup final : public ItemKeeper {
 public:
  // Makes the run's folder with its manifest, then deletes the oldest
  // run folders past the last ten (any that cannot go simply stay).
  static RunBackup Begin(const std::string& root, const RunTime& time, RunMode mode, Workstation workstation);

  RunBackup(RunBackup&&) = default;
  RunBackup(const RunBackup&) = delete;
  RunBackup& operator=(const RunBackup&) = delete;

  // Takes the item as it stands now into the backup, once: a second Keep
  // of the same place keeps the first state, the one before the run
  // changed it.
  void Keep(const Place& place) override;
  // Records what each item holds now as the run's after-state, and the
  // state the run ended in.
  void Finish(RunState state);
  void SetState(RunState state);

  const std::string& Folder() const { return folder_; }
  const std::vector<BackedUpItem>& Items() const { return items_; }

 private:
  RunBackup(std::string folder, Manifest manifest, Workstation workstation);
  void WriteManifest();
  std::string WriteItemFile(size_t index, std::string_view when, const Place& place, const State& state);

  std::string folder_;
  Manifest manifest_;
  std::vector<BackedUpItem> items_;
  Workstation workstation_;
};

// A run read back from its folder.
struct RecordedRun {
  std::string folder;
  Manifest manifest;
  std::vector<BackedUpItem> items;
};

// Raises kBackupDamagedMessage when the manifest or a file it names cannot
// be read as what the manifest says it keeps.
RecordedRun ReadRun(const std::string& folder);

// The folder of the latest run that was neither undone nor rolled back;
// nothing when there is none. Raises kBackupDamagedMessage for a damaged
// manifest on the way.
std::optional<std::string> LatestRunToUndo(const std::string& root);

// Rewrites the state in the run's manifest; raises kBackupNotWrittenMessage.
void SetRunState(const std::string& folder, RunState state);

}  // namespace app::backup
