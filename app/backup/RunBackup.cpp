#include "app/backup/RunBackup.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <exception>
#include <utility>

#include "app/backup/ItemFiles.h"
#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/TextFile.h"

namespace app::backup {
namespace {

// "20261209-103000-123", with "-2", "-3" ... for a second run of the same
// millisecond.
bool IsRunName(std::string_view name) {
  constexpr std::string_view kShape = "dddddddd-dddddd-ddd";
  if (name.size() < kShape.size()) return false;
  for (size_t i = 0; i < kShape.size(); ++i) {
    const bool digit = name[i] >= '0' && name[i] <= '9';
    if (kShape[i] == 'd' ? !digit : name[i] != '-') return false;
  }
  const std::string_view rest = name.substr(kShape.size());
  if (rest.empty()) return true;
  if (rest.size() < 2 || rest.size() > 7 || rest[0] != '-') return false;
  return std::all_of(rest.begin() + 1, rest.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// Oldest first; "-10" follows "-9", and a name without a suffix comes
// before its "-2".
std::vector<std::string> RunNames(const std::string& root) {
  std::vector<std::string> names = platform::SubfolderNames(root);
  std::erase_if(names, [](const std::string& name) { return !IsRunName(name); });
  const auto order = [](const std::string& name) {
    return std::pair(name.substr(0, 19), name.size() > 19 ? std::stoul(name.substr(20)) : 1ul);
  };
  std::sort(names.begin(), names.end(),
            [&](const std::string& a, const std::string& b) { return order(a) < order(b); });
  return names;
}

void DeleteOldRuns(const std::string& root) {
  const std::vector<std::string> names = RunNames(root);
  for (size_t i = 0; i + kRunsKept < names.size(); ++i) {
    try {
      platform::RemoveFolder(JoinPath(root, names[i]));
    } catch (const std::exception&) {
      // A folder held open by someone stays until a later run.
    }
  }
}

[[noreturn]] void RaiseNotWritten(const std::string& folder, const std::exception& error) {
  throw platform::Error(platform::Format(kBackupNotWrittenMessage, {folder, error.what()}));
}

[[noreturn]] void RaiseDamaged(const std::string& folder, const std::string& fault) {
  throw platform::Error(platform::Format(kBackupDamagedMessage, {folder, fault}));
}

Manifest ReadManifest(const std::string& folder) {
  std::string text;
  try {
    text = platform::ReadFileContent(JoinPath(folder, std::string(kManifestFileName)));
  } catch (const std::exception& error) {
    RaiseDamaged(folder, error.what());
  }
  try {
    return ParseManifest(text);
  } catch (const std::exception& error) {
    RaiseDamaged(folder, error.what());
  }
}

State ReadKeptState(const std::string& folder, const Place& place, bool present, int missingKeys,
                    const std::string& file) {
  if (!present) {
    State state;
    state.missingKeys = missingKeys;
    return state;
  }
  std::string content;
  try {
    content = platform::ReadFileContent(JoinPath(folder, file));
  } catch (const std::exception& error) {
    RaiseDamaged(folder, error.what());
  }
  std::optional<State> state = ReadItemFile(place, content);
  if (!state) RaiseDamaged(folder, "plik \"" + file + "\" nie zawiera kopii: " + Describe(place));
  return std::move(*state);
}

}  // namespace

RunTime LocalTimeNow() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millisecond = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  // The program's one thread asks; no other holds the static result.
  const std::tm local = *std::localtime(&seconds);
  return {local.tm_year + 1900,         local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
          static_cast<int>(millisecond)};
}

std::string RunName(const RunTime& time) {
  char name[32];
  std::snprintf(name, sizeof(name), "%04d%02d%02d-%02d%02d%02d-%03d", time.year, time.month, time.day, time.hour,
                time.minute, time.second, time.millisecond);
  return name;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  const char separator = folder.find('\\') == std::string::npos && folder.find('/') != std::string::npos ? '/' : '\\';
  if (!folder.empty() && (folder.back() == '\\' || folder.back() == '/')) return folder + name;
  return folder + separator + name;
}

RunBackup::RunBackup(std::string folder, Manifest manifest, Workstation workstation)
    : folder_(std::move(folder)), manifest_(std::move(manifest)), workstation_(std::move(workstation)) {}

RunBackup RunBackup::Begin(const std::string& root, const RunTime& time, RunMode mode, Workstation workstation) {
  std::string name = RunName(time);
  const std::vector<std::string> taken = platform::SubfolderNames(root);
  for (int n = 2; std::find(taken.begin(), taken.end(), name) != taken.end(); ++n) {
    name = RunName(time) + "-" + std::to_string(n);
  }
  const std::string folder = JoinPath(root, name);
  RunBackup backup(folder, Manifest{name, mode, RunState::InProgress, {}}, std::move(workstation));
  try {
    platform::CreateFolders(folder);
    platform::WriteFileContent(JoinPath(folder, std::string(kManifestFileName)), ManifestText(backup.manifest_));
  } catch (const std::exception& error) {
    try {
      platform::RemoveFolder(folder);
    } catch (const std::exception&) {
      // What could not be written cannot be in the way either.
    }
    throw platform::Error(platform::Format(kBackupNotStartedMessage, {folder, error.what()}));
  }
  DeleteOldRuns(root);
  return backup;
}

void RunBackup::Keep(const Place& place) {
  for (const BackedUpItem& item : items_) {
    if (SamePlace(item.place, place)) return;
  }
  try {
    State state = ReadState(workstation_, place);
    const std::string file = WriteItemFile(items_.size() + 1, "przed", place, state);
    manifest_.items.push_back({place, state.present, file, std::nullopt, {}, state.missingKeys, 0});
    items_.push_back({place, std::move(state), std::nullopt});
  } catch (const std::exception& error) {
    RaiseNotWritten(folder_, error);
  }
  WriteManifest();
}

void RunBackup::Finish(RunState state) {
  try {
    for (size_t i = 0; i < items_.size(); ++i) {
      State after = ReadState(workstation_, items_[i].place);
      manifest_.items[i].afterFile = WriteItemFile(i + 1, "po", items_[i].place, after);
      manifest_.items[i].presentAfter = after.present;
      manifest_.items[i].missingKeysAfter = after.missingKeys;
      items_[i].after = std::move(after);
    }
  } catch (const std::exception& error) {
    RaiseNotWritten(folder_, error);
  }
  SetState(state);
}

void RunBackup::SetState(RunState state) {
  manifest_.state = state;
  WriteManifest();
}

void RunBackup::WriteManifest() {
  try {
    platform::WriteFileContent(JoinPath(folder_, std::string(kManifestFileName)), ManifestText(manifest_));
  } catch (const std::exception& error) {
    RaiseNotWritten(folder_, error);
  }
}

// "03-przed-sqlnet.ora", "01-po.reg"; none for an absent item.
std::string RunBackup::WriteItemFile(size_t index, std::string_view when, const Place& place, const State& state) {
  if (!state.present) return {};
  std::string file = std::string(index < 10 ? "0" : "") + std::to_string(index);
  file.append("-").append(when).append(ItemFileSuffix(place));
  platform::WriteFileContent(JoinPath(folder_, file), ItemFileContent(place, state));
  return file;
}

RecordedRun ReadRun(const std::string& folder) {
  RecordedRun run{folder, ReadManifest(folder), {}};
  for (const ManifestItem& item : run.manifest.items) {
    BackedUpItem backedUp{
        item.place, ReadKeptState(folder, item.place, item.presentBefore, item.missingKeysBefore, item.beforeFile),
        std::nullopt};
    if (item.presentAfter) {
      backedUp.after = ReadKeptState(folder, item.place, *item.presentAfter, item.missingKeysAfter, item.afterFile);
    }
    run.items.push_back(std::move(backedUp));
  }
  return run;
}

std::optional<std::string> LatestRunToUndo(const std::string& root) {
  const std::vector<std::string> names = RunNames(root);
  for (auto name = names.rbegin(); name != names.rend(); ++name) {
    const std::string folder = JoinPath(root, *name);
    const RunState state = ReadManifest(folder).state;
    if (state != RunState::Undone && state != RunState::RolledBack) return folder;
  }
  return std::nullopt;
}

void SetRunState(const std::string& folder, RunState state) {
  Manifest manifest = ReadManifest(folder);
  manifest.state = state;
  try {
    platform::WriteFileContent(JoinPath(folder, std::string(kManifestFileName)), ManifestText(manifest));
  } catch (const std::exception& error) {
    RaiseNotWritten(folder, error);
  }
}

}  // namespace app::backup
