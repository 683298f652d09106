#include "app/backup/Snapshot.h"

#include <algorithm>
#include <utility>

#include "bde/AliasEngine.h"
#include "bde/ParameterList.h"
#include "platform/Error.h"
#include "platform/Text.h"
#include "platform/TextFile.h"
#include "platform/Utf16.h"

namespace app::backup {
namespace {

using platform::RegistryValue;

// %s: the key, from its root.
constexpr std::string_view kKeyNotReadMessage = "Nie można odczytać klucza rejestru \"%s\"";

std::string Quoted(std::string_view text) { return std::string("\"").append(text).append("\""); }

const NamedValue* FindValue(const std::vector<NamedValue>& values, std::string_view name) {
  for (const NamedValue& value : values) {
    if (platform::EqualsNoCase(value.name, name)) return &value;
  }
  return nullptr;
}

bool SameValues(const std::vector<NamedValue>& a, const std::vector<NamedValue>& b) {
  if (a.size() != b.size()) return false;
  return std::all_of(a.begin(), a.end(), [&](const NamedValue& value) {
    const NamedValue* other = FindValue(b, value.name);
    return other != nullptr && other->value == value.value;
  });
}

int MissingKeys(platform::Registry& registry, const Place& place) {
  std::vector<std::string> parts = platform::SplitKeyPath(place.path);
  int missing = 0;
  for (; !parts.empty(); parts.pop_back(), ++missing) {
    std::string path;
    for (const std::string& part : parts) path += "\\" + part;
    if (registry.KeyExists(place.root, path)) break;
  }
  return missing;
}

// Null when the key is missing, with the keys missing on its path counted
// into the absent state; a key the registry refuses cannot be backed up,
// so it stops the caller.
platform::OpenedKey OpenForReading(platform::Registry& registry, const Place& place, State& absent) {
  platform::OpenedKey key = registry.OpenKey(place.root, place.path, platform::kKeyRead, false);
  if (!key && key.Status() == platform::KeyStatus::Refused) {
    throw platform::Error(platform::Format(kKeyNotReadMessage, {RegistryPath(place.root, place.path)}));
  }
  if (!key) absent.missingKeys = MissingKeys(registry, place);
  return key;
}

State ReadRegistryKey(platform::Registry& registry, const Place& place) {
  State state;
  const platform::OpenedKey key = OpenForReading(registry, place, state);
  if (!key) return state;
  state.present = true;
  for (const std::string& name : key->ValueNames()) {
    // A value deleted since the listing is simply not there.
    if (std::optional<RegistryValue> value = key->TryReadValue(name)) {
      state.values.push_back({name, std::move(*value)});
    }
  }
  return state;
}

State ReadRegistryValue(platform::Registry& registry, const Place& place) {
  State state;
  const platform::OpenedKey key = OpenForReading(registry, place, state);
  if (!key) return state;
  if (std::optional<RegistryValue> value = key->TryReadValue(place.valueName)) {
    state.present = true;
    state.values.push_back({place.valueName, std::move(*value)});
  }
  return state;
}

State ReadFile(const std::string& path) {
  State state;
  if (!platform::FileExists(path)) return state;
  state.present = true;
  state.content = platform::ReadFileContent(path);
  return state;
}

State ReadAlias(bde::AliasEngine& engine, const std::string& name) {
  State state;
  if (platform::IndexOfNoCase(engine.ListAliases(), name) < 0) return state;
  state.present = true;
  state.driver = engine.AliasDriver(name);
  state.parameters = engine.ReadAliasParameters(name).Lines();
  return state;
}

void DescribeValueChanges(const State& before, const State& after, std::vector<std::string>& lines) {
  for (const NamedValue& value : after.values) {
    const NamedValue* old = FindValue(before.values, value.name);
    const std::string what = "wartość " + Quoted(value.name) + ": ";
    if (old == nullptr) {
      lines.push_back(what + "dodano " + DescribeValue(value.value));
    } else if (!(old->value == value.value)) {
      lines.push_back(what + DescribeValue(old->value) + " → " + DescribeValue(value.value));
    }
  }
  for (const NamedValue& value : before.values) {
    if (FindValue(after.values, value.name) == nullptr) {
      lines.push_back("wartość " + Quoted(value.name) + ": usunięto " + DescribeValue(value.value));
    }
  }
}

void DescribeParameterChanges(const State& before, const State& after, std::vector<std::string>& lines) {
  if (!before.present) {
    lines.push_back("sterownik: " + Quoted(after.driver));
  } else if (before.driver != after.driver) {
    lines.push_back("sterownik: " + Quoted(before.driver) + " → " + Quoted(after.driver));
  }
  const bde::ParameterList old(before.parameters);
  const bde::ParameterList now(after.parameters);
  for (const std::string& line : after.parameters) {
    const std::string name = bde::ParameterList::NameOf(line);
    const std::string what = "parametr " + Quoted(name) + ": ";
    if (!old.Has(name)) {
      lines.push_back(what + "dodano " + Quoted(bde::ParameterList::ValueOf(line)));
    } else if (old.Value(name) != now.Value(name)) {
      lines.push_back(what + Quoted(old.Value(name)) + " → " + Quoted(now.Value(name)));
    }
  }
  for (const std::string& line : before.parameters) {
    const std::string name = bde::ParameterList::NameOf(line);
    if (!now.Has(name)) lines.push_back("parametr " + Quoted(name) + ": usunięto");
  }
}

}  // namespace

Place Place::RegistryKey(platform::RegistryRoot root, std::string keyPath) {
  return {ItemKind::RegistryKey, root, std::move(keyPath), {}};
}

Place Place::RegistryValue(platform::RegistryRoot root, std::string keyPath, std::string valueName) {
  return {ItemKind::RegistryValue, root, std::move(keyPath), std::move(valueName)};
}

Place Place::File(std::string path) { return {ItemKind::File, {}, std::move(path), {}}; }

Place Place::Alias(std::string name) { return {ItemKind::Alias, {}, std::move(name), {}}; }

Place Place::EngineFile(std::string path) { return {ItemKind::EngineFile, {}, std::move(path), {}}; }

bool SamePlace(const Place& a, const Place& b) {
  if (a.kind != b.kind) return false;
  switch (a.kind) {
    case ItemKind::RegistryKey:
      return a.root == b.root && platform::EqualsNoCase(a.path, b.path);
    case ItemKind::RegistryValue:
      return a.root == b.root && platform::EqualsNoCase(a.path, b.path) &&
             platform::EqualsNoCase(a.valueName, b.valueName);
    case ItemKind::Alias:
      return platform::EqualsNoCase(a.path, b.path);
    case ItemKind::File:
    case ItemKind::EngineFile:
      break;
  }
  return a.path == b.path;
}

std::string RegistryPath(platform::RegistryRoot root, const std::string& keyPath) {
  std::string path = root == platform::RegistryRoot::LocalMachine ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
  for (const std::string& part : platform::SplitKeyPath(keyPath)) path += "\\" + part;
  return path;
}

std::string Describe(const Place& place) {
  switch (place.kind) {
    case ItemKind::RegistryKey:
      return "klucz rejestru " + Quoted(RegistryPath(place.root, place.path));
    case ItemKind::RegistryValue:
      return "wartość " + Quoted(place.valueName) + " klucza rejestru " + Quoted(RegistryPath(place.root, place.path));
    case ItemKind::File:
      return "plik " + Quoted(place.path);
    case ItemKind::Alias:
      return "alias BDE " + Quoted(place.path);
    case ItemKind::EngineFile:
      break;
  }
  return "plik konfiguracji BDE " + Quoted(place.path);
}

bool SameState(ItemKind kind, const State& a, const State& b) {
  if (a.present != b.present) return false;
  if (!a.present) return true;
  switch (kind) {
    case ItemKind::RegistryKey:
      return SameValues(a.values, b.values);
    case ItemKind::RegistryValue:
      return a.values.size() == 1 && b.values.size() == 1 && a.values[0].value == b.values[0].value;
    case ItemKind::Alias:
      return a.driver == b.driver && a.parameters == b.parameters;
    case ItemKind::File:
    case ItemKind::EngineFile:
      break;
  }
  return a.content == b.content;
}

State ReadState(Workstation& workstation, const Place& place) {
  switch (place.kind) {
    case ItemKind::RegistryKey:
      return ReadRegistryKey(workstation.registry, place);
    case ItemKind::RegistryValue:
      return ReadRegistryValue(workstation.registry, place);
    case ItemKind::Alias:
      return ReadAlias(workstation.aliases(), place.path);
    case ItemKind::File:
    case ItemKind::EngineFile:
      break;
  }
  return ReadFile(place.path);
}

Snapshot TakeSnapshot(Workstation& workstation, const std::vector<Place>& places) {
  Snapshot snapshot;
  for (const Place& place : places) snapshot.push_back({place, ReadState(workstation, place)});
  return snapshot;
}

std::vector<Change> Changes(const Snapshot& before, const Snapshot& after) {
  const auto find = [](const Snapshot& snapshot, const Place& place) -> const Item* {
    for (const Item& item : snapshot) {
      if (SamePlace(item.place, place)) return &item;
    }
    return nullptr;
  };
  std::vector<Change> changes;
  for (const Item& item : after) {
    const Item* old = find(before, item.place);
    const State oldState = old ? old->state : State::Absent();
    if (!SameState(item.place.kind, oldState, item.state)) changes.push_back({item.place, oldState, item.state});
  }
  for (const Item& item : before) {
    if (!find(after, item.place) && item.state.present) changes.push_back({item.place, item.state, State::Absent()});
  }
  return changes;
}

std::vector<std::string> DescribeChange(const Change& change) {
  const State& before = change.before;
  const State& after = change.after;
  std::vector<std::string> lines;
  if (!after.present) {
    lines.push_back("usunięto");
    return lines;
  }
  const State none;
  const State& old = before.present ? before : none;
  lines.push_back(before.present ? "zmieniono" : "utworzono");
  switch (change.place.kind) {
    case ItemKind::RegistryKey:
    case ItemKind::RegistryValue:
      DescribeValueChanges(old, after, lines);
      break;
    case ItemKind::Alias:
      DescribeParameterChanges(old, after, lines);
      break;
    case ItemKind::File:
    case ItemKind::EngineFile:
      lines.push_back(before.present ? "bajtów: " + std::to_string(before.content.size()) + " → " +
                                           std::to_string(after.content.size())
                                     : "bajtów: " + std::to_string(after.content.size()));
      break;
  }
  return lines;
}

std::optional<std::string> ValueText(const RegistryValue& value) {
  if (value.type != platform::kRegSz && value.type != platform::kRegExpandSz) return std::nullopt;
  if (value.data.size() < 2 || value.data.size() % 2 != 0) return std::nullopt;
  std::string text = platform::FromUtf16Le(std::string_view(value.data).substr(0, value.data.size() - 2));
  if (text.find('\0') != std::string::npos) return std::nullopt;
  if (platform::TextValue(text).data != value.data) return std::nullopt;
  return text;
}

std::optional<uint32_t> ValueNumber(const RegistryValue& value) {
  if (value.type != platform::kRegDword || value.data.size() != 4) return std::nullopt;
  uint32_t number = 0;
  for (size_t i = 4; i-- > 0;) number = number << 8 | static_cast<unsigned char>(value.data[i]);
  return number;
}

std::string HexValue(const RegistryValue& value) {
  constexpr char kDigits[] = "0123456789abcdef";
  std::string type;
  for (uint32_t rest = value.type; type.empty() || rest != 0; rest >>= 4)
    type.insert(type.begin(), kDigits[rest & 0x0F]);
  std::string text = value.type == platform::kRegBinary ? "hex:" : "hex(" + type + "):";
  for (size_t i = 0; i < value.data.size(); ++i) {
    const auto byte = static_cast<unsigned char>(value.data[i]);
    if (i > 0) text += ',';
    text += kDigits[byte >> 4];
    text += kDigits[byte & 0x0F];
  }
  return text;
}

std::string DescribeValue(const RegistryValue& value) {
  if (const std::optional<std::string> text = ValueText(value)) {
    return Quoted(*text) + (value.type == platform::kRegExpandSz ? " (REG_EXPAND_SZ)" : "");
  }
  if (const std::optional<uint32_t> number = ValueNumber(value)) return std::to_string(*number);
  return HexValue(value);
}

}  // namespace app::backup
