#pragma once

#include <cstddef>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "oracle/ServiceEntry.h"

namespace oracle {

// %s: the field's label.
inline constexpr std::string_view kRequiredValueMessage = "Pole '%s' musi posiadać wartość";
inline constexpr std::string_view kKeyViolationMessage = "Key violation.";

enum class ServiceField { Name, Protocol, Host, Port, Service };

struct ServiceFieldDefinition {
  ServiceField field;
  std::string_view name;
  size_t size;  // characters
  std::string_view label;
};

// In table order; every field is required.
inline constexpr ServiceFieldDefinition kServiceFields[] = {
    {ServiceField::Name, "Name", 30, "Nazwa"},
    {ServiceField::Protocol, "ADDR_ADDR_PROT", 10, "Protokół"},
    {ServiceField::Host, "ADDR_ADDR_HOST", 30, "Nazwa lub IP serwera"},
    {ServiceField::Port, "ADDR_ADDR_PORT", 10, "Port serwera"},
    {ServiceField::Service, "CONN_SERV", 20, "Nazwa bazy (SID)"},
};

std::string& FieldOf(ServiceEntry& entry, ServiceField field);
const std::string& FieldOf(const ServiceEntry& entry, ServiceField field);

// Protocol "TCP", port "1521", service "XE"; name and host stay as they are.
void ApplyNewEntryDefaults(ServiceEntry& entry);

// The first size characters (not bytes) of UTF-8 text.
std::string CutToCharacters(std::string_view text, size_t size);

// The in-memory table of service entries (ClientDataSet1). It is ordered by
// Name, letter case included, and its unique index ignores the case of
// ASCII letters, so lookups and stores take the same time whatever the
// table's size.
//
// One entry at a time is the current one, shown in the edit fields:
//   Shown    a stored entry, unchanged;
//   Changing a stored entry with changes not stored yet;
//   New      an entry started because a name was not found; its Name stays
//            empty until it is stored.
class ServiceEntryTable {
 public:
  enum class State { Shown, Changing, New };

  // Runs for every entry started, to give it its defaults.
  std::function<void(ServiceEntry&)> onNewRecord = ApplyNewEntryDefaults;
  // Runs when the current entry receives its first change.
  std::function<void()> onAfterEdit;

  size_t Count() const { return rows_.size(); }
  // The names in table order.
  std::vector<std::string> Names() const;
  // Exact lookup, letter case included.
  const ServiceEntry* Find(const std::string& name) const;

  // Empties the table; no entry is current. Room is made for the entries
  // about to be loaded, so a large file is indexed without rehashing.
  void Clear(size_t expected = 0);
  // An empty entry with the new-entry defaults.
  ServiceEntry NewRecord() const;
  // Stores an entry read from a file, its values cut to their fields. An
  // entry whose name equals a stored one without regard to case takes that
  // one's place. An entry with a value missing is not stored: false.
  bool Load(ServiceEntry entry);

  bool HasCurrent() const { return hasCurrent_; }
  State CurrentState() const { return state_; }
  // The current entry's values with its unsaved changes; all empty when no
  // entry is current.
  const ServiceEntry& Current() const;

  // Drops the current entry's unsaved state, then makes the entry of that
  // exact name current, or starts a new one.
  void Select(const std::string& name);
  // A user's change of one value of the current entry (a new entry is
  // started when none is current).
  void Edit(ServiceField field, std::string_view value);
  // Stores a changing or new entry under name: raises kRequiredValueMessage
  // with the label of the first empty field, or kKeyViolationMessage when
  // another entry holds the name without regard to case; the entry then
  // stays current and unsaved. A shown entry is left as it is.
  void Post(const std::string& name);
  // Drops unsaved changes: a changing entry returns to its stored values,
  // a new one disappears and no entry is current.
  void Cancel();

 private:
  void StartNew();
  void Insert(ServiceEntry entry);
  void Erase(const std::string& name);

  std::map<std::string, ServiceEntry> rows_;            // by Name
  std::unordered_map<std::string, std::string> index_;  // upper-cased Name -> Name
  ServiceEntry current_;
  std::string currentName_;  // the stored name of a shown or changing entry
  bool hasCurrent_ = false;
  bool edited_ = false;
  State state_ = State::Shown;
};

}  // namespace oracle
