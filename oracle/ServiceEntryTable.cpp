#include "oracle/ServiceEntryTable.h"

#include "platform/Error.h"
#include "platform/Text.h"

namespace oracle {
namespace {

// The label of the first field without a value, or nothing.
const ServiceFieldDefinition* FirstMissing(const ServiceEntry& entry) {
  for (const ServiceFieldDefinition& definition : kServiceFields) {
    if (FieldOf(entry, definition.field).empty()) return &definition;
  }
  return nullptr;
}

// In place: a file of many entries is read without copying every value.
void CutToFields(ServiceEntry& entry) {
  for (const ServiceFieldDefinition& definition : kServiceFields) {
    std::string& value = FieldOf(entry, definition.field);
    if (value.size() > definition.size) value = CutToCharacters(value, definition.size);
  }
}

size_t SizeOf(ServiceField field) {
  for (const ServiceFieldDefinition& definition : kServiceFields) {
    if (definition.field == field) return definition.size;
  }
  return 0;
}

}  // namespace

std::string& FieldOf(ServiceEntry& entry, ServiceField field) {
  switch (field) {
    case ServiceField::Name:
      return entry.name;
    case ServiceField::Protocol:
      return entry.protocol;
    case ServiceField::Host:
      return entry.host;
    case ServiceField::Port:
      return entry.port;
    case ServiceField::Service:
      break;
  }
  return entry.service;
}

const std::string& FieldOf(const ServiceEntry& entry, ServiceField field) {
  return FieldOf(const_cast<ServiceEntry&>(entry), field);
}

void ApplyNewEntryDefaults(ServiceEntry& entry) {
  entry.protocol = "TCP";
  entry.port = "1521";
  entry.service = "XE";
}

std::string CutToCharacters(std::string_view text, size_t size) {
  size_t characters = 0;
  for (size_t i = 0; i < text.size(); ++i) {
    // A byte that does not continue a UTF-8 sequence starts a character.
    if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && characters++ == size) {
      return std::string(text.substr(0, i));
    }
  }
  return std::string(text);
}

std::vector<std::string> ServiceEntryTable::Names() const {
  std::vector<std::string> names;
  names.reserve(rows_.size());
  for (const auto& [name, entry] : rows_) names.push_back(name);
  return names;
}

const ServiceEntry* ServiceEntryTable::Find(const std::string& name) const {
  const auto found = rows_.find(name);
  return found == rows_.end() ? nullptr : &found->second;
}

void ServiceEntryTable::Clear(size_t expected) {
  rows_.clear();
  index_.clear();
  index_.reserve(expected);
  hasCurrent_ = false;
  edited_ = false;
  state_ = State::Shown;
  current_ = {};
  currentName_.clear();
}

ServiceEntry ServiceEntryTable::NewRecord() const {
  ServiceEntry entry;
  if (onNewRecord) onNewRecord(entry);
  return entry;
}

bool ServiceEntryTable::Load(ServiceEntry entry) {
  CutToFields(entry);
  if (FirstMissing(entry)) return false;
  std::string key = platform::AsciiUpper(entry.name);
  const auto same = index_.find(key);
  if (same != index_.end()) {
    rows_.erase(same->second);
    index_.erase(same);
  }
  index_.emplace(std::move(key), entry.name);
  std::string name = entry.name;
  rows_.emplace(std::move(name), std::move(entry));
  return true;
}

const ServiceEntry& ServiceEntryTable::Current() const {
  static const ServiceEntry kNone;
  return hasCurrent_ ? current_ : kNone;
}

void ServiceEntryTable::Select(const std::string& name) {
  Cancel();
  if (const ServiceEntry* found = Find(name)) {
    current_ = *found;
    currentName_ = name;
    hasCurrent_ = true;
    state_ = State::Shown;
    return;
  }
  StartNew();
}

void ServiceEntryTable::Edit(ServiceField field, std::string_view value) {
  if (!hasCurrent_) StartNew();
  FieldOf(current_, field) = CutToCharacters(value, SizeOf(field));
  if (state_ == State::Shown) state_ = State::Changing;
  const bool began = !edited_;
  edited_ = true;
  if (began && onAfterEdit) onAfterEdit();
}

void ServiceEntryTable::Post(const std::string& name) {
  if (!hasCurrent_ || state_ == State::Shown) return;
  ServiceEntry entry = current_;
  entry.name = name;
  CutToFields(entry);
  if (const ServiceFieldDefinition* missing = FirstMissing(entry)) {
    throw platform::Error(platform::Format(kRequiredValueMessage, {std::string(missing->label)}));
  }
  const auto same = index_.find(platform::AsciiUpper(entry.name));
  if (same != index_.end() && (state_ == State::New || same->second != currentName_)) {
    throw platform::Error(std::string(kKeyViolationMessage));
  }
  if (state_ == State::Changing) Erase(currentName_);
  current_ = entry;
  currentName_ = entry.name;
  Insert(std::move(entry));
  state_ = State::Shown;
  edited_ = false;
}

void ServiceEntryTable::Cancel() {
  edited_ = false;
  if (!hasCurrent_) return;
  if (state_ == State::New) {
    hasCurrent_ = false;
    current_ = {};
  } else if (state_ == State::Changing) {
    current_ = rows_.at(currentName_);
  }
  state_ = State::Shown;
}

void ServiceEntryTable::StartNew() {
  current_ = NewRecord();
  currentName_.clear();
  hasCurrent_ = true;
  edited_ = false;
  state_ = State::New;
}

void ServiceEntryTable::Insert(ServiceEntry entry) {
  index_[platform::AsciiUpper(entry.name)] = entry.name;
  std::string name = entry.name;
  rows_.insert_or_assign(std::move(name), std::move(entry));
}

void ServiceEntryTable::Erase(const std::string& name) {
  index_.erase(platform::AsciiUpper(name));
  rows_.erase(name);
}

}  // namespace oracle
