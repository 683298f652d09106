#include "oracle/TnsnamesReader.h"

#include <optional>

#include "oracle/ServiceEntryTable.h"
#include "platform/Text.h"
#include "platform/TextFile.h"

namespace oracle {
namespace {

bool IsSpaceOrControl(char c) { return static_cast<unsigned char>(c) <= 32; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsSpaceOrControl(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpaceOrControl(text.back())) text.remove_suffix(1);
  return text;
}

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

// The value of the first group that begins with the keyword; keywords match
// exactly, letter case included.
std::optional<std::string_view> Keyword(std::string_view group, std::string_view keyword) {
  if (!group.starts_with(keyword)) return std::nullopt;
  return group.substr(keyword.size());
}

std::optional<std::string_view> FirstWith(std::string_view text, std::string_view keyword) {
  Groups groups(text);
  while (const auto group = groups.Next()) {
    if (auto value = Keyword(*group, keyword)) return value;
  }
  return std::nullopt;
}

// The first address: the first group of the first address list, or an
// address standing directly in the description, whichever comes first.
std::optional<std::string_view> FirstAddress(std::string_view description) {
  Groups parts(description);
  while (const auto part = parts.Next()) {
    if (auto list = Keyword(*part, "ADDRESS_LIST=")) {
      return Keyword(GroupAt(*list, 0), "ADDRESS=");
    }
    if (auto address = Keyword(*part, "ADDRESS=")) return address;
  }
  return std::nullopt;
}

// PROTOCOL, HOST and PORT are read in this order only: each is taken when
// the one before it was.
void ReadAddress(std::string_view address, ServiceEntry& entry) {
  Groups parts(address);
  const std::string_view keywords[] = {"PROTOCOL=", "HOST=", "PORT="};
  std::string* fields[] = {&entry.protocol, &entry.host, &entry.port};
  for (size_t i = 0; i < std::size(keywords); ++i) {
    const auto part = parts.Next();
    if (!part) return;
    const auto value = Keyword(*part, keywords[i]);
    if (!value) return;
    *fields[i] = std::string(*value);
  }
}

void ReadEntry(std::string_view line, size_t equals, ServiceEntry& entry) {
  entry.name = platform::AsciiUpper(line.substr(0, equals));
  // Past the name, "=" and the "(" that opens the description, and without
  // the ")" that closes it.
  std::string_view body = line.substr(std::min(equals + 2, line.size()));
  if (!body.empty()) body.remove_suffix(1);
  const auto description = Keyword(body, "DESCRIPTION=");
  if (!description) return;
  const auto address = FirstAddress(*description);
  if (!address) return;
  ReadAddress(*address, entry);
  if (const auto connectData = FirstWith(*description, "CONNECT_DATA=")) {
    if (const auto service = FirstWith(*connectData, "SERVICE_NAME=")) entry.service = std::string(*service);
  }
}

}  // namespace

std::vector<std::string> ReadTnsnamesLines(const std::string& networkFolder) {
  const std::string path = networkFolder + "tnsnames.ora";
  if (!platform::FileExists(path)) return {};
  return platform::ReadTextLines(path);
}

std::vector<std::string> JoinTnsnamesLines(const std::vector<std::string>& lines) {
  std::vector<std::string> joined;
  for (const std::string& line : lines) {
    const std::string_view trimmed = Trim(line);
    if (trimmed.empty()) continue;
    if (trimmed.front() == '#') {
      joined.emplace_back(trimmed);
      continue;
    }
    // A continuation before any entry starts a line of its own, which the
    // parser passes over. Trimmed, the line starts with no blank.
    const bool continuation = trimmed.front() == '(' || trimmed.front() == ')';
    if (!continuation || joined.empty()) joined.emplace_back();
    std::string& target = joined.back();
    for (char c : trimmed) {
      if (c != ' ') target += c;
    }
  }
  return joined;
}

std::string ParenGroup(std::string_view text, size_t position) {
  if (position == 0) return {};
  return std::string(GroupAt(text, position - 1));
}

void ParseServiceEntries(const std::vector<std::string>& joinedLines, ServiceEntryTable& table) {
  table.Clear(joinedLines.size());
  for (const std::string& line : joinedLines) {
    if (line.empty() || line.front() == '#' || line.front() == '(' || line.front() == ')') continue;
    const size_t equals = line.find('=');
    if (equals == std::string::npos || equals == 0) continue;
    ServiceEntry entry = table.NewRecord();
    ReadEntry(line, equals, entry);
    table.Load(std::move(entry));
  }
}

}  // namespace oracle
