#include "app/backup/Restore.h"

#include <algorithm>
#include <exception>
#include <optional>
#include <utility>

#include "bde/AliasEngine.h"
#include "bde/ParameterList.h"
#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/TextFile.h"

namespace app::backup {
namespace {

using platform::RegistryRoot;

// %s: the key, from its root.
constexpr std::string_view kKeyNotOpenedMessage = "Nie można otworzyć klucza rejestru \"%s\"";
constexpr std::string_view kReadsOtherwiseMessage = "po zapisie jest inny niż przed przebiegiem";

[[noreturn]] void RaiseKeyNotOpened(const Place& place) {
  throw platform::Error(platform::Format(kKeyNotOpenedMessage, {RegistryPath(place.root, place.path)}));
}

std::string ParentPath(const std::string& path) {
  std::vector<std::string> parts = platform::SplitKeyPath(path);
  if (!parts.empty()) parts.pop_back();
  std::string parent;
  for (const std::string& part : parts) parent += "\\" + part;
  return parent;
}

// Keys that were missing before the run go again, from the item's own key
// upwards, while nobody has put anything into them. The keys of several
// items share parents, so this waits until every item is back.
void DeleteCreatedKeys(platform::Registry& registry, RegistryRoot root, std::string path, int missingKeys) {
  for (int i = 0; i < missingKeys && !platform::SplitKeyPath(path).empty(); ++i, path = ParentPath(path)) {
    {
      const platform::OpenedKey key = registry.OpenKey(root, path, platform::kKeyRead, false);
      if (!key) continue;
      if (!key->ValueNames().empty() || !key->SubkeyNames().empty()) return;
    }
    registry.DeleteKey(root, path);
  }
}

void WriteRegistryKey(platform::Registry& registry, const Place& place, const State& state) {
  if (!state.present) {
    if (registry.KeyExists(place.root, place.path)) registry.DeleteKey(place.root, place.path);
    return;
  }
  const platform::OpenedKey key = registry.OpenKey(place.root, place.path, platform::kKeyAllAccess, true);
  if (!key) RaiseKeyNotOpened(place);
  for (const std::string& name : key->ValueNames()) {
    const bool kept = std::any_of(state.values.begin(), state.values.end(),
                                  [&](const NamedValue& value) { return platform::EqualsNoCase(value.name, name); });
    if (!kept) key->DeleteValue(name);
  }
  for (const NamedValue& value : state.values) key->WriteValue(value.name, value.value);
}

void WriteRegistryValue(platform::Registry& registry, const Place& place, const State& state) {
  if (!state.present) {
    if (const platform::OpenedKey key = registry.OpenKey(place.root, place.path, platform::kKeyAllAccess, false)) {
      key->DeleteValue(place.valueName);
    }
    return;
  }
  const platform::OpenedKey key = registry.OpenKey(place.root, place.path, platform::kKeyAllAccess, true);
  if (!key) RaiseKeyNotOpened(place);
  key->WriteValue(place.valueName, state.values.at(0).value);
}

void WriteFile(const Place& place, const State& state) {
  if (state.present) {
    platform::WriteFileContent(place.path, state.content);
  } else {
    platform::RemoveFile(place.path);
  }
}

// The alias as it was: deleted when it was not there, given its old values
// when its driver is the same, else made anew with its old driver.
void WriteAlias(bde::AliasEngine& engine, const Place& place, const State& state) {
  const bool exists = platform::IndexOfNoCase(engine.ListAliases(), place.path) >= 0;
  const bde::ParameterList parameters(state.parameters);
  if (!state.present) {
    if (exists) engine.DeleteAlias(place.path);
  } else if (exists && engine.AliasDriver(place.path) == state.driver) {
    engine.UpdateAlias(place.path, parameters);
  } else {
    if (exists) engine.DeleteAlias(place.path);
    engine.CreateAlias(place.path, state.driver, parameters);
  }
}

void WriteState(Workstation& workstation, const Place& place, const State& state) {
  switch (place.kind) {
    case ItemKind::RegistryKey:
      return WriteRegistryKey(workstation.registry, place, state);
    case ItemKind::RegistryValue:
      return WriteRegistryValue(workstation.registry, place, state);
    case ItemKind::Alias:
      return WriteAlias(workstation.aliases(), place, state);
    case ItemKind::File:
    case ItemKind::EngineFile:
      break;
  }
  WriteFile(place, state);
}

enum class Outcome { Restored, LeftAlone, Failed };

struct Entry {
  const BackedUpItem* item;
  Outcome outcome;
  std::string error;
};

// Puts one item back and reads it again: what the writer could not put
// back as it was counts as not restored.
Entry Put(Workstation& workstation, const BackedUpItem& item) {
  try {
    WriteState(workstation, item.place, item.before);
    if (!SameState(item.place.kind, ReadState(workstation, item.place), item.before)) {
      return {&item, Outcome::Failed, std::string(kReadsOtherwiseMessage)};
    }
    return {&item, Outcome::Restored, {}};
  } catch (const std::exception& error) {
    return {&item, Outcome::Failed, error.what()};
  }
}

std::string Line(const Entry& entry) {
  const std::string what = "  " + Describe(entry.item->place) + ": ";
  switch (entry.outcome) {
    case Outcome::Restored:
      return what + (entry.item->before.present ? "przywrócono." : "usunięto.");
    case Outcome::LeftAlone:
      return what + "pozostawiono, bo zmieniono to po przebiegu.";
    case Outcome::Failed:
      break;
  }
  return what + "nie przywrócono: " + entry.error;
}

// One restore, step by step: every item read and judged first, then the
// items put back in reverse order, the engine's save, our engine's file,
// and the keys the run made on the way.
class Restoration {
 public:
  Restoration(Workstation& workstation, const std::vector<BackedUpItem>& items, RestoreMode mode)
      : workstation_(workstation), items_(items), mode_(mode) {}

