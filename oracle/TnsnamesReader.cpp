#include "oracle/TnsnamesReader.h"

#include <algorithm>

#include "oracle/ServiceEntryTable.h"
#include "platform/Text.h"
#include "platform/TextFile.h"

namespace oracle {
namespace {

using platform::Blanks;
using platform::Trim;

bool IsContinuation(std::string_view trimmed) { return trimmed.front() == '(' || trimmed.front() == ')'; }

// The group that opens at the 0-based index, as ParenGroup gives it.
std::string_view GroupAt(std::string_view text, size_t index) {
  if (index >= text.size() || text[index] != '(') return {};
  int depth = 0;
  for (size_t i = index; i < text.size(); ++i) {
    if (text[i] == '(') ++depth;
    if (text[i] == ')') --depth;
    if (depth == 0) return text.substr(index + 1, i - index - 1);
  }
  return text.substr(index + 1);
}

// The groups that follow one another from the start of the text, such as
// the parts of a description: "(A=1)(B=(C=2))" gives "A=1" and "B=(C=2)".
// They are taken one at a time, so a line of millions of groups costs no
// more than its length.
class Groups {
 public:
  explicit Groups(std::string_view text) : text_(text) {}

  std::optional<std::string_view> Next() {
    if (index_ >= text_.size() || text_[index_] != '(') return std::nullopt;
    const std::string_view group = GroupAt(text_, index_);
    index_ += group.size() + 2;
    return group;
  }

 private:
  std::string_view text_;
  size_t index_ = 0;
};

// The value of a group that begins with the keyword. Oracle's own keywords
// ignore letter case, and administrators write them either way.
std::optional<std::string_view> Keyword(std::string_view group, std::string_view keyword) {
  if (group.size() < keyword.size() || !platform::EqualsAsciiNoCase(group.substr(0, keyword.size()), keyword)) {
    return std::nullopt;
  }
  return group.substr(keyword.size());
}

std::optional<std::string_view> FirstWith(std::string_view text, std::string_view keyword) {
  Groups groups(text);
  while (const auto group = groups.Next()) {
    if (auto value = Keyword(*group, keyword)) return value;
  }
  return std::nullopt;
}

// The first address: the first address of the first address list (which
// may begin with LOAD_BALANCE or FAILOVER), or an address standing directly
// in the description, whichever comes first.
std::optional<std::string_view> FirstAddress(std::string_view description) {
  Groups parts(description);
  while (const auto part = parts.Next()) {
    if (auto list = Keyword(*part, "ADDRESS_LIST=")) return FirstWith(*list, "ADDRESS=");
    if (auto address = Keyword(*part, "ADDRESS=")) return address;
  }
  return std::nullopt;
}

// PROTOCOL, HOST and PORT are read in this order only: each is taken when
// the one before it was.
void ReadAddress(std::string_view address, EntryText& text) {
  Groups parts(address);
  const std::string_view keywords[] = {"PROTOCOL=", "HOST=", "PORT="};
  for (size_t i = 0; i < std::size(keywords); ++i) {
    const auto part = parts.Next();
    if (!part) return;
    const auto value = Keyword(*part, keywords[i]);
    if (!value) return;
    text.values[i] = *value;
  }
}

void ReadNames(std::string_view names, EntryText& text) {
  while (true) {
    const size_t comma = names.find(',');
    const std::string_view name = Trim(names.substr(0, comma), Blanks::SpaceAndControls);
    if (!name.empty()) text.names.push_back(platform::AsciiUpper(name));
    if (comma == std::string_view::npos) return;
    names.remove_prefix(comma + 1);
  }
}

// Joins lines one at a time, remembering whether the entry being joined is
// still open, so that comments and empty lines inside it are passed over.
class Joiner {
 public:
  void Add(std::string_view line, size_t index) {
    const std::string_view trimmed = Trim(line, Blanks::SpaceAndControls);
    const bool open = inEntry_ && !(opened_ && depth_ <= 0);
    if (trimmed.empty()) {
      if (inEntry_ && !open) ended_ = true, inEntry_ = false;
      return;
    }
    if (trimmed.front() == '#') {
      if (open) return;
      joined_.push_back({std::string(trimmed), {index}});
      inEntry_ = false;
      ended_ = false;
      return;
    }
    // A continuation before any entry, or after an entry that an empty line
    // ended, starts a line of its own, which the parser passes over.
    if (!IsContinuation(trimmed) || joined_.empty() || ended_) {
      joined_.emplace_back();
      inEntry_ = !IsContinuation(trimmed);
      ended_ = false;
      depth_ = 0;
      opened_ = false;
    }
    JoinedLine& target = joined_.back();
    target.lines.push_back(index);
    for (char c : trimmed) {
      if (c == ' ') continue;
      target.text += c;
      if (c == '(') ++depth_, opened_ = true;
      if (c == ')') --depth_;
    }
  }

