#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace bde {
class AliasEngine;
}

// What a run may change on the workstation, read as it stands at one
// moment: a snapshot. A backup keeps the snapshot taken before a run's
// first write and the one taken after its end; a preview of a run compares
// the snapshot of the workstation with that of the run done elsewhere; the
// undo compares what stands now with what the run left.
namespace app::backup {

enum class ItemKind {
  // A registry key with all its values; its subkeys are not part of it.
  RegistryKey,
  // One value of a key, such as a data source's entry in "ODBC Data Sources".
  RegistryValue,
  // A file, byte for byte.
  File,
  // A BDE alias, read and written through the engine in use.
  Alias,
  // Our own engine's configuration file, byte for byte. Only that engine's
  // save writes it, so it is put back after the aliases are.
  EngineFile,
};

// Where one item lives. Registry and alias names ignore letter case, as the
// registry and the engines do; file paths are compared as given.
struct Place {
  ItemKind kind = ItemKind::File;
  // Of the registry items.
  platform::RegistryRoot root = platform::RegistryRoot::LocalMachine;
  // The key with its leading backslash, the file, or the alias name.
  std::string path;
  // The value's name, of RegistryValue only.
  std::string valueName;

  static Place RegistryKey(platform::RegistryRoot root, std::string keyPath);
  static Place RegistryValue(platform::RegistryRoot root, std::string keyPath, std::string valueName);
  static Place File(std::string path);
  static Place Alias(std::string name);
  static Place EngineFile(std::string path);
};

bool SamePlace(const Place& a, const Place& b);

// The place as a person reads it, in the words of the report:
// klucz rejestru "HKEY_LOCAL_MACHINE\SOFTWARE\ODBC\ODBC.INI\Novera LM",
// wartość "Novera LM" klucza rejestru "HKEY_LOCAL_MACHINE\...",
// plik "...", alias BDE "...", plik konfiguracji BDE "...".
std::string Describe(const Place& place);

// A key's path from its root, as regedit names it.
std::string RegistryPath(platform::RegistryRoot root, const std::string& keyPath);

struct NamedValue {
  std::string name;
  platform::RegistryValue value;

  bool operator==(const NamedValue&) const = default;
};

// What an item holds at one moment. Only the fields of its kind are used.
struct State {
  bool present = false;
  // RegistryKey: every value, in the order the registry lists them;
  // RegistryValue: the one value.
  std::vector<NamedValue> values;
  // File, EngineFile: the bytes.
  std::string content;
  // Alias: the driver and every parameter ("NAME=value") as the engine
  // gives them.
  std::string driver;
  std::vector<std::string> parameters;
  // Of an absent registry item: how many keys of its path, counted from
  // the end, were missing too (the key itself included), so that keys a
  // run created on the way go again when it is put back. Not compared.
  int missingKeys = 0;

  static State Absent() { return {}; }
};

// Equal as the workstation would read them: a key's values in any order,
// their names without regard to letter case.
bool SameState(ItemKind kind, const State& a, const State& b);

struct Item {
  Place place;
  State state;
};

// Items in the order they were taken.
using Snapshot = std::vector<Item>;

// What items are read from and written to: the registry, the file system
// and the engine in use, which starts when first asked, so that items of
// other kinds need none.
struct Workstation {
  platform::Registry& registry;
  std::function<bde::AliasEngine&()> aliases;
};

// The item as it stands now. Errors of the registry, the files or the
// engine pass to the caller.
State ReadState(Workstation& workstation, const Place& place);
Snapshot TakeSnapshot(Workstation& workstation, const std::vector<Place>& places);

// One item whose state differs between two snapshots.
struct Change {
  Place place;
  State before;
  State after;
};

// The items of after whose state differs from before, in the order of
// after; an item only one of them holds counts as absent in the other.
std::vector<Change> Changes(const Snapshot& before, const Snapshot& after);

// What differs, one line for each value, parameter or file:
// "utworzono", "usunięto", value "Server": "A" -> "B" ...
std::vector<std::string> DescribeChange(const Change& change);

// The text of a REG_SZ or REG_EXPAND_SZ value whose bytes are exactly that
// text in UTF-16LE and its null; nothing for any other value.
std::optional<std::string> ValueText(const platform::RegistryValue& value);
// The number of a REG_DWORD of four bytes.
std::optional<uint32_t> ValueNumber(const platform::RegistryValue& value);

// The value as regedit exports one of its type: "hex:01,ff" for
// REG_BINARY, "hex(7):61,00,00,00" for the others.
std::string HexValue(const platform::RegistryValue& value);

// A registry value as a person reads it: a text in quotes, a DWORD in
// decimal, anything else as its type and bytes.
std::string DescribeValue(const platform::RegistryValue& value);

}  // namespace app::backup