  RestoreResult Run() {
    Judge();
    PutBack();
    SaveAliases();
    PutEngineFileBack();
    DeleteKeysMadeOnTheWay();
    return Result();
  }

 private:
  // Which items stand as before, which to put back, and which were changed
  // since the run.
  void Judge() {
    for (const BackedUpItem& item : items_) {
      try {
        const State now = ReadState(workstation_, item.place);
        if (item.place.kind == ItemKind::EngineFile) {
          // Our engine's save rewrites it below, so only its state now
          // decides whether it may be put back after that: as the run left
          // it, or as it was before.
          if (mode_ == RestoreMode::Rollback || !item.after || SameState(item.place.kind, now, *item.after) ||
              SameState(item.place.kind, now, item.before)) {
            engineFile_ = &item;
          }
        } else if (SameState(item.place.kind, now, item.before)) {
          continue;
        } else if (mode_ == RestoreMode::Undo && item.after && !SameState(item.place.kind, now, *item.after)) {
          judged_.push_back({&item, Outcome::LeftAlone, {}});
        } else {
          toPut_.push_back(&item);
        }
      } catch (const std::exception& error) {
        judged_.push_back({&item, Outcome::Failed, error.what()});
      }
    }
  }

  void PutBack() {
    for (auto item = toPut_.rbegin(); item != toPut_.rend(); ++item) {
      put_.push_back(Put(workstation_, **item));
      aliasesWritten_ = aliasesWritten_ || (*item)->place.kind == ItemKind::Alias;
    }
  }

  // Aliases put back in the engine are back only once it has saved them.
  void SaveAliases() {
    if (!aliasesWritten_) return;
    try {
      workstation_.aliases().SaveConfiguration();
    } catch (const std::exception& error) {
      for (Entry& entry : put_) {
        if (entry.item->place.kind == ItemKind::Alias && entry.outcome == Outcome::Restored) {
          entry = {entry.item, Outcome::Failed, error.what()};
        }
      }
    }
  }

  void PutEngineFileBack() {
    if (!engineFile_) return;
    try {
      if (!SameState(engineFile_->place.kind, ReadState(workstation_, engineFile_->place), engineFile_->before)) {
        put_.push_back(Put(workstation_, *engineFile_));
      }
    } catch (const std::exception& error) {
      put_.push_back({engineFile_, Outcome::Failed, error.what()});
    }
  }

  // Of the registry items that stand as before now; not of one left alone
  // or that could not be put back.
  void DeleteKeysMadeOnTheWay() {
    for (auto item = items_.rbegin(); item != items_.rend(); ++item) {
      const bool registry = item->place.kind == ItemKind::RegistryKey || item->place.kind == ItemKind::RegistryValue;
      if (!registry || item->before.present || item->before.missingKeys == 0 || NotBack(*item)) continue;
      try {
        DeleteCreatedKeys(workstation_.registry, item->place.root, item->place.path, item->before.missingKeys);
      } catch (const std::exception&) {
        // A key that cannot go is no item of the run; it only stays empty.
      }
    }
  }

  bool NotBack(const BackedUpItem& item) const {
    const auto notBack = [&](const Entry& entry) { return entry.item == &item && entry.outcome != Outcome::Restored; };
    return std::any_of(judged_.begin(), judged_.end(), notBack) || std::any_of(put_.begin(), put_.end(), notBack);
  }

  RestoreResult Result() const {
    RestoreResult result;
    for (const std::vector<Entry>* entries : {&put_, &judged_}) {
      for (const Entry& entry : *entries) {
        result.lines.push_back(Line(entry));
        switch (entry.outcome) {
          case Outcome::Restored:
            ++result.restored;
            break;
          case Outcome::LeftAlone:
            ++result.leftAlone;
            break;
          case Outcome::Failed:
            ++result.failed;
            break;
        }
      }
    }
    return result;
  }

  Workstation& workstation_;
  const std::vector<BackedUpItem>& items_;
  const RestoreMode mode_;
  std::vector<Entry> judged_;  // left alone, or not even readable
  std::vector<const BackedUpItem*> toPut_;
  const BackedUpItem* engineFile_ = nullptr;
  std::vector<Entry> put_;
  bool aliasesWritten_ = false;
};

}  // namespace

RestoreResult Restore(Workstation& workstation, const std::vector<BackedUpItem>& items, RestoreMode mode) {
  return Restoration(workstation, items, mode).Run();
}

}  // namespace app::backup