  std::vector<JoinedLine> Take() { return std::move(joined_); }

 private:
  std::vector<JoinedLine> joined_;
  bool inEntry_ = false;  // the last joined line is an entry's
  bool ended_ = false;    // an empty line ended the entry before
  bool opened_ = false;   // the entry's first "(" has been seen
  long depth_ = 0;
};

}  // namespace

std::vector<std::string> ReadTnsnamesLines(const std::string& networkFolder) {
  const std::string path = networkFolder + "tnsnames.ora";
  if (!platform::FileExists(path)) return {};
  return platform::ReadTextLines(path);
}

std::vector<JoinedLine> JoinTnsnamesLinesWithOrigin(const std::vector<std::string>& lines) {
  Joiner joiner;
  for (size_t i = 0; i < lines.size(); ++i) joiner.Add(lines[i], i);
  return joiner.Take();
}

std::vector<std::string> JoinTnsnamesLines(const std::vector<std::string>& lines) {
  std::vector<std::string> texts;
  for (JoinedLine& line : JoinTnsnamesLinesWithOrigin(lines)) texts.push_back(std::move(line.text));
  return texts;
}

std::string ParenGroup(std::string_view text, size_t position) {
  if (position == 0) return {};
  return std::string(GroupAt(text, position - 1));
}

std::optional<EntryText> ReadEntryText(std::string_view line) {
  if (line.empty() || line.front() == '#' || line.front() == '(' || line.front() == ')') return std::nullopt;
  const size_t equals = line.find('=');
  if (equals == std::string_view::npos || equals == 0) return std::nullopt;
  EntryText text;
  ReadNames(line.substr(0, equals), text);
  // Past the names, "=" and the "(" that opens the description, and without
  // the ")" that closes it.
  std::string_view body = line.substr(std::min(equals + 2, line.size()));
  if (!body.empty()) body.remove_suffix(1);
  const auto description = Keyword(body, "DESCRIPTION=");
  if (!description) return text;
  const auto address = FirstAddress(*description);
  if (!address) return text;
  ReadAddress(*address, text);
  if (const auto connectData = FirstWith(*description, "CONNECT_DATA=")) {
    if (const auto service = FirstWith(*connectData, "SERVICE_NAME=")) {
      text.values[3] = *service;
    } else if (const auto sid = FirstWith(*connectData, "SID=")) {
      text.values[3] = *sid;
      text.sid = true;
    }
  }
  return text;
}

std::optional<ServiceEntry> ReadableEntry(const EntryText& text, ServiceEntry start) {
  const ServiceField fields[] = {ServiceField::Protocol, ServiceField::Host, ServiceField::Port, ServiceField::Service};
  for (size_t i = 0; i < std::size(fields); ++i) {
    const std::string_view value = text.values[i];
    if (value.find_first_of("()") != std::string_view::npos) return std::nullopt;
    if (value.data() != nullptr) FieldOf(start, fields[i]) = std::string(value);
    if (FieldOf(start, fields[i]).empty()) return std::nullopt;
  }
  start.sid = text.sid;
  return start;
}

std::vector<std::string> LoadServiceEntry(std::string_view joinedLine, ServiceEntryTable& table) {
  std::vector<std::string> stored;
  const auto text = ReadEntryText(joinedLine);
  if (!text) return stored;
  auto entry = ReadableEntry(*text, table.NewRecord());
  if (!entry) return stored;
  for (const std::string& name : text->names) {
    entry->name = name;
    if (table.Load(*entry)) stored.push_back(CutToCharacters(name, kServiceFields[0].size));
  }
  return stored;
}

void ParseServiceEntries(const std::vector<std::string>& joinedLines, ServiceEntryTable& table) {
  table.Clear(joinedLines.size());
  for (const std::string& line : joinedLines) LoadServiceEntry(line, table);
}

}  // namespace oracle
